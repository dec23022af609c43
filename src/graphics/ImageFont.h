#pragma once

#include "graphics/ActiveFontLayer.h"
#include "graphics/Font.h"

#include <list>
#include <memory>
#include <string>
#include <vector>

namespace Zorva {

class FontData;
class MemoryImage;

/// A bitmap font made of layers cut from images, described by a font descriptor. The parsed
/// descriptor (FontData) is shared between duplicates; each font chooses its layers by point
/// size and tags and may scale them. An unloaded font measures 0 and draws nothing.
class ImageFont : public Font
{
public:
    /// Loads the descriptor; errors are reported and leave the font unloaded.
    explicit ImageFont(const std::string& fontDescFileName);
    /// A font on an already loaded (or failed) FontData.
    explicit ImageFont(std::shared_ptr<FontData> fontData);
    /// A one-layer font: glyphs laid side by side in `image`, widths from a text file.
    ImageFont(std::shared_ptr<MemoryImage> image, const std::string& widthsFileName);
    ImageFont(const ImageFont& other);
    ImageFont& operator=(const ImageFont&) = delete;
    ~ImageFont() override;

    int GetAscent() const override;
    int GetAscentPadding() const override;
    int GetDescent() const override;
    int GetHeight() const override;
    int GetLineSpacingOffset() const override;
    int GetLineSpacing() const override;
    int TextWidth(const std::string& text) override;
    int CharWidth(char c) override;
    int CharWidthAfter(char c, char previous) override;
    void DrawText(Graphics* context, int x, int y, const std::string& text, const Color& color,
                  const Rect& clip) override;
    /// Shares the FontData.
    std::unique_ptr<Font> Duplicate() const override;

    virtual void BuildActiveLayers();
    /// DrawText that also reports, per drawn glyph layer, its destination rect, and the width
    /// the pen advanced. Only glyphs of the first 4096 glyph layers are drawn.
    virtual void DrawTextWithRects(Graphics* context, int x, int y, const std::string& text,
                                   const Color& color, const Rect& clip,
                                   std::vector<Rect>* rects = nullptr, int* width = nullptr);
    virtual void SetPointSize(int newPointSize);
    virtual int GetPointSize() const { return pointSize; }
    virtual void SetScale(double newScale);
    virtual int GetDefaultPointSize() const;
    /// False when the tag is already there.
    virtual bool AddTag(const std::string& tag);
    /// False when the tag is not there.
    virtual bool RemoveTag(const std::string& tag);
    virtual bool HasTag(const std::string& tag) const;
    /// The define's text ("(a, b)" for a list); empty when there is none.
    virtual std::string GetDefine(const std::string& name);
    virtual void EnsureActiveLayers();

    const std::shared_ptr<FontData>& GetFontData() const { return fontData; }
    /// The layers shown at the current size, scale and tags (rebuilt first if needed).
    const std::list<ActiveFontLayer>& GetActiveLayers()
    {
        EnsureActiveLayers();
        return activeLayerList;
    }
    bool IsLoaded() const;

    /// Scaled glyph strips get their colour forced to white, keeping alpha.
    bool forceScaledImagesWhite = false;

private:
    /// The metric getters are const in the interface while the active layers are a cache.
    void EnsureActiveLayersConst() const;
    /// The factor a layer's glyph sizes are multiplied by at the current size and scale.
    double LayerFactor(const FontLayer& layer) const;

    std::shared_ptr<FontData> fontData;
    int pointSize = 0;
    std::vector<std::string> tagVector;
    bool activeListValid = false;
    std::list<ActiveFontLayer> activeLayerList;
    double scale = 1.0;
};

} // namespace Zorva
