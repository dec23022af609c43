#include "game/screens/LogoImage.h"

#include "app/ZorvaAppBase.h"
#include "graphics/Graphics.h"
#include "graphics/MemoryImage.h"
#include "resources/XMLNode.h"
#include "resources/XMLParser.h"

#include <climits>
#include <cstdint>

LogoImage::LogoImage() = default;

LogoImage::~LogoImage() = default;

void LogoImage::Load(Zorva::ZorvaAppBase& loader, const std::string& fileName)
{
    app = &loader;
    image = loader.LoadImageToSurface(fileName, true);
}

void LogoImage::ReadAttributes(Zorva::ZorvaAppBase& loader,
                               const std::map<std::string, std::string>& attributes)
{
    const auto text = [&attributes](const char* name) {
        const auto found = attributes.find(name);
        return found != attributes.end() ? found->second : std::string();
    };
    left = ParseInteger(text("left"));
    top = ParseInteger(text("top"));
    centered = text("center") == "1";
    Load(loader, text("name"));
}

std::vector<std::unique_ptr<LogoImage>> LogoImage::ReadSection(Zorva::ZorvaAppBase& loader,
                                                               const std::string& path,
                                                               const std::string& section)
{
    std::vector<std::unique_ptr<LogoImage>> images;
    Zorva::XMLParser parser;
    if (!parser.OpenFile(path)) {
        return images;
    }
    Zorva::XMLNode node;
    while (parser.NextNode(node)) {
        if (node.type == Zorva::XMLNodeType::StartTag && node.section == section &&
            node.value == "Image") {
            auto image = std::make_unique<LogoImage>();
            image->ReadAttributes(loader, node.attributes);
            images.push_back(std::move(image));
        }
    }
    return images;
}

int LogoImage::ParseInteger(const std::string& text)
{
    std::size_t pos = 0;
    const bool negative = !text.empty() && text[0] == '-';
    if (negative) {
        pos = 1;
    }
    int base = 10;
    if (!negative && text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        base = 16;
        pos = 2;
    }
    if (pos >= text.size()) {
        return 0;
    }
    // Accumulated in 64 bits and held just past the int range, so no digit count overflows.
    constexpr int64_t kLimit = int64_t{INT_MAX} + 1;
    int64_t value = 0;
    for (; pos < text.size(); ++pos) {
        const char c = text[pos];
        int digit = 0;
        if (c >= '0' && c <= '9') {
            digit = c - '0';
        } else if (base == 16 && c >= 'a' && c <= 'f') {
            digit = c - 'a' + 10;
        } else if (base == 16 && c >= 'A' && c <= 'F') {
            digit = c - 'A' + 10;
        } else {
            return 0;
        }
        value = value * base + digit;
        if (value > kLimit) {
            value = kLimit;
        }
    }
    if (negative) {
        value = -value;
    }
    if (value > INT_MAX) {
        return INT_MAX;
    }
    return static_cast<int>(value);
}

void LogoImage::Draw(Zorva::Graphics& graphics) const
{
    if (!image) {
        return;
    }
    int drawX = left;
    int drawY = top;
    if (centered) {
        drawX -= image->GetWidth() / 2;
        drawY -= image->GetHeight() / 2;
    }
    graphics.DrawImage(image.get(), drawX, drawY);
}
