#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace Zorva {

/// One command-line switch: its name and the text after "=" (empty when there was none).
struct CommandLineParam
{
    std::string name;
    std::string value;

    bool operator==(const CommandLineParam&) const = default;
};

/// Which numbered demo file the command line asked for.
enum class NumberedDemo
{
    None,
    /// "-recnum": record into a new numbered file, keeping at most `numberedDemoValue` files.
    Record,
    /// "-playnum": play the file `numberedDemoValue` places below the highest-numbered one.
    Play,
};

/// What the command line asked for. Parsing has no side effects; the application applies
/// these after parsing (opening demo files, changing folders, printing help).
struct CommandLineOptions
{
    bool recording = false;
    bool playing = false;
    /// Set by "-demofile"; a later "-recnum" or "-playnum" clears it.
    std::optional<std::string> demoFileName;
    NumberedDemo numberedDemo = NumberedDemo::None;
    /// The file limit n (at least 1) for Record, the offset k (at least 0) for Play.
    int numberedDemoValue = 0;
    /// "--demo-to-end": playback runs straight to the end without drawing.
    bool demoToEnd = false;
    bool screensaver = false;

    bool showHelp = false;
    bool showVersion = false;
    /// true for "--windowed", false for "--fullscreen"; unset keeps the stored screen mode.
    std::optional<bool> windowed;
    std::optional<std::string> dataFolder;
    std::optional<std::string> homeFolder;
    bool verbose = false;
};

/// The error shown for a switch that is not known.
inline constexpr std::string_view kInvalidParamMessage = "Invalid Command Line Param: ";
/// The exit code after a switch that is not known or a value that is not understood.
inline constexpr int kCommandLineErrorExitCode = 2;
/// The stem of the demo file names, numbered or not.
inline constexpr std::string_view kDemoStem = "zorvaapp";
/// Files kept by "-recnum" when its value is not positive.
inline constexpr int kDefaultNumberedDemoLimit = 5;

/// The part of a whole process command line after the program path: a quoted path is
/// skipped to its closing quote, then everything after the next blank is returned.
std::string_view CommandLineArguments(std::string_view commandLine);

/// Splits a command line into switches: a double quote toggles quoting and a closing quote
/// ends the switch; a blank outside quotes ends it; "=" (anywhere, dropped) turns from the
/// name to the value. Each end yields one entry, so two blanks in a row give an empty one.
std::vector<CommandLineParam> SplitCommandLine(std::string_view text);

/// The switches of a program's arguments: each argument is one switch, named up to its
/// first "=" with the rest, verbatim, as its value (the shell has done the quoting).
std::vector<CommandLineParam> ParamsFromArguments(int argc, const char* const* argv);

/// Applies one switch to `options`. An unknown name returns false with `error` set to the
/// message to show. An empty name (from doubled blanks) changes nothing.
bool ApplyCommandLineOption(const CommandLineParam& param, CommandLineOptions& options,
                            std::string& error);

/// Applies `params` in order, stopping at the first unknown switch (false, with `error`).
bool ParseCommandLine(const std::vector<CommandLineParam>& params, CommandLineOptions& options,
                      std::string& error);

/// One line of the "--help" text: the switch as written, and what it does.
struct CommandLineHelpLine
{
    std::string_view option;
    std::string_view description;
};

/// The "--help" text: usage and one line per switch, the framework's followed by
/// `extraLines` (the switches the game adds).
std::string CommandLineHelp(std::string_view programName,
                            const std::vector<CommandLineHelpLine>& extraLines = {});

/// The pointer to the help that follows a command-line error.
std::string CommandLineErrorHint(std::string_view programName);

/// The number of a numbered demo file name (the stem, a number, ".dmo"), if it is one.
std::optional<int> ParseNumberedDemoFileName(std::string_view fileName,
                                             std::string_view stem = kDemoStem);
std::string NumberedDemoFileName(int number, std::string_view stem = kDemoStem);

/// What "-recnum" does with the numbered files there are.
struct NumberedRecordingPlan
{
    /// The oldest (lowest-numbered) file to delete, when `limit` or more exist.
    std::optional<int> deleteNumber;
    /// The highest existing number + 1 (1 when there is none).
    int newNumber = 1;
};
NumberedRecordingPlan PlanNumberedRecording(std::vector<int> existing, int limit);

/// The file "-playnum" plays: the `offset`-th highest existing number (0 is the highest);
/// none when fewer files exist.
std::optional<int> ChooseNumberedPlayback(std::vector<int> existing, int offset);

} // namespace Zorva
