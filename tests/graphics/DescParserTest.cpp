#include "graphics/DescParser.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace Zorva {
namespace {

std::string Describe(const DataElement& element)
{
    if (!element.isList) {
        return static_cast<const SingleDataElement&>(element).value;
    }
    std::string text = "(";
    for (const auto& child : static_cast<const ListDataElement&>(element).values) {
        text += (text.size() > 1 ? " " : "") + Describe(*child);
    }
    return text + ")";
}

/// Records every command as text; "Define" defines, "Int"/"Char"/"Str" read one value.
class RecordingParser : public DescParser
{
public:
    bool HandleCommand(const ListDataElement& command) override
    {
        const std::string name =
            ToUpper(static_cast<const SingleDataElement&>(*command.values[0]).value);
        if (name == "DEFINE") {
            return HandleDefine(command);
        }
        if (name == "INT") {
            int32_t value = 0;
            if (!GetInt(*command.values.at(1), value)) {
                return false;
            }
            values.push_back(std::to_string(value));
            return true;
        }
        if (name == "CHAR") {
            uint8_t value = 0;
            if (!GetChar(*command.values.at(1), value)) {
                return false;
            }
            values.push_back(std::string(1, static_cast<char>(value)));
            return true;
        }
        if (name == "STR") {
            std::string value;
            if (!GetString(*command.values.at(1), value)) {
                return false;
            }
            values.push_back(value);
            return true;
        }
        if (name == "LIST") {
            std::unique_ptr<ListDataElement> list;
            if (!GetList(*command.values.at(1), list)) {
                return false;
            }
            values.push_back(Describe(*list));
            return true;
        }
        std::string text;
        for (const auto& element : command.values) {
            text += (text.empty() ? "" : "|") + Describe(*element);
        }
        commands.push_back(text);
        lines.push_back(currentLineNum);
        return true;
    }

    std::vector<std::string> commands;
    std::vector<int> lines;
    std::vector<std::string> values;
};

TEST(DescParserTest, Read_CommentsCarriageReturnsAndQuotedSemicolons)
{
    RecordingParser parser;
    ASSERT_TRUE(parser.LoadDescriptorText("# a comment; Ignored 1\r\n"
                                          "  Foo 1, 2;\r\n"
                                          "\t# indented comment;\r\n"
                                          "Bar 'a;b' \"c;d\"\r\n"
                                          "  (3 4);Baz\\;Qux;\r\n"
                                          "Last"))
        << parser.error;
    EXPECT_EQ(parser.commands, (std::vector<std::string>{"Foo|1|2", "Bar|'a;b'|\"c;d\"|(3 4)",
                                                         "Baz\\;Qux", "Last"}));
    EXPECT_EQ(parser.lines, (std::vector<int>{2, 4, 5, 6}));
}

TEST(DescParserTest, Read_LineStartSeparatesUnderFlagTwo)
{
    RecordingParser parser;
    parser.cmdSep = DescParser::kSeparatorNewLine;
    ASSERT_TRUE(parser.LoadDescriptorText("Foo 1\n  2;3\n# note\n\nBar 'x\ny' z\n\tw\nBaz"))
        << parser.error;
    EXPECT_EQ(parser.commands, (std::vector<std::string>{"Foo|1|2;3", "Bar|'x\ny'|z|w", "Baz"}));
    EXPECT_EQ(parser.lines, (std::vector<int>{1, 5, 8}));

    RecordingParser both;
    both.cmdSep = DescParser::kSeparatorSemicolon | DescParser::kSeparatorNewLine;
    ASSERT_TRUE(both.LoadDescriptorText("Foo 1; Bar\n  2\nBaz"));
    EXPECT_EQ(both.commands, (std::vector<std::string>{"Foo|1", "Bar|2", "Baz"}));
}

TEST(DescParserTest, Split_NestedListsQuotesAndEscapes)
{
    RecordingParser parser;
    ListDataElement list;
    ASSERT_TRUE(parser.ParseToList("A (1, (2 3),()) 'x y'\"q\"r 'it''s' \\(b", list));
    ASSERT_EQ(list.values.size(), 5u);
    EXPECT_EQ(Describe(list), "(A (1 (2 3) ()) 'x y'\"q\"r 'it''s' \\(b)");

    EXPECT_EQ(DescParser::Unquote("'it''s'"), "it's");
    EXPECT_EQ(DescParser::Unquote("\"say \"\"hi\"\"\""), "say \"hi\"");
    EXPECT_EQ(DescParser::Unquote("'a\\'b'"), "a'b");
    EXPECT_EQ(DescParser::Unquote("\"'\""), "'");
    EXPECT_EQ(DescParser::Unquote("word"), "word");

    auto copy = list.Duplicate();
    list.values.clear();
    EXPECT_EQ(Describe(*copy), "(A (1 (2 3) ()) 'x y'\"q\"r 'it''s' \\(b)");
}

TEST(DescParserTest, Errors_EachParseErrorStopsReading)
{
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"(1 2) Foo; Next", "Missing Command"},
        {"Foo 1); Next", "Unexpected List End"},
        {"Foo a(1); Next", "Unexpected List Start"},
        {"Foo; Next 'abc", "Unterminated Single Quotes"},
        {"Foo; Next \"abc", "Unterminated Double Quotes"},
        {"Foo; Next (1, (2)", "Unterminated List"},
        {"Foo; Int Nothing; Next", "Unable to Dereference \"NOTHING\""},
        {"Foo; Int (1); Next", "Invalid Paramater Type"},
        {"Foo; Int 12x; Next", "Invalid Paramater Type"},
        {"Foo; Int 99999999999; Next", "Invalid Paramater Type"},
        {"Foo; Char 'ab'; Next", "Invalid Paramater Type"},
        {"Foo; List 5; Next", "Invalid Paramater Type"},
        {"Foo; Define 5 6; Next", "Invalid Paramater Type"},
        {"Foo; Define A; Next", "Invalid Number of Parameters"},
    };
    for (const auto& [text, message] : cases) {
        RecordingParser parser;
        EXPECT_FALSE(parser.LoadDescriptorText(text)) << text;
        EXPECT_EQ(parser.error, message) << text;
        EXPECT_EQ(std::count(parser.commands.begin(), parser.commands.end(), "Next"), 0) << text;
    }
}

