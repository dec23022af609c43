#pragma once

#include "RenderedSong.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

/// Renders a tracker module once from start to end through libopenmpt, as the game plays it
/// but without the repeat, and notes the rows where notes start. Empty with `reason` set when
/// libopenmpt cannot read the bytes or the module holds no note.
std::optional<RenderedSong> RenderSongOnce(const std::vector<uint8_t>& bytes, int rate,
                                           std::string& reason);
