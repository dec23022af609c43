#include "resources/BufferFile.h"

#include "resources/Buffer.h"
#include "system/AtomicFile.h"

#include <cstdint>
#include <cstdio>
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

} // namespace

bool ReadFileToBuffer(const std::string& path, Buffer& buffer, std::size_t maxBytes)
{
    if (maxBytes > Buffer::kMaxBytes) {
        maxBytes = Buffer::kMaxBytes;
    }
    std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "rb"));
    if (!file) {
        return false;
    }
    struct stat info
    {};
    if (fstat(fileno(file.get()), &info) != 0 || !S_ISREG(info.st_mode) || info.st_size < 0 ||
        static_cast<unsigned long long>(info.st_size) > maxBytes) {
        return false;
    }
    std::vector<uint8_t> bytes(static_cast<std::size_t>(info.st_size));
    const std::size_t got =
        bytes.empty() ? 0 : std::fread(bytes.data(), 1, bytes.size(), file.get());
    // The file may have changed size since fstat; trust what was read, never more.
    if (got != bytes.size() || std::ferror(file.get()) != 0) {
        return false;
    }
    // Refuse a file that grew past the limit after the size check.
    if (std::fgetc(file.get()) != EOF) {
        return false;
    }
    Buffer loaded;
    if (!loaded.AssignBytes(bytes.data(), bytes.size())) {
        return false;
    }
    buffer = std::move(loaded);
    return true;
}

bool ReadFileToBuffer(const std::string& path, Buffer& buffer)
{
    return ReadFileToBuffer(path, buffer, Buffer::kMaxBytes);
}

bool WriteBufferToFile(const std::string& path, const Buffer& buffer)
{
    const uint8_t* data = buffer.DataPointer();
    const std::size_t length = data == nullptr ? 0 : static_cast<std::size_t>(buffer.DataLength());
    return WriteFileAtomically(path, std::string_view(reinterpret_cast<const char*>(data), length));
}

} // namespace Zorva
