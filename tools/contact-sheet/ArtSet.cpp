#include "ArtSet.h"

#include "app/ZorvaAppBase.h"
#include "graphics/ImageFont.h"
#include "graphics/MemoryImage.h"
#include "resources/FontRes.h"
#include "resources/ImageRes.h"
#include "resources/ResourceManager.h"

ArtSet::ArtSet(Zorva::ZorvaAppBase& app) : manager(std::make_unique<Zorva::ResourceManager>(&app))
{}

ArtSet::~ArtSet() = default;

bool ArtSet::Load(const std::string& manifestPath)
{
    if (!manager->ParseManifest(manifestPath)) {
        problems.push_back(manager->GetErrorText());
        return false;
    }
    for (const auto& [id, res] : manager->Images()) {
        auto& image = static_cast<Zorva::ImageRes&>(*res);
        if (image.fromProgram) {
            continue;
        }
        if (!manager->LoadImageRes(image) || image.image == nullptr) {
            problems.push_back(manager->GetErrorText() + " (" + id + ")");
            continue;
        }
        pictures.push_back({id, image.image});
    }
    for (const auto& [id, res] : manager->Fonts()) {
        auto& font = static_cast<Zorva::FontRes&>(*res);
        if (!manager->LoadFontRes(font)) {
            problems.push_back(manager->GetErrorText() + " (" + id + ")");
        } else if (id == "FONT_DEFAULT") {
            gameFont = font.font.get();
        }
    }
    return problems.empty();
}

Zorva::MemoryImage* ArtSet::Find(const std::string& id) const
{
    for (const Picture& picture : pictures) {
        if (picture.id == id) {
            return picture.image.get();
        }
    }
    return nullptr;
}
