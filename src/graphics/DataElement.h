#pragma once

#include <memory>
#include <string>
#include <vector>

namespace Zorva {

/// One value of the descriptor language: a single word or quoted text, or a list of values.
class DataElement
{
public:
    explicit DataElement(bool holdsList) : isList(holdsList) {}
    DataElement(const DataElement&) = delete;
    DataElement& operator=(const DataElement&) = delete;
    virtual ~DataElement() = default;

    /// A deep copy.
    virtual std::unique_ptr<DataElement> Duplicate() const = 0;

    const bool isList;
};

/// A word, number or quoted text, kept as written (quotes included).
class SingleDataElement : public DataElement
{
public:
    SingleDataElement() : DataElement(false) {}
    explicit SingleDataElement(std::string text) : DataElement(false), value(std::move(text)) {}

    std::unique_ptr<DataElement> Duplicate() const override;

    std::string value;
};

/// An ordered list of owned values, which may themselves be lists.
class ListDataElement : public DataElement
{
public:
    ListDataElement() : DataElement(true) {}

    std::unique_ptr<DataElement> Duplicate() const override;
    /// The same deep copy, typed.
    std::unique_ptr<ListDataElement> DuplicateList() const;

    std::vector<std::unique_ptr<DataElement>> values;
};

} // namespace Zorva
