#include "graphics/MemoryImage.h"

#include "graphics/ImageRegistry.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstddef>
#include <cstdlib>
#include <cstring>

namespace Zorva {

namespace {

template <typename T>
void FreeBuffer(std::vector<T>& buffer)
{
    std::vector<T>().swap(buffer);
}

bool SizeAccepted(int w, int h)
{
    return w >= 0 && h >= 0 && w <= MemoryImage::kMaxSide && h <= MemoryImage::kMaxSide;
}

std::size_t PixelCount(const Image& image)
{
    return static_cast<std::size_t>(image.width) * static_cast<std::size_t>(image.height);
}

/// Where one channel sits in a display word: its mask, the shift of its lowest bit and its
/// number of bits.
struct ChannelLayout
{
    uint32_t mask = 0;
    int shift = 0;
    int bits = 0;

    explicit ChannelLayout(uint32_t m)
        : mask(m), shift(m != 0 ? std::countr_zero(m) : 0), bits(std::popcount(m))
    {}

    /// An 8-bit value scaled to the channel's width and placed under its mask.
    uint32_t Place(uint32_t value8) const
    {
        if (mask == 0) {
            return 0;
        }
        const uint32_t scaled = bits <= 8 ? value8 >> (8 - bits) : value8 << (bits - 8);
        return (scaled << shift) & mask;
    }

    /// The channel taken out of a display word and widened back to 8 bits.
    uint32_t Extract(uint32_t word) const
    {
        if (mask == 0) {
            return 0;
        }
        const uint32_t raw = (word & mask) >> shift;
        return bits <= 8 ? raw << (8 - bits) : raw >> (bits - 8);
    }
};

struct FormatLayout
{
    ChannelLayout red;
    ChannelLayout green;
    ChannelLayout blue;
    uint32_t alphaMask;

    explicit FormatLayout(const NativeFormat& format)
        : red(format.redMask), green(format.greenMask), blue(format.blueMask),
          alphaMask(0xFF000000u & ~(format.redMask | format.greenMask | format.blueMask))
    {}

    uint32_t Premultiply(uint32_t argb) const
    {
        const uint32_t a = argb >> 24;
        const uint32_t r = (((argb >> 16) & 0xFF) * (a + 1)) >> 8;
        const uint32_t g = (((argb >> 8) & 0xFF) * (a + 1)) >> 8;
        const uint32_t b = ((argb & 0xFF) * (a + 1)) >> 8;
        return red.Place(r) | green.Place(g) | blue.Place(b) | ((a << 24) & alphaMask);
    }

