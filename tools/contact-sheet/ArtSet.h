#pragma once

#include <memory>
#include <string>
#include <vector>

namespace Zorva {
class Font;
class MemoryImage;
class ResourceManager;
class ZorvaAppBase;
} // namespace Zorva

/// Every image and the font of a resource manifest, loaded for review. Paths in the
/// manifest are read from the working directory; images that fail to load are listed in
/// Problems() and left out.
class ArtSet
{
public:
    struct Picture
    {
        std::string id;
        std::shared_ptr<Zorva::MemoryImage> image;
    };

    explicit ArtSet(Zorva::ZorvaAppBase& app);
    ~ArtSet();

    bool Load(const std::string& manifestPath);
    const std::vector<Picture>& Pictures() const { return pictures; }
    /// The image of an identifier, or null.
    Zorva::MemoryImage* Find(const std::string& id) const;
    /// FONT_DEFAULT when it loaded, else null.
    Zorva::Font* GameFont() const { return gameFont; }
    const std::vector<std::string>& Problems() const { return problems; }

private:
    std::unique_ptr<Zorva::ResourceManager> manager;
    std::vector<Picture> pictures;
    Zorva::Font* gameFont = nullptr;
    std::vector<std::string> problems;
};
