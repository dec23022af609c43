#include "resources/XMLParser.h"

#include <filesystem>
#include <fstream>
#include <sstream>

namespace Zorva {

namespace {

bool IsWhiteSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

bool EndsWith(const std::string& text, std::string_view suffix)
{
    return text.size() >= suffix.size() &&
           text.compare(text.size() - suffix.size(), suffix.size(), suffix) == 0;
}

struct Entity
{
    std::string_view name;
    std::string_view text;
};

constexpr Entity kEntities[] = {
    {"lt", "<"},   {"amp", "&"},  {"gt", ">"},  {"quot", "\""},
    {"apos", "'"}, {"nbsp", " "}, {"cr", "\n"},
};

/// The replacement of a named entity, or a lone "&" for a name it does not know.
std::string_view EntityReplacement(std::string_view name)
{
    for (const Entity& entity : kEntities) {
        if (entity.name == name) {
            return entity.text;
        }
    }
    return "&";
}

} // namespace

bool XMLParser::OpenFile(const std::string& name)
{
    fileName = name;
    std::error_code error;
    auto stream = std::make_unique<std::ifstream>();
    if (!std::filesystem::is_directory(name, error)) {
        stream->open(name, std::ios::in | std::ios::binary);
    }
    if (!stream->is_open()) {
        file.reset();
        hasFailed = true;
        errorText = "Unable to open file " + name;
        lineNumber = 0;
        return false;
    }
    StartReading(std::move(stream));
    return true;
}

bool XMLParser::OpenBuffer(std::string text)
{
    fileName.clear();
    StartReading(std::make_unique<std::istringstream>(std::move(text)));
    return true;
}

void XMLParser::StartReading(std::unique_ptr<std::istream> stream)
{
    file = std::move(stream);
    pushback.clear();
    section.clear();
    depth = 0;
    lineNumber = 1;
    hasFailed = false;
    errorText.clear();
}

int XMLParser::ReadChar()
{
    if (!pushback.empty()) {
        const char c = pushback.back();
        pushback.pop_back();
        return static_cast<unsigned char>(c);
    }
    if (!file) {
        return -1;
    }
    const auto c = file->rdbuf()->sbumpc();
    if (c == std::char_traits<char>::eof()) {
        return -1;
    }
    // Only characters from the file count lines; pushed-back ones were counted already.
    if (c == '\n') {
        ++lineNumber;
    }
    return c;
}

void XMLParser::PushBack(const std::string& text)
{
    pushback.insert(pushback.end(), text.rbegin(), text.rend());
}

bool XMLParser::NextNode(XMLNode& node)
{
    for (;;) {
        node = XMLNode{};
        node.section = section;
        const ReadResult result = ReadNode(node);
        if (result != ReadResult::Node) {
            return false;
        }
        if (node.type != XMLNodeType::Comment) {
            return true;
        }
    }
}

XMLParser::ReadResult XMLParser::ReadNode(XMLNode& node)
{
    NodeScan scan;
    for (;;) {
        const int next = ReadChar();
        if (next < 0) {
            if (node.type == XMLNodeType::None) {
                return ReadResult::EndOfInput;
            }
            return Fail("Unexpected End of File");
        }
        const char c = static_cast<char>(next);
        const bool bareSlashBefore = scan.bareSlash;
        scan.bareSlash = false;

        if (node.type == XMLNodeType::Comment) {
            node.instruction += c;
            if (c == '>' && EndsWith(node.instruction, "-->")) {
                node.instruction.resize(node.instruction.size() - 3);
                return Finish(node);
            }
            continue;
        }
        if (node.type == XMLNodeType::Instruction) {
            node.instruction += c;
            if (c == '>' && EndsWith(node.instruction, "?>")) {
                node.instruction.resize(node.instruction.size() - 2);
                return Finish(node);
            }
            continue;
        }

        if (c == '"') {
            scan.inQuotes = !scan.inQuotes;
            if (!scan.inQuotes) {
                scan.quoteClosed = true;
            }
            // Text keeps its quotes; inside tags they only delimit values.
            if (node.type == XMLNodeType::None || node.type == XMLNodeType::Text) {
                Collect(node, scan, c);
            }
            continue;
        }

        if (!scan.inQuotes) {
            if (c == '<') {
                if (node.type == XMLNodeType::None) {
                    node.type = XMLNodeType::StartTag;
                    continue;
                }
                if (node.type == XMLNodeType::Text) {
                    PushBack("<");
                    return Finish(node);
                }
                return Fail("Unexpected '<'");
            }
            if (c == '>') {
                if (node.type == XMLNodeType::StartTag) {
                    return FinishStartTag(node, scan, bareSlashBefore);
                }
                if (node.type == XMLNodeType::EndTag) {
                    return FinishEndTag(node);
                }
                return Fail("Unexpected '>'");
            }
            if (node.type == XMLNodeType::StartTag && node.value.empty()) {
                if (c == '/') {
                    node.type = XMLNodeType::EndTag;
                    continue;
                }
                if (c == '?') {
                    node.type = XMLNodeType::Instruction;
                    continue;
                }
            }
            if (IsWhiteSpace(c)) {
                if (!node.value.empty()) {
                    scan.afterSpace = true;
                    if (node.type == XMLNodeType::StartTag) {
                        scan.inAttributes = true;
                    }
                }
                if (node.type == XMLNodeType::StartTag && node.value == "!--") {
                    node.type = XMLNodeType::Comment;
                }
                continue;
            }
            if (static_cast<unsigned char>(c) < 33) {
                return Fail("Illegal Character");
            }
            scan.bareSlash = c == '/';
        }
        Collect(node, scan, c);
    }
}

void XMLParser::Collect(XMLNode& node, NodeScan& scan, char c)
{
    switch (node.type) {
    case XMLNodeType::None:
        node.type = XMLNodeType::Text;
        [[fallthrough]];
    case XMLNodeType::Text:
        // Runs of white space inside text become one space; leading and trailing ones vanish.
        if (scan.afterSpace) {
            node.value += ' ';
            scan.afterSpace = false;
        }
        node.value += c;
        break;
    case XMLNodeType::StartTag:
        CollectInStartTag(node, scan, c);
        break;
    default:
        node.value += c;
        break;
    }
}

void XMLParser::CollectInStartTag(XMLNode& node, NodeScan& scan, char c)
{
    if (!scan.inAttributes) {
        node.value += c;
        return;
    }
    if (scan.afterSpace) {
        scan.afterSpace = false;
        const bool startsAttribute =
            scan.inValue ? !scan.attributeValue.empty() || scan.quoteClosed : c != '=';
        if (startsAttribute) {
            StoreAttribute(node, scan);
        }
    }
    // An '=' inside quotes is part of the value.
    if (c == '=' && !scan.inQuotes) {
        scan.inValue = true;
        scan.quoteClosed = false;
        return;
    }
    (scan.inValue ? scan.attributeValue : scan.attributeName) += c;
}

void XMLParser::StoreAttribute(XMLNode& node, NodeScan& scan)
{
    const bool pending = !scan.attributeName.empty() || scan.inValue;
    if (pending) {
        const std::string name = DecodeEntities(scan.attributeName);
        const bool isNew = node.attributes.find(name) == node.attributes.end();
        node.attributes[name] = DecodeEntities(scan.attributeValue);
        if (isNew && name != "/") {
            node.attributeOrder.push_back(name);
        }
    }
    scan.attributeName.clear();
    scan.attributeValue.clear();
    scan.inValue = false;
}

XMLParser::ReadResult XMLParser::FinishStartTag(XMLNode& node, NodeScan& scan, bool emptyElement)
{
    // A '/' outside quotes right before '>' closes the element at once; it went into the tag
    // name or into the attribute being read, and is taken out again.
    if (emptyElement) {
        std::string& holder = !scan.inAttributes
                                  ? node.value
                                  : (scan.inValue ? scan.attributeValue : scan.attributeName);
        if (!holder.empty() && holder.back() == '/') {
            holder.pop_back();
        }
    }
    StoreAttribute(node, scan);
    if (depth >= kMaxDepth) {
        return Fail("Elements Nested Too Deeply");
    }
    if (emptyElement) {
        PushBack("</" + node.value + ">");
    }
    if (!section.empty()) {
        section += '/';
    }
    section += node.value;
    ++depth;
    return Finish(node);
}

XMLParser::ReadResult XMLParser::FinishEndTag(XMLNode& node)
{
    if (section.empty()) {
        return Fail("Unexpected End");
    }
    const std::size_t slash = section.rfind('/');
    const std::size_t componentStart = slash == std::string::npos ? 0 : slash + 1;
    const std::string component = section.substr(componentStart);
    if (component != node.value) {
        return Fail("End '" + node.value + "' Doesn't Match Start '" + component + "'");
    }
    section.erase(slash == std::string::npos ? 0 : slash);
    --depth;
    return Finish(node);
}

XMLParser::ReadResult XMLParser::Finish(XMLNode& node)
{
    node.value = DecodeEntities(node.value);
    return ReadResult::Node;
}

XMLParser::ReadResult XMLParser::Fail(const std::string& message)
{
    hasFailed = true;
    errorText = message;
    return ReadResult::Failed;
}

std::string XMLParser::DecodeEntities(const std::string& text)
{
    std::string decoded;
    decoded.reserve(text.size());
    std::size_t position = 0;
    while (position < text.size()) {
        const std::size_t ampersand = text.find('&', position);
        if (ampersand == std::string::npos) {
            decoded.append(text, position, std::string::npos);
            break;
        }
        decoded.append(text, position, ampersand - position);
        const std::size_t semicolon = text.find(';', ampersand + 1);
        if (semicolon == std::string::npos) {
            // No ";" follows anywhere, so every remaining "&" stays as it is.
            decoded.append(text, ampersand, std::string::npos);
            break;
        }
        const std::string_view name(text.data() + ampersand + 1, semicolon - ampersand - 1);
        decoded += EntityReplacement(name);
        position = semicolon + 1;
    }
    return decoded;
}

} // namespace Zorva
