#include "resources/XMLParser.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using Zorva::XMLNode;
using Zorva::XMLNodeType;
using Zorva::XMLParser;

namespace {

/// One line per node: type, section, value, instruction and the attributes in order.
std::string Describe(const XMLNode& node)
{
    static const char* const kTypeNames[] = {"none", "start", "end", "text", "pi", "comment"};
    std::string line = kTypeNames[static_cast<int>(node.type)];
    line += " [" + node.section + "]";
    if (!node.value.empty()) {
        line += " " + node.value;
    }
    if (!node.instruction.empty()) {
        line += " {" + node.instruction + "}";
    }
    for (const std::string& name : node.attributeOrder) {
        line += " " + name + "=(" + node.attributes.at(name) + ")";
    }
    return line;
}

struct ParseResult
{
    std::vector<std::string> nodes;
    bool failed = false;
    std::string error;
    int line = 0;
};

ParseResult Parse(const std::string& text)
{
    XMLParser parser;
    parser.OpenBuffer(text);
    ParseResult result;
    XMLNode node;
    while (parser.NextNode(node)) {
        result.nodes.push_back(Describe(node));
    }
    result.failed = parser.HasFailed();
    result.error = parser.GetErrorText();
    result.line = parser.GetCurrentLineNum();
    return result;
}

using Lines = std::vector<std::string>;

} // namespace

TEST(XMLParserTest, EmptyElements_YieldStartAndEndNodes)
{
    EXPECT_EQ(Parse("<a b=\"1\"/>").nodes, (Lines{"start [] a b=(1)", "end [a] a"}));
    EXPECT_EQ(Parse("<br/>").nodes, (Lines{"start [] br", "end [br] br"}));
    EXPECT_EQ(Parse("<a b=1/>").nodes, (Lines{"start [] a b=(1)", "end [a] a"}));
    EXPECT_EQ(Parse("<a />").nodes, (Lines{"start [] a", "end [a] a"}));
    EXPECT_EQ(Parse("<a b=\"1\" />").nodes, (Lines{"start [] a b=(1)", "end [a] a"}));

    // A '/' inside quotes belongs to the value and does not close the element.
    EXPECT_EQ(Parse("<SetDefaults path=\"images/\"></SetDefaults>").nodes,
              (Lines{"start [] SetDefaults path=(images/)", "end [SetDefaults] SetDefaults"}));
    EXPECT_EQ(Parse("<a b=\"x/\"/>").nodes, (Lines{"start [] a b=(x/)", "end [a] a"}));
    EXPECT_FALSE(Parse("<a b=\"x/\"></a>").failed);
}

TEST(XMLParserTest, InstructionsKeptAndCommentsSkipped)
{
    const ParseResult result = Parse("<?xml version=\"1.0\"?>\n<!-- note -->\n<r></r>");
    EXPECT_EQ(result.nodes, (Lines{"pi [] {xml version=\"1.0\"}", "start [] r", "end [r] r"}));
    EXPECT_FALSE(result.failed);
    EXPECT_EQ(result.line, 3);

    // Tags inside a comment are not read.
    EXPECT_EQ(Parse("<!-- <a> </b> -->").nodes, Lines{});
}

TEST(XMLParserTest, TextNodes_CollapseWhiteSpaceAndKeepQuotes)
{
    EXPECT_EQ(Parse("<a>  a   b  </a>").nodes, (Lines{"start [] a", "text [a] a b", "end [a] a"}));
    EXPECT_EQ(Parse("<a>\t[==]\r\n  [==]\n</a>").nodes[1], "text [a] [==] [==]");
    // Inside quotes, text keeps its quotes and its white space.
    EXPECT_EQ(Parse("<a>say \"x  y\"</a>").nodes[1], "text [a] say \"x  y\"");
    EXPECT_EQ(Parse("<a>x &amp; y &lt;z&gt;</a>").nodes[1], "text [a] x & y <z>");
}

TEST(XMLParserTest, Attributes_QuotingSpacingRepeatsAndEntities)
{
    EXPECT_EQ(Parse("<a v=\"<x> / y\"/>").nodes[0], "start [] a v=(<x> / y)");
    EXPECT_EQ(Parse("<a v=\"&lt;b&gt;\"/>").nodes[0], "start [] a v=(<b>)");
    EXPECT_EQ(Parse("<a x = \"1\" y=2 z>").nodes[0], "start [] a x=(1) y=(2) z=()");
    EXPECT_EQ(Parse("<a e=\"\" f=\"3\">").nodes[0], "start [] a e=() f=(3)");
    EXPECT_EQ(Parse("<a k=\"1\" j=\"2\" k=\"3\">").nodes[0], "start [] a k=(3) j=(2)");
    // An '=' inside quotes is part of the value.
    EXPECT_EQ(Parse("<a q=\"x=y\"/>").nodes[0], "start [] a q=(x=y)");
    // Bytes above 127 are ordinary characters (8-bit text).
    EXPECT_EQ(Parse("<a n=\"\xC3\xA9t\xE9\">\xC3\xA9</a>").nodes[0],
              "start [] a n=(\xC3\xA9t\xE9)");
}

