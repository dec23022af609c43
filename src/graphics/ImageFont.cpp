#include "graphics/ImageFont.h"

#include "graphics/FontData.h"
#include "graphics/Graphics.h"
#include "graphics/MemoryImage.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <mutex>

namespace Zorva {

namespace {

constexpr int kGlyphPoolSize = 4096;
constexpr int kOrderBuckets = 256;
/// A scaled strip may hold at most this many pixels, whatever size and scale ask for.
constexpr int64_t kMaxStripPixels = int64_t{1} << 22;
constexpr double kMaxScale = 64.0;

/// trunc(x) kept within int range, so that extreme sizes cannot overflow the conversion.
int TruncToInt(double value)
{
    if (!(value == value)) {
        return 0;
    }
    return static_cast<int>(std::clamp(value, -1.0e9, 1.0e9));
}

int ClampToInt(int64_t value)
{
    return static_cast<int>(std::clamp<int64_t>(value, -1000000000, 1000000000));
}

struct GlyphCommand
{
    MemoryImage* image = nullptr;
    int x = 0;
    int y = 0;
    Rect sourceRect;
    int drawMode = -1;
    Color color;
    int next = -1;
};

/// The buffers every DrawText shares: a pool of commands and, per order, a FIFO list through
/// them. Guarded by DrawLock.
struct GlyphPool
{
    std::array<GlyphCommand, kGlyphPoolSize> commands;
    std::array<int, kOrderBuckets> head{};
    std::array<int, kOrderBuckets> tail{};
    int used = 0;

    void Reset()
    {
        head.fill(-1);
        tail.fill(-1);
        used = 0;
    }

