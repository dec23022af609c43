#include "graphics/SysFont.h"

#include "graphics/Graphics.h"
#include "graphics/MemoryImage.h"

#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_SYNTHESIS_H

#include <algorithm>
#include <array>
#include <climits>
#include <cmath>
#include <cstdio>
#include <mutex>
#include <optional>
#include <vector>

namespace Zorva {

namespace {

// Rendered glyphs beyond this many coverage bytes are dropped rather than cached; with the
// pixel-size limit no real glyph comes near it.
constexpr int64_t kMaxGlyphBytes = int64_t{4} << 20;
// Positions are kept well inside int so that pen arithmetic never overflows.
constexpr int64_t kCoordinateLimit = int64_t{1} << 30;
constexpr int16_t kUnknownKerning = INT16_MIN;

using LibraryHandle = std::shared_ptr<FT_LibraryRec_>;

/// FreeType asks that faces of a shared library be created and destroyed one at a time;
/// fontconfig matching is serialised with them for simplicity.
std::mutex& FreeTypeMutex()
{
    static std::mutex mutex;
    return mutex;
}

/// The process's FreeType library, made on first use. Every face holds a reference, so the
/// library outlives fonts that live in static storage.
LibraryHandle SharedLibrary()
{
    static const LibraryHandle library = [] {
        FT_Library raw = nullptr;
        if (FT_Init_FreeType(&raw) != 0) {
            std::fprintf(stderr, "SysFont: FreeType could not be initialised\n");
            return LibraryHandle();
        }
        return LibraryHandle(raw, [](FT_Library lib) { FT_Done_FreeType(lib); });
    }();
    return library;
}

struct FaceDeleter
{
    LibraryHandle library;
    void operator()(FT_Face face) const
    {
        const std::lock_guard lock(FreeTypeMutex());
        FT_Done_Face(face);
    }
};
using FaceHandle = std::unique_ptr<FT_FaceRec_, FaceDeleter>;

struct PatternDeleter
{
    void operator()(FcPattern* pattern) const { FcPatternDestroy(pattern); }
};
using PatternHandle = std::unique_ptr<FcPattern, PatternDeleter>;

/// A font file found for a face description, and what the renderer must synthesise because
/// the file lacks it.
struct FaceMatch
{
    std::string path;
    int index = 0;
    bool embolden = false;
    bool oblique = false;
};

/// The fontconfig family for a face name: the logical names map to the system's defaults.
std::string FontconfigFamily(const std::string& faceName)
{
    if (faceName.empty() || faceName == "SansSerif" || faceName == "Dialog") {
        return "sans-serif";
    }
    if (faceName == "Serif") {
        return "serif";
    }
    if (faceName == "Monospaced") {
        return "monospace";
    }
    return faceName;
}

const FcChar8* FcString(const std::string& text)
{
    return reinterpret_cast<const FcChar8*>(text.c_str());
}

/// Fontconfig's configuration for the life of the process: loaded on the first match and
/// released at exit, so that leak checkers see the process end clean.
class FontconfigSession
{
public:
    FontconfigSession() : ready(FcInit() == FcTrue) {}
    FontconfigSession(const FontconfigSession&) = delete;
    FontconfigSession& operator=(const FontconfigSession&) = delete;
    ~FontconfigSession()
    {
        if (ready) {
            FcFini();
        }
    }
    bool IsReady() const { return ready; }

private:
    bool ready = false;
};

/// Must be called with the FreeType mutex held.
std::optional<FaceMatch> MatchFace(const std::string& faceName, SysFontStyle style)
{
    static const FontconfigSession session;
    if (!session.IsReady()) {
        return std::nullopt;
    }
    PatternHandle pattern(FcPatternCreate());
    if (!pattern) {
        return std::nullopt;
    }
    const bool bold = HasStyle(style, SysFontStyle::Bold);
    const bool italic = HasStyle(style, SysFontStyle::Italic);
    FcPatternAddString(pattern.get(), FC_FAMILY, FcString(FontconfigFamily(faceName)));
    // A weaker second choice, so that a name the system lacks ends at the sans-serif
    // default rather than at whatever fontconfig ranks next.
    FcPatternAddString(pattern.get(), FC_FAMILY, FcString("sans-serif"));
    FcPatternAddInteger(pattern.get(), FC_WEIGHT, bold ? FC_WEIGHT_BOLD : FC_WEIGHT_REGULAR);
    FcPatternAddInteger(pattern.get(), FC_SLANT, italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
    FcPatternAddBool(pattern.get(), FC_SCALABLE, FcTrue);
    if (FcConfigSubstitute(nullptr, pattern.get(), FcMatchPattern) == FcFalse) {
        return std::nullopt;
    }
    FcDefaultSubstitute(pattern.get());

    FcResult result = FcResultNoMatch;
    PatternHandle match(FcFontMatch(nullptr, pattern.get(), &result));
    if (!match) {
        return std::nullopt;
    }
    FcChar8* file = nullptr;
    if (FcPatternGetString(match.get(), FC_FILE, 0, &file) != FcResultMatch || file == nullptr) {
        return std::nullopt;
    }
    FaceMatch found;
    found.path = reinterpret_cast<const char*>(file);
    FcPatternGetInteger(match.get(), FC_INDEX, 0, &found.index);
    int weight = FC_WEIGHT_REGULAR;
    int slant = FC_SLANT_ROMAN;
    FcPatternGetInteger(match.get(), FC_WEIGHT, 0, &weight);
    FcPatternGetInteger(match.get(), FC_SLANT, 0, &slant);
    found.embolden = bold && weight < FC_WEIGHT_DEMIBOLD;
    found.oblique = italic && slant == FC_SLANT_ROMAN;
    return found;
}

int RoundPixels(FT_Pos value26Dot6)
{
    const int64_t v = static_cast<int64_t>(value26Dot6);
    return static_cast<int>(
        std::clamp<int64_t>((v + 32) >> 6, -kCoordinateLimit, kCoordinateLimit));
}

int CeilPixels(FT_Pos value26Dot6)
{
    const int64_t v = static_cast<int64_t>(value26Dot6);
    return static_cast<int>(
        std::clamp<int64_t>((v + 63) >> 6, -kCoordinateLimit, kCoordinateLimit));
}

/// A context coordinate plus the translation, kept within the coordinate limit (NaN included).
int64_t Translated(int value, float translation)
{
    const double sum = static_cast<double>(value) + static_cast<double>(translation);
    if (!(sum > static_cast<double>(-kCoordinateLimit))) {
        return -kCoordinateLimit;
    }
    if (sum > static_cast<double>(kCoordinateLimit)) {
        return kCoordinateLimit;
    }
    return static_cast<int64_t>(sum); // truncated toward zero, as the context does
}

/// Non-premultiplied source-over of colour `rgb` with alpha `a` (1..255) onto `d`.
inline uint32_t BlendOver(uint32_t d, uint32_t rgb, uint32_t a)
{
    if (a == 255) {
        return 0xFF000000u | rgb;
    }
    const uint32_t dA = d >> 24;
    if (dA == 255) {
        const uint32_t keep = 255 - a;
        const uint32_t r = (((rgb >> 16) & 0xFF) * a + ((d >> 16) & 0xFF) * keep + 127) / 255;
        const uint32_t g = (((rgb >> 8) & 0xFF) * a + ((d >> 8) & 0xFF) * keep + 127) / 255;
        const uint32_t b = ((rgb & 0xFF) * a + (d & 0xFF) * keep + 127) / 255;
        return 0xFF000000u | r << 16 | g << 8 | b;
    }
    // Weights scaled by 255: the source's a, the destination's what the source leaves of it.
    const uint32_t sourceWeight = a * 255;
    const uint32_t destWeight = dA * (255 - a);
    const uint32_t total = sourceWeight + destWeight;
    const auto mix = [&](int shift) {
        const uint64_t s = (rgb >> shift) & 0xFF;
        const uint64_t dc = (d >> shift) & 0xFF;
        return static_cast<uint32_t>((s * sourceWeight + dc * destWeight + total / 2) / total);
    };
    const uint32_t outA = (total + 127) / 255;
    return outA << 24 | mix(16) << 16 | mix(8) << 8 | mix(0);
}

} // namespace

struct SysFont::Face
{
    struct Glyph
    {
        bool loaded = false;
        FT_UInt index = 0;
        int advance = 0;
        int left = 0;
        int top = 0;
        int width = 0;
        int rows = 0;
        std::vector<uint8_t> coverage; // width * rows, 0..255, top row first
    };

