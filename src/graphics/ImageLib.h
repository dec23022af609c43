#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

namespace Zorva::ImageLib {

/// The largest width and height any reader accepts, so that a hostile header cannot ask for a
/// huge allocation.
inline constexpr int32_t kMaxImageSide = 16384;

/// A decoded picture: width · height ARGB words (alpha in the top byte), row by row from the
/// top. It owns its pixels. Separate from the drawing Image; the application wraps it into a
/// display image and deletes it.
class Image
{
public:
    Image() = default;
    Image(const Image&) = delete;
    Image& operator=(const Image&) = delete;
    virtual ~Image() = default;

    /// A zeroed width × height image; null when a side lies outside 1..kMaxImageSide or the
    /// memory is not there.
    static std::unique_ptr<Image> Create(int32_t width, int32_t height);

    int32_t width = 0;
    int32_t height = 0;
    std::unique_ptr<uint32_t[]> bits;
};

/// The RGB colour an alpha image found alone is coloured with (default 0xFFFFFF, white). The
/// resource manager sets it around the loading of one resource.
void SetAlphaColor(uint32_t color);
uint32_t GetAlphaColor();

/// Loads a picture by name: with an extension only through the reader of that extension (TGA,
/// JPEG, PNG, GIF; case does not matter), without one through each reader in that order.
/// With `lookForAlphaImage`, a grey image of the same name prefixed by '_' (or, failing that,
/// suffixed by '_') supplies the alpha channel, or alone becomes the result. Null if nothing
/// could be read.
std::unique_ptr<Image> LoadImageFile(const std::string& fileName, bool lookForAlphaImage);

/// Format readers on a file; null on a missing file, a wrong signature or bad data.
std::unique_ptr<Image> ReadTGAImage(const std::string& fileName);
std::unique_ptr<Image> ReadJPEGImage(const std::string& fileName);
std::unique_ptr<Image> ReadPNGImage(const std::string& fileName);
std::unique_ptr<Image> ReadGIFImage(const std::string& fileName);

/// The same readers on bytes in memory.
std::unique_ptr<Image> DecodeTGA(const uint8_t* data, size_t size);
std::unique_ptr<Image> DecodeJPEG(const uint8_t* data, size_t size);
std::unique_ptr<Image> DecodePNG(const uint8_t* data, size_t size);
/// Only the first image of the file. Indices outside the colour table give opaque black; image
/// data that ends early leaves the remaining pixels 0.
std::unique_ptr<Image> DecodeGIF(const uint8_t* data, size_t size);

/// Writers: 8-bit RGBA PNG, and RGB JPEG at quality 80. The file is replaced atomically; false
/// when the image is empty, encoding fails or the file cannot be written.
bool SavePNG(const std::string& fileName, const Image& image);
bool SaveJPEG(const std::string& fileName, const Image& image);

} // namespace Zorva::ImageLib