    bool Add(int bucket, const GlyphCommand& command)
    {
        if (used >= kGlyphPoolSize) {
            return false;
        }
        const int index = used++;
        commands[static_cast<std::size_t>(index)] = command;
        commands[static_cast<std::size_t>(index)].next = -1;
        const auto b = static_cast<std::size_t>(bucket);
        if (tail[b] < 0) {
            head[b] = index;
        } else {
            commands[static_cast<std::size_t>(tail[b])].next = index;
        }
        tail[b] = index;
        return true;
    }
};

std::mutex& DrawLock()
{
    static std::mutex lock;
    return lock;
}

GlyphPool& SharedGlyphPool()
{
    static GlyphPool pool;
    return pool;
}

int ClampChannel(int64_t value)
{
    return static_cast<int>(std::clamp<int64_t>(value, 0, 255));
}

/// How light a text colour looks, 0-255: its luma, green weighing most.
int32_t TextLightness(const Color& color)
{
    return static_cast<int32_t>(
        (299 * int64_t{color.red} + 587 * int64_t{color.green} + 114 * int64_t{color.blue}) / 1000);
}

bool ReadInt(const std::string& text, std::size_t& pos, int32_t& out)
{
    while (pos < text.size() && std::isspace(static_cast<unsigned char>(text[pos]))) {
        ++pos;
    }
    bool negative = false;
    if (pos < text.size() && (text[pos] == '-' || text[pos] == '+')) {
        negative = text[pos++] == '-';
    }
    const std::size_t start = pos;
    int64_t value = 0;
    while (pos < text.size() && text[pos] >= '0' && text[pos] <= '9') {
        value = std::min<int64_t>(value * 10 + (text[pos++] - '0'), INT32_MAX);
    }
    if (pos == start) {
        return false;
    }
    out = static_cast<int32_t>(negative ? -value : value);
    return true;
}

} // namespace

ImageFont::ImageFont(const std::string& fontDescFileName) : fontData(std::make_shared<FontData>())
{
    fontData->Load(fontDescFileName);
    pointSize = fontData->defaultPointSize;
    BuildActiveLayers();
}

ImageFont::ImageFont(std::shared_ptr<FontData> data) : fontData(std::move(data))
{
    if (fontData == nullptr) {
        fontData = std::make_shared<FontData>();
    }
    pointSize = fontData->defaultPointSize;
    BuildActiveLayers();
}

ImageFont::ImageFont(std::shared_ptr<MemoryImage> image, const std::string& widthsFileName)
    : fontData(std::make_shared<FontData>())
{
    FontData& data = *fontData;
    data.sourceFile = widthsFileName;
    data.fontErrorHeader = "Font Descriptor Error in " + widthsFileName + "\r\n";
    FontLayer* layer = data.AddLayer("");
    auto load = [&]() {
        if (image == nullptr || image->GetWidth() <= 0 || image->GetHeight() <= 0) {
            return data.Error("Failed to Load Image");
        }
        layer->image = image;
        layer->height = image->GetHeight();
        layer->ascent = image->GetHeight();

        std::ifstream file(widthsFileName, std::ios::binary);
        if (!file) {
            return data.Error("Unable to open file: " + widthsFileName);
        }
        std::string text;
        char buffer[4096];
        while (file.read(buffer, sizeof buffer) || file.gcount() > 0) {
            text.append(buffer, static_cast<std::size_t>(file.gcount()));
            if (text.size() > DescParser::kMaxTextSize) {
                return data.Error("File Too Large");
            }
        }
        std::size_t pos = 0;
        int32_t blankWidth = 0;
        int32_t ascentValue = 0;
        if (!ReadInt(text, pos, blankWidth) || !ReadInt(text, pos, ascentValue)) {
            return data.Error("Invalid Paramater Type");
        }
        if (std::abs(blankWidth) > FontData::kMaxMetric ||
            std::abs(ascentValue) > FontData::kMaxMetric) {
            return data.Error("Value Out of Range");
        }
        layer->charData[static_cast<uint8_t>(' ')].width = blankWidth;
        layer->ascent = ascentValue;

        std::array<bool, 256> hasGlyph{};
        int32_t runningX = 0;
        for (;;) {
            while (pos < text.size() && std::isspace(static_cast<unsigned char>(text[pos]))) {
                ++pos;
            }
            if (pos >= text.size()) {
                break;
            }
            const auto c = static_cast<uint8_t>(text[pos++]);
            int32_t width = 0;
            if (!ReadInt(text, pos, width)) {
                return data.Error("Invalid Paramater Type");
            }
            if (width < 0 || int64_t{runningX} + width > image->GetWidth()) {
                return data.Error("Image rectangle out of bounds");
            }
            CharData& glyph = layer->charData[c];
            glyph.imageRect = Rect(runningX, 0, width, image->GetHeight());
            glyph.width = width;
            hasGlyph[c] = true;
            runningX += width;
        }
        for (int c = 'A'; c <= 'Z'; ++c) {
            const int lower = c - 'A' + 'a';
            if (!hasGlyph[static_cast<std::size_t>(c)] &&
                hasGlyph[static_cast<std::size_t>(lower)]) {
                data.charMap[static_cast<std::size_t>(c)] = static_cast<uint8_t>(lower);
            } else if (!hasGlyph[static_cast<std::size_t>(lower)] &&
                       hasGlyph[static_cast<std::size_t>(c)]) {
                data.charMap[static_cast<std::size_t>(lower)] = static_cast<uint8_t>(c);
            }
        }
        return true;
    };
    data.initialized = load();
    pointSize = data.defaultPointSize;
    BuildActiveLayers();
}

ImageFont::ImageFont(const ImageFont& other) = default;

ImageFont::~ImageFont() = default;

bool ImageFont::IsLoaded() const
{
    return fontData->initialized;
}

void ImageFont::EnsureActiveLayers()
{
    if (!activeListValid) {
        BuildActiveLayers();
    }
}

void ImageFont::EnsureActiveLayersConst() const
{
    if (!activeListValid) {
        const_cast<ImageFont*>(this)->BuildActiveLayers();
    }
}

int ImageFont::GetAscent() const
{
    EnsureActiveLayersConst();
    return Font::GetAscent();
}

int ImageFont::GetAscentPadding() const
{
    EnsureActiveLayersConst();
    return Font::GetAscentPadding();
}

int ImageFont::GetDescent() const
{
    EnsureActiveLayersConst();
    return Font::GetDescent();
}

int ImageFont::GetHeight() const
{
    EnsureActiveLayersConst();
    return Font::GetHeight();
}

int ImageFont::GetLineSpacingOffset() const
{
    EnsureActiveLayersConst();
    return Font::GetLineSpacingOffset();
}

int ImageFont::GetLineSpacing() const
{
    EnsureActiveLayersConst();
    return Font::GetLineSpacing();
}

double ImageFont::LayerFactor(const FontLayer& layer) const
{
    return layer.pointSize != 0 ? pointSize * scale / layer.pointSize : scale;
}

namespace {

/// trunc(factor x value) for a layer, with the product taken in one order everywhere so that
/// measuring and drawing agree to the pixel.
int ScaleForLayer(double value, int fontPointSize, double scale, const FontLayer& layer)
{
    if (layer.pointSize != 0) {
        return TruncToInt(value * (fontPointSize * scale) / layer.pointSize);
    }
    return TruncToInt(value * scale);
}

} // namespace

void ImageFont::BuildActiveLayers()
{
    activeListValid = true;
    activeLayerList.clear();
    ascent = 0;
    ascentPadding = 0;
    height = 0;
    lineSpacingOffset = 0;
    if (!fontData->initialized) {
        return;
    }

    bool first = true;
    for (const FontLayer& layer : fontData->fontLayerList) {
        if (layer.minPointSize > pointSize ||
            (layer.maxPointSize != -1 && layer.maxPointSize < pointSize)) {
            continue;
        }
        const bool hasRequired = std::all_of(layer.requiredTags.begin(), layer.requiredTags.end(),
                                             [&](const std::string& tag) { return HasTag(tag); });
        const bool hasExcluded = std::any_of(layer.excludedTags.begin(), layer.excludedTags.end(),
                                             [&](const std::string& tag) { return HasTag(tag); });
        if (!hasRequired || hasExcluded) {
            continue;
        }

        auto scaled = [&](double value) { return ScaleForLayer(value, pointSize, scale, layer); };
        ActiveFontLayer& active = activeLayerList.emplace_back();
        active.baseFontLayer = &layer;
        const bool needsStrip =
            scale != 1.0 || (layer.pointSize != 0 && layer.pointSize != pointSize);
        if (!needsStrip || layer.image == nullptr) {
            active.image = layer.image;
            for (std::size_t i = 0; i < 256; ++i) {
                active.scaledCharImageRects[i] = layer.charData[i].imageRect;
            }
        } else {
            // Lay the scaled glyphs out in rows no wider than an image may be; a strip larger
            // than the pixel budget is not made, and the layer then draws nothing.
            int64_t runningX = 0;
            int64_t rowY = 0;
            int64_t rowHeight = 0;
            int64_t stripWidth = 0;
            std::array<Rect, 256> rects{};
            for (std::size_t i = 0; i < 256; ++i) {
                const Rect& source = layer.charData[i].imageRect;
                const int64_t w = std::clamp(scaled(source.width), 0, MemoryImage::kMaxSide);
                const int64_t h = std::clamp(scaled(source.height), 0, MemoryImage::kMaxSide);
                if (w == 0 || h == 0 || source.IsEmpty()) {
                    continue;
                }
                if (runningX + w > MemoryImage::kMaxSide) {
                    rowY += rowHeight;
                    runningX = 0;
                    rowHeight = 0;
                }
                rects[i] = Rect(static_cast<int32_t>(runningX), static_cast<int32_t>(rowY),
                                static_cast<int32_t>(w), static_cast<int32_t>(h));
                runningX += w;
                rowHeight = std::max(rowHeight, h);
                stripWidth = std::max(stripWidth, runningX);
            }
            const int64_t stripHeight = rowY + rowHeight;
            if (stripWidth > 0 && stripHeight > 0 && stripHeight <= MemoryImage::kMaxSide &&
                stripWidth * stripHeight <= kMaxStripPixels) {
                // The layer's image is shared with other fonts, and blitting from it builds
                // caches in it, as drawing does under the same lock.
                std::lock_guard guard(DrawLock());
                auto strip = std::make_shared<MemoryImage>();
                strip->Create(static_cast<int>(stripWidth), static_cast<int>(stripHeight));
                Graphics context(strip.get());
                context.SetFastStretch(false);
                for (std::size_t i = 0; i < 256; ++i) {
                    if (!rects[i].IsEmpty()) {
                        context.DrawImage(layer.image.get(), rects[i], layer.charData[i].imageRect);
                    }
                }
                if (forceScaledImagesWhite) {
                    uint32_t* pixels = strip->GetPixels();
                    const std::size_t count = static_cast<std::size_t>(stripWidth * stripHeight);
                    for (std::size_t p = 0; p < count; ++p) {
                        pixels[p] |= 0x00FFFFFFu;
                    }
                    strip->PixelsChanged();
                }
                strip->MakePalettised();
                active.image = std::move(strip);
                active.scaledCharImageRects = rects;
            }
        }

        const int layerAscent = scaled(layer.ascent);
        const int layerHeight = scaled(layer.height);
        const int layerPadding = scaled(layer.ascentPadding);
        const int layerLineSpacing = scaled(layer.lineSpacingOffset);
        ascent = std::max(ascent, layerAscent);
        height = std::max(height, layerHeight);
        ascentPadding = first ? layerPadding : std::min(ascentPadding, layerPadding);
        lineSpacingOffset =
            first ? layerLineSpacing : std::max(lineSpacingOffset, layerLineSpacing);
        first = false;
    }
}

int ImageFont::CharWidthAfter(char c, char previous)
{
    EnsureActiveLayers();
    const uint8_t mapped = fontData->charMap[static_cast<uint8_t>(c)];
    const uint8_t mappedPrevious = fontData->charMap[static_cast<uint8_t>(previous)];
    int best = 0;
    bool first = true;
    for (const ActiveFontLayer& active : activeLayerList) {
        const FontLayer& layer = *active.baseFontLayer;
        auto scaled = [&](double value) { return ScaleForLayer(value, pointSize, scale, layer); };
        const int width = scaled(layer.charData[mapped].width);
        int kern = 0;
        if (mappedPrevious != 0) {
            kern = scaled(layer.charData[mappedPrevious].kerningOffsets[mapped] + layer.spacing);
        }
        best = first ? width + kern : std::max(best, width + kern);
        first = false;
    }
    return best;
}

int ImageFont::CharWidth(char c)
{
    return CharWidthAfter(c, 0);
}

int ImageFont::TextWidth(const std::string& text)
{
    EnsureActiveLayers();
    int64_t width = 0;
    char previous = 0;
    for (const char c : text) {
        width += CharWidthAfter(c, previous);
        previous = c;
    }
    return ClampToInt(width);
}

void ImageFont::DrawText(Graphics* context, int x, int y, const std::string& text,
                         const Color& color, const Rect& clip)
{
    DrawTextWithRects(context, x, y, text, color, clip, nullptr, nullptr);
}

void ImageFont::DrawTextWithRects(Graphics* context, int x, int y, const std::string& text,
                                  const Color& color, const Rect&, std::vector<Rect>* rects,
                                  int* width)
{
    EnsureActiveLayers();
    if (width != nullptr) {
        *width = 0;
    }
    if (context == nullptr || !fontData->initialized) {
        return;
    }

    std::lock_guard guard(DrawLock());
    GlyphPool& pool = SharedGlyphPool();
    pool.Reset();

    const bool oldModulate = context->GetModulateImages();
    const Color oldColor = context->GetColor();
    context->SetModulateImages(true);

    const int32_t lightness = TextLightness(color);
    int64_t penX = x;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const uint8_t c = fontData->charMap[static_cast<uint8_t>(text[i])];
        const uint8_t next =
            i + 1 < text.size() ? fontData->charMap[static_cast<uint8_t>(text[i + 1])] : 0;
        int64_t nextPenX = penX;
        bool firstLayer = true;
        for (const ActiveFontLayer& active : activeLayerList) {
            const FontLayer& layer = *active.baseFontLayer;
            const CharData& glyph = layer.charData[c];
            auto scaled = [&](double value) {
                return ScaleForLayer(value, pointSize, scale, layer);
            };
            const int glyphX =
                ClampToInt(penX + scaled(static_cast<double>(glyph.offsetX) + layer.offsetX));
            const int glyphY = ClampToInt(int64_t{y} - scaled(static_cast<double>(layer.ascent) -
                                                              glyph.offsetY - layer.offsetY));
            const int advance = scaled(glyph.width);
            const int kern = next != 0 ? scaled(glyph.kerningOffsets[next] + layer.spacing) : 0;

            const Rect& sourceRect = active.scaledCharImageRects[c];
            const bool shown =
                lightness >= layer.minTextLightness && lightness <= layer.maxTextLightness;
            if (shown && active.image != nullptr && !sourceRect.IsEmpty()) {
                GlyphCommand command;
                command.image = active.image.get();
                command.x = glyphX;
                command.y = glyphY;
                command.sourceRect = sourceRect;
                command.drawMode = layer.drawMode;
                command.color =
                    Color(ClampChannel(int64_t{layer.colorMult.red} * color.red / 255 +
                                       layer.colorAdd.red),
                          ClampChannel(int64_t{layer.colorMult.green} * color.green / 255 +
                                       layer.colorAdd.green),
                          ClampChannel(int64_t{layer.colorMult.blue} * color.blue / 255 +
                                       layer.colorAdd.blue),
                          ClampChannel(int64_t{layer.colorMult.alpha} * color.alpha / 255 +
                                       layer.colorAdd.alpha));
                const int64_t order = int64_t{glyph.order} + layer.baseOrder;
                const int bucket = static_cast<int>(std::clamp<int64_t>(order + 128, 0, 255));
                // A full pool leaves the rest of the text undrawn, though still measured.
                pool.Add(bucket, command);
            }
            if (rects != nullptr) {
                rects->push_back(Rect(glyphX, glyphY, sourceRect.width, sourceRect.height));
            }
            const int64_t end = penX + advance + kern;
            nextPenX = firstLayer ? end : std::max(nextPenX, end);
            firstLayer = false;
        }
        penX = std::clamp<int64_t>(nextPenX, -1000000000, 1000000000);
    }

