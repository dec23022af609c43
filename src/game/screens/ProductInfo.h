#pragma once

#include <string>

// The product strings of the game: its name, the version compiled in from the build,
// and the texts made from them.
namespace ProductInfo {

inline constexpr const char* kProductName = "Quarrow";
inline constexpr const char* kCompanyName = "Ostravel";

/// The product version of this build, for example "1.1".
std::string ProductVersion();

/// Name and version, as printed by --version: "Quarrow 1.1".
std::string NameAndVersion();

/// The main window's title: "Quarrow 1.1 by Ostravel".
std::string WindowTitle();

} // namespace ProductInfo
