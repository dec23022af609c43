#include "app/UserFileAccess.h"

#include "resources/Buffer.h"
#include "system/AppFiles.h"
#include "system/AtomicFile.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string_view>
#include <sys/stat.h>
#include <vector>

namespace Zorva {

namespace {

struct FileCloser
{
    void operator()(std::FILE* file) const { std::fclose(file); }
};

bool IsSafeRelativeName(const std::string& name)
{
    if (name.empty() || name.front() == '/' || name.back() == '/') {
        return false;
    }
    std::size_t start = 0;
    while (start <= name.size()) {
        std::size_t end = name.find('/', start);
        if (end == std::string::npos) {
            end = name.size();
        }
        const std::string_view part(name.data() + start, end - start);
        if (part.empty() || part == "." || part == "..") {
            return false;
        }
        start = end + 1;
    }
    return true;
}

std::string ParentFolder(const std::string& path)
{
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash);
}

} // namespace

std::string UserFileAccess::UserFileFolder() const
{
    return userFileFolder.empty() ? UserFolder() : userFileFolder;
}

std::string UserFileAccess::UserFilePath(const std::string& name) const
{
    if (!IsSafeRelativeName(name)) {
        return {};
    }
    return UserFileFolder() + "/" + name;
}

bool UserFileAccess::ReadUserFile(const std::string& name, Buffer& buffer, std::size_t maxBytes)
{
    const std::string path = UserFilePath(name);
    if (path.empty()) {
        return false;
    }
    std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "rb"));
    if (!file) {
        return false;
    }
    struct stat info
    {};
    if (fstat(fileno(file.get()), &info) != 0 || !S_ISREG(info.st_mode) || info.st_size < 0) {
        return false;
    }
    const auto fileSize = static_cast<unsigned long long>(info.st_size);
    std::size_t wanted = std::min(maxBytes, Buffer::kMaxBytes);
    if (fileSize < wanted) {
        wanted = static_cast<std::size_t>(fileSize);
    }
    std::vector<uint8_t> bytes(wanted);
    const std::size_t got =
        bytes.empty() ? 0 : std::fread(bytes.data(), 1, bytes.size(), file.get());
    if (std::ferror(file.get()) != 0) {
        return false;
    }
    Buffer loaded;
    if (!loaded.AssignBytes(bytes.data(), got)) {
        return false;
    }
    buffer = std::move(loaded);
    return true;
}

bool UserFileAccess::WriteUserFile(const std::string& name, const Buffer& buffer)
{
    const std::string path = UserFilePath(name);
    if (path.empty()) {
        ReportFileProblem("Refused to write \"" + name + "\": the name leaves the user folder");
        return false;
    }
    if (!EnsureFolder(ParentFolder(path))) {
        ReportFileProblem("Could not create the folder of " + path);
        return false;
    }
    const auto length = static_cast<std::size_t>(buffer.DataLength());
    const std::string_view bytes(reinterpret_cast<const char*>(buffer.DataPointer()), length);
    std::string error;
    if (!WriteFileAtomically(path, bytes, &error)) {
        ReportFileProblem("Could not write " + path + ": " + error);
        return false;
    }
    return true;
}

bool UserFileAccess::UserFileExists(const std::string& name)
{
    const std::string path = UserFilePath(name);
    return !path.empty() && FileExists(path);
}

bool UserFileAccess::DeleteUserFile(const std::string& name)
{
    const std::string path = UserFilePath(name);
    if (path.empty()) {
        return false;
    }
    struct stat info
    {};
    if (lstat(path.c_str(), &info) != 0) {
        return errno == ENOENT;
    }
    if (!S_ISREG(info.st_mode) || std::remove(path.c_str()) != 0) {
        ReportFileProblem("Could not delete " + path);
        return false;
    }
    return true;
}

bool UserFileAccess::RenameUserFile(const std::string& from, const std::string& to)
{
    const std::string fromPath = UserFilePath(from);
    const std::string toPath = UserFilePath(to);
    if (fromPath.empty() || toPath.empty() || !FileExists(fromPath)) {
        return false;
    }
    if (std::rename(fromPath.c_str(), toPath.c_str()) != 0) {
        ReportFileProblem("Could not move " + fromPath + " to " + toPath + ": " +
                          std::strerror(errno));
        return false;
    }
    return true;
}

void UserFileAccess::ReportFileProblem(const std::string& text)
{
    std::fprintf(stderr, "%s\n", text.c_str());
}

} // namespace Zorva
