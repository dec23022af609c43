#pragma once

#include <string>

namespace Zorva {

/// Told of what happens in an edit field, and asked before its text changes. Every check
/// allows by default.
class EditListener
{
public:
    virtual ~EditListener() = default;

    /// Enter was pressed in the field.
    virtual void OnEditEnter(int /*id*/, const std::string& /*text*/) {}
    /// Whether the field may act on a key (letter keys A to Y are never offered).
    virtual bool AllowKey(int /*id*/, int /*keyCode*/) { return true; }
    /// Whether a typed or pasted character may enter the text.
    virtual bool AllowChar(int /*id*/, char /*character*/) { return true; }
    /// Whether the text after a change may stand; refused, the change is undone.
    virtual bool AllowText(int /*id*/, const std::string& /*text*/) { return true; }
};

} // namespace Zorva
