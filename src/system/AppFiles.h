#pragma once

#include <cstddef>
#include <string>

namespace Zorva {

/// Where the game's read-only data lives: $QUARROW_DATA when set, else <exe dir>/data when
/// it holds properties/resources.xml, else <exe dir>/../share/quarrow.
std::string DataFolder();
/// DataFolder with the environment and executable folder given (null or empty is unset).
std::string DataFolder(const char* quarrowData, const std::string& executableDir);

/// Where everything the program writes goes: $QUARROW_HOME, else $XDG_DATA_HOME/quarrow,
/// else ~/.local/share/quarrow. Not created here.
std::string UserFolder();
std::string UserFolder(const char* quarrowHome, const char* xdgDataHome, const char* home);

/// Creates `path` and any missing parents with mode 0700; true when it exists as a folder.
bool EnsureFolder(const std::string& path);

/// The folder of the running executable (empty when it cannot be found).
std::string ExecutableFolder();

bool FileExists(const std::string& path);
/// True when the file is gone afterwards because this call removed it.
bool DeleteFile(const std::string& path);

} // namespace Zorva