    const int oldDrawMode = context->GetDrawMode();
    for (int bucket = 0; bucket < kOrderBuckets; ++bucket) {
        for (int index = pool.head[static_cast<std::size_t>(bucket)]; index >= 0;
             index = pool.commands[static_cast<std::size_t>(index)].next) {
            const GlyphCommand& command = pool.commands[static_cast<std::size_t>(index)];
            if (command.drawMode != -1) {
                context->SetDrawMode(command.drawMode);
            }
            context->SetColor(command.color);
            context->DrawImage(command.image, command.x, command.y, command.sourceRect);
            context->SetDrawMode(oldDrawMode);
        }
    }

    context->SetColor(oldColor);
    context->SetModulateImages(oldModulate);
    if (width != nullptr) {
        *width = ClampToInt(penX - x);
    }
}

std::unique_ptr<Font> ImageFont::Duplicate() const
{
    return std::make_unique<ImageFont>(*this);
}

void ImageFont::SetPointSize(int newPointSize)
{
    pointSize = std::clamp(newPointSize, 0, FontData::kMaxPointSize);
    activeListValid = false;
}

void ImageFont::SetScale(double newScale)
{
    scale = newScale == newScale ? std::clamp(newScale, 0.0, kMaxScale) : 1.0;
    activeListValid = false;
}

