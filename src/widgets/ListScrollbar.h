#pragma once

namespace Zorva {

/// The scroll bar a list drives. Values count lines: the bar runs from 0 to the maximum
/// value less the page size. Whenever its value changes (also through SetValue or a new
/// range), the bar reports the new value to its ScrollListener, which is how the list it
/// belongs to learns where to scroll.
class ListScrollbar
{
public:
    virtual ~ListScrollbar() = default;

    /// The number of lines.
    virtual void SetMaxValue(double maxValue) = 0;
    /// The number of lines shown at once.
    virtual void SetPageSize(double pageSize) = 0;
    /// Moves the bar, kept within its range.
    virtual void SetValue(double value) = 0;
    virtual double GetValue() const = 0;
};

} // namespace Zorva
