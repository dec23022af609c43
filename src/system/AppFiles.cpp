#include "system/AppFiles.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <string_view>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace Zorva {

namespace {

bool IsSet(const char* value)
{
    return value != nullptr && value[0] != '\0';
}

std::string Join(const std::string& folder, std::string_view name)
{
    if (folder.empty()) {
        return std::string(name);
    }
    if (folder.back() == '/') {
        return folder + std::string(name);
    }
    return folder + "/" + std::string(name);
}

bool IsFolder(const std::string& path)
{
    struct stat info
    {};
    return stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

} // namespace

std::string DataFolder(const char* quarrowData, const std::string& executableDir)
{
    if (IsSet(quarrowData)) {
        return quarrowData;
    }
    const std::string beside = Join(executableDir, "data");
    if (FileExists(Join(beside, "properties/resources.xml"))) {
        return beside;
    }
    return Join(executableDir, "../share/quarrow");
}

std::string DataFolder()
{
    return DataFolder(std::getenv("QUARROW_DATA"), ExecutableFolder());
}

std::string UserFolder(const char* quarrowHome, const char* xdgDataHome, const char* home)
{
    if (IsSet(quarrowHome)) {
        return quarrowHome;
    }
    if (IsSet(xdgDataHome)) {
        return Join(xdgDataHome, "quarrow");
    }
    return Join(IsSet(home) ? std::string(home) : std::string("."), ".local/share/quarrow");
}

std::string UserFolder()
{
    return UserFolder(std::getenv("QUARROW_HOME"), std::getenv("XDG_DATA_HOME"),
                      std::getenv("HOME"));
}

bool EnsureFolder(const std::string& path)
{
    if (path.empty()) {
        return false;
    }
    if (IsFolder(path)) {
        return true;
    }
    // Parents first, each made private like the folder itself.
    for (std::size_t slash = path.find('/', 1); slash != std::string::npos;
         slash = path.find('/', slash + 1)) {
        const std::string parent = path.substr(0, slash);
        if (!IsFolder(parent) && mkdir(parent.c_str(), 0700) != 0 && errno != EEXIST) {
            return false;
        }
    }
    if (mkdir(path.c_str(), 0700) != 0 && errno != EEXIST) {
        return false;
    }
    return IsFolder(path);
}

std::string ExecutableFolder()
{
    std::vector<char> path(4096);
    const ssize_t length = readlink("/proc/self/exe", path.data(), path.size() - 1);
    if (length <= 0) {
        return {};
    }
    const std::string full(path.data(), static_cast<std::size_t>(length));
    const std::size_t slash = full.rfind('/');
    return slash == std::string::npos ? std::string() : full.substr(0, slash);
}

bool FileExists(const std::string& path)
{
    struct stat info
    {};
    return stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

bool DeleteFile(const std::string& path)
{
    return std::remove(path.c_str()) == 0;
}

} // namespace Zorva
