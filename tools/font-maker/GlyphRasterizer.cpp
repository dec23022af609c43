#include "GlyphRasterizer.h"

#include <ft2build.h>
#include FT_FREETYPE_H

#include <cmath>

namespace {

struct LibraryDeleter
{
    void operator()(FT_Library library) const { FT_Done_FreeType(library); }
};
struct FaceDeleter
{
    void operator()(FT_Face face) const { FT_Done_Face(face); }
};

/// 26.6 fixed point to whole pixels, rounded.
int Pixels(FT_Pos value)
{
    return static_cast<int>(std::lround(static_cast<double>(value) / 64.0));
}

} // namespace

struct GlyphRasterizer::Handles
{
    std::unique_ptr<FT_LibraryRec_, LibraryDeleter> library;
    std::unique_ptr<FT_FaceRec_, FaceDeleter> face;
};

GlyphRasterizer::GlyphRasterizer() = default;
GlyphRasterizer::~GlyphRasterizer() = default;

bool GlyphRasterizer::Open(const std::string& fontFile, int pixelSize)
{
    if (pixelSize < 4 || pixelSize > 256) {
        return false;
    }
    FT_Library rawLibrary = nullptr;
    if (FT_Init_FreeType(&rawLibrary) != 0) {
        return false;
    }
    auto opened = std::make_unique<Handles>();
    opened->library.reset(rawLibrary);
    FT_Face rawFace = nullptr;
    if (FT_New_Face(rawLibrary, fontFile.c_str(), 0, &rawFace) != 0) {
        return false;
    }
    opened->face.reset(rawFace);
    if (FT_Set_Pixel_Sizes(rawFace, 0, static_cast<FT_UInt>(pixelSize)) != 0) {
        return false;
    }
    ascent = Pixels(rawFace->size->metrics.ascender);
    descent = -Pixels(rawFace->size->metrics.descender);
    handles = std::move(opened);
    return true;
}

std::optional<GlyphBitmap> GlyphRasterizer::Render(uint32_t codePoint)
{
    if (!handles) {
        return std::nullopt;
    }
    FT_Face face = handles->face.get();
    const FT_UInt index = FT_Get_Char_Index(face, codePoint);
    if (index == 0 || FT_Load_Glyph(face, index, FT_LOAD_RENDER | FT_LOAD_TARGET_LIGHT) != 0) {
        return std::nullopt;
    }
    const FT_GlyphSlot slot = face->glyph;
    const FT_Bitmap& bitmap = slot->bitmap;
    if (bitmap.pixel_mode != FT_PIXEL_MODE_GRAY && bitmap.rows != 0) {
        return std::nullopt;
    }
    GlyphBitmap glyph;
    glyph.width = static_cast<int>(bitmap.width);
    glyph.height = static_cast<int>(bitmap.rows);
    glyph.left = slot->bitmap_left;
    glyph.top = slot->bitmap_top;
    glyph.advance = Pixels(slot->advance.x);
    glyph.coverage.resize(static_cast<std::size_t>(glyph.width) * glyph.height);
    for (int y = 0; y < glyph.height; ++y) {
        const unsigned char* row = bitmap.buffer + static_cast<std::ptrdiff_t>(y) * bitmap.pitch;
        for (int x = 0; x < glyph.width; ++x) {
            glyph.coverage[static_cast<std::size_t>(y) * glyph.width + x] = row[x];
        }
    }
    return glyph;
}

int GlyphRasterizer::Kerning(uint32_t first, uint32_t second)
{
    if (!handles || !FT_HAS_KERNING(handles->face.get())) {
        return 0;
    }
    FT_Face face = handles->face.get();
    FT_Vector delta{};
    if (FT_Get_Kerning(face, FT_Get_Char_Index(face, first), FT_Get_Char_Index(face, second),
                       FT_KERNING_UNFITTED, &delta) != 0) {
        return 0;
    }
    return Pixels(delta.x);
}
