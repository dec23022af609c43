#pragma once

#include <cstdio>
#include <string>

namespace Zorva {

/// The message box flags and answers the application uses.
inline constexpr int kMessageBoxOk = 0;
inline constexpr int kMessageBoxYesNo = 4;
inline constexpr int kMessageBoxIconError = 16;
inline constexpr int kMessageBoxAnswerOk = 1;
inline constexpr int kMessageBoxYes = 6;
inline constexpr int kMessageBoxNo = 7;

/// Shows a message to the user and returns the button pressed. The windowed
/// implementation comes with the window layer; headless runs use the standard-error one.
class MessageBoxService
{
public:
    virtual ~MessageBoxService() = default;
    virtual int Show(const std::string& text, const std::string& title, int flags) = 0;
};

/// Writes the message to standard error; there is nobody to press a button, so it answers OK, or No
/// to a question.
class StderrMessageBox : public MessageBoxService
{
public:
    int Show(const std::string& text, const std::string& title, int flags) override
    {
        std::fprintf(stderr, "%s: %s\n", title.c_str(), text.c_str());
        return (flags & kMessageBoxYesNo) != 0 ? kMessageBoxNo : kMessageBoxAnswerOk;
    }
};

} // namespace Zorva
