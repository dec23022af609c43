#include "app/CommandLine.h"

#include <algorithm>
#include <climits>
#include <cstdio>
#include <iterator>

namespace Zorva {

namespace {

/// The leading integer of `text` the way atoi reads it (blanks, a sign, digits; 0 if none),
/// clamped to the int range instead of overflowing.
int LeadingInteger(std::string_view text)
{
    std::size_t pos = 0;
    while (pos < text.size() && (text[pos] == ' ' || text[pos] == '\t')) {
        ++pos;
    }
    bool negative = false;
    if (pos < text.size() && (text[pos] == '-' || text[pos] == '+')) {
        negative = text[pos] == '-';
        ++pos;
    }
    long long value = 0;
    while (pos < text.size() && text[pos] >= '0' && text[pos] <= '9') {
        value = std::min(value * 10 + (text[pos] - '0'), static_cast<long long>(INT_MAX) + 1);
        ++pos;
    }
    if (negative) {
        value = -value;
    }
    return static_cast<int>(std::clamp<long long>(value, INT_MIN, INT_MAX));
}

constexpr CommandLineHelpLine kHelpLines[] = {
    {"-play", "play back the demo file"},
    {"-record", "record a demo into the demo file"},
    {"-demofile=FILE", "use FILE as the demo file (default zorvaapp.dmo)"},
    {"-recnum=N", "record into a new numbered demo file, keeping at most N (default 5)"},
    {"-playnum=K", "play back the K-th newest numbered demo file (1 is the newest)"},
    {"-screensaver", "run as a screensaver: full screen, closing on any input"},
    {"--demo-to-end", "play the demo back without drawing, straight to its end"},
    {"-h, --help", "show this help and exit"},
    {"--version", "show the version and exit"},
    {"--windowed", "run in a window"},
    {"--fullscreen", "run full screen"},
    {"--data=DIR", "read the game data from DIR"},
    {"--home=DIR", "keep settings, players, saves and logs in DIR"},
    {"--verbose", "write debug output to standard error"},
};

} // namespace

std::string_view CommandLineArguments(std::string_view commandLine)
{
    std::size_t pos = 0;
    if (!commandLine.empty() && commandLine.front() == '"') {
        const std::size_t close = commandLine.find('"', 1);
        pos = close == std::string_view::npos ? commandLine.size() : close + 1;
    }
    const std::size_t blank = commandLine.find(' ', pos);
    return blank == std::string_view::npos ? std::string_view() : commandLine.substr(blank + 1);
}

std::vector<CommandLineParam> SplitCommandLine(std::string_view text)
{
    std::vector<CommandLineParam> params;
    CommandLineParam current;
    bool inQuote = false;
    bool onValue = false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        bool tokenEnds = i + 1 == text.size();
        if (c == '"') {
            inQuote = !inQuote;
            if (!inQuote) {
                tokenEnds = true;
            }
        } else if (c == ' ' && !inQuote) {
            tokenEnds = true;
        } else if (c == '=') {
            onValue = true;
        } else if (onValue) {
            current.value += c;
        } else {
            current.name += c;
        }
        if (tokenEnds) {
            params.push_back(std::move(current));
            current = CommandLineParam();
            onValue = false;
        }
    }
    return params;
}

std::vector<CommandLineParam> ParamsFromArguments(int argc, const char* const* argv)
{
    std::vector<CommandLineParam> params;
    for (int i = 1; i < argc && argv != nullptr && argv[i] != nullptr; ++i) {
        const std::string_view argument(argv[i]);
        const std::size_t equals = argument.find('=');
        if (equals == std::string_view::npos) {
            params.push_back({std::string(argument), std::string()});
        } else {
            params.push_back({std::string(argument.substr(0, equals)),
                              std::string(argument.substr(equals + 1))});
        }
    }
    return params;
}

