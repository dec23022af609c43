#pragma once

#include <map>
#include <string>

namespace Zorva {

/// What the manifest says of one resource: its group, id, file and attributes. The loaded
/// object lives in the derived kinds.
class BaseRes
{
public:
    virtual ~BaseRes() = default;
    /// Forgets the loaded object, so the next load of the group reads it again.
    virtual void ReleaseLoaded() = 0;

    std::string group;
    std::string id;
    /// Prefixed with the default path, or written as is when it begins with "!".
    std::string path;
    std::map<std::string, std::string> attributes;
    /// The program supplies this object; it is never loaded from a file.
    bool fromProgram = false;
};

} // namespace Zorva
