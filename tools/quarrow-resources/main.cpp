// quarrow-resources: checks the game's resource manifest and everything it names.

#include "app/ZorvaAppBase.h"
#include "game/screens/ResourceCheck.h"
#include "system/AppFiles.h"

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>

namespace {

constexpr const char* kUsage =
    "Usage: quarrow-resources check [MANIFEST]\n"
    "\n"
    "Parses the resource manifest (default: properties/resources.xml in the game's data\n"
    "folder), loads every image, sound and font it names, checks that each identifier the\n"
    "game uses is there with the right kind and group, and binds the game's groups.\n"
    "Paths in the manifest are read relative to the folder above properties/.\n"
    "Prints every problem found; the exit status is 1 when there was any.\n";

/// The folder the manifest's relative paths start from.
std::filesystem::path DataRootOf(const std::filesystem::path& manifest)
{
    const std::filesystem::path folder = std::filesystem::absolute(manifest).parent_path();
    return folder.filename() == "properties" ? folder.parent_path() : folder;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 2 || std::strcmp(argv[1], "check") != 0 || argc > 3) {
        std::fputs(kUsage, argc >= 2 && std::strcmp(argv[1], "--help") == 0 ? stdout : stderr);
        return argc >= 2 && std::strcmp(argv[1], "--help") == 0 ? 0 : 2;
    }
    const std::filesystem::path manifest =
        argc == 3 ? std::filesystem::path(argv[2])
                  : std::filesystem::path(Zorva::DataFolder()) / "properties" / "resources.xml";
    std::error_code error;
    if (!std::filesystem::is_regular_file(manifest, error)) {
        std::fprintf(stderr, "quarrow-resources: no manifest at %s\n", manifest.c_str());
        return 1;
    }
    const std::filesystem::path absoluteManifest = std::filesystem::absolute(manifest);
    std::filesystem::current_path(DataRootOf(absoluteManifest), error);
    if (error) {
        std::fprintf(stderr, "quarrow-resources: cannot enter %s\n",
                     DataRootOf(absoluteManifest).c_str());
        return 1;
    }

    Zorva::ZorvaAppBase app;
    app.noSound = true;
    ResourceCheck check(app);
    const bool ok = check.Run(absoluteManifest.string());
    for (const std::string& problem : check.Problems()) {
        std::printf("%s\n", problem.c_str());
    }
    std::printf("%s: %d resources loaded, %zu problem%s\n", absoluteManifest.c_str(),
                check.LoadedCount(), check.Problems().size(),
                check.Problems().size() == 1 ? "" : "s");
    return ok ? 0 : 1;
}
