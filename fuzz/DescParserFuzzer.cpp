// Reads arbitrary text as a font descriptor, then measures and draws with the font it makes.
// Images named by the descriptor come from memory, so no file is touched.

#include "graphics/FontData.h"
#include "graphics/FontServices.h"
#include "graphics/Graphics.h"
#include "graphics/ImageFont.h"
#include "graphics/MemoryImage.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace {

Zorva::SharedImage PatternImage(const std::string& path)
{
    Zorva::SharedImage result;
    if (path.find("missing") != std::string::npos) {
        return result;
    }
    std::vector<uint32_t> pixels(64 * 32);
    for (std::size_t i = 0; i < pixels.size(); ++i) {
        pixels[i] = (i % 3 == 0) ? 0xFFFFFFFFu : (i % 5 == 0 ? 0x80FF8000u : 0u);
    }
    result.image = std::make_shared<Zorva::MemoryImage>();
    result.image->SetPixels(pixels.data(), 64, 32, true);
    result.newlyLoaded = true;
    return result;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const bool installed = [] {
        Zorva::SetFontErrorHandler([](const std::string&) {});
        Zorva::SetSharedImageLoader(PatternImage);
        return true;
    }();
    (void)installed;

    const std::string_view text(reinterpret_cast<const char*>(data), size);
    auto fontData = std::make_shared<Zorva::FontData>();
    fontData->LoadText(text, "fuzz/font.txt");

    Zorva::ImageFont font(fontData);
    const std::string sample = "Hello, World! AVA 0123 \x80\xff";
    int total = font.TextWidth(sample) + font.GetHeight() + font.GetAscent();

    Zorva::MemoryImage destination;
    destination.Create(48, 24);
    Zorva::Graphics context(&destination);
    std::vector<Zorva::Rect> rects;
    int width = 0;
    font.DrawTextWithRects(&context, 2, 16, sample, Zorva::Color(200, 100, 50, 255),
                           context.GetClipRect(), &rects, &width);
    total += width + static_cast<int>(rects.size());

    font.AddTag("bold");
    font.SetPointSize(font.GetDefaultPointSize() + 3);
    font.SetScale(1.5);
    font.forceScaledImagesWhite = true;
    font.DrawText(&context, -3, 10, sample, Zorva::Color::kWhite, context.GetClipRect());
    total += font.TextWidth(sample) + static_cast<int>(font.GetDefine("A").size());

    auto copy = font.Duplicate();
    total += copy->CharWidthAfter('V', 'A');
    return total == INT32_MIN ? 1 : 0;
}
