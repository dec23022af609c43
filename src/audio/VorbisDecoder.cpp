#include "audio/VorbisDecoder.h"

#include "audio/OggPageScan.h"

// The header's own callback tables are not used and would warn as unused.
#define OV_EXCLUDE_STATIC_CALLBACKS
#include <vorbis/vorbisfile.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <limits>

namespace Zorva {

namespace {

/// A stream that reports only holes is given up on after this many in a row.
constexpr int kMaxHolesInARow = 1000;
constexpr long kMaxReadBytes = 1 << 20;

} // namespace

struct VorbisDecoder::State
{
    std::vector<uint8_t> bytes;
    std::size_t position = 0;
    OggVorbis_File file{};
    bool opened = false;

    static size_t Read(void* out, size_t size, size_t count, void* source)
    {
        auto* state = static_cast<State*>(source);
        if (size == 0 || count == 0) {
            return 0;
        }
        const std::size_t left = state->bytes.size() - state->position;
        const std::size_t items = std::min(count, left / size);
        if (items > 0) {
            std::memcpy(out, state->bytes.data() + state->position, items * size);
            state->position += items * size;
        }
        return items;
    }

    static int Seek(void* source, ogg_int64_t offset, int whence)
    {
        auto* state = static_cast<State*>(source);
        const auto size = static_cast<ogg_int64_t>(state->bytes.size());
        ogg_int64_t base = 0;
        if (whence == SEEK_CUR) {
            base = static_cast<ogg_int64_t>(state->position);
        } else if (whence == SEEK_END) {
            base = size;
        } else if (whence != SEEK_SET) {
            return -1;
        }
        if (offset < -base || offset > size - base) {
            return -1;
        }
        state->position = static_cast<std::size_t>(base + offset);
        return 0;
    }

    static long Tell(void* source)
    {
        return static_cast<long>(static_cast<State*>(source)->position);
    }
};

VorbisDecoder::VorbisDecoder(std::vector<uint8_t> bytes) : state(std::make_unique<State>())
{
    state->bytes = std::move(bytes);
}

VorbisDecoder::~VorbisDecoder()
{
    if (state->opened) {
        ov_clear(&state->file);
    }
}

std::unique_ptr<VorbisDecoder> VorbisDecoder::Open(std::vector<uint8_t> bytes)
{
    if (bytes.size() > static_cast<std::size_t>(std::numeric_limits<long>::max()) ||
        !IsSingleOggStream(bytes.data(), bytes.size())) {
        return nullptr;
    }
    std::unique_ptr<VorbisDecoder> decoder(new VorbisDecoder(std::move(bytes)));
    const ov_callbacks callbacks{&State::Read, &State::Seek, nullptr, &State::Tell};
    if (ov_open_callbacks(decoder->state.get(), &decoder->state->file, nullptr, 0, callbacks) !=
        0) {
        // A failed open leaves nothing to clear.
        return nullptr;
    }
    decoder->state->opened = true;
    const vorbis_info* info = ov_info(&decoder->state->file, -1);
    if (info == nullptr || info->channels <= 0 || info->rate <= 0 ||
        info->rate > std::numeric_limits<int>::max()) {
        return nullptr;
    }
    decoder->channels = info->channels;
    decoder->sampleRate = static_cast<int>(info->rate);
    return decoder;
}

int64_t VorbisDecoder::TotalFrames()
{
    const ogg_int64_t total = ov_pcm_total(&state->file, -1);
    return total < 0 ? -1 : static_cast<int64_t>(total);
}

long VorbisDecoder::ReadFrames(int16_t* out, long maxFrames)
{
    const long frameBytes = 2L * channels;
    const long wanted = std::min(maxFrames * frameBytes, kMaxReadBytes / frameBytes * frameBytes);
    if (wanted <= 0) {
        return 0;
    }
    for (int holes = 0; holes < kMaxHolesInARow; ++holes) {
        int link = 0;
        const long got = ov_read(&state->file, reinterpret_cast<char*>(out),
                                 static_cast<int>(wanted), 0, 2, 1, &link);
        if (got == OV_HOLE) {
            continue;
        }
        if (got < 0) {
            return -1;
        }
        const vorbis_info* info = ov_info(&state->file, link);
        if (got > 0 && (info == nullptr || info->channels != channels)) {
            return -1;
        }
        return got / frameBytes;
    }
    return -1;
}

bool VorbisDecoder::SeekFrame(int64_t frame)
{
    return ov_pcm_seek(&state->file, static_cast<ogg_int64_t>(frame)) == 0;
}

} // namespace Zorva
