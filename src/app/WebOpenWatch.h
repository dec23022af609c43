#pragma once

#include <cstdint>
#include <string>

namespace Zorva {

/// Watches an address handed to the browser. There is no word back from the browser, so the
/// watch judges by the focus: once the player has left the input alone for a while, a
/// window that lost the focus means the browser opened, one that kept it means nothing came.
class WebOpenWatch
{
public:
    enum class Verdict
    {
        Undecided,
        Opened,
        Failed,
    };

    /// Starts watching `url`, in place of any address watched before.
    void Begin(const std::string& url, bool shutdownAfter, int64_t now);
    /// The verdict at `now`, given the last input and whether the window is active.
    Verdict Check(int64_t now, int64_t lastInputTime, bool active) const;
    void End() { pending = false; }

    bool IsPending() const { return pending; }
    const std::string& Address() const { return address; }
    /// The program is to end once the browser has opened the address.
    bool ShutdownAfter() const { return shutdownAfter; }

private:
    bool pending = false;
    bool shutdownAfter = false;
    std::string address;
    int64_t startTime = 0;
};

} // namespace Zorva
