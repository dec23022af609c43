#pragma once

#include <map>
#include <memory>
#include <string>
#include <vector>

namespace Zorva {
class Graphics;
class MemoryImage;
class ZorvaAppBase;
} // namespace Zorva

/// One picture of a logo screen or of the loading phase, loaded from its own file.
class LogoImage
{
public:
    LogoImage();
    ~LogoImage();
    LogoImage(const LogoImage&) = delete;
    LogoImage& operator=(const LogoImage&) = delete;

    /// Loads `fileName` through the application; a file that cannot be loaded leaves the
    /// image absent.
    void Load(Zorva::ZorvaAppBase& loader, const std::string& fileName);
    /// Takes the "name", "left", "top" and "center" attributes of an "Image" element of the
    /// logo file and loads the named file; only a "center" of "1" centres the image.
    void ReadAttributes(Zorva::ZorvaAppBase& loader,
                        const std::map<std::string, std::string>& attributes);
    /// Decimal with an optional leading '-', or hexadecimal after "0x" or "0X"; an empty or
    /// malformed text gives 0, and values beyond the int range are clamped.
    static int ParseInteger(const std::string& text);
    /// The "Image" elements directly inside `section` of the logo file at `path`, loaded in
    /// file order; none when the file cannot be opened, and those before a fault when it
    /// breaks off.
    static std::vector<std::unique_ptr<LogoImage>>
    ReadSection(Zorva::ZorvaAppBase& loader, const std::string& path, const std::string& section);
    /// Draws the image with its top-left corner, or its centre when `centered`, at
    /// (left, top); nothing without an image.
    void Draw(Zorva::Graphics& graphics) const;

    int left = 0;
    int top = 0;
    bool centered = false;
    std::unique_ptr<Zorva::MemoryImage> image;
    /// The application the image was loaded through.
    Zorva::ZorvaAppBase* app = nullptr;
};
