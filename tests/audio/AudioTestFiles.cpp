#include "AudioTestFiles.h"

#include <vorbis/vorbisenc.h>

#include <cmath>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <unistd.h>

namespace Zorva::Testing {

namespace {

void PutLe(Bytes& out, uint32_t value, int bytes)
{
    for (int i = 0; i < bytes; ++i) {
        out.push_back(static_cast<uint8_t>(value >> (8 * i)));
    }
}

void PutBe(Bytes& out, uint32_t value)
{
    for (int i = 3; i >= 0; --i) {
        out.push_back(static_cast<uint8_t>(value >> (8 * i)));
    }
}

void Append(Bytes& out, const void* data, std::size_t size)
{
    const auto* bytes = static_cast<const uint8_t*>(data);
    out.insert(out.end(), bytes, bytes + size);
}

} // namespace

SoundBuffer ConstantSound(int16_t value, int frames, int channels, int rate)
{
    SoundBuffer sound;
    sound.channels = channels;
    sound.sampleRate = rate;
    sound.bitsPerSample = 16;
    for (int i = 0; i < frames * channels; ++i) {
        PutLe(sound.data, static_cast<uint16_t>(value), 2);
    }
    return sound;
}

SoundBuffer SoundOf(const std::vector<int16_t>& samples, int rate)
{
    SoundBuffer sound;
    sound.channels = 1;
    sound.sampleRate = rate;
    sound.bitsPerSample = 16;
    for (int16_t sample : samples) {
        PutLe(sound.data, static_cast<uint16_t>(sample), 2);
    }
    return sound;
}

Bytes Chunk(const char* id, const Bytes& body)
{
    Bytes out;
    Append(out, id, 4);
    PutLe(out, static_cast<uint32_t>(body.size()), 4);
    out.insert(out.end(), body.begin(), body.end());
    if (body.size() % 2 == 1) {
        out.push_back(0);
    }
    return out;
}

Bytes FormatBody(int formatTag, int channels, int rate, int bits)
{
    Bytes body;
    const int align = channels * bits / 8;
    PutLe(body, static_cast<uint32_t>(formatTag), 2);
    PutLe(body, static_cast<uint32_t>(channels), 2);
    PutLe(body, static_cast<uint32_t>(rate), 4);
    PutLe(body, static_cast<uint32_t>(rate * align), 4);
    PutLe(body, static_cast<uint32_t>(align), 2);
    PutLe(body, static_cast<uint32_t>(bits), 2);
    return body;
}

Bytes Riff(const std::vector<Bytes>& chunks)
{
    Bytes body;
    Append(body, "WAVE", 4);
    for (const Bytes& chunk : chunks) {
        body.insert(body.end(), chunk.begin(), chunk.end());
    }
    Bytes out;
    Append(out, "RIFF", 4);
    PutLe(out, static_cast<uint32_t>(body.size()), 4);
    out.insert(out.end(), body.begin(), body.end());
    return out;
}

Bytes WavOf(const SoundBuffer& sound)
{
    return Riff(
        {Chunk("fmt ", FormatBody(1, sound.channels, sound.sampleRate, sound.bitsPerSample)),
         Chunk("data", sound.data)});
}

Bytes AuFile(uint32_t encoding, uint32_t rate, uint32_t channels, const Bytes& data,
             uint32_t offset)
{
    Bytes out;
    Append(out, ".snd", 4);
    PutBe(out, offset);
    PutBe(out, static_cast<uint32_t>(data.size()));
    PutBe(out, encoding);
    PutBe(out, rate);
    PutBe(out, channels);
    out.resize(std::max<std::size_t>(out.size(), offset), 0);
    out.insert(out.end(), data.begin(), data.end());
    return out;
}

Bytes OggSine(int channels, int rate, int frames)
{
    vorbis_info info;
    vorbis_info_init(&info);
    if (vorbis_encode_init_vbr(&info, channels, rate, 0.1f) != 0) {
        vorbis_info_clear(&info);
        throw std::runtime_error("vorbis encoder refused the format");
    }
    vorbis_comment comment;
    vorbis_comment_init(&comment);
    vorbis_dsp_state dsp;
    vorbis_analysis_init(&dsp, &info);
    vorbis_block block;
    vorbis_block_init(&dsp, &block);
    ogg_stream_state stream;
    ogg_stream_init(&stream, 1234);

    Bytes out;
    ogg_page page;
    const auto writePage = [&out](const ogg_page& p) {
        Append(out, p.header, static_cast<std::size_t>(p.header_len));
        Append(out, p.body, static_cast<std::size_t>(p.body_len));
    };
    ogg_packet header;
    ogg_packet headerComment;
    ogg_packet headerCode;
    vorbis_analysis_headerout(&dsp, &comment, &header, &headerComment, &headerCode);
    ogg_stream_packetin(&stream, &header);
    ogg_stream_packetin(&stream, &headerComment);
    ogg_stream_packetin(&stream, &headerCode);
    while (ogg_stream_flush(&stream, &page) != 0) {
        writePage(page);
    }

    float** buffer = vorbis_analysis_buffer(&dsp, frames);
    for (int i = 0; i < frames; ++i) {
        for (int c = 0; c < channels; ++c) {
            buffer[c][i] = 0.25f * static_cast<float>(std::sin(i * 0.05 * (c + 1)));
        }
    }
    vorbis_analysis_wrote(&dsp, frames);
    vorbis_analysis_wrote(&dsp, 0);
    ogg_packet packet;
    while (vorbis_analysis_blockout(&dsp, &block) == 1) {
        vorbis_analysis(&block, nullptr);
        vorbis_bitrate_addblock(&block);
        while (vorbis_bitrate_flushpacket(&dsp, &packet) != 0) {
            ogg_stream_packetin(&stream, &packet);
            while (ogg_stream_pageout(&stream, &page) != 0) {
                writePage(page);
            }
        }
    }
    while (ogg_stream_flush(&stream, &page) != 0) {
        writePage(page);
    }
    ogg_stream_clear(&stream);
    vorbis_block_clear(&block);
    vorbis_dsp_clear(&dsp);
    vorbis_comment_clear(&comment);
    vorbis_info_clear(&info);
    return out;
}

Bytes TinyMod(bool oneRow)
{
    constexpr int kSampleWords = 16;
    Bytes out(20, 0);
    std::memcpy(out.data(), "tiny", 4);
    for (int sample = 0; sample < 31; ++sample) {
        Bytes header(30, 0);
        if (sample == 0) {
            header[22] = 0;
            header[23] = kSampleWords;
            header[25] = 64;
            header[29] = kSampleWords;
        } else {
            header[29] = 1;
        }
        out.insert(out.end(), header.begin(), header.end());
    }
    out.push_back(1);
    out.push_back(127);
    Bytes orders(128, 0);
    out.insert(out.end(), orders.begin(), orders.end());
    Append(out, "M.K.", 4);

    Bytes pattern(64 * 4 * 4, 0);
    const int period = 428;
    pattern[0] = static_cast<uint8_t>(period >> 8);
    pattern[1] = static_cast<uint8_t>(period & 0xFF);
    pattern[2] = 0x10;
    if (oneRow) {
        pattern[2] |= 0x0F;
        pattern[3] = 0x01;
        pattern[4 + 2] = 0x0D;
    }
    out.insert(out.end(), pattern.begin(), pattern.end());

    for (int i = 0; i < kSampleWords * 2; ++i) {
        out.push_back(static_cast<uint8_t>(i < kSampleWords ? 100 : -100));
    }
    return out;
}

void WriteBytes(const std::string& path, const Bytes& bytes)
{
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
}

Bytes ReadBytes(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    return Bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
}

ScopedTempFolder::ScopedTempFolder()
{
    std::string pattern =
        (std::filesystem::temp_directory_path() / "quarrow-audio-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) {
        throw std::runtime_error("no temporary folder");
    }
    path = pattern;
    previous = std::filesystem::current_path().string();
    std::filesystem::current_path(path);
}

ScopedTempFolder::~ScopedTempFolder()
{
    std::error_code error;
    std::filesystem::current_path(previous, error);
    std::filesystem::remove_all(path, error);
}

} // namespace Zorva::Testing
