#include "graphics/ImageLib.h"

#include "system/AtomicFile.h"

#include <jpeglib.h>
// jerror.h needs jpeglib.h first.
#include <jerror.h>
#include <png.h>

#include <algorithm>
#include <atomic>
#include <bit>
#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <new>
#include <string_view>
#include <vector>

namespace Zorva::ImageLib {

namespace {

std::atomic<uint32_t> alphaColor{0xFFFFFF};

/// No image file is larger than the biggest uncompressed picture plus headers.
constexpr uint64_t kMaxFileBytes = (uint64_t{1} << 30) + (uint64_t{64} << 20);
/// Deflate cannot expand one input byte into more than 1032 output bytes.
constexpr uint64_t kMaxDeflateRatio = 1032;
/// A sequential JPEG spends at least two bits on every 8 × 8 block of every component, i.e.
/// at most 256 pixels per byte; four times that leaves room for any real file.
constexpr uint64_t kMaxJpegPixelsPerByte = 1024;
/// Bounds libjpeg's coefficient buffer (progressive files) and the number of scans, so a small
/// hostile file can neither claim much memory nor keep the decoder busy for long.
constexpr long kMaxJpegMemory = 128L << 20;
constexpr int kMaxJpegScans = 500;
constexpr int kJpegQuality = 80;

using FileHandle = std::unique_ptr<std::FILE, decltype(&std::fclose)>;

bool ReadFileBytes(const std::string& fileName, std::vector<uint8_t>* bytes)
{
    FileHandle file(std::fopen(fileName.c_str(), "rb"), &std::fclose);
    if (!file) {
        return false;
    }
    if (std::fseek(file.get(), 0, SEEK_END) != 0) {
        return false;
    }
    const long length = std::ftell(file.get());
    if (length < 0 || static_cast<uint64_t>(length) > kMaxFileBytes ||
        std::fseek(file.get(), 0, SEEK_SET) != 0) {
        return false;
    }
    try {
        bytes->resize(static_cast<size_t>(length));
    } catch (const std::bad_alloc&) {
        return false;
    }
    return std::fread(bytes->data(), 1, bytes->size(), file.get()) == bytes->size();
}

using Decoder = std::unique_ptr<Image> (*)(const uint8_t*, size_t);

std::unique_ptr<Image> ReadWith(Decoder decode, const std::string& fileName)
{
    std::vector<uint8_t> bytes;
    if (!ReadFileBytes(fileName, &bytes)) {
        return nullptr;
    }
    return decode(bytes.data(), bytes.size());
}

bool EqualsIgnoringCase(std::string_view a, std::string_view b)
{
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; };
        return lower(x) == lower(y);
    });
}

uint16_t ReadLE16(const uint8_t* p)
{
    return static_cast<uint16_t>(p[0] | p[1] << 8);
}

// ---- PNG ----

struct PngSource
{
    const uint8_t* data;
    size_t size;
    size_t position;
};

[[noreturn]] void PngError(png_structp png, png_const_charp)
{
    png_longjmp(png, 1);
}

void PngWarning(png_structp, png_const_charp) {}

void PngRead(png_structp png, png_bytep out, size_t length)
{
    auto* source = static_cast<PngSource*>(png_get_io_ptr(png));
    if (length > source->size - source->position) {
        png_error(png, "truncated");
    }
    std::memcpy(out, source->data + source->position, length);
    source->position += length;
}

/// Owns a libpng read or write structure with its info structure.
class PngHandle
{
public:
    enum class Mode
    {
        Read,
        Write
    };
    explicit PngHandle(Mode newMode) : mode(newMode)
    {
        png = newMode == Mode::Read
                  ? png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, PngError, PngWarning)
                  : png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, PngError, PngWarning);
        if (png) {
            info = png_create_info_struct(png);
        }
    }
    ~PngHandle()
    {
        if (mode == Mode::Read) {
            png_destroy_read_struct(&png, info ? &info : nullptr, nullptr);
        } else {
            png_destroy_write_struct(&png, info ? &info : nullptr);
        }
    }
    PngHandle(const PngHandle&) = delete;
    PngHandle& operator=(const PngHandle&) = delete;

    bool Valid() const { return png && info; }

    const Mode mode;
    png_structp png = nullptr;
    png_infop info = nullptr;
};

