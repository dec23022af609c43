#include "app/CommandLine.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using Zorva::CommandLineOptions;
using Zorva::CommandLineParam;
using Zorva::NumberedDemo;
using Zorva::ParseCommandLine;
using Zorva::SplitCommandLine;

namespace {

using Params = std::vector<CommandLineParam>;

} // namespace

TEST(CommandLineTest, Split_QuotesEqualsAndEmptyTokens)
{
    EXPECT_EQ(SplitCommandLine(""), Params{});
    EXPECT_EQ(SplitCommandLine("-play"), (Params{{"-play", ""}}));
    EXPECT_EQ(SplitCommandLine("-record -demofile=run.dmo"),
              (Params{{"-record", ""}, {"-demofile", "run.dmo"}}));
    // A quoted value keeps its blanks; the closing quote ends the switch, so the blank
    // after it gives an empty one.
    EXPECT_EQ(SplitCommandLine("-demofile=\"my demo file.dmo\" -play"),
              (Params{{"-demofile", "my demo file.dmo"}, {"", ""}, {"-play", ""}}));
    // Two blanks in a row give an empty switch; a trailing blank ends the last one only.
    EXPECT_EQ(SplitCommandLine("-play  -record "),
              (Params{{"-play", ""}, {"", ""}, {"-record", ""}}));
    // "=" is dropped wherever it appears.
    EXPECT_EQ(SplitCommandLine("-demofile=a=b"), (Params{{"-demofile", "ab"}}));
    EXPECT_EQ(SplitCommandLine("\"-demo\"file"), (Params{{"-demo", ""}, {"file", ""}}));
    // An unclosed quote runs to the end of the text.
    EXPECT_EQ(SplitCommandLine("-demofile=\"a b"), (Params{{"-demofile", "a b"}}));
}

TEST(CommandLineTest, Arguments_SkipTheProgramPath)
{
    using Zorva::CommandLineArguments;
    EXPECT_EQ(CommandLineArguments("\"C:\\Program Files\\q.exe\" -play -record"), "-play -record");
    EXPECT_EQ(CommandLineArguments("q.exe -screensaver"), "-screensaver");
    EXPECT_EQ(CommandLineArguments("q.exe"), "");
    EXPECT_EQ(CommandLineArguments("\"unclosed path"), "");

    const char* argv[] = {"quarrow", "-demofile=my demo=1.dmo", "--data=/opt/q", "-play", nullptr};
    EXPECT_EQ(Zorva::ParamsFromArguments(4, argv),
              (Params{{"-demofile", "my demo=1.dmo"}, {"--data", "/opt/q"}, {"-play", ""}}));
}

TEST(CommandLineTest, Options_DemoSwitchesApplyInOrder)
{
    CommandLineOptions options;
    std::string error;
    ASSERT_TRUE(ParseCommandLine(SplitCommandLine("-play -demofile=\"a b.dmo\" -screensaver"),
                                 options, error));
    EXPECT_TRUE(options.playing);
    EXPECT_FALSE(options.recording);
    EXPECT_EQ(options.demoFileName, "a b.dmo");
    EXPECT_TRUE(options.screensaver);
    EXPECT_EQ(options.numberedDemo, NumberedDemo::None);

    // The later of -play and -record wins.
    ASSERT_TRUE(ParseCommandLine(SplitCommandLine("-record"), options, error));
    EXPECT_TRUE(options.recording);
    EXPECT_FALSE(options.playing);

    CommandLineOptions recnum;
    ASSERT_TRUE(ParseCommandLine(SplitCommandLine("-demofile=x.dmo -recnum=3"), recnum, error));
    EXPECT_TRUE(recnum.recording);
    EXPECT_EQ(recnum.numberedDemo, NumberedDemo::Record);
    EXPECT_EQ(recnum.numberedDemoValue, 3);
    EXPECT_FALSE(recnum.demoFileName.has_value());
    for (const char* value : {"-recnum=0", "-recnum=-2", "-recnum=abc", "-recnum"}) {
        CommandLineOptions o;
        ASSERT_TRUE(ParseCommandLine(SplitCommandLine(value), o, error));
        EXPECT_EQ(o.numberedDemoValue, 5) << value;
    }

    CommandLineOptions playnum;
    ASSERT_TRUE(ParseCommandLine(SplitCommandLine("-record -playnum=2"), playnum, error));
    EXPECT_TRUE(playnum.playing);
    EXPECT_FALSE(playnum.recording);
    EXPECT_EQ(playnum.numberedDemo, NumberedDemo::Play);
    EXPECT_EQ(playnum.numberedDemoValue, 1);
    ASSERT_TRUE(ParseCommandLine(SplitCommandLine("-playnum=0"), playnum, error));
    EXPECT_EQ(playnum.numberedDemoValue, 0);
    // A later -demofile names the file again.
    ASSERT_TRUE(ParseCommandLine(SplitCommandLine("-demofile=y.dmo"), playnum, error));
    EXPECT_EQ(playnum.numberedDemo, NumberedDemo::None);
    EXPECT_EQ(playnum.demoFileName, "y.dmo");

    // A later -play or -record turns away from a numbered file of the other direction, so a
    // playback never runs the recording's plan that deletes the oldest demo.
    CommandLineOptions turned;
    ASSERT_TRUE(ParseCommandLine(SplitCommandLine("-recnum=1 -play"), turned, error));
    EXPECT_TRUE(turned.playing);
    EXPECT_EQ(turned.numberedDemo, NumberedDemo::None);
    ASSERT_TRUE(ParseCommandLine(SplitCommandLine("-playnum=2 -record"), turned, error));
    EXPECT_TRUE(turned.recording);
    EXPECT_EQ(turned.numberedDemo, NumberedDemo::None);
    ASSERT_TRUE(ParseCommandLine(SplitCommandLine("-recnum=4 -record"), turned, error));
    EXPECT_EQ(turned.numberedDemo, NumberedDemo::Record);
    EXPECT_EQ(turned.numberedDemoValue, 4);
}

