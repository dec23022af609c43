#pragma once

#include "RenderedSong.h"

#include <string>

/// The song as a 16-bit PCM stereo RIFF WAVE file, for listening.
std::string EncodeStereoWav(const RenderedSong& song);

/// Writes EncodeStereoWav's bytes to `path`; false when the file cannot be written.
bool WriteStereoWav(const RenderedSong& song, const std::string& path);