    /// The inverse of Premultiply, as far as the rounding allows.
    uint32_t Unpremultiply(uint32_t word) const
    {
        const uint32_t a = word >> 24;
        const auto undo = [a](uint32_t c) { return std::min<uint32_t>(255, (c * 256) / (a + 1)); };
        return (a << 24) | (undo(red.Extract(word)) << 16) | (undo(green.Extract(word)) << 8) |
               undo(blue.Extract(word));
    }
};

/// Writes the run coding of one row: each byte is the distance from its pixel to the end of
/// its run of equal class, capped at 255.
template <typename ClassOf>
void EncodeRuns(uint8_t* out, int count, ClassOf classOf)
{
    int run = 0;
    int nextClass = -1;
    for (int i = count - 1; i >= 0; --i) {
        const int cls = classOf(i);
        run = cls == nextClass ? run + 1 : 1;
        nextClass = cls;
        out[i] = static_cast<uint8_t>(std::min(run, 255));
    }
}

int AlphaClass(uint32_t argb)
{
    const uint32_t a = argb >> 24;
    return a == 0 ? 0 : (a == 255 ? 2 : 1);
}

} // namespace

MemoryImage::MemoryImage() : registry(CurrentImageRegistry())
{
    if (registry != nullptr) {
        registry->AddImage(this);
    }
}

MemoryImage::MemoryImage(const MemoryImage& other)
    : Image(other), bitsChangedCount(other.bitsChangedCount), textureFlags(0),
      forcedMode(other.forcedMode), hasTrans(other.hasTrans), hasAlpha(other.hasAlpha),
      isVolatile(other.isVolatile), purgeBits(other.purgeBits), wantPal(other.wantPal),
      nativeAlphaData(other.nativeAlphaData), nativeAlphaFormat(other.nativeAlphaFormat),
      rlAlphaData(other.rlAlphaData), rlAdditiveData(other.rlAdditiveData),
      rlAdditiveFormat(other.rlAdditiveFormat), bitsChanged(other.bitsChanged),
      registry(CurrentImageRegistry())
{
    // An image held only as native data or a texture gets its pixels decoded into the copy;
    // the source stays as it is.
    if (other.HasPixels() || other.IsPalettised()) {
        mBits = other.mBits;
        colorTable = other.colorTable;
        colorIndices = other.colorIndices;
    } else {
        mBits = other.DecodePixels();
    }
    if (registry != nullptr) {
        registry->AddImage(this);
    }
}

MemoryImage::~MemoryImage()
{
    if (registry != nullptr) {
        registry->RemoveImage(this);
    }
}

void MemoryImage::PixelsChanged()
{
    ++bitsChangedCount;
    bitsChanged = true;
    FreeDerivedData();
}

void MemoryImage::FreeDerivedData()
{
    FreeBuffer(nativeAlphaData);
    FreeBuffer(rlAlphaData);
    FreeBuffer(rlAdditiveData);
}

void MemoryImage::FreePixelForms()
{
    FreeBuffer(mBits);
    FreeBuffer(colorIndices);
    FreeBuffer(colorTable);
}

void MemoryImage::ResetSize(int newWidth, int newHeight)
{
    // The palettised form belongs to the old size; reading it at the new one would overrun.
    FreePixelForms();
    if (!SizeAccepted(newWidth, newHeight)) {
        newWidth = 0;
        newHeight = 0;
    }
    width = newWidth;
    height = newHeight;
}

void MemoryImage::CommitPixels()
{
    if (!bitsChanged || forcedMode) {
        return;
    }
    hasAlpha = false;
    const auto scan = [this](const uint32_t* words, std::size_t count) {
        hasTrans = false;
        for (std::size_t i = 0; i < count; ++i) {
            const uint32_t a = words[i] >> 24;
            if (a == 0) {
                hasTrans = true;
            } else if (a != 255) {
                hasAlpha = true;
            }
        }
    };
    if (HasPixels()) {
        scan(mBits.data(), std::min(PixelCount(*this), mBits.size()));
    } else if (IsPalettised()) {
        scan(colorTable.data(), colorTable.size());
    } else {
        hasTrans = true;
    }
    bitsChanged = false;
}

void MemoryImage::ForceAlphaMode(bool transparency, bool alpha)
{
    forcedMode = true;
    hasTrans = transparency;
    hasAlpha = alpha;
}

void MemoryImage::SetVolatile(bool flag)
{
    isVolatile = flag;
}

void MemoryImage::Create(int newWidth, int newHeight)
{
    ResetSize(newWidth, newHeight);
    hasTrans = true;
    hasAlpha = true;
    PixelsChanged();
}

void MemoryImage::SetPixels(const uint32_t* pixels, int newWidth, int newHeight, bool commit)
{
    ResetSize(newWidth, newHeight);
    const std::size_t count = PixelCount(*this);
    mBits.assign(count + 1, 0);
    if (pixels != nullptr && count > 0) {
        std::memcpy(mBits.data(), pixels, count * sizeof(uint32_t));
    }
    mBits[count] = kGuardWord;
    PixelsChanged();
    if (commit) {
        CommitPixels();
    }
}

uint32_t* MemoryImage::GetPixels()
{
    if (HasPixels()) {
        return mBits.data();
    }
    const bool wasPalettised = IsPalettised();
    mBits = DecodePixels();
    if (wasPalettised) {
        FreeBuffer(colorIndices);
        FreeBuffer(colorTable);
        FreeBuffer(nativeAlphaData);
    }
    return mBits.data();
}

std::vector<uint32_t> MemoryImage::DecodePixels() const
{
    const std::size_t count = PixelCount(*this);
    std::vector<uint32_t> bits(count + 1, 0);
    bits[count] = kGuardWord;
    if (IsPalettised()) {
        if (colorTable.size() == 256 && colorIndices.size() == count) {
            for (std::size_t i = 0; i < count; ++i) {
                bits[i] = colorTable[colorIndices[i]];
            }
        }
    } else if (nativeAlphaData.size() == count) {
        const FormatLayout layout(nativeAlphaFormat);
        for (std::size_t i = 0; i < count; ++i) {
            bits[i] = layout.Unpremultiply(nativeAlphaData[i]);
        }
    }
    // A texture cannot be read back in software, so an image held only there comes back
    // as zeros.
    return bits;
}

uint32_t MemoryImage::PixelAt(int x, int y)
{
    if (x < 0 || y < 0 || x >= width || y >= height) {
        return 0;
    }
    const std::size_t i =
        static_cast<std::size_t>(y) * static_cast<std::size_t>(width) + static_cast<std::size_t>(x);
    if (HasPixels()) {
        return i < mBits.size() ? mBits[i] : 0;
    }
    if (IsPalettised()) {
        return i < colorIndices.size() && colorTable.size() == 256 ? colorTable[colorIndices[i]]
                                                                   : 0;
    }
    if (nativeAlphaData.size() == PixelCount(*this)) {
        return FormatLayout(nativeAlphaFormat).Unpremultiply(nativeAlphaData[i]);
    }
    return 0;
}

void MemoryImage::Clear()
{
    uint32_t* bits = GetPixels();
    std::fill(bits, bits + PixelCount(*this), 0u);
    PixelsChanged();
}

void MemoryImage::ClearRect(const Rect& rect)
{
    const Rect r = rect.Intersection(Rect(0, 0, width, height));
    if (r.IsEmpty()) {
        return;
    }
    uint32_t* bits = GetPixels();
    for (int row = r.y; row < r.y + r.height; ++row) {
        uint32_t* line = bits + static_cast<std::size_t>(row) * width + r.x;
        std::fill(line, line + r.width, 0u);
    }
    PixelsChanged();
}

const uint32_t* MemoryImage::GetNativeAlpha(const NativeFormat& format)
{
    const std::size_t wanted = IsPalettised() ? 256 : PixelCount(*this);
    if (!nativeAlphaData.empty() && nativeAlphaFormat == format &&
        nativeAlphaData.size() == wanted) {
        return nativeAlphaData.data();
    }
    const FormatLayout layout(format);
    std::vector<uint32_t> converted(wanted);
    if (IsPalettised()) {
        for (std::size_t i = 0; i < wanted && i < colorTable.size(); ++i) {
            converted[i] = layout.Premultiply(colorTable[i]);
        }
    } else {
        const uint32_t* bits = GetPixels();
        for (std::size_t i = 0; i < wanted; ++i) {
            converted[i] = layout.Premultiply(bits[i]);
        }
    }
    nativeAlphaData = std::move(converted);
    nativeAlphaFormat = format;
    return nativeAlphaData.data();
}

const uint8_t* MemoryImage::GetAlphaRuns()
{
    const std::size_t count = PixelCount(*this);
    if (rlAlphaData.size() == count && count > 0) {
        return rlAlphaData.data();
    }
    std::vector<uint8_t> runs(count);
    const std::size_t w = static_cast<std::size_t>(width);
    const uint32_t* words = nullptr;
    const uint8_t* indices = nullptr;
    if (HasPixels()) {
        words = mBits.data();
    } else if (IsPalettised() && colorTable.size() == 256 && colorIndices.size() == count) {
        indices = colorIndices.data();
    } else if (nativeAlphaData.size() == count) {
        // The native layout keeps the alpha byte, so it classifies as well as the pixels.
        words = nativeAlphaData.data();
    } else {
        words = GetPixels();
    }
    for (std::size_t row = 0; row < static_cast<std::size_t>(height); ++row) {
        uint8_t* out = runs.data() + row * w;
        if (indices != nullptr) {
            const uint8_t* in = indices + row * w;
            EncodeRuns(out, width, [&](int i) { return AlphaClass(colorTable[in[i]]); });
        } else {
            const uint32_t* in = words + row * w;
            EncodeRuns(out, width, [&](int i) { return AlphaClass(in[i]); });
        }
    }
    rlAlphaData = std::move(runs);
    return rlAlphaData.data();
}

const uint8_t* MemoryImage::GetAdditiveRuns(const NativeFormat& format)
{
    const std::size_t count = PixelCount(*this);
    if (rlAdditiveData.size() == count && count > 0 && rlAdditiveFormat == format) {
        return rlAdditiveData.data();
    }
    std::vector<uint8_t> runs(count);
    const std::size_t w = static_cast<std::size_t>(width);
    // Classified from the premultiplied colour directly, so that the display's native data of
    // another format is not thrown away for it.
    const FormatLayout layout(format);
    const auto classOf = [&layout](uint32_t argb) {
        return (layout.Premultiply(argb) & 0xFFFFFFu) == 0 ? 0 : 1;
    };
    if (IsPalettised() && !HasPixels() && colorTable.size() == 256 &&
        colorIndices.size() == count) {
        int paletteClass[256];
        for (int i = 0; i < 256; ++i) {
            paletteClass[i] = classOf(colorTable[static_cast<std::size_t>(i)]);
        }
        for (std::size_t row = 0; row < static_cast<std::size_t>(height); ++row) {
            const uint8_t* in = colorIndices.data() + row * w;
            EncodeRuns(runs.data() + row * w, width, [&](int i) { return paletteClass[in[i]]; });
        }
    } else {
        const uint32_t* bits = GetPixels();
        for (std::size_t row = 0; row < static_cast<std::size_t>(height); ++row) {
            const uint32_t* in = bits + row * w;
            EncodeRuns(runs.data() + row * w, width, [&](int i) { return classOf(in[i]); });
        }
    }
    rlAdditiveData = std::move(runs);
    rlAdditiveFormat = format;
    return rlAdditiveData.data();
}

void MemoryImage::DropPixels()
{
    purgeBits = true;
    if (textureData != nullptr) {
        FreePixelForms();
        return;
    }
    if (!HasPixels() && colorIndices.empty()) {
        return;
    }
    GetNativeAlpha(nativeAlphaFormat);
    FreeBuffer(mBits);
}

void MemoryImage::DropSoftwareCaches()
{
    if (!HasPixels() && !IsPalettised()) {
        GetPixels();
    }
    FreeDerivedData();
}

void MemoryImage::DropTexture()
{
    if (registry != nullptr) {
        registry->DropImageTexture(this);
    }
}

void MemoryImage::DropAllCaches()
{
    DropSoftwareCaches();
    DropTexture();
}

void MemoryImage::Restore()
{
    if (wantPal) {
        MakePalettised();
    }
    if (purgeBits) {
        DropPixels();
    }
}

void MemoryImage::DropNativeCaches()
{
    if (!HasPixels() && !IsPalettised()) {
        GetPixels();
    }
    FreeBuffer(nativeAlphaData);
    FreeBuffer(rlAdditiveData);
}

bool MemoryImage::MakePalettised()
{
    CommitPixels();
    if (IsPalettised()) {
        return true;
    }
    const uint32_t* bits = GetPixels();
    if (!HasPixels()) {
        return false;
    }
    const std::size_t count = PixelCount(*this);
    // Colours kept sorted for the binary search, each with the index it was first given.
    std::vector<std::pair<uint32_t, uint8_t>> known;
    known.reserve(257);
    std::vector<uint32_t> palette(256, 0);
    std::vector<uint8_t> indices(count);
    uint32_t lastColor = 0;
    uint8_t lastIndex = 0;
    bool haveLast = false;
    for (std::size_t i = 0; i < count; ++i) {
        const uint32_t c = bits[i];
        if (haveLast && c == lastColor) {
            indices[i] = lastIndex;
            continue;
        }
        auto it = std::lower_bound(known.begin(), known.end(), c,
                                   [](const auto& entry, uint32_t v) { return entry.first < v; });
        if (it == known.end() || it->first != c) {
            if (known.size() == 256) {
                wantPal = false;
                return false;
            }
            const auto index = static_cast<uint8_t>(known.size());
            palette[index] = c;
            it = known.insert(it, {c, index});
        }
        lastColor = c;
        lastIndex = it->second;
        haveLast = true;
        indices[i] = lastIndex;
    }
    colorTable = std::move(palette);
    colorIndices = std::move(indices);
    FreeBuffer(mBits);
    FreeBuffer(nativeAlphaData);
    wantPal = true;
    return true;
}

} // namespace Zorva
