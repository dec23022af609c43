// Reads arbitrary bytes as an XML document to the end, touching every field of each node.

#include "resources/XMLParser.h"

#include <cstddef>
#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    Zorva::XMLParser parser;
    parser.OpenBuffer(std::string(reinterpret_cast<const char*>(data), size));
    Zorva::XMLNode node;
    std::size_t total = 0;
    while (parser.NextNode(node)) {
        total += node.section.size() + node.value.size() + node.instruction.size();
        for (const std::string& name : node.attributeOrder) {
            total += node.attributes.at(name).size();
        }
    }
    total += parser.GetErrorText().size() + static_cast<std::size_t>(parser.GetCurrentLineNum());
    total +=
        Zorva::XMLParser::DecodeEntities(std::string(reinterpret_cast<const char*>(data), size))
            .size();
    return total == SIZE_MAX ? 1 : 0;
}
