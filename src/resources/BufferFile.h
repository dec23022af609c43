#pragma once

#include <cstddef>
#include <string>

namespace Zorva {

class Buffer;

/// Reads a whole regular file into `buffer` (replacing its data, positions rewound). Fails,
/// leaving `buffer` unchanged, when the file is missing, not a regular file, or larger than
/// `maxBytes` (at most Buffer::kMaxBytes).
bool ReadFileToBuffer(const std::string& path, Buffer& buffer, std::size_t maxBytes);
bool ReadFileToBuffer(const std::string& path, Buffer& buffer);

/// Writes the buffer's bytes atomically: the old file stays whole on any failure.
bool WriteBufferToFile(const std::string& path, const Buffer& buffer);

} // namespace Zorva
