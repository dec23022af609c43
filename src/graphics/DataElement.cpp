#include "graphics/DataElement.h"

namespace Zorva {

std::unique_ptr<DataElement> SingleDataElement::Duplicate() const
{
    return std::make_unique<SingleDataElement>(value);
}

std::unique_ptr<DataElement> ListDataElement::Duplicate() const
{
    return DuplicateList();
}

std::unique_ptr<ListDataElement> ListDataElement::DuplicateList() const
{
    auto copy = std::make_unique<ListDataElement>();
    copy->values.reserve(values.size());
    for (const auto& element : values) {
        copy->values.push_back(element->Duplicate());
    }
    return copy;
}

} // namespace Zorva
