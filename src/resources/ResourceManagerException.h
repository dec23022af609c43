#pragma once

#include <stdexcept>
#include <string>

namespace Zorva {

/// Raised by the resource manager's throwing getters; carries the manager's error text.
class ResourceManagerException : public std::runtime_error
{
public:
    explicit ResourceManagerException(const std::string& text) : std::runtime_error(text) {}
};

} // namespace Zorva