// The long-jump targets live in functions that hold no object with a destructor; everything
// that must be released belongs to the caller.
bool DecodePngInto(png_structp png, png_infop info, PngSource* source,
                   std::unique_ptr<Image>* result)
{
    if (setjmp(png_jmpbuf(png))) {
        return false;
    }
    png_set_read_fn(png, source, PngRead);
    png_set_user_limits(png, kMaxImageSide, kMaxImageSide);
    png_set_chunk_malloc_max(png, 8 << 20);
    png_set_chunk_cache_max(png, 256);
    png_read_info(png, info);

    const png_uint_32 width = png_get_image_width(png, info);
    const png_uint_32 height = png_get_image_height(png, info);
    // Before anything is allocated: the rows must fit into what the bytes can inflate to.
    const uint64_t rawBytes = uint64_t{height} * (uint64_t{png_get_rowbytes(png, info)} + 1);
    if (rawBytes > (uint64_t{source->size} + 64) * kMaxDeflateRatio) {
        return false;
    }

    png_set_palette_to_rgb(png);
    png_set_expand_gray_1_2_4_to_8(png);
    png_set_tRNS_to_alpha(png);
    png_set_strip_16(png);
    png_set_gray_to_rgb(png);
    if constexpr (std::endian::native == std::endian::little) {
        png_set_filler(png, 0xFF, PNG_FILLER_AFTER);
        png_set_bgr(png);
    } else {
        png_set_filler(png, 0xFF, PNG_FILLER_BEFORE);
        png_set_swap_alpha(png);
    }
    const int passes = png_set_interlace_handling(png);
    png_read_update_info(png, info);
    if (png_get_rowbytes(png, info) != size_t{width} * 4) {
        return false;
    }

    *result = Image::Create(static_cast<int32_t>(width), static_cast<int32_t>(height));
    if (!*result) {
        return false;
    }
    uint32_t* bits = (*result)->bits.get();
    for (int pass = 0; pass < passes; ++pass) {
        for (png_uint_32 y = 0; y < height; ++y) {
            png_read_row(png, reinterpret_cast<png_bytep>(bits + size_t{y} * width), nullptr);
        }
    }
    return true;
}

void PngWrite(png_structp png, png_bytep data, size_t length)
{
    auto* out = static_cast<std::string*>(png_get_io_ptr(png));
    bool appended = true;
    try {
        out->append(reinterpret_cast<const char*>(data), length);
    } catch (const std::bad_alloc&) {
        appended = false;
    }
    if (!appended) {
        png_error(png, "out of memory");
    }
}

void PngFlush(png_structp) {}

