#include "audio/AudioFiles.h"

#include <cstdio>
#include <memory>

#include <sys/stat.h>

namespace Zorva {

namespace {

struct FileCloser
{
    void operator()(std::FILE* file) const { std::fclose(file); }
};

} // namespace

std::optional<std::vector<uint8_t>> ReadFileBytes(const std::string& path, std::size_t maxBytes)
{
    std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "rb"));
    if (!file) {
        return std::nullopt;
    }
    struct stat info
    {};
    if (fstat(fileno(file.get()), &info) != 0 || !S_ISREG(info.st_mode) || info.st_size < 0 ||
        static_cast<unsigned long long>(info.st_size) > maxBytes) {
        return std::nullopt;
    }
    std::vector<uint8_t> bytes(static_cast<std::size_t>(info.st_size));
    const std::size_t got =
        bytes.empty() ? 0 : std::fread(bytes.data(), 1, bytes.size(), file.get());
    // A file that changed size after the check is read as it was measured, or refused.
    if (got != bytes.size() || std::ferror(file.get()) != 0) {
        return std::nullopt;
    }
    return bytes;
}

std::optional<int64_t> FileModificationTime(const std::string& path)
{
    struct stat info
    {};
    if (stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) {
        return std::nullopt;
    }
    return static_cast<int64_t>(info.st_mtim.tv_sec) * 1000000000 +
           static_cast<int64_t>(info.st_mtim.tv_nsec);
}

std::string WithForwardSlashes(std::string path)
{
    for (char& c : path) {
        if (c == '\\') {
            c = '/';
        }
    }
    return path;
}

} // namespace Zorva
