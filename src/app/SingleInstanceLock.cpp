#include "app/SingleInstanceLock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>

namespace Zorva {

SingleInstanceLock::~SingleInstanceLock()
{
    Release();
}

SingleInstanceLock::Result SingleInstanceLock::Acquire(const std::string& path)
{
    if (descriptor >= 0) {
        return Result::Acquired;
    }
    const int file = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (file < 0) {
        return Result::Unavailable;
    }
    if (::flock(file, LOCK_EX | LOCK_NB) != 0) {
        const bool held = errno == EWOULDBLOCK;
        ::close(file);
        return held ? Result::HeldElsewhere : Result::Unavailable;
    }
    descriptor = file;
    return Result::Acquired;
}

void SingleInstanceLock::Release()
{
    if (descriptor >= 0) {
        ::flock(descriptor, LOCK_UN);
        ::close(descriptor);
        descriptor = -1;
    }
}

} // namespace Zorva
