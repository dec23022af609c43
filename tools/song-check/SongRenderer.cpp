#include "SongRenderer.h"

#include <libopenmpt/libopenmpt.h>

#include <memory>

namespace {

/// Small blocks, so a note's row is placed within a couple of milliseconds.
constexpr std::size_t kBlockFrames = 64;
/// Ten minutes: far beyond any song, a guard against modules that never end.
constexpr std::size_t kMaxSeconds = 600;
constexpr int kLastNote = 96;

struct ModuleDeleter
{
    void operator()(openmpt_module* module) const { openmpt_module_destroy(module); }
};
using ModuleHandle = std::unique_ptr<openmpt_module, ModuleDeleter>;

bool RowStartsNote(openmpt_module* module, int pattern, int row)
{
    const int channels = openmpt_module_get_num_channels(module);
    for (int channel = 0; channel < channels; ++channel) {
        const int note = openmpt_module_get_pattern_row_channel_command(
            module, pattern, row, channel, OPENMPT_MODULE_COMMAND_NOTE);
        if (note >= 1 && note <= kLastNote) {
            return true;
        }
    }
    return false;
}

} // namespace

std::optional<RenderedSong> RenderSongOnce(const std::vector<uint8_t>& bytes, int rate,
                                           std::string& reason)
{
    int error = 0;
    ModuleHandle module(openmpt_module_create_from_memory2(
        bytes.data(), bytes.size(), &openmpt_log_func_silent, nullptr, &openmpt_error_func_ignore,
        nullptr, &error, nullptr, nullptr));
    if (!module) {
        reason = "libopenmpt cannot read the module (error " + std::to_string(error) + ")";
        return std::nullopt;
    }
    openmpt_module_set_repeat_count(module.get(), 0);

    RenderedSong song;
    song.rate = rate;
    bool anyNote = false;
    int lastPattern = -1;
    int lastRow = -1;
    const std::size_t maxFrames = kMaxSeconds * static_cast<std::size_t>(rate);
    std::vector<float> block(2 * kBlockFrames);
    while (song.FrameCount() < maxFrames) {
        const int pattern = openmpt_module_get_current_pattern(module.get());
        const int row = openmpt_module_get_current_row(module.get());
        if ((pattern != lastPattern || row != lastRow) &&
            RowStartsNote(module.get(), pattern, row)) {
            if (!anyNote) {
                song.firstNoteFrame = song.FrameCount();
            }
            song.lastNoteFrame = song.FrameCount();
            anyNote = true;
        }
        lastPattern = pattern;
        lastRow = row;
        const std::size_t got = openmpt_module_read_interleaved_float_stereo(
            module.get(), rate, kBlockFrames, block.data());
        if (got == 0) {
            break;
        }
        song.stereo.insert(song.stereo.end(), block.begin(), block.begin() + 2 * got);
    }
    if (!anyNote) {
        reason = "the module plays no note";
        return std::nullopt;
    }
    return song;
}
