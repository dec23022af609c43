#pragma once

#include "resources/XMLNode.h"

#include <istream>
#include <memory>
#include <string>
#include <vector>

namespace Zorva {

/// A small pull reader for the program's XML files (resource manifest, level files, logo
/// list): one node per NextNode call, comments skipped, end tags checked against start tags,
/// a fixed set of entities decoded, and the first error kept with its line number.
///
/// It is not a general XML reader: there are no namespaces, DTDs, CDATA sections or character
/// references, and its tokenising rules are the ones the data files are written for.
class XMLParser
{
public:
    /// Open elements allowed at once; deeper nesting fails rather than slowing to a crawl.
    static constexpr int kMaxDepth = 1000;

    XMLParser() = default;
    virtual ~XMLParser() = default;
    XMLParser(const XMLParser&) = delete;
    XMLParser& operator=(const XMLParser&) = delete;

    /// Opens a file. On failure the line number is 0 and the error names the file.
    bool OpenFile(const std::string& fileName);
    /// Reads a document held in memory, as OpenFile would read a file; the file name is empty.
    bool OpenBuffer(std::string text);

    /// Reads the next node into `node`. False at the end of the document or on an error;
    /// HasFailed() tells the two apart.
    bool NextNode(XMLNode& node);

    bool HasFailed() const { return hasFailed; }
    std::string GetErrorText() const { return errorText; }
    int GetCurrentLineNum() const { return lineNumber; }
    std::string GetFileName() const { return fileName; }

    /// Replaces the entities lt, amp, gt, quot, apos, nbsp (a space) and cr (a newline);
    /// an unknown entity becomes a lone "&", an "&" with no ";" after it stays.
    static std::string DecodeEntities(const std::string& text);

private:
    /// Per-node reading state: the attribute being read and the tokeniser's flags.
    struct NodeScan
    {
        std::string attributeName;
        std::string attributeValue;
        bool afterSpace = false;
        bool inAttributes = false;
        bool inValue = false;
        bool inQuotes = false;
        bool quoteClosed = false;
        /// The last character was a '/' outside quotes that went into a name or value.
        bool bareSlash = false;
    };

    enum class ReadResult
    {
        Node,
        EndOfInput,
        Failed,
    };

    void StartReading(std::unique_ptr<std::istream> stream);
    /// The next character, or -1 at the end of the input.
    int ReadChar();
    void PushBack(const std::string& text);

    ReadResult ReadNode(XMLNode& node);
    void Collect(XMLNode& node, NodeScan& scan, char c);
    void CollectInStartTag(XMLNode& node, NodeScan& scan, char c);
    static void StoreAttribute(XMLNode& node, NodeScan& scan);
    ReadResult FinishStartTag(XMLNode& node, NodeScan& scan, bool emptyElement);
    ReadResult FinishEndTag(XMLNode& node);
    ReadResult Finish(XMLNode& node);
    ReadResult Fail(const std::string& message);

    std::string fileName;
    std::string errorText;
    int lineNumber = 0;
    bool hasFailed = false;
    std::unique_ptr<std::istream> file;
    /// Characters to read again before the file, taken from the back.
    std::vector<char> pushback;
    /// Path of the open start tags, names joined by "/".
    std::string section;
    int depth = 0;
};

} // namespace Zorva
