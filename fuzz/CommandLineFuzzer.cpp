// Reads arbitrary text as a process command line, split both as one line and as the
// arguments a shell hands over (at zero bytes), and applies the switches. Whatever the
// switches, the options must stay consistent: never recording and playing at once, and a
// numbered demo always with a usable number.

#include "app/CommandLine.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

namespace {

void CheckOptions(const std::vector<Zorva::CommandLineParam>& params)
{
    Zorva::CommandLineOptions options;
    std::string error;
    const bool parsed = Zorva::ParseCommandLine(params, options, error);
    if (parsed != error.empty() || (options.recording && options.playing)) {
        std::abort();
    }
    if (options.numberedDemo == Zorva::NumberedDemo::Record &&
        (options.numberedDemoValue < 1 || !options.recording || options.demoFileName)) {
        std::abort();
    }
    if (options.numberedDemo == Zorva::NumberedDemo::Play &&
        (options.numberedDemoValue < 0 || !options.playing || options.demoFileName)) {
        std::abort();
    }
    for (const Zorva::CommandLineParam& param : params) {
        Zorva::ParseNumberedDemoFileName(param.value);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    CheckOptions(Zorva::SplitCommandLine(Zorva::CommandLineArguments(text)));

    std::vector<std::string> arguments(1, "quarrow");
    for (std::size_t start = 0; start <= text.size();) {
        std::size_t end = text.find('\0', start);
        if (end == std::string_view::npos) {
            end = text.size();
        }
        arguments.emplace_back(text.substr(start, end - start));
        start = end + 1;
    }
    std::vector<const char*> argv;
    for (const std::string& argument : arguments) {
        argv.push_back(argument.c_str());
    }
    argv.push_back(nullptr);
    CheckOptions(Zorva::ParamsFromArguments(static_cast<int>(arguments.size()), argv.data()));
    return 0;
}
