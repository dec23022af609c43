#pragma once

#include <string>
#include <string_view>

namespace Zorva {

/// Writes `bytes` to `path` through a temporary file in the same folder that is flushed to
/// disk and then renamed over the old file, so a crash or a full disk never leaves a
/// half-written file. On failure the old file is unchanged and `error` (when given) says why.
/// Temporary files that earlier, interrupted writes to the same path left behind are removed
/// first; a writer racing on the same path may then fail, but never tears the file.
bool WriteFileAtomically(const std::string& path, std::string_view bytes,
                         std::string* error = nullptr);

} // namespace Zorva
