// Loads a resource group the way the game does: a manifest file naming images, alpha images,
// alpha grids and fonts, read from files in a folder of this process.
//
// The input is the body of one group (the manifest's elements inside <Resources id="G">),
// then files, each after a line "@@ name": the bytes up to the next such line are the file.
// Names are plain file names (letters, digits, '_', '-', '.'), so every file stays in the
// folder. Entries whose paths leave the folder are not loaded.

#include "graphics/FontServices.h"
#include "graphics/MemoryImage.h"
#include "resources/ResourceManager.h"

#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>
#include <vector>

namespace {

constexpr std::string_view kFileMarker = "\n@@ ";
constexpr std::size_t kMaxFiles = 4;
constexpr std::size_t kMaxNameLength = 32;

/// The folder of this process that holds one input's files; removed when the process ends.
struct FuzzFolder
{
    FuzzFolder()
        : path(std::filesystem::temp_directory_path() /
               ("quarrow_fuzz_resources_" + std::to_string(::getpid())))
    {
        Zorva::SetFontErrorHandler([](const std::string&) {});
    }
    ~FuzzFolder()
    {
        std::error_code ignored;
        std::filesystem::remove_all(path, ignored);
    }

    const std::filesystem::path path;
};

const std::filesystem::path& Folder()
{
    static const FuzzFolder folder;
    return folder.path;
}

bool IsPlainFileName(std::string_view name)
{
    if (name.empty() || name.size() > kMaxNameLength || name.front() == '.') {
        return false;
    }
    for (const char c : name) {
        const bool allowed = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') ||
                             (c >= '0' && c <= '9') || c == '_' || c == '-' || c == '.';
        if (!allowed) {
            return false;
        }
    }
    return true;
}

void WriteFile(const std::filesystem::path& path, std::string_view bytes)
{
    std::ofstream(path, std::ios::binary | std::ios::trunc)
        .write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

/// Writes the files that follow the manifest body; returns the body.
std::string_view WriteFiles(std::string_view input)
{
    const std::size_t bodyEnd = input.find(kFileMarker);
    const std::string_view body = input.substr(0, bodyEnd);
    std::size_t at = bodyEnd;
    for (std::size_t files = 0; at != std::string_view::npos && files < kMaxFiles; ++files) {
        const std::size_t nameStart = at + kFileMarker.size();
        const std::size_t nameEnd = input.find('\n', nameStart);
        if (nameEnd == std::string_view::npos) {
            break;
        }
        at = input.find(kFileMarker, nameEnd);
        const std::string_view name = input.substr(nameStart, nameEnd - nameStart);
        if (IsPlainFileName(name)) {
            const std::size_t contentEnd = at == std::string_view::npos ? input.size() : at;
            WriteFile(Folder() / name, input.substr(nameEnd + 1, contentEnd - nameEnd - 1));
        }
    }
    return body;
}

/// Whether a path from the manifest stays in the folder (an empty one names nothing).
bool InFolder(const std::string& path)
{
    const std::string prefix = Folder().string() + "/";
    return path.empty() ||
           (path.compare(0, prefix.size(), prefix) == 0 && path.find("..") == std::string::npos);
}

bool AllPathsInFolder(const Zorva::ResourceManager& manager)
{
    for (const auto& entry : manager.Images()) {
        const auto& image = static_cast<const Zorva::ImageRes&>(*entry.second);
        if (!image.fromProgram && (!InFolder(image.path) || !InFolder(image.alphaImagePath) ||
                                   !InFolder(image.alphaGridPath))) {
            return false;
        }
    }
    for (const auto& entry : manager.Fonts()) {
        const auto& font = static_cast<const Zorva::FontRes&>(*entry.second);
        if ((font.path.rfind("!ref:", 0) != 0 && !InFolder(font.path)) ||
            !InFolder(font.imagePath)) {
            return false;
        }
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::filesystem::remove_all(Folder());
    std::filesystem::create_directories(Folder());
    const std::string_view body =
        WriteFiles(std::string_view(reinterpret_cast<const char*>(data), size));
    const auto manifest = Folder() / "resources.xml";
    WriteFile(manifest, "<?xml version=\"1.0\"?>\n<ResourceManifest>\n<Resources id=\"G\">\n"
                        "<SetDefaults path=\"" +
                            Folder().string() + "\" idprefix=\"\"/>\n" + std::string(body) +
                            "\n</Resources>\n</ResourceManifest>\n");

    Zorva::ResourceManager manager(nullptr);
    if (!manager.ParseManifest(manifest.string()) || !AllPathsInFolder(manager)) {
        return 0;
    }
    if (manager.LoadResources("G")) {
        for (const auto& entry : manager.Images()) {
            if (const auto image = manager.GetImage(entry.first)) {
                const uint32_t* pixels = image->GetPixels();
                if (pixels != nullptr && image->GetWidth() > 0 && image->GetHeight() > 0) {
                    volatile uint32_t last =
                        pixels[static_cast<std::size_t>(image->GetWidth()) * image->GetHeight() -
                               1];
                    (void)last;
                }
            }
        }
        manager.CountResources("G");
    }
    manager.DeleteResources("G");
    // Groups the body opened itself are loaded as well, then everything is released.
    manager.LoadResources("");
    manager.DeleteResources("");
    return 0;
}
