#pragma once

#include <string>

namespace Zorva {

/// Keeps a second copy of the program from running against the same user folder: the
/// first holds an exclusive lock on a lock file until it ends (or dies, since the system
/// drops the lock with the process).
class SingleInstanceLock
{
public:
    SingleInstanceLock() = default;
    ~SingleInstanceLock();
    SingleInstanceLock(const SingleInstanceLock&) = delete;
    SingleInstanceLock& operator=(const SingleInstanceLock&) = delete;

    enum class Result
    {
        Acquired,
        /// Another process holds the lock.
        HeldElsewhere,
        /// The lock file could not be opened; the program runs unguarded.
        Unavailable,
    };

    /// Creates the file if needed and takes the lock without waiting.
    Result Acquire(const std::string& path);
    void Release();
    bool IsHeld() const { return descriptor >= 0; }

private:
    int descriptor = -1;
};

} // namespace Zorva