TEST(XMLParserTest, Sections_TrackTheOpenElements)
{
    const ParseResult result =
        Parse("<ResourceManifest>\n <Resources id=\"Init\">\n  <Image id=\"I\"/>\n </Resources>\n"
              "</ResourceManifest>\n");
    EXPECT_FALSE(result.failed);
    EXPECT_EQ(result.nodes,
              (Lines{"start [] ResourceManifest", "start [ResourceManifest] Resources id=(Init)",
                     "start [ResourceManifest/Resources] Image id=(I)",
                     "end [ResourceManifest/Resources/Image] Image",
                     "end [ResourceManifest/Resources] Resources",
                     "end [ResourceManifest] ResourceManifest"}));
}

TEST(XMLParserTest, DecodeEntities_KnownUnknownAndUnterminated)
{
    EXPECT_EQ(XMLParser::DecodeEntities("&lt;&amp;&gt;&quot;&apos;&nbsp;&cr;"), "<&>\"' \n");
    EXPECT_EQ(XMLParser::DecodeEntities("a&unknown;b"), "a&b");
    EXPECT_EQ(XMLParser::DecodeEntities("a&b"), "a&b");
    EXPECT_EQ(XMLParser::DecodeEntities("x & y &z"), "x & y &z");
    EXPECT_EQ(XMLParser::DecodeEntities("&amp;lt;"), "&lt;"); // decoded once only
    EXPECT_EQ(XMLParser::DecodeEntities("&;"), "&");
}

TEST(XMLParserTest, Failures_ReportTheirMessages)
{
    const ParseResult mismatch = Parse("<a></b>");
    EXPECT_TRUE(mismatch.failed);
    EXPECT_EQ(mismatch.error, "End 'b' Doesn't Match Start 'a'");
    EXPECT_EQ(mismatch.nodes.size(), 1u);

    EXPECT_EQ(Parse("</a>").error, "Unexpected End");
    EXPECT_EQ(Parse("<a b=\"1\"").error, "Unexpected End of File");
    EXPECT_EQ(Parse("<a>text").error, "Unexpected End of File");
    EXPECT_EQ(Parse("<a<b>").error, "Unexpected '<'");
    EXPECT_EQ(Parse("x > y").error, "Unexpected '>'");
    EXPECT_EQ(Parse("<a>\x01</a>").error, "Illegal Character");
    EXPECT_EQ(Parse("<a\x0B/>").error, "Illegal Character");
    EXPECT_EQ(Parse("<!-- open").error, "Unexpected End of File");

    // The end between nodes is a normal end, not a failure.
    const ParseResult normal = Parse("<a>\n</a>\n\n");
    EXPECT_FALSE(normal.failed);
    EXPECT_EQ(normal.error, "");
    EXPECT_EQ(normal.nodes.size(), 2u);
}

TEST(XMLParserTest, DeepNesting_FailsInsteadOfGrowingWithoutBound)
{
    std::string allowed;
    for (int i = 0; i < XMLParser::kMaxDepth; ++i) {
        allowed += "<a>";
    }
    EXPECT_FALSE(Parse(allowed).failed);
    EXPECT_EQ(Parse(allowed + "<a>").error, "Elements Nested Too Deeply");
}

TEST(XMLParserTest, Files_OpenReadAndReportLines)
{
    const std::string dataDir = QUARROW_TEST_DATA_DIR "/xml/";
    XMLParser parser;
    ASSERT_TRUE(parser.OpenFile(dataDir + "manifest.xml"));
    EXPECT_EQ(parser.GetFileName(), dataDir + "manifest.xml");
    EXPECT_EQ(parser.GetCurrentLineNum(), 1);
    XMLNode node;
    std::vector<std::string> names;
    while (parser.NextNode(node)) {
        if (node.type == XMLNodeType::StartTag) {
            names.push_back(node.value);
        }
    }
    EXPECT_FALSE(parser.HasFailed());
    EXPECT_EQ(names, (Lines{"ResourceManifest", "Resources", "Font"}));

    ASSERT_TRUE(parser.OpenFile(dataDir + "mismatch_line4.xml"));
    while (parser.NextNode(node)) {
    }
    EXPECT_TRUE(parser.HasFailed());
    EXPECT_EQ(parser.GetErrorText(), "End 'Level' Doesn't Match Start 'Layer'");
    EXPECT_EQ(parser.GetCurrentLineNum(), 4);

    for (const std::string& missing : {dataDir + "absent.xml", dataDir}) {
        EXPECT_FALSE(parser.OpenFile(missing));
        EXPECT_TRUE(parser.HasFailed());
        EXPECT_EQ(parser.GetErrorText(), "Unable to open file " + missing);
        EXPECT_EQ(parser.GetCurrentLineNum(), 0);
        EXPECT_FALSE(parser.NextNode(node));
    }
}
