#pragma once

#include <string>

namespace Zorva {

/// What a game sets on its application before Init: the product's names, the screen size
/// and mode, and the display options stored with the settings.
class AppSetup
{
public:
    std::string companyTitle;
    std::string productName = "Product";
    std::string windowCaption = "ZorvaApp";
    std::string productVersion;
    int width = 640;
    int height = 480;
    bool windowedRequested = true;
    /// Hardware acceleration; the stored setting replaces it, and Set3D switches it later.
    bool is3D = false;
    bool singleInstance = true;
    /// Display settings, read and written with the others.
    bool customCursors = false;
    bool waitForVSync = false;

protected:
    ~AppSetup() = default;
};

} // namespace Zorva
