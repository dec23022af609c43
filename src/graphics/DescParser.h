#pragma once

#include "graphics/DataElement.h"

#include <cstddef>
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace Zorva {

/// Reads the descriptor command language: splits text into commands and each command into
/// values (words, quoted text, nested lists), keeps the table of defines, and hands every
/// command to HandleCommand. Reading stops at the first failure.
class DescParser
{
public:
    /// Bits of `cmdSep`: what ends a command.
    static constexpr int kSeparatorSemicolon = 1; ///< a ";" outside quotes
    static constexpr int kSeparatorNewLine = 2;   ///< a line starting in its first column
    /// Bounds that keep hostile text from asking for unbounded memory or stack.
    static constexpr std::size_t kMaxTextSize = std::size_t{4} << 20;
    static constexpr int kMaxListDepth = 32;
    static constexpr std::size_t kMaxCommandElements = std::size_t{1} << 16;
    static constexpr std::size_t kMaxValueElements = std::size_t{1} << 14;
    static constexpr std::size_t kMaxDefineElements = std::size_t{1} << 18;
    static constexpr std::size_t kMaxCommands = std::size_t{1} << 16;

    DescParser() = default;
    DescParser(const DescParser&) = delete;
    DescParser& operator=(const DescParser&) = delete;
    virtual ~DescParser() = default;

    /// Records the first error of a load; always false, so handlers can `return Error(...)`.
    virtual bool Error(const std::string& message);
    /// The value of a define (name in any case), or null.
    virtual DataElement* FindDefine(const std::string& name);
    /// Carries out one command; `command.values[0]` is its name (never a list).
    virtual bool HandleCommand(const ListDataElement& command) = 0;

    /// Reads a descriptor file; false (with `error` set) on a missing file or the first
    /// failing command.
    bool LoadDescriptor(const std::string& fileName);
    /// The same on text in memory.
    bool LoadDescriptorText(std::string_view text);

    /// Splits one command's text into values; false with the error recorded.
    bool ParseToList(std::string_view text, ListDataElement& list);

    /// Starts with a digit, a sign or a quote: a value as written, not a define name.
    static bool IsImmediate(const std::string& text);
    /// Quoted text without its quotes; a doubled quote character and a backslash-escaped
    /// character stand for themselves. Other text is returned unchanged.
    static std::string Unquote(const std::string& text);
    static std::string ToUpper(std::string text);

    int cmdSep = kSeparatorSemicolon;
    /// The first error of the last load (message only).
    std::string error;
    /// The raw text of the command being read, empty between commands.
    std::string currentLine;
    int currentLineNum = 0;
    std::map<std::string, std::unique_ptr<DataElement>> defineMap;

protected:
    /// A copy of `element` with every define name replaced by its value; null (error
    /// recorded) when a name is undefined or the result grows beyond kMaxValueElements.
    std::unique_ptr<DataElement> Dereference(const DataElement& element);

    /// Typed readers of a parameter, dereferencing it first; they fail with
    /// "Invalid Paramater Type" when the value has the wrong shape.
    bool GetString(const DataElement& element, std::string& out);
    bool GetInt(const DataElement& element, int32_t& out);
    bool GetDouble(const DataElement& element, double& out);
    /// A one-character string.
    bool GetChar(const DataElement& element, uint8_t& out);
    bool GetList(const DataElement& element, std::unique_ptr<ListDataElement>& out);
    bool GetStringVector(const DataElement& element, std::vector<std::string>& out);
    bool GetIntVector(const DataElement& element, std::vector<int32_t>& out);
    bool GetDoubleVector(const DataElement& element, std::vector<double>& out);
    bool GetCharVector(const DataElement& element, std::vector<uint8_t>& out);
    /// A name written as a word or quoted text, upper-cased; never dereferenced.
    bool GetName(const DataElement& element, std::string& out);

    /// The "Define" command: name, value.
    bool HandleDefine(const ListDataElement& command);
    /// Stores a define, replacing an earlier one of that name.
    bool SetDefine(const std::string& upperName, std::unique_ptr<DataElement> value);

private:
    bool ReadCommands(std::string_view text);
    bool FinishCommand();
    std::unique_ptr<DataElement> DereferenceCounted(const DataElement& element, std::size_t& count,
                                                    int depth);

    std::size_t defineElements = 0;
    std::size_t commandCount = 0;
};

} // namespace Zorva
