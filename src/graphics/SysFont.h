#pragma once

#include "graphics/Font.h"

#include <cstdint>
#include <memory>
#include <string>

namespace Zorva {

/// Style flags of a system font; combine them with `|`.
enum class SysFontStyle : uint32_t
{
    Plain = 0,
    Bold = 1,
    Italic = 2,
    Underline = 4,
};

constexpr SysFontStyle operator|(SysFontStyle a, SysFontStyle b)
{
    return static_cast<SysFontStyle>(static_cast<uint32_t>(a) | static_cast<uint32_t>(b));
}

constexpr bool HasStyle(SysFontStyle set, SysFontStyle flag)
{
    return (static_cast<uint32_t>(set) & static_cast<uint32_t>(flag)) != 0;
}

/// A font rendered by the system's outline-font renderer (FreeType, faces found through
/// fontconfig). Characters are Latin-1 code points. Glyphs are drawn antialiased and blended
/// in the text colour into any MemoryImage; other destinations get nothing.
///
/// When no face can be found or loaded the font stays unloaded: it measures 0, its metrics
/// are 0 and it draws nothing. A font is used by one thread at a time; different fonts may
/// be used on different threads.
class SysFont : public Font
{
public:
    /// The largest pixel size accepted; beyond it the font stays unloaded.
    static constexpr int kMaxPixelSize = 512;

    /// The face called `faceName` ("SansSerif", "Serif" and "Monospaced" name the system's
    /// defaults; names the system lacks fall back to the sans-serif default) at `pointSize`
    /// points of a 96 dpi screen.
    SysFont(const std::string& faceName, int pointSize, SysFontStyle style = SysFontStyle::Plain);
    /// The face in the font file at `path`, for fonts shipped with the game.
    static std::unique_ptr<SysFont> FromFile(const std::string& path, int pointSize,
                                             SysFontStyle style = SysFontStyle::Plain);
    SysFont(const SysFont&) = delete;
    SysFont& operator=(const SysFont&) = delete;
    ~SysFont() override;

    int TextWidth(const std::string& text) override;
    int CharWidth(char c) override;
    int CharWidthAfter(char c, char previous) override;
    /// The bottom row of letters without descenders is row y; (x, y) are context
    /// coordinates, `clip` is in destination coordinates.
    void DrawText(Graphics* context, int x, int y, const std::string& text, const Color& color,
                  const Rect& clip) override;
    /// A new font made from the same description (name or file, size, style).
    std::unique_ptr<Font> Duplicate() const override;

    bool IsLoaded() const { return face != nullptr; }
    const std::string& GetFaceName() const { return faceName; }
    /// The family of the face actually loaded ("DejaVu Sans"); empty when unloaded.
    const std::string& GetFamilyName() const { return familyName; }
    int GetPointSize() const { return pointSize; }
    /// Points x 96 / 72, rounded.
    int GetPixelSize() const { return pixelSize; }
    SysFontStyle GetStyle() const { return style; }

private:
    enum class Source
    {
        FaceName,
        File,
    };

    SysFont(Source from, const std::string& nameOrPath, int pointSize, SysFontStyle style);
    void Load();

    /// The FreeType face and the glyphs rendered from it.
    struct Face;

    Source source = Source::FaceName;
    std::string faceName;
    std::string filePath;
    std::string familyName;
    int pointSize = 0;
    int pixelSize = 0;
    SysFontStyle style = SysFontStyle::Plain;
    std::unique_ptr<Face> face;
};

} // namespace Zorva