    FaceHandle handle;
    bool embolden = false;
    bool oblique = false;
    bool underline = false;
    bool hasKerning = false;
    int underlineTop = 0; // rows below the baseline row
    int underlineThickness = 1;
    std::array<Glyph, 256> glyphs{};
    /// Pair kerning by (previous << 8 | next), filled on first use.
    std::vector<int16_t> kerning;

    const Glyph& GlyphFor(unsigned char code);
    int Kerning(unsigned char previous, unsigned char next);
};

const SysFont::Face::Glyph& SysFont::Face::GlyphFor(unsigned char code)
{
    Glyph& glyph = glyphs[code];
    if (glyph.loaded) {
        return glyph;
    }
    glyph.loaded = true;
    FT_Face ft = handle.get();
    glyph.index = FT_Get_Char_Index(ft, code);
    if (FT_Load_Glyph(ft, glyph.index, FT_LOAD_DEFAULT | FT_LOAD_TARGET_LIGHT) != 0) {
        return glyph;
    }
    FT_GlyphSlot slot = ft->glyph;
    if (embolden) {
        FT_GlyphSlot_Embolden(slot);
    }
    if (oblique) {
        FT_GlyphSlot_Oblique(slot);
    }
    glyph.advance = std::clamp(RoundPixels(slot->advance.x), 0, 4 * kMaxPixelSize);
    if (slot->format != FT_GLYPH_FORMAT_BITMAP &&
        FT_Render_Glyph(slot, FT_RENDER_MODE_NORMAL) != 0) {
        return glyph;
    }
    const FT_Bitmap& bitmap = slot->bitmap;
    const int width = static_cast<int>(bitmap.width);
    const int rows = static_cast<int>(bitmap.rows);
    const int64_t bytes = int64_t{width} * rows;
    if (bitmap.buffer == nullptr || width <= 0 || rows <= 0 || bytes > kMaxGlyphBytes) {
        return glyph;
    }
    const bool mono = bitmap.pixel_mode == FT_PIXEL_MODE_MONO;
    if (!mono && bitmap.pixel_mode != FT_PIXEL_MODE_GRAY) {
        return glyph; // colour or sub-pixel bitmaps have no single coverage
    }
    const int levels = mono ? 1 : std::max(1, bitmap.num_grays - 1);
    const int pitch = bitmap.pitch < 0 ? -bitmap.pitch : bitmap.pitch;
    glyph.coverage.resize(static_cast<size_t>(bytes));
    for (int row = 0; row < rows; ++row) {
        // A negative pitch stores the bottom row first.
        const int stored = bitmap.pitch < 0 ? rows - 1 - row : row;
        const uint8_t* sourceRow = bitmap.buffer + static_cast<ptrdiff_t>(stored) * pitch;
        uint8_t* dest = glyph.coverage.data() + static_cast<size_t>(row) * width;
        for (int x = 0; x < width; ++x) {
            const int value = mono ? (sourceRow[x >> 3] >> (7 - (x & 7))) & 1 : sourceRow[x];
            dest[x] = static_cast<uint8_t>(std::min(255, value * 255 / levels));
        }
    }
    glyph.left = slot->bitmap_left;
    glyph.top = slot->bitmap_top;
    glyph.width = width;
    glyph.rows = rows;
    return glyph;
}

int SysFont::Face::Kerning(unsigned char previous, unsigned char next)
{
    if (!hasKerning) {
        return 0;
    }
    if (kerning.empty()) {
        kerning.assign(size_t{256} * 256, kUnknownKerning);
    }
    int16_t& cached = kerning[static_cast<size_t>(previous) << 8 | next];
    if (cached == kUnknownKerning) {
        FT_Vector delta{0, 0};
        const FT_UInt left = GlyphFor(previous).index;
        const FT_UInt right = GlyphFor(next).index;
        const int value = FT_Get_Kerning(handle.get(), left, right, FT_KERNING_DEFAULT, &delta) == 0
                              ? RoundPixels(delta.x)
                              : 0;
        cached = static_cast<int16_t>(std::clamp(value, -kMaxPixelSize, kMaxPixelSize));
    }
    return cached;
}

SysFont::SysFont(const std::string& newFaceName, int newPointSize, SysFontStyle newStyle)
    : SysFont(Source::FaceName, newFaceName, newPointSize, newStyle)
{}

SysFont::SysFont(Source from, const std::string& nameOrPath, int newPointSize,
                 SysFontStyle newStyle)
    : source(from), pointSize(newPointSize), style(newStyle)
{
    (from == Source::FaceName ? faceName : filePath) = nameOrPath;
    Load();
}

std::unique_ptr<SysFont> SysFont::FromFile(const std::string& path, int pointSize,
                                           SysFontStyle style)
{
    return std::unique_ptr<SysFont>(new SysFont(Source::File, path, pointSize, style));
}

SysFont::~SysFont() = default;

void SysFont::Load()
{
    // Points on a 96 dpi screen, rounded half away from zero as a multiply-divide does.
    const int64_t pixels = (int64_t{pointSize} * 96 + 36) / 72;
    if (pointSize <= 0 || pixels < 1 || pixels > kMaxPixelSize) {
        std::fprintf(stderr, "SysFont: point size %d refused\n", pointSize);
        return;
    }
    const LibraryHandle library = SharedLibrary();
    if (!library) {
        return;
    }

    auto loaded = std::make_unique<Face>();
    {
        const std::lock_guard lock(FreeTypeMutex());
        FaceMatch match;
        if (source == Source::FaceName) {
            std::optional<FaceMatch> found = MatchFace(faceName, style);
            if (!found) {
                std::fprintf(stderr, "SysFont: no face found for \"%s\"\n", faceName.c_str());
                return;
            }
            match = std::move(*found);
        } else {
            match.path = filePath;
        }
        FT_Face raw = nullptr;
        const FT_Error error = FT_New_Face(library.get(), match.path.c_str(), match.index, &raw);
        FaceHandle handle(error == 0 ? raw : nullptr, FaceDeleter{library});
        if (!handle) {
            std::fprintf(stderr, "SysFont: cannot load \"%s\"\n", match.path.c_str());
            return;
        }
        loaded->handle = std::move(handle);
        loaded->embolden = match.embolden;
        loaded->oblique = match.oblique;
    }

    FT_Face ft = loaded->handle.get();
    // Characters are Latin-1, which are Unicode's first 256 code points.
    FT_Select_Charmap(ft, FT_ENCODING_UNICODE);
    if (FT_Set_Pixel_Sizes(ft, 0, static_cast<FT_UInt>(pixels)) != 0 || ft->size == nullptr) {
        std::fprintf(stderr, "SysFont: \"%s\" has no size %d\n", ft->family_name,
                     static_cast<int>(pixels));
        return;
    }
    const FT_Size_Metrics& metrics = ft->size->metrics;
    const int newAscent = std::max(1, CeilPixels(metrics.ascender));
    const int newDescent = std::max(0, CeilPixels(-metrics.descender));
    loaded->hasKerning = FT_HAS_KERNING(ft);
    loaded->underline = HasStyle(style, SysFontStyle::Underline);
    if (FT_IS_SCALABLE(ft)) {
        const FT_Pos position = FT_MulFix(ft->underline_position, metrics.y_scale);
        const FT_Pos thickness = FT_MulFix(ft->underline_thickness, metrics.y_scale);
        loaded->underlineThickness = std::clamp(RoundPixels(thickness), 1, kMaxPixelSize);
        loaded->underlineTop = std::clamp(RoundPixels(-position - thickness / 2), 0, newDescent);
    } else {
        loaded->underlineTop = std::min(1, newDescent);
    }

    familyName = ft->family_name != nullptr ? ft->family_name : "";
    pixelSize = static_cast<int>(pixels);
    ascent = newAscent;
    height = newAscent + newDescent;
    face = std::move(loaded);
}

int SysFont::TextWidth(const std::string& text)
{
    if (!face) {
        return 0;
    }
    int64_t width = 0;
    char previous = 0;
    for (const char c : text) {
        width += CharWidthAfter(c, previous);
        previous = c;
        if (width >= kCoordinateLimit) {
            return static_cast<int>(kCoordinateLimit);
        }
    }
    return static_cast<int>(std::max<int64_t>(width, 0));
}

int SysFont::CharWidth(char c)
{
    return CharWidthAfter(c, 0);
}

int SysFont::CharWidthAfter(char c, char previous)
{
    if (!face) {
        return 0;
    }
    const auto code = static_cast<unsigned char>(c);
    const int advance = face->GlyphFor(code).advance;
    // Character 0 stands for "no previous character".
    return previous == 0 ? advance
                         : advance + face->Kerning(static_cast<unsigned char>(previous), code);
}

void SysFont::DrawText(Graphics* context, int x, int y, const std::string& text, const Color& color,
                       const Rect& clip)
{
    if (!face || context == nullptr || text.empty()) {
        return;
    }
    auto* dest = dynamic_cast<MemoryImage*>(context->GetDestinationImage());
    if (dest == nullptr) {
        return;
    }
    const int imageWidth = dest->GetWidth();
    const int imageHeight = dest->GetHeight();
    const Rect area = clip.Intersection(Rect(0, 0, imageWidth, imageHeight));
    const uint32_t alpha = static_cast<uint32_t>(std::clamp(color.alpha, 0, 255));
    if (area.IsEmpty() || alpha == 0) {
        return;
    }
    uint32_t* bits = dest->GetPixels();
    if (bits == nullptr ||
        dest->mBits.size() < static_cast<size_t>(imageWidth) * static_cast<size_t>(imageHeight)) {
        return;
    }
    const uint32_t rgb = color.PackARGB() & 0xFFFFFFu;
    const int64_t areaRight = int64_t{area.x} + area.width;
    const int64_t areaBottom = int64_t{area.y} + area.height;

    // Paints coverage (0..255) at one destination pixel, already known to lie in `area`.
    const auto paint = [&](int64_t px, int64_t py, uint32_t coverage) {
        const uint32_t a = (coverage * alpha + 127) / 255;
        if (a == 0) {
            return;
        }
        uint32_t& pixel = bits[static_cast<size_t>(py) * static_cast<size_t>(imageWidth) +
                               static_cast<size_t>(px)];
        pixel = BlendOver(pixel, rgb, a);
    };

    const int64_t startX = Translated(x, context->GetTranslationX());
    // The row just below the letters; FreeType places glyphs relative to it.
    const int64_t origin = Translated(y, context->GetTranslationY()) + 1;
    int64_t pen = startX;
    char previous = 0;
    for (const char c : text) {
        // Left bearings and kerning never reach an em back, so nothing further can show.
        if (pen > areaRight + pixelSize) {
            break;
        }
        const auto code = static_cast<unsigned char>(c);
        if (previous != 0) {
            pen += face->Kerning(static_cast<unsigned char>(previous), code);
        }
        previous = c;
        const Face::Glyph& glyph = face->GlyphFor(code);
        const int64_t left = pen + glyph.left;
        const int64_t top = origin - glyph.top;
        pen += glyph.advance;
        const int64_t x0 = std::max<int64_t>(left, area.x);
        const int64_t x1 = std::min<int64_t>(left + glyph.width, areaRight);
        const int64_t y0 = std::max<int64_t>(top, area.y);
        const int64_t y1 = std::min<int64_t>(top + glyph.rows, areaBottom);
        for (int64_t py = y0; py < y1; ++py) {
            const uint8_t* row =
                glyph.coverage.data() + static_cast<size_t>(py - top) * glyph.width;
            for (int64_t px = x0; px < x1; ++px) {
                const uint32_t coverage = row[px - left];
                if (coverage != 0) {
                    paint(px, py, coverage);
                }
            }
        }
    }

    if (face->underline) {
        const int64_t x0 = std::max<int64_t>(startX, area.x);
        const int64_t x1 = std::min<int64_t>(pen, areaRight);
        const int64_t y0 = std::max<int64_t>(origin + face->underlineTop, area.y);
        const int64_t y1 =
            std::min<int64_t>(origin + face->underlineTop + face->underlineThickness, areaBottom);
        for (int64_t py = y0; py < y1; ++py) {
            for (int64_t px = x0; px < x1; ++px) {
                paint(px, py, 255);
            }
        }
    }
    dest->PixelsChanged();
}

std::unique_ptr<Font> SysFont::Duplicate() const
{
    if (source == Source::File) {
        return FromFile(filePath, pointSize, style);
    }
    return std::make_unique<SysFont>(faceName, pointSize, style);
}

} // namespace Zorva
