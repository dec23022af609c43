#include "game/screens/ProductInfo.h"

#include "game/screens/ProductVersion.h"

namespace ProductInfo {

std::string ProductVersion()
{
    return QUARROW_PRODUCT_VERSION;
}

std::string NameAndVersion()
{
    return std::string(kProductName) + " " + ProductVersion();
}

std::string WindowTitle()
{
    return NameAndVersion() + " by " + kCompanyName;
}

} // namespace ProductInfo