bool EncodePngInto(png_structp png, png_infop info, const Image* image, std::string* out)
{
    if (setjmp(png_jmpbuf(png))) {
        return false;
    }
    png_set_write_fn(png, out, PngWrite, PngFlush);
    png_set_IHDR(png, info, static_cast<png_uint_32>(image->width),
                 static_cast<png_uint_32>(image->height), 8, PNG_COLOR_TYPE_RGB_ALPHA,
                 PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_color_8 significantBits{8, 8, 8, 8, 8};
    png_set_sBIT(png, info, &significantBits);
    png_write_info(png, info);
    if constexpr (std::endian::native == std::endian::little) {
        png_set_bgr(png);
    } else {
        png_set_swap_alpha(png);
    }
    const uint32_t* bits = image->bits.get();
    for (int32_t y = 0; y < image->height; ++y) {
        // libpng takes a non-const row but does not write to it.
        png_write_row(png, reinterpret_cast<png_bytep>(const_cast<uint32_t*>(
                               bits + static_cast<size_t>(y) * image->width)));
    }
    png_write_end(png, info);
    return true;
}

// ---- JPEG ----

struct JpegErrorManager
{
    jpeg_error_mgr base;
    std::jmp_buf jump;
};

[[noreturn]] void JpegErrorExit(j_common_ptr cinfo)
{
    std::longjmp(reinterpret_cast<JpegErrorManager*>(cinfo->err)->jump, 1);
}

// A file that ends early is an error, not a picture padded with grey.
void JpegEmitMessage(j_common_ptr cinfo, int level)
{
    if (level < 0 && cinfo->err->msg_code == JWRN_JPEG_EOF) {
        JpegErrorExit(cinfo);
    }
}

void JpegOutputMessage(j_common_ptr) {}

void JpegProgress(j_common_ptr cinfo)
{
    if (cinfo->is_decompressor &&
        reinterpret_cast<j_decompress_ptr>(cinfo)->input_scan_number > kMaxJpegScans) {
        JpegErrorExit(cinfo);
    }
}

void InstallJpegErrors(JpegErrorManager* errors)
{
    jpeg_std_error(&errors->base);
    errors->base.error_exit = JpegErrorExit;
    errors->base.emit_message = JpegEmitMessage;
    errors->base.output_message = JpegOutputMessage;
}

/// Owns a libjpeg decompressor; destroying one that was never created is harmless because the
/// structure starts zeroed.
struct JpegDecompressor
{
    jpeg_decompress_struct cinfo{};
    JpegErrorManager errors{};
    jpeg_progress_mgr progress{};
    ~JpegDecompressor() { jpeg_destroy_decompress(&cinfo); }
};

struct JpegCompressor
{
    jpeg_compress_struct cinfo{};
    JpegErrorManager errors{};
    ~JpegCompressor() { jpeg_destroy_compress(&cinfo); }
};

bool DecodeJpegInto(JpegDecompressor* decoder, const uint8_t* data, size_t size,
                    std::vector<uint8_t>* line, std::unique_ptr<Image>* result)
{
    jpeg_decompress_struct* cinfo = &decoder->cinfo;
    InstallJpegErrors(&decoder->errors);
    cinfo->err = &decoder->errors.base;
    if (setjmp(decoder->errors.jump)) {
        return false;
    }
    jpeg_create_decompress(cinfo);
    cinfo->mem->max_memory_to_use = kMaxJpegMemory;
    decoder->progress.progress_monitor = JpegProgress;
    cinfo->progress = &decoder->progress;
    jpeg_mem_src(cinfo, data, static_cast<unsigned long>(size));
    if (jpeg_read_header(cinfo, TRUE) != JPEG_HEADER_OK) {
        return false;
    }

    const JDIMENSION width = cinfo->image_width;
    const JDIMENSION height = cinfo->image_height;
    if (width == 0 || height == 0 || width > kMaxImageSide || height > kMaxImageSide) {
        return false;
    }
    // A progressive file is absorbed whole (within the memory bound) before any output is
    // allocated; a sequential one must bring enough bytes for the pixels it claims.
    if (!cinfo->progressive_mode &&
        uint64_t{width} * height > uint64_t{size} * kMaxJpegPixelsPerByte) {
        return false;
    }
    int components = 0;
    switch (cinfo->jpeg_color_space) {
    case JCS_GRAYSCALE:
        cinfo->out_color_space = JCS_GRAYSCALE;
        components = 1;
        break;
    case JCS_YCbCr:
    case JCS_RGB:
        cinfo->out_color_space = JCS_RGB;
        components = 3;
        break;
    default:
        return false;
    }

    jpeg_start_decompress(cinfo);
    if (cinfo->output_width != width || cinfo->output_height != height ||
        cinfo->output_components != components) {
        return false;
    }
    bool lineReady = true;
    try {
        line->resize(size_t{width} * components);
    } catch (const std::bad_alloc&) {
        lineReady = false;
    }
    if (!lineReady) {
        return false;
    }
    *result = Image::Create(static_cast<int32_t>(width), static_cast<int32_t>(height));
    if (!*result) {
        return false;
    }
    uint32_t* bits = (*result)->bits.get();
    JSAMPROW row = line->data();
    while (cinfo->output_scanline < height) {
        uint32_t* out = bits + size_t{cinfo->output_scanline} * width;
        if (jpeg_read_scanlines(cinfo, &row, 1) != 1) {
            return false;
        }
        const uint8_t* in = line->data();
        if (components == 1) {
            for (JDIMENSION x = 0; x < width; ++x) {
                out[x] = 0xFF000000u | in[x] * 0x010101u;
            }
        } else {
            for (JDIMENSION x = 0; x < width; ++x, in += 3) {
                out[x] = 0xFF000000u | uint32_t{in[0]} << 16 | uint32_t{in[1]} << 8 | in[2];
            }
        }
    }
    return true;
}

/// Collects libjpeg's output in a string, one buffer at a time.
struct JpegStringDestination
{
    static constexpr size_t kChunk = 64 * 1024;

    jpeg_destination_mgr base{};
    std::string* out = nullptr;
    uint8_t buffer[kChunk];

    bool Append(size_t count)
    {
        try {
            out->append(reinterpret_cast<const char*>(buffer), count);
        } catch (const std::bad_alloc&) {
            return false;
        }
        return true;
    }
};

void JpegInitDestination(j_compress_ptr cinfo)
{
    auto* dest = reinterpret_cast<JpegStringDestination*>(cinfo->dest);
    dest->base.next_output_byte = dest->buffer;
    dest->base.free_in_buffer = JpegStringDestination::kChunk;
}

boolean JpegEmptyOutput(j_compress_ptr cinfo)
{
    auto* dest = reinterpret_cast<JpegStringDestination*>(cinfo->dest);
    if (!dest->Append(JpegStringDestination::kChunk)) {
        JpegErrorExit(reinterpret_cast<j_common_ptr>(cinfo));
    }
    JpegInitDestination(cinfo);
    return TRUE;
}

void JpegTermDestination(j_compress_ptr cinfo)
{
    auto* dest = reinterpret_cast<JpegStringDestination*>(cinfo->dest);
    if (!dest->Append(JpegStringDestination::kChunk - dest->base.free_in_buffer)) {
        JpegErrorExit(reinterpret_cast<j_common_ptr>(cinfo));
    }
}

bool EncodeJpegInto(JpegCompressor* encoder, JpegStringDestination* dest, const Image* image,
                    std::vector<uint8_t>* line)
{
    jpeg_compress_struct* cinfo = &encoder->cinfo;
    InstallJpegErrors(&encoder->errors);
    cinfo->err = &encoder->errors.base;
    if (setjmp(encoder->errors.jump)) {
        return false;
    }
    jpeg_create_compress(cinfo);
    dest->base.init_destination = JpegInitDestination;
    dest->base.empty_output_buffer = JpegEmptyOutput;
    dest->base.term_destination = JpegTermDestination;
    cinfo->dest = &dest->base;
    cinfo->image_width = static_cast<JDIMENSION>(image->width);
    cinfo->image_height = static_cast<JDIMENSION>(image->height);
    cinfo->input_components = 3;
    cinfo->in_color_space = JCS_RGB;
    jpeg_set_defaults(cinfo);
    jpeg_set_quality(cinfo, kJpegQuality, TRUE);
    jpeg_start_compress(cinfo, TRUE);
    JSAMPROW row = line->data();
    const uint32_t* bits = image->bits.get();
    for (int32_t y = 0; y < image->height; ++y) {
        const uint32_t* in = bits + static_cast<size_t>(y) * image->width;
        uint8_t* out = line->data();
        for (int32_t x = 0; x < image->width; ++x, out += 3) {
            out[0] = static_cast<uint8_t>(in[x] >> 16);
            out[1] = static_cast<uint8_t>(in[x] >> 8);
            out[2] = static_cast<uint8_t>(in[x]);
        }
        jpeg_write_scanlines(cinfo, &row, 1);
    }
    jpeg_finish_compress(cinfo);
    return true;
}

bool Writable(const Image& image)
{
    return image.bits && image.width > 0 && image.height > 0 && image.width <= kMaxImageSide &&
           image.height <= kMaxImageSide;
}

struct NamedReader
{
    const char* extension;
    std::unique_ptr<Image> (*read)(const std::string&);
};

// The order in which a name without extension tries the formats.
constexpr NamedReader kReaders[] = {
    {".tga", ReadTGAImage},
    {".jpg", ReadJPEGImage},
    {".png", ReadPNGImage},
    {".gif", ReadGIFImage},
};

} // namespace

