#include "system/AtomicFile.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace Zorva {

namespace {

/// Closes a file descriptor when it goes out of scope.
class FileDescriptor
{
public:
    explicit FileDescriptor(int newFd) : fd(newFd) {}
    ~FileDescriptor()
    {
        if (fd >= 0) {
            ::close(fd);
        }
    }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;

    int Get() const { return fd; }
    /// Closes now and reports whether the close succeeded (a late write error shows here).
    bool Close()
    {
        const int result = ::close(fd);
        fd = -1;
        return result == 0;
    }

private:
    int fd;
};

bool Fail(std::string* error, const std::string& what, const std::string& path)
{
    if (error) {
        *error = what + " " + path + ": " + std::strerror(errno);
    }
    return false;
}

bool WriteAll(int fd, std::string_view bytes)
{
    std::size_t written = 0;
    while (written < bytes.size()) {
        const ssize_t result = ::write(fd, bytes.data() + written, bytes.size() - written);
        if (result < 0) {
            if (errno == EINTR) {
                continue;
            }
            return false;
        }
        written += static_cast<std::size_t>(result);
    }
    return true;
}

/// Removes the temporary files of earlier writes to `target` that never reached their rename
/// (the writer was killed or the machine stopped), so they do not pile up beside the file.
void RemoveLeftovers(const std::filesystem::path& target, const std::string& prefix)
{
    constexpr std::size_t kUniqueChars = 6;
    const std::filesystem::path folder =
        target.has_parent_path() ? target.parent_path() : std::filesystem::path(".");
    std::error_code error;
    for (std::filesystem::directory_iterator entry(folder, error), end; !error && entry != end;
         entry.increment(error)) {
        const std::string name = entry->path().filename().string();
        if (name.size() == prefix.size() + kUniqueChars &&
            name.compare(0, prefix.size(), prefix) == 0) {
            std::error_code ignored;
            std::filesystem::remove(entry->path(), ignored);
        }
    }
}

} // namespace

bool WriteFileAtomically(const std::string& path, std::string_view bytes, std::string* error)
{
    const std::filesystem::path target(path);
    const std::string prefix = "." + target.filename().string() + ".tmp-";
    RemoveLeftovers(target, prefix);
    std::string pattern =
        (target.has_parent_path() ? target.parent_path().string() + "/" : "") + prefix + "XXXXXX";
    std::vector<char> name(pattern.begin(), pattern.end());
    name.push_back('\0');

    FileDescriptor file(::mkstemp(name.data()));
    if (file.Get() < 0) {
        return Fail(error, "cannot create a temporary file for", path);
    }
    const std::string temporary(name.data());
    const bool written = WriteAll(file.Get(), bytes) && ::fsync(file.Get()) == 0;
    const bool closed = file.Close();
    if (!written || !closed) {
        const bool result = Fail(error, "cannot write", path);
        ::unlink(temporary.c_str());
        return result;
    }
    // mkstemp makes the file private: keep the permissions of the file being replaced.
    struct stat old;
    ::chmod(temporary.c_str(), ::stat(path.c_str(), &old) == 0 ? (old.st_mode & 07777) : 0644);
    if (::rename(temporary.c_str(), path.c_str()) != 0) {
        const bool result = Fail(error, "cannot replace", path);
        ::unlink(temporary.c_str());
        return result;
    }
    return true;
}

} // namespace Zorva
