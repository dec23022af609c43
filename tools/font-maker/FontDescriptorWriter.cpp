#include "FontDescriptorWriter.h"

#include <sstream>

namespace {

/// Lists are written a few entries a line so that the file stays readable.
constexpr int kEntriesPerLine = 12;

void WriteList(std::ostringstream& out, const std::vector<std::string>& entries)
{
    out << "(";
    for (std::size_t i = 0; i < entries.size(); ++i) {
        if (i > 0) {
            out << (i % kEntriesPerLine == 0 ? ",\n    " : ", ");
        }
        out << entries[i];
    }
    out << ")";
}

void WriteLayerCommand(std::ostringstream& out, const char* command, const char* layer,
                       const std::vector<std::string>& keys, const std::vector<std::string>& values)
{
    out << command << " " << layer << "\n    ";
    WriteList(out, keys);
    out << "\n    ";
    WriteList(out, values);
    out << ";\n";
}

std::string RectText(int x, int y, int width, int height)
{
    return "(" + std::to_string(x) + ", " + std::to_string(y) + ", " + std::to_string(width) +
           ", " + std::to_string(height) + ")";
}

std::string PairText(int x, int y)
{
    return "(" + std::to_string(x) + ", " + std::to_string(y) + ")";
}

} // namespace

std::string QuoteCharacters(const std::string& characters)
{
    std::string out = "\"";
    for (const char c : characters) {
        if (c == '"' || c == '\\') {
            out += '\\';
        }
        out += c;
    }
    return out + "\"";
}

std::string WriteFontDescriptor(const FontAtlas& atlas, const std::string& imageFileName,
                                int pointSize)
{
    std::ostringstream out;
    out << "# The game font: DejaVu Sans Bold, a fill layer over a dark outline layer that\n"
           "# only light text uses.\n"
           "# Written by quarrow-fontmaker; the glyph image is beside this file.\n\n";
    out << "SetDefaultPointSize " << pointSize << ";\n\n";
    const char* const layers[] = {"Outline", "Main"};
    for (const char* layer : layers) {
        const bool outline = std::string(layer) == "Outline";
        out << "CreateLayer " << layer << ";\n";
        out << "LayerSetImage " << layer << " " << QuoteCharacters(imageFileName) << ";\n";
        out << "LayerSetAscent " << layer << " " << atlas.ascent << ";\n";
        out << "LayerSetPointSize " << layer << " " << pointSize << ";\n";
        if (outline) {
            // The ink stays dark whatever the text colour; only its alpha follows.
            out << "LayerSetColorMult Outline (0, 0, 0, 1);\n";
            out << "LayerSetColorAdd Outline (0.16, 0.09, 0.04, 0);\n";
            out << "LayerSetBaseOrder Outline -1;\n";
            // Dark text on light ground reads cleaner without the ring and shadow.
            out << "LayerTextLightnessRange Outline 0.5 1;\n";
        }
        std::vector<std::string> chars;
        std::vector<std::string> widths;
        std::vector<std::string> imageChars;
        std::vector<std::string> rects;
        std::vector<std::string> offsets;
        for (const AtlasGlyph& glyph : atlas.glyphs) {
            const std::string quoted =
                QuoteCharacters(std::string(1, static_cast<char>(glyph.code)));
            chars.push_back(quoted);
            widths.push_back(std::to_string(glyph.advance));
            if (glyph.fillWidth == 0) {
                continue;
            }
            imageChars.push_back(quoted);
            if (outline) {
                rects.push_back(RectText(glyph.outlineX, glyph.outlineY, glyph.outlineWidth,
                                         glyph.outlineHeight));
                offsets.push_back(PairText(glyph.outlineOffsetX, glyph.outlineOffsetY));
            } else {
                rects.push_back(
                    RectText(glyph.fillX, glyph.fillY, glyph.fillWidth, glyph.fillHeight));
                offsets.push_back(PairText(glyph.fillOffsetX, glyph.fillOffsetY));
            }
        }
        WriteLayerCommand(out, "LayerSetCharWidths", layer, chars, widths);
        WriteLayerCommand(out, "LayerSetImageMap", layer, imageChars, rects);
        WriteLayerCommand(out, "LayerSetCharOffsets", layer, imageChars, offsets);
        if (!atlas.kerning.empty()) {
            std::vector<std::string> pairs;
            std::vector<std::string> amounts;
            for (const auto& [pair, amount] : atlas.kerning) {
                pairs.push_back(QuoteCharacters(
                    std::string{static_cast<char>(pair.first), static_cast<char>(pair.second)}));
                amounts.push_back(std::to_string(amount));
            }
            WriteLayerCommand(out, "LayerSetKerningPairs", layer, pairs, amounts);
        }
        out << "\n";
    }
    return out.str();
}