std::unique_ptr<Image> Image::Create(int32_t width, int32_t height)
{
    if (width <= 0 || height <= 0 || width > kMaxImageSide || height > kMaxImageSide) {
        return nullptr;
    }
    std::unique_ptr<uint32_t[]> bits(new (std::nothrow)
                                         uint32_t[static_cast<size_t>(width) * height]());
    if (!bits) {
        return nullptr;
    }
    auto image = std::make_unique<Image>();
    image->width = width;
    image->height = height;
    image->bits = std::move(bits);
    return image;
}

void SetAlphaColor(uint32_t color)
{
    alphaColor.store(color & 0xFFFFFF);
}

uint32_t GetAlphaColor()
{
    return alphaColor.load();
}

std::unique_ptr<Image> LoadImageFile(const std::string& fileName, bool lookForAlphaImage)
{
    const size_t slash = fileName.rfind('/');
    const size_t backslash = fileName.rfind('\\');
    const size_t separator = slash == std::string::npos       ? backslash
                             : backslash == std::string::npos ? slash
                                                              : std::min(slash, backslash);
    const size_t dot = fileName.rfind('.');
    const bool hasExtension =
        dot != std::string::npos && (separator == std::string::npos || dot > separator);
    const std::string base = hasExtension ? fileName.substr(0, dot) : fileName;
    const std::string_view extension =
        hasExtension ? std::string_view(fileName).substr(dot) : std::string_view();

    std::unique_ptr<Image> image;
    for (const NamedReader& reader : kReaders) {
        if (!hasExtension) {
            image = reader.read(base + reader.extension);
        } else if (EqualsIgnoringCase(extension, reader.extension)) {
            // File names are case-sensitive here: the name as written first, then the usual
            // lower-case spelling.
            image = reader.read(fileName);
            if (!image && extension != reader.extension) {
                image = reader.read(base + reader.extension);
            }
        }
        if (image) {
            break;
        }
    }

    if (!lookForAlphaImage) {
        return image;
    }
    const size_t nameStart = separator == std::string::npos ? 0 : separator + 1;
    std::unique_ptr<Image> alpha =
        LoadImageFile(fileName.substr(0, nameStart) + "_" + fileName.substr(nameStart), false);
    if (!alpha) {
        alpha = LoadImageFile(fileName + "_", false);
    }
    if (!alpha) {
        return image;
    }

    const size_t alphaCount = static_cast<size_t>(alpha->width) * alpha->height;
    uint32_t* alphaBits = alpha->bits.get();
    if (!image) {
        const uint32_t color = GetAlphaColor();
        for (size_t i = 0; i < alphaCount; ++i) {
            alphaBits[i] = (alphaBits[i] & 0xFF) << 24 | color;
        }
        return alpha;
    }
    if (image->width == alpha->width && image->height == alpha->height) {
        uint32_t* bits = image->bits.get();
        for (size_t i = 0; i < alphaCount; ++i) {
            bits[i] = (bits[i] & 0x00FFFFFF) | (alphaBits[i] & 0xFF) << 24;
        }
    }
    return image;
}

