#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace Zorva {

/// The whole content of a regular file of at most `maxBytes`; nothing when it is missing,
/// unreadable or larger.
std::optional<std::vector<uint8_t>> ReadFileBytes(const std::string& path, std::size_t maxBytes);

/// The file's last modification time in nanoseconds since 1970; nothing when it is missing.
std::optional<int64_t> FileModificationTime(const std::string& path);

/// The path with every "\\" turned into "/".
std::string WithForwardSlashes(std::string path);

} // namespace Zorva
