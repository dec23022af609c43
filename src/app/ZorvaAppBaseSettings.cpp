// The application's own settings, the command line, and the hardware-acceleration question
// at exit.

#include "app/ZorvaAppBase.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>

namespace Zorva {

void ZorvaAppBase::ReadSettings()
{
    int value = 0;
    if (ReadInteger("MusicVolume", value)) {
        RestoreMusicVolume(std::clamp(value / 100.0, 0.0, 1.0));
    }
    if (ReadInteger("SfxVolume", value)) {
        RestoreSfxVolume(std::clamp(value / 100.0, 0.0, 1.0));
    }
    if (ReadInteger("Muted", value)) {
        RestoreUserMutes(std::max(value, 0));
    }
    if (ReadInteger("ScreenMode", value)) {
        windowedRequested = value == 0;
    }
    // A mode asked for on the command line holds for this run only.
    if (commandLineOptions.windowed.has_value()) {
        storedWindowed = windowedRequested;
        windowedRequested = *commandLineOptions.windowed;
    }
    ReadInteger("PreferredX", window.State().preferredX);
    ReadInteger("PreferredY", window.State().preferredY);
    ReadInteger("PreferredWidth", window.State().preferredWidth);
    ReadInteger("PreferredHeight", window.State().preferredHeight);
    ReadBoolean("CustomCursors", customCursors);
    ReadBoolean("WaitForVSync", waitForVSync);
    ReadBoolean("Is3D", is3D);
    if (ReadInteger("InProgress", value)) {
        lastRunEndedCleanly = value == 0;
    }
    if (!screensaverMode) {
        WriteInteger("InProgress", 1);
    }
    settingsRead = true;
}

void ZorvaAppBase::WriteSettings()
{
    WriteInteger("MusicVolume", static_cast<int>(std::lround(GetMusicVolume() * 100)));
    WriteInteger("SfxVolume", static_cast<int>(std::lround(GetSfxVolume() * 100)));
    WriteInteger("Muted", GetMuteCount() - GetAutoMuteCount() > 0 ? 1 : 0);
    bool windowedToStore = windowedRequested;
    if (storedWindowed.has_value() && windowedRequested == *commandLineOptions.windowed) {
        windowedToStore = *storedWindowed;
    }
    WriteInteger("ScreenMode", windowedToStore ? 0 : 1);
    WriteInteger("PreferredX", window.State().preferredX);
    WriteInteger("PreferredY", window.State().preferredY);
    WriteInteger("PreferredWidth", window.State().preferredWidth);
    WriteInteger("PreferredHeight", window.State().preferredHeight);
    WriteBoolean("CustomCursors", customCursors);
    WriteBoolean("WaitForVSync", waitForVSync);
    WriteInteger("InProgress", 0);
}

bool ZorvaAppBase::ReadCommandLine(int argc, const char* const* argv)
{
    if (commandLineRead) {
        return exitCode < 0;
    }
    commandLineRead = true;
    if (argc > 0 && argv != nullptr && argv[0] != nullptr) {
        programName = std::filesystem::path(argv[0]).filename().string();
    }
    return ApplyCommandLine(ParamsFromArguments(argc, argv));
}

bool ZorvaAppBase::ApplyCommandLine(const std::vector<CommandLineParam>& params)
{
    std::string error;
    if (!ParseCommandLine(params, commandLineOptions, error)) {
        EndWithCommandLineError(error);
        return false;
    }
    if (commandLineOptions.screensaver) {
        screensaverMode = true;
        singleInstance = false;
        // A screensaver covers the screen whatever the settings say; only an explicit
        // --windowed (for trying it out) keeps a window. The stored mode stays as it was.
        if (!commandLineOptions.windowed.has_value()) {
            commandLineOptions.windowed = false;
        }
    }
    if (commandLineOptions.windowed.has_value()) {
        windowedRequested = *commandLineOptions.windowed;
    }
    if (commandLineOptions.verbose) {
        debugOutputEnabled = true;
    }
    // The folder options stand for the environment variables, so every path derived from
    // them (data, user folder, settings) agrees.
    if (commandLineOptions.dataFolder.has_value()) {
        ::setenv("QUARROW_DATA", commandLineOptions.dataFolder->c_str(), 1);
    }
    if (commandLineOptions.homeFolder.has_value()) {
        ::setenv("QUARROW_HOME", commandLineOptions.homeFolder->c_str(), 1);
    }
    return true;
}

void ZorvaAppBase::EndWithCommandLineError(const std::string& error)
{
    ShowErrorBox(programName.empty() ? error : error + "\n" + CommandLineErrorHint(programName));
    exitCode = kCommandLineErrorExitCode;
    shutdown = true;
}

void ZorvaAppBase::ConfirmHardwareAcceleration()
{
    const std::string caption = companyTitle + " Hardware Acceleration Confirmation";
    bool asked = false;
    bool storedBefore = false;
    if (is3DChangedThisRun && !ReadBoolean("Is3D", storedBefore) && !test3DPassedCleanly && is3D) {
        asked = true;
        is3D =
            ShowMessageBox("Hardware Acceleration was switched on during this session.\r\n"
                           "If this resulted in slower performance, it should be switched off.\r\n"
                           "Would you like to keep Hardware Acceleration switched on?",
                           caption, kMessageBoxYesNo) == kMessageBoxYes;
        if (is3D) {
            WriteBoolean("Is3D", true);
        }
    } else {
        WriteBoolean("Is3D", is3D);
    }
    if (!asked && frameBeginFailed && is3D && !screensaverMode) {
        const bool keep =
            ShowMessageBox("Hardware Acceleration may not have been working correctly during this "
                           "session.\r\nIf you noticed graphics problems, you may want to turn off "
                           "Hardware Acceleration.\r\nWould you like to keep Hardware Acceleration "
                           "switched on?",
                           caption, kMessageBoxYesNo) == kMessageBoxYes;
        if (!keep) {
            WriteBoolean("Is3D", false);
        }
    }
}

} // namespace Zorva