std::unique_ptr<Image> ReadTGAImage(const std::string& fileName)
{
    return ReadWith(DecodeTGA, fileName);
}

std::unique_ptr<Image> ReadJPEGImage(const std::string& fileName)
{
    return ReadWith(DecodeJPEG, fileName);
}

std::unique_ptr<Image> ReadPNGImage(const std::string& fileName)
{
    return ReadWith(DecodePNG, fileName);
}

std::unique_ptr<Image> ReadGIFImage(const std::string& fileName)
{
    return ReadWith(DecodeGIF, fileName);
}

std::unique_ptr<Image> DecodeTGA(const uint8_t* data, size_t size)
{
    constexpr size_t kHeaderSize = 18;
    if (!data || size < kHeaderSize) {
        return nullptr;
    }
    const uint8_t identificationLength = data[0];
    const int32_t width = ReadLE16(data + 12);
    const int32_t height = ReadLE16(data + 14);
    const uint8_t pixelDepth = data[16];
    const uint8_t descriptor = data[17];
    // Only 32-bit pixels with 8 alpha bits and the origin at the top left.
    if (pixelDepth != 0x20 || descriptor != 0x28) {
        return nullptr;
    }
    const size_t offset = kHeaderSize + identificationLength;
    const uint64_t pixelBytes = uint64_t(width) * uint64_t(height) * 4;
    if (offset > size || pixelBytes > size - offset) {
        return nullptr;
    }
    std::unique_ptr<Image> image = Image::Create(width, height);
    if (!image) {
        return nullptr;
    }
    const uint8_t* in = data + offset;
    uint32_t* out = image->bits.get();
    const size_t count = static_cast<size_t>(pixelBytes / 4);
    if constexpr (std::endian::native == std::endian::little) {
        std::memcpy(out, in, count * 4);
    } else {
        for (size_t i = 0; i < count; ++i, in += 4) {
            out[i] = uint32_t{in[0]} | uint32_t{in[1]} << 8 | uint32_t{in[2]} << 16 |
                     uint32_t{in[3]} << 24;
        }
    }
    return image;
}