TEST(DescParserTest, Define_ReplacesValueAndResolvesWhenDefined)
{
    RecordingParser parser;
    ASSERT_TRUE(parser.LoadDescriptorText("Define Size 10; Int size;"
                                          "Define SIZE '12'; Int Size;"
                                          "define Pair (Size, -3, \"x\"); List pair;"
                                          "Define Size 1; List Pair; Int +7;"
                                          "Define Alias Pair; List ALIAS; Char 'q'; Str 'a b'"))
        << parser.error;
    EXPECT_EQ(parser.values,
              (std::vector<std::string>{"10", "12", "('12' -3 \"x\")", "('12' -3 \"x\")", "7",
                                        "('12' -3 \"x\")", "q", "a b"}));
    ASSERT_NE(parser.FindDefine("size"), nullptr);
    EXPECT_EQ(Describe(*parser.FindDefine("size")), "1");
    EXPECT_EQ(parser.FindDefine("Other"), nullptr);
}

TEST(DescParserTest, Limits_DeepNestingAndRunawayDefinesAreRefused)
{
    RecordingParser deep;
    EXPECT_FALSE(deep.LoadDescriptorText("Foo " + std::string(100000, '(')));
    EXPECT_EQ(deep.error, "List Nesting Too Deep");

    // Each define is a list of ten copies of the previous one: the fifth would hold 10^5
    // values.
    std::string text = "Define D0 (1,1,1,1,1,1,1,1,1,1);";
    for (int i = 1; i <= 6; ++i) {
        const std::string prev = "D" + std::to_string(i - 1);
        text += "Define D" + std::to_string(i) + " (";
        for (int k = 0; k < 10; ++k) {
            text += (k ? "," : "") + prev;
        }
        text += ");";
    }
    RecordingParser runaway;
    EXPECT_FALSE(runaway.LoadDescriptorText(text));
    EXPECT_EQ(runaway.error, "List Too Long");
    EXPECT_NE(runaway.FindDefine("D3"), nullptr);
    EXPECT_EQ(runaway.FindDefine("D4"), nullptr);

    RecordingParser missing;
    EXPECT_FALSE(missing.LoadDescriptor(::testing::TempDir() + "no_such_descriptor.txt"));
}

} // namespace
} // namespace Zorva
