#include "graphics/DescParser.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <iterator>

namespace Zorva {

namespace {

bool IsSeparator(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == ',';
}

std::size_t CountElements(const DataElement& element)
{
    if (!element.isList) {
        return 1;
    }
    std::size_t count = 1;
    for (const auto& child : static_cast<const ListDataElement&>(element).values) {
        count += CountElements(*child);
    }
    return count;
}

int Depth(const DataElement& element)
{
    if (!element.isList) {
        return 0;
    }
    int depth = 0;
    for (const auto& child : static_cast<const ListDataElement&>(element).values) {
        depth = std::max(depth, Depth(*child));
    }
    return depth + 1;
}

} // namespace

bool DescParser::Error(const std::string& message)
{
    if (error.empty()) {
        error = message;
    }
    return false;
}

DataElement* DescParser::FindDefine(const std::string& name)
{
    const auto found = defineMap.find(ToUpper(name));
    return found == defineMap.end() ? nullptr : found->second.get();
}

bool DescParser::LoadDescriptor(const std::string& fileName)
{
    error.clear();
    std::ifstream file(fileName, std::ios::binary);
    if (!file) {
        return Error("Unable to open file: " + fileName);
    }
    std::string text;
    char buffer[4096];
    while (file.read(buffer, sizeof buffer) || file.gcount() > 0) {
        text.append(buffer, static_cast<std::size_t>(file.gcount()));
        if (text.size() > kMaxTextSize) {
            return Error("File Too Large");
        }
    }
    return LoadDescriptorText(text);
}

bool DescParser::LoadDescriptorText(std::string_view text)
{
    error.clear();
    commandCount = 0;
    if (text.size() > kMaxTextSize) {
        return Error("File Too Large");
    }
    const bool done = ReadCommands(text);
    currentLine.clear();
    return done;
}

bool DescParser::ReadCommands(std::string_view text)
{
    currentLine.clear();
    currentLineNum = 0;
    int lineNum = 1;
    // Between a line feed and the first character that is not blank: leading blanks are
    // skipped there and a "#" starts a comment.
    bool lineStart = true;
    // Nothing at all, not even a blank, has been seen on this line yet.
    bool firstColumn = true;
    bool inComment = false;
    bool escaped = false;
    char quote = 0;

    auto append = [&](char c) {
        if (currentLine.empty()) {
            if (c == ' ' || c == '\t' || c == '\n') {
                return;
            }
            currentLineNum = lineNum;
        }
        currentLine += c;
    };

    for (const char c : text) {
        if (c == '\r') {
            continue;
        }
        if (inComment) {
            if (c == '\n') {
                inComment = false;
                ++lineNum;
                lineStart = true;
                firstColumn = true;
            }
            continue;
        }
        if (escaped) {
            append(c);
            escaped = false;
            if (c == '\n') {
                // An escaped line feed continues the command on the next line.
                ++lineNum;
                lineStart = true;
                firstColumn = false;
            }
            continue;
        }
        if (quote != 0) {
            append(c);
            if (c == '\\') {
                escaped = true;
            } else if (c == quote) {
                quote = 0;
            } else if (c == '\n') {
                ++lineNum;
            }
            continue;
        }
        if (lineStart) {
            if (c == ' ' || c == '\t') {
                firstColumn = false;
                continue;
            }
            if (c == '#') {
                inComment = true;
                continue;
            }
            if (c == '\n') {
                append(c);
                ++lineNum;
                firstColumn = true;
                continue;
            }
            lineStart = false;
            if (firstColumn && (cmdSep & kSeparatorNewLine) != 0 && !currentLine.empty()) {
                if (!FinishCommand()) {
                    return false;
                }
            }
            firstColumn = false;
        }
        if (c == '\\') {
            append(c);
            escaped = true;
        } else if (c == '\'' || c == '"') {
            append(c);
            quote = c;
        } else if (c == ';' && (cmdSep & kSeparatorSemicolon) != 0) {
            if (!FinishCommand()) {
                return false;
            }
        } else if (c == '\n') {
            append(c);
            ++lineNum;
            lineStart = true;
            firstColumn = true;
        } else {
            append(c);
        }
    }
    return currentLine.empty() || FinishCommand();
}

bool DescParser::FinishCommand()
{
    if (++commandCount > kMaxCommands) {
        return Error("Too Many Commands");
    }
    ListDataElement command;
    if (!ParseToList(currentLine, command)) {
        return false;
    }
    if (!command.values.empty()) {
        if (command.values[0]->isList) {
            return Error("Missing Command");
        }
        if (!HandleCommand(command)) {
            return false;
        }
    }
    currentLine.clear();
    return true;
}

bool DescParser::ParseToList(std::string_view text, ListDataElement& list)
{
    // An explicit stack instead of recursion, so that deep nesting cannot exhaust the stack.
    std::vector<ListDataElement*> open{&list};
    std::string word;
    std::size_t elementCount = 0;
    char quote = 0;

    auto finishWord = [&]() {
        if (word.empty()) {
            return true;
        }
        if (++elementCount > kMaxCommandElements) {
            return Error("List Too Long");
        }
        open.back()->values.push_back(std::make_unique<SingleDataElement>(std::move(word)));
        word.clear();
        return true;
    };

    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '\\') {
            // The escape stays in the text so that Unquote can honour it.
            word += c;
            if (i + 1 < text.size()) {
                word += text[++i];
            }
            continue;
        }
        if (quote != 0) {
            word += c;
            if (c == quote) {
                quote = 0;
            }
            continue;
        }
        if (c == '\'' || c == '"') {
            word += c;
            quote = c;
        } else if (IsSeparator(c)) {
            if (!finishWord()) {
                return false;
            }
        } else if (c == '(') {
            if (!word.empty()) {
                return Error("Unexpected List Start");
            }
            if (static_cast<int>(open.size()) > kMaxListDepth) {
                return Error("List Nesting Too Deep");
            }
            if (++elementCount > kMaxCommandElements) {
                return Error("List Too Long");
            }
            auto child = std::make_unique<ListDataElement>();
            ListDataElement* childPtr = child.get();
            open.back()->values.push_back(std::move(child));
            open.push_back(childPtr);
        } else if (c == ')') {
            if (open.size() == 1) {
                return Error("Unexpected List End");
            }
            if (!finishWord()) {
                return false;
            }
            open.pop_back();
        } else {
            word += c;
        }
    }
    if (quote == '\'') {
        return Error("Unterminated Single Quotes");
    }
    if (quote == '"') {
        return Error("Unterminated Double Quotes");
    }
    if (open.size() > 1) {
        return Error("Unterminated List");
    }
    return finishWord();
}