std::unique_ptr<Image> DecodeJPEG(const uint8_t* data, size_t size)
{
    if (!data || size == 0) {
        return nullptr;
    }
    JpegDecompressor decoder;
    std::vector<uint8_t> line;
    std::unique_ptr<Image> image;
    if (!DecodeJpegInto(&decoder, data, size, &line, &image)) {
        return nullptr;
    }
    return image;
}

std::unique_ptr<Image> DecodePNG(const uint8_t* data, size_t size)
{
    if (!data || size == 0) {
        return nullptr;
    }
    PngHandle handle(PngHandle::Mode::Read);
    if (!handle.Valid()) {
        return nullptr;
    }
    PngSource source{data, size, 0};
    std::unique_ptr<Image> image;
    if (!DecodePngInto(handle.png, handle.info, &source, &image)) {
        return nullptr;
    }
    return image;
}

bool SavePNG(const std::string& fileName, const Image& image)
{
    if (!Writable(image)) {
        return false;
    }
    std::string bytes;
    {
        PngHandle handle(PngHandle::Mode::Write);
        if (!handle.Valid() || !EncodePngInto(handle.png, handle.info, &image, &bytes)) {
            return false;
        }
    }
    return WriteFileAtomically(fileName, bytes);
}

bool SaveJPEG(const std::string& fileName, const Image& image)
{
    if (!Writable(image)) {
        return false;
    }
    std::string bytes;
    {
        std::vector<uint8_t> line(static_cast<size_t>(image.width) * 3);
        auto dest = std::make_unique<JpegStringDestination>();
        dest->out = &bytes;
        JpegCompressor encoder;
        if (!EncodeJpegInto(&encoder, dest.get(), &image, &line)) {
            return false;
        }
    }
    return WriteFileAtomically(fileName, bytes);
}

} // namespace Zorva::ImageLib
