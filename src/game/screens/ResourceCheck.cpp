#include "game/screens/ResourceCheck.h"

#include "app/ZorvaAppBase.h"
#include "game/ResourceHandles.h"
#include "game/screens/ResourceBinding.h"
#include "resources/ResourceManager.h"

#include <filesystem>
#include <utility>

using Zorva::ResourceManager;

namespace {

/// The manager with its loading steps opened up, so that one failure does not hide the next.
class CheckingManager : public ResourceManager
{
public:
    using ResourceManager::ResourceManager;

    /// Loads one entry; the error text when it failed, else empty.
    std::string LoadOne(Zorva::BaseRes& res)
    {
        hasFailed = false;
        errorText.clear();
        bool ok = true;
        if (res.fromProgram) {
            return {};
        }
        if (auto* image = dynamic_cast<Zorva::ImageRes*>(&res)) {
            ok = LoadImageRes(*image);
        } else if (auto* sound = dynamic_cast<Zorva::SoundRes*>(&res)) {
            ok = LoadSoundRes(*sound) && SoundFileExists(res.path);
        } else {
            ok = LoadFontRes(static_cast<Zorva::FontRes&>(res));
        }
        std::string error = ok ? std::string() : errorText;
        hasFailed = false;
        errorText.clear();
        return error;
    }

    void ClearError()
    {
        hasFailed = false;
        errorText.clear();
    }

    ResMap& MutableMap(int kind) { return kind == 0 ? images : kind == 1 ? sounds : fonts; }

private:
    /// Without a sound device sounds load without being read, so the file is looked for as
    /// the sound manager would: as named, or with one of its extensions.
    bool SoundFileExists(const std::string& path)
    {
        std::error_code error;
        for (const char* extension : {"", ".wav", ".ogg", ".au"}) {
            if (std::filesystem::is_regular_file(path + extension, error)) {
                return true;
            }
        }
        Fail("Sound file not found: " + path);
        return false;
    }
};

enum class Kind
{
    Image,
    Sound,
    Font,
};

const char* KindName(Kind kind)
{
    switch (kind) {
    case Kind::Image:
        return "image";
    case Kind::Sound:
        return "sound";
    case Kind::Font:
        return "font";
    }
    return "";
}

struct Expected
{
    const char* id;
    Kind kind;
    const char* group;
};

std::vector<Expected> ExpectedIdentifiers()
{
    std::vector<Expected> list;
#define QUARROW_EXPECT_FONT(name) list.push_back({#name, Kind::Font, group});
#define QUARROW_EXPECT_IMAGE(name) list.push_back({#name, Kind::Image, group});
#define QUARROW_EXPECT_SOUND(name) list.push_back({#name, Kind::Sound, group});
    {
        const char* group = "Init";
        QUARROW_INIT_FONTS(QUARROW_EXPECT_FONT)
    }
    {
        const char* group = "TitleScreen";
        QUARROW_TITLE_SCREEN_IMAGES(QUARROW_EXPECT_IMAGE)
        QUARROW_TITLE_SCREEN_SOUNDS(QUARROW_EXPECT_SOUND)
    }
    {
        const char* group = "Game";
        QUARROW_GAME_IMAGES(QUARROW_EXPECT_IMAGE)
        QUARROW_GAME_SOUNDS(QUARROW_EXPECT_SOUND)
    }
#undef QUARROW_EXPECT_FONT
#undef QUARROW_EXPECT_IMAGE
#undef QUARROW_EXPECT_SOUND
    return list;
}

const ResourceManager::ResMap& MapOf(const ResourceManager& manager, Kind kind)
{
    switch (kind) {
    case Kind::Image:
        return manager.Images();
    case Kind::Sound:
        return manager.Sounds();
    case Kind::Font:
        break;
    }
    return manager.Fonts();
}

} // namespace

ResourceCheck::ResourceCheck(Zorva::ZorvaAppBase& owner) : app(owner) {}

bool ResourceCheck::Run(const std::string& manifestPath)
{
    problems.clear();
    loaded = 0;
    CheckingManager manager(&app);
    if (!manager.ParseManifest(manifestPath)) {
        problems.push_back(manager.GetErrorText());
        return false;
    }
    for (int kind = 0; kind < 3; ++kind) {
        for (auto& entry : manager.MutableMap(kind)) {
            const std::string error = manager.LoadOne(*entry.second);
            if (!error.empty()) {
                problems.push_back(error + " (" + entry.second->id + ", group '" +
                                   entry.second->group + "')");
            } else if (!entry.second->fromProgram) {
                ++loaded;
            }
        }
    }
    for (const Expected& expected : ExpectedIdentifiers()) {
        const auto& map = MapOf(manager, expected.kind);
        const auto found = map.find(expected.id);
        if (found == map.end()) {
            std::string text = std::string("Missing ") + KindName(expected.kind) + " identifier " +
                               expected.id + " (group '" + expected.group + "')";
            for (Kind other : {Kind::Image, Kind::Sound, Kind::Font}) {
                if (other != expected.kind && MapOf(manager, other).count(expected.id) != 0) {
                    text += std::string(", defined as ") + (other == Kind::Image ? "an " : "a ") +
                            KindName(other) + " instead";
                }
            }
            problems.push_back(text);
        } else if (found->second->group != expected.group) {
            problems.push_back(std::string(expected.id) + " is in group '" + found->second->group +
                               "' but the game loads it with group '" + expected.group + "'");
        }
    }
    const std::pair<const char*, bool (*)(ResourceManager&)> bindings[] = {
        {"Init", BindInitGroup},
        {"TitleScreen", BindTitleScreenGroup},
        {"Game", BindGameGroup},
    };
    for (const auto& [group, bind] : bindings) {
        manager.ClearError();
        if (!bind(manager)) {
            problems.push_back(std::string("Binding group '") + group +
                               "' failed: " + manager.GetErrorText());
        }
    }
    ResetResourceHandles();
    return problems.empty();
}