bool DescParser::IsImmediate(const std::string& text)
{
    if (text.empty()) {
        return false;
    }
    const char c = text[0];
    return (c >= '0' && c <= '9') || c == '-' || c == '+' || c == '\'' || c == '"';
}

std::string DescParser::Unquote(const std::string& text)
{
    if (text.empty() || (text[0] != '\'' && text[0] != '"')) {
        return text;
    }
    const char quote = text[0];
    std::string result;
    bool quoted = true;
    for (std::size_t i = 1; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '\\' && i + 1 < text.size()) {
            result += text[++i];
        } else if (c == quote && quoted && i + 1 < text.size() && text[i + 1] == quote) {
            result += quote;
            ++i;
        } else if (c == quote) {
            quoted = !quoted;
        } else {
            result += c;
        }
    }
    return result;
}

std::string DescParser::ToUpper(std::string text)
{
    for (char& c : text) {
        if (c >= 'a' && c <= 'z') {
            c = static_cast<char>(c - 'a' + 'A');
        }
    }
    return text;
}

std::unique_ptr<DataElement> DescParser::Dereference(const DataElement& element)
{
    std::size_t count = 0;
    return DereferenceCounted(element, count, 0);
}

std::unique_ptr<DataElement> DescParser::DereferenceCounted(const DataElement& element,
                                                            std::size_t& count, int depth)
{
    if (element.isList) {
        // Defines copied into lists could otherwise nest ever deeper, and deep nesting is
        // destroyed and copied recursively.
        if (depth >= kMaxListDepth) {
            Error("List Nesting Too Deep");
            return nullptr;
        }
        auto result = std::make_unique<ListDataElement>();
        if (++count > kMaxValueElements) {
            Error("List Too Long");
            return nullptr;
        }
        for (const auto& child : static_cast<const ListDataElement&>(element).values) {
            auto resolved = DereferenceCounted(*child, count, depth + 1);
            if (resolved == nullptr) {
                return nullptr;
            }
            result->values.push_back(std::move(resolved));
        }
        return result;
    }
    const std::string& value = static_cast<const SingleDataElement&>(element).value;
    if (IsImmediate(value)) {
        if (++count > kMaxValueElements) {
            Error("List Too Long");
            return nullptr;
        }
        return std::make_unique<SingleDataElement>(value);
    }
    const std::string name = ToUpper(value);
    DataElement* defined = FindDefine(name);
    if (defined == nullptr) {
        Error("Unable to Dereference \"" + name + "\"");
        return nullptr;
    }
    // Stored defines are already resolved, so copying them is enough.
    if (depth + Depth(*defined) > kMaxListDepth) {
        Error("List Nesting Too Deep");
        return nullptr;
    }
    count += CountElements(*defined);
    if (count > kMaxValueElements) {
        Error("List Too Long");
        return nullptr;
    }
    return defined->Duplicate();
}

bool DescParser::GetString(const DataElement& element, std::string& out)
{
    auto value = Dereference(element);
    if (value == nullptr) {
        return false;
    }
    if (value->isList) {
        return Error("Invalid Paramater Type");
    }
    out = Unquote(static_cast<const SingleDataElement&>(*value).value);
    return true;
}