bool ApplyCommandLineOption(const CommandLineParam& param, CommandLineOptions& options,
                            std::string& error)
{
    const std::string& name = param.name;
    if (name.empty()) {
        // Doubled blanks and the blank after a closing quote give empty switches; refusing
        // them would refuse any quoted value followed by another switch.
        return true;
    }
    if (name == "-play") {
        options.playing = true;
        options.recording = false;
        // A numbered recording's file plan deletes old demos; it must never run for playback.
        if (options.numberedDemo == NumberedDemo::Record) {
            options.numberedDemo = NumberedDemo::None;
        }
    } else if (name == "-record") {
        options.recording = true;
        options.playing = false;
        if (options.numberedDemo == NumberedDemo::Play) {
            options.numberedDemo = NumberedDemo::None;
        }
    } else if (name == "-demofile") {
        options.demoFileName = param.value;
        options.numberedDemo = NumberedDemo::None;
    } else if (name == "-recnum") {
        const int limit = LeadingInteger(param.value);
        options.recording = true;
        options.playing = false;
        options.numberedDemo = NumberedDemo::Record;
        options.numberedDemoValue = limit > 0 ? limit : kDefaultNumberedDemoLimit;
        options.demoFileName.reset();
    } else if (name == "-playnum") {
        const int k = LeadingInteger(param.value);
        options.playing = true;
        options.recording = false;
        options.numberedDemo = NumberedDemo::Play;
        options.numberedDemoValue = k > 1 ? k - 1 : 0;
        options.demoFileName.reset();
    } else if (name == "--demo-to-end") {
        options.demoToEnd = true;
    } else if (name == "-screensaver") {
        options.screensaver = true;
    } else if (name == "--help") {
        options.showHelp = true;
    } else if (name == "--version") {
        options.showVersion = true;
    } else if (name == "--windowed") {
        options.windowed = true;
    } else if (name == "--fullscreen") {
        options.windowed = false;
    } else if (name == "--data" && !param.value.empty()) {
        options.dataFolder = param.value;
    } else if (name == "--home" && !param.value.empty()) {
        options.homeFolder = param.value;
    } else if (name == "--verbose") {
        options.verbose = true;
    } else {
        error = std::string(kInvalidParamMessage) + name;
        return false;
    }
    return true;
}

bool ParseCommandLine(const std::vector<CommandLineParam>& params, CommandLineOptions& options,
                      std::string& error)
{
    for (const CommandLineParam& param : params) {
        if (!ApplyCommandLineOption(param, options, error)) {
            return false;
        }
    }
    return true;
}

std::string CommandLineHelp(std::string_view programName,
                            const std::vector<CommandLineHelpLine>& extraLines)
{
    std::vector<CommandLineHelpLine> lines(std::begin(kHelpLines), std::end(kHelpLines));
    lines.insert(lines.end(), extraLines.begin(), extraLines.end());
    std::size_t column = 0;
    for (const CommandLineHelpLine& line : lines) {
        column = std::max(column, line.option.size() + 2);
    }
    std::string text = "Usage: " + std::string(programName) + " [options]\n\nOptions:\n";
    for (const CommandLineHelpLine& line : lines) {
        std::string option(line.option);
        option.resize(column, ' ');
        text += "  " + option + std::string(line.description) + "\n";
    }
    return text;
}

std::string CommandLineErrorHint(std::string_view programName)
{
    return "Run \"" + std::string(programName) + " --help\" for the list of options.";
}

std::optional<int> ParseNumberedDemoFileName(std::string_view fileName, std::string_view stem)
{
    constexpr std::string_view kExtension = ".dmo";
    if (fileName.size() <= stem.size() + kExtension.size() ||
        fileName.substr(0, stem.size()) != stem ||
        fileName.substr(fileName.size() - kExtension.size()) != kExtension) {
        return std::nullopt;
    }
    const std::string_view digits =
        fileName.substr(stem.size(), fileName.size() - stem.size() - kExtension.size());
    long long number = 0;
    for (const char c : digits) {
        if (c < '0' || c > '9') {
            return std::nullopt;
        }
        number = number * 10 + (c - '0');
        if (number > INT_MAX) {
            return std::nullopt;
        }
    }
    return static_cast<int>(number);
}

std::string NumberedDemoFileName(int number, std::string_view stem)
{
    return std::string(stem) + std::to_string(number) + ".dmo";
}

NumberedRecordingPlan PlanNumberedRecording(std::vector<int> existing, int limit)
{
    std::sort(existing.begin(), existing.end());
    existing.erase(std::unique(existing.begin(), existing.end()), existing.end());
    NumberedRecordingPlan plan;
    if (existing.empty()) {
        return plan;
    }
    if (static_cast<long long>(existing.size()) >= limit) {
        plan.deleteNumber = existing.front();
    }
    plan.newNumber = existing.back() < INT_MAX ? existing.back() + 1 : existing.back();
    return plan;
}

std::optional<int> ChooseNumberedPlayback(std::vector<int> existing, int offset)
{
    std::sort(existing.begin(), existing.end(), std::greater<>());
    existing.erase(std::unique(existing.begin(), existing.end()), existing.end());
    if (offset < 0 || static_cast<std::size_t>(offset) >= existing.size()) {
        return std::nullopt;
    }
    return existing[static_cast<std::size_t>(offset)];
}

} // namespace Zorva