int ImageFont::GetDefaultPointSize() const
{
    return fontData->defaultPointSize;
}

bool ImageFont::AddTag(const std::string& tag)
{
    const std::string upper = DescParser::ToUpper(tag);
    if (HasTag(upper)) {
        return false;
    }
    tagVector.push_back(upper);
    activeListValid = false;
    return true;
}

bool ImageFont::RemoveTag(const std::string& tag)
{
    const auto found = std::find(tagVector.begin(), tagVector.end(), DescParser::ToUpper(tag));
    if (found == tagVector.end()) {
        return false;
    }
    tagVector.erase(found);
    activeListValid = false;
    return true;
}

bool ImageFont::HasTag(const std::string& tag) const
{
    return std::find(tagVector.begin(), tagVector.end(), DescParser::ToUpper(tag)) !=
           tagVector.end();
}

namespace {

std::string ElementText(const DataElement& element)
{
    if (!element.isList) {
        return static_cast<const SingleDataElement&>(element).value;
    }
    std::string text = "(";
    const auto& values = static_cast<const ListDataElement&>(element).values;
    for (std::size_t i = 0; i < values.size(); ++i) {
        if (i > 0) {
            text += ", ";
        }
        text += ElementText(*values[i]);
    }
    return text + ")";
}

} // namespace

std::string ImageFont::GetDefine(const std::string& name)
{
    const DataElement* element = fontData->FindDefine(name);
    return element == nullptr ? std::string() : ElementText(*element);
}

} // namespace Zorva