TEST(CommandLineTest, Options_UnknownSwitchIsRefusedWithItsName)
{
    CommandLineOptions options;
    std::string error;
    EXPECT_FALSE(ParseCommandLine(SplitCommandLine("-play -bogus=1 -record"), options, error));
    EXPECT_EQ(error, "Invalid Command Line Param: -bogus");
    // Parsing stops at the refused switch.
    EXPECT_TRUE(options.playing);
    EXPECT_FALSE(options.recording);

    for (const char* text : {"-PLAY", "play", "--data", "--home=", "-h"}) {
        CommandLineOptions o;
        EXPECT_FALSE(ParseCommandLine(SplitCommandLine(text), o, error)) << text;
        EXPECT_EQ(error, std::string("Invalid Command Line Param: ") +
                             SplitCommandLine(text).front().name);
    }

    // Empty switches from doubled blanks are passed over.
    CommandLineOptions spaced;
    EXPECT_TRUE(ParseCommandLine(SplitCommandLine("  -play  "), spaced, error));
    EXPECT_TRUE(spaced.playing);
}

TEST(CommandLineTest, Options_LinuxSwitches)
{
    const char* argv[] = {"quarrow",         "--data=/srv/quarrow data",
                          "--home=/tmp/h=1", "--fullscreen",
                          "--verbose",       "--help",
                          "--version",       nullptr};
    CommandLineOptions options;
    std::string error;
    ASSERT_TRUE(ParseCommandLine(Zorva::ParamsFromArguments(7, argv), options, error)) << error;
    EXPECT_EQ(options.dataFolder, "/srv/quarrow data");
    EXPECT_EQ(options.homeFolder, "/tmp/h=1");
    EXPECT_EQ(options.windowed, false);
    EXPECT_TRUE(options.verbose);
    EXPECT_TRUE(options.showHelp);
    EXPECT_TRUE(options.showVersion);
    ASSERT_TRUE(ParseCommandLine(SplitCommandLine("--windowed"), options, error));
    EXPECT_EQ(options.windowed, true);

    const std::string help = Zorva::CommandLineHelp("quarrow", {{"--play=MODE", "start MODE"}});
    EXPECT_EQ(help.rfind("Usage: quarrow", 0), 0u);
    // Every switch on a line of its own, the descriptions in one column.
    std::size_t column = std::string::npos;
    for (const char* option :
         {"-play ", "-record ", "-demofile=", "-recnum=", "-playnum=", "-screensaver ",
          "-h, --help ", "--version ", "--windowed ", "--fullscreen ", "--data=DIR ", "--home=DIR ",
          "--verbose ", "--play=MODE "}) {
        const std::size_t start = help.find(std::string("\n  ") + option);
        ASSERT_NE(start, std::string::npos) << option;
        const std::size_t end = help.find('\n', start + 1);
        const std::string line = help.substr(start + 1, end - start - 1);
        const std::size_t description = line.find_first_not_of(' ', line.find("  ", 2));
        if (column == std::string::npos) {
            column = description;
        }
        EXPECT_EQ(description, column) << line;
    }
}

TEST(CommandLineTest, NumberedDemoFiles_PlanAndChoice)
{
    using Zorva::ChooseNumberedPlayback;
    using Zorva::ParseNumberedDemoFileName;
    using Zorva::PlanNumberedRecording;
    EXPECT_EQ(ParseNumberedDemoFileName("zorvaapp12.dmo"), 12);
    EXPECT_EQ(Zorva::NumberedDemoFileName(4), "zorvaapp4.dmo");
    for (const char* name : {"zorvaapp.dmo", "zorvaappx.dmo", "zorvaapp1.dmox", "other1.dmo",
                             "zorvaapp-1.dmo", "zorvaapp99999999999.dmo"}) {
        EXPECT_FALSE(ParseNumberedDemoFileName(name).has_value()) << name;
    }

    // -recnum=3 with files 1 to 3 deletes file 1 and records into file 4.
    auto plan = PlanNumberedRecording({3, 1, 2}, 3);
    EXPECT_EQ(plan.deleteNumber, 1);
    EXPECT_EQ(plan.newNumber, 4);
    plan = PlanNumberedRecording({1, 2}, 3);
    EXPECT_FALSE(plan.deleteNumber.has_value());
    EXPECT_EQ(plan.newNumber, 3);
    plan = PlanNumberedRecording({}, 5);
    EXPECT_FALSE(plan.deleteNumber.has_value());
    EXPECT_EQ(plan.newNumber, 1);

    // -playnum=1 plays the highest, -playnum=2 the one before it.
    EXPECT_EQ(ChooseNumberedPlayback({2, 7, 5}, 0), 7);
    EXPECT_EQ(ChooseNumberedPlayback({2, 7, 5}, 1), 5);
    EXPECT_FALSE(ChooseNumberedPlayback({2, 7, 5}, 3).has_value());
    EXPECT_FALSE(ChooseNumberedPlayback({}, 0).has_value());
}