bool DescParser::GetInt(const DataElement& element, int32_t& out)
{
    std::string text;
    if (!GetString(element, text)) {
        return false;
    }
    std::size_t i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    if (i == text.size()) {
        return Error("Invalid Paramater Type");
    }
    int64_t value = 0;
    for (; i < text.size(); ++i) {
        if (text[i] < '0' || text[i] > '9') {
            return Error("Invalid Paramater Type");
        }
        value = value * 10 + (text[i] - '0');
        if (value > INT32_MAX) {
            return Error("Invalid Paramater Type");
        }
    }
    out = static_cast<int32_t>(negative ? -value : value);
    return true;
}

bool DescParser::GetDouble(const DataElement& element, double& out)
{
    std::string text;
    if (!GetString(element, text)) {
        return false;
    }
    if (text.empty() || text[0] == ' ' || text[0] == '\t' || text[0] == '\n') {
        return Error("Invalid Paramater Type");
    }
    errno = 0;
    char* end = nullptr;
    const double value = std::strtod(text.c_str(), &end);
    if (end != text.c_str() + text.size() || errno == ERANGE || !std::isfinite(value)) {
        return Error("Invalid Paramater Type");
    }
    out = value;
    return true;
}

bool DescParser::GetChar(const DataElement& element, uint8_t& out)
{
    std::string text;
    if (!GetString(element, text)) {
        return false;
    }
    if (text.size() != 1) {
        return Error("Invalid Paramater Type");
    }
    out = static_cast<uint8_t>(text[0]);
    return true;
}

bool DescParser::GetList(const DataElement& element, std::unique_ptr<ListDataElement>& out)
{
    auto value = Dereference(element);
    if (value == nullptr) {
        return false;
    }
    if (!value->isList) {
        return Error("Invalid Paramater Type");
    }
    out.reset(static_cast<ListDataElement*>(value.release()));
    return true;
}

bool DescParser::GetStringVector(const DataElement& element, std::vector<std::string>& out)
{
    std::unique_ptr<ListDataElement> list;
    if (!GetList(element, list)) {
        return false;
    }
    out.clear();
    for (const auto& child : list->values) {
        std::string text;
        if (!GetString(*child, text)) {
            return false;
        }
        out.push_back(std::move(text));
    }
    return true;
}

bool DescParser::GetIntVector(const DataElement& element, std::vector<int32_t>& out)
{
    std::unique_ptr<ListDataElement> list;
    if (!GetList(element, list)) {
        return false;
    }
    out.clear();
    for (const auto& child : list->values) {
        int32_t value = 0;
        if (!GetInt(*child, value)) {
            return false;
        }
        out.push_back(value);
    }
    return true;
}

bool DescParser::GetDoubleVector(const DataElement& element, std::vector<double>& out)
{
    std::unique_ptr<ListDataElement> list;
    if (!GetList(element, list)) {
        return false;
    }
    out.clear();
    for (const auto& child : list->values) {
        double value = 0;
        if (!GetDouble(*child, value)) {
            return false;
        }
        out.push_back(value);
    }
    return true;
}

bool DescParser::GetCharVector(const DataElement& element, std::vector<uint8_t>& out)
{
    std::unique_ptr<ListDataElement> list;
    if (!GetList(element, list)) {
        return false;
    }
    out.clear();
    for (const auto& child : list->values) {
        uint8_t value = 0;
        if (!GetChar(*child, value)) {
            return false;
        }
        out.push_back(value);
    }
    return true;
}

bool DescParser::GetName(const DataElement& element, std::string& out)
{
    if (element.isList) {
        return Error("Invalid Paramater Type");
    }
    out = ToUpper(Unquote(static_cast<const SingleDataElement&>(element).value));
    return true;
}

bool DescParser::HandleDefine(const ListDataElement& command)
{
    if (command.values.size() != 3) {
        return Error("Invalid Number of Parameters");
    }
    const DataElement& name = *command.values[1];
    if (name.isList || IsImmediate(static_cast<const SingleDataElement&>(name).value)) {
        return Error("Invalid Paramater Type");
    }
    auto value = Dereference(*command.values[2]);
    if (value == nullptr) {
        return false;
    }
    return SetDefine(ToUpper(static_cast<const SingleDataElement&>(name).value), std::move(value));
}

bool DescParser::SetDefine(const std::string& upperName, std::unique_ptr<DataElement> value)
{
    const std::size_t added = CountElements(*value);
    auto found = defineMap.find(upperName);
    const std::size_t removed = found == defineMap.end() ? 0 : CountElements(*found->second);
    if (defineElements - removed + added > kMaxDefineElements) {
        return Error("Too Many Defines");
    }
    defineElements = defineElements - removed + added;
    if (found == defineMap.end()) {
        defineMap.emplace(upperName, std::move(value));
    } else {
        found->second = std::move(value);
    }
    return true;
}

} // namespace Zorva
