#pragma once

#include <cstdio>
#include <string>

namespace Zorva {

/// Shows a message to the user and returns the button pressed (1 for OK). The windowed
/// implementation comes with the window layer; headless runs use the standard-error one.
class MessageBoxService
{
public:
    virtual ~MessageBoxService() = default;
    virtual int Show(const std::string& text, const std::string& title, int flags) = 0;
};

/// Writes the message to standard error; there is nobody to press a button, so it answers OK.
class StderrMessageBox : public MessageBoxService
{
public:
    int Show(const std::string& text, const std::string& title, int) override
    {
        std::fprintf(stderr, "%s: %s\n", title.c_str(), text.c_str());
        return 1;
    }
};

} // namespace Zorva
