#pragma once

#include "graphics/Image.h"

#include <cstdint>
#include <vector>

namespace Zorva {

class ImageRegistry;

/// An image held in memory and drawn in software: 32-bit ARGB pixels (`mBits`) or a
/// palettised form, plus caches derived from them that make blitting fast: run-length alpha
/// classes, run-length black/non-black classes for additive drawing, and a premultiplied copy
/// in the display's pixel layout. Every drawing operation ends with PixelsChanged, which
/// discards the caches. Pixels are kept in at least one of: `mBits`, palette + indices,
/// native alpha data, a 3D texture; GetPixels rebuilds `mBits` from whichever exists.
///
/// The pixel data members are public so the software rasterisers (spread over several source
/// files) can reach them; everything else should go through the operations.
class MemoryImage : public Image
{
public:
    /// Written after the last pixel of `mBits`, so an overrun can be detected.
    static constexpr uint32_t kGuardWord = 0x4BEEFADE;
    /// The largest width or height accepted; beyond it Create and SetPixels make nothing.
    static constexpr int kMaxSide = 16384;

    MemoryImage();
    MemoryImage(const MemoryImage& other);
    MemoryImage& operator=(const MemoryImage&) = delete;
    ~MemoryImage() override;

    void FillRect(const Rect& rect, const Color& color, int drawMode) override;
    void ClearRect(const Rect& rect) override;
    void DrawLine(double x1, double y1, double x2, double y2, const Color& color,
                  int drawMode) override;
    void Blit(Image* source, int x, int y, const Rect& sourceRect, const Color& color,
              int drawMode) override;
    void BlitFloat(Image* source, float x, float y, const Rect& sourceRect, const Rect& clip,
                   const Color& color, int drawMode) override;
    void BlitRotated(Image* source, float x, float y, const Rect& sourceRect, const Rect& clip,
                     const Color& color, int drawMode, double angle, float centerX,
                     float centerY) override;
    void BlitStretched(Image* source, const Rect& destRect, const Rect& sourceRect,
                       const Rect& clip, const Color& color, int drawMode,
                       bool fastStretch) override;
    void BlitTransformed(Image* source, float x, float y, const Matrix3& matrix, const Rect& clip,
                         const Color& color, int drawMode, const Rect& sourceRect,
                         bool blend) override;
    void BlitTriangles(Image* source, const Triangle* triangles, int count, const Rect& clip,
                       const Color& color, int drawMode, float tx, float ty, bool blend) override;
    void BlitMirrored(Image* source, int x, int y, const Rect& sourceRect, const Color& color,
                      int drawMode) override;
    void BlitStretchedMirrored(Image* source, const Rect& destRect, const Rect& sourceRect,
                               const Rect& clip, const Color& color, int drawMode,
                               bool fastStretch) override;

    /// Premultiplied pixels in the given display layout (256 entries when palettised).
    virtual const uint32_t* GetNativeAlpha(const NativeFormat& format);
    /// Per pixel, the length of its run of equal alpha class (0, 1..254, 255) to the row's
    /// end, capped at 255.
    virtual const uint8_t* GetAlphaRuns();
    /// The same run coding for black / not black premultiplied colours.
    virtual const uint8_t* GetAdditiveRuns(const NativeFormat& format);
    virtual void DropPixels();
    virtual void DropSoftwareCaches();
    virtual void DropTexture();
    virtual void DropAllCaches();
    virtual void Restore();
    virtual void PixelsChanged();
    virtual void CommitPixels();
    virtual void DropNativeCaches();
    virtual void Clear();
    virtual void SetPixels(const uint32_t* pixels, int newWidth, int newHeight, bool commit);
    virtual void Create(int newWidth, int newHeight);
    /// The ARGB pixels, rebuilt from the palette, the native data or zeros when absent.
    virtual uint32_t* GetPixels();
    virtual void ForceAlphaMode(bool transparency, bool alpha);
    virtual void SetVolatile(bool flag);
    /// Converts to 256 palette entries and byte indices; false with more than 256 colours.
    virtual bool MakePalettised();

    bool HasPixels() const { return !mBits.empty(); }
    bool IsPalettised() const { return !colorTable.empty(); }
    /// The ARGB colour of a pixel from whichever form holds it (no caches are built).
    uint32_t PixelAt(int x, int y);

    /// width * height pixels and the guard word; empty when absent.
    std::vector<uint32_t> mBits;
    int32_t bitsChangedCount = 0;
    /// 3D texture data, owned by the display back-end.
    void* textureData = nullptr;
    uint32_t textureFlags = 0;
    /// 256 ARGB entries in palettised form, else empty.
    std::vector<uint32_t> colorTable;
    /// width * height palette indices in palettised form, else empty.
    std::vector<uint8_t> colorIndices;
    bool forcedMode = false;
    bool hasTrans = false;
    bool hasAlpha = false;
    bool isVolatile = false;
    bool purgeBits = false;
    bool wantPal = false;
    /// How an accelerated display should hold the image (kHint* bits); software drawing
    /// ignores them.
    uint32_t drawHints = 0;
    static constexpr uint32_t kHintDisplaySurface = 1;
    static constexpr uint32_t kHintA4R4G4B4 = 2;
    static constexpr uint32_t kHintA8R8G8B8 = 4;
    static constexpr uint32_t kHintMinSubdivide = 8;
    std::vector<uint32_t> nativeAlphaData;
    NativeFormat nativeAlphaFormat;
    std::vector<uint8_t> rlAlphaData;
    std::vector<uint8_t> rlAdditiveData;
    NativeFormat rlAdditiveFormat;
    bool bitsChanged = false;
    /// The registry this image told of its existence (the application's), or null.
    ImageRegistry* registry = nullptr;

private:
    /// The ARGB pixels and the guard word, decoded from the palette or the native data
    /// (zeros when neither holds them); the image is not changed.
    std::vector<uint32_t> DecodePixels() const;
    /// Frees the pixels in both their plain and their palettised form.
    void FreePixelForms();
    /// Frees what is derived from the pixels: native data and run codings.
    void FreeDerivedData();
    /// An empty image of the new size, or of none when the size is refused.
    void ResetSize(int newWidth, int newHeight);
};

} // namespace Zorva
