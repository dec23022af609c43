#include "app/CommandLine.h"
#include "app/platform/SdlPlatform.h"
#include "game/screens/GameApp.h"
#include "game/screens/GameLaunch.h"
#include "game/screens/ProductInfo.h"

#include <cstdio>
#include <string>

namespace {

/// --help and --version answer on standard output without opening a window.
bool AnswersAtOnce(int argc, char** argv)
{
    for (const Zorva::CommandLineParam& param : Zorva::ParamsFromArguments(argc, argv)) {
        if (param.name == "--help" || param.name == "-h") {
            const std::string help =
                Zorva::CommandLineHelp("quarrow", {{kGameLaunchHelpOption, kGameLaunchHelpText}});
            std::fputs(help.c_str(), stdout);
            return true;
        }
        if (param.name == "--version") {
            std::printf("%s\n", ProductInfo::NameAndVersion().c_str());
            return true;
        }
    }
    return false;
}

} // namespace

int main(int argc, char** argv)
{
    if (AnswersAtOnce(argc, argv)) {
        return 0;
    }
    GameApp app;
    Zorva::InstallSdlPlatform(app);
    if (app.ReadCommandLine(argc, argv)) {
        app.Init();
        app.Start();
    }
    const int code = app.GetExitCode();
    return code < 0 ? 0 : code;
}
