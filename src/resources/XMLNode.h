#pragma once

#include <map>
#include <string>
#include <vector>

namespace Zorva {

/// The kind of an XML node; the values are those callers and stored data use.
enum class XMLNodeType
{
    None = 0,
    StartTag = 1,
    EndTag = 2,
    Text = 3,
    Instruction = 4,
    Comment = 5,
};

/// One node as XMLParser::NextNode returns it.
struct XMLNode
{
    XMLNodeType type = XMLNodeType::None;
    /// Path of the parent elements when the node began, names joined by "/".
    std::string section;
    /// Tag name for start and end tags; the text of a text node.
    std::string value;
    /// Body of a processing instruction or comment.
    std::string instruction;
    /// Attribute name to value; a repeated name keeps its last value.
    std::map<std::string, std::string> attributes;
    /// Attribute names in document order, each once.
    std::vector<std::string> attributeOrder;
};

} // namespace Zorva
