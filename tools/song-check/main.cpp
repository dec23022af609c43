// song-check: renders songs once through libopenmpt at 44.1 kHz and fails when the mix falls
// silent between the first and the last note.
//
//     song-check [--wav FOLDER] MODULE...
//
// Prints per song its gaps, loudness and share of energy above 5 kHz; --wav also writes
// FOLDER/<name>.wav for listening. Exit status 1 when a song has a gap or cannot be read.

#include "SongMeasures.h"
#include "SongRenderer.h"
#include "StereoWavFile.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

constexpr int kRate = 44100;
constexpr std::size_t kGapsListed = 8;

bool ReadFile(const std::string& path, std::vector<uint8_t>& bytes)
{
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        return false;
    }
    bytes.assign(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
    return true;
}

/// Checks one song and prints its line; false when it fails.
bool CheckSong(const std::string& path, const std::string& wavFolder)
{
    const std::string name = std::filesystem::path(path).stem().string();
    std::vector<uint8_t> bytes;
    if (!ReadFile(path, bytes)) {
        std::printf("%s: cannot read %s\n", name.c_str(), path.c_str());
        return false;
    }
    std::string reason;
    const std::optional<RenderedSong> song = RenderSongOnce(bytes, kRate, reason);
    if (!song) {
        std::printf("%s: %s\n", name.c_str(), reason.c_str());
        return false;
    }
    const GapRule rule;
    const SongMeasures measures = MeasureSong(*song, rule);
    std::printf("%s: %.1f s, %zu gaps (quietest %.0f ms %.1f dBFS), loudness %.1f dBFS RMS, "
                "peak %.1f dBFS, %.1f %% of the energy above %.0f Hz\n",
                name.c_str(), static_cast<double>(song->FrameCount()) / kRate, measures.gaps.size(),
                1000.0 * rule.windowSeconds, measures.quietestDb, measures.loudnessDb,
                measures.peakDb, 100.0 * measures.highShare, kHighFrequencyHz);
    for (std::size_t i = 0; i < measures.gaps.size() && i < kGapsListed; ++i) {
        std::printf("    gap at %.3f s, %.0f ms below %.0f dBFS\n", measures.gaps[i].startSeconds,
                    1000.0 * measures.gaps[i].seconds, rule.silenceDb);
    }
    if (!wavFolder.empty()) {
        const std::string wav = (std::filesystem::path(wavFolder) / (name + ".wav")).string();
        if (!WriteStereoWav(*song, wav)) {
            std::printf("%s: cannot write %s\n", name.c_str(), wav.c_str());
            return false;
        }
    }
    return measures.gaps.empty();
}

} // namespace

int main(int argc, char** argv)
{
    std::string wavFolder;
    std::vector<std::string> modules;
    for (int i = 1; i < argc; ++i) {
        const std::string argument = argv[i];
        if (argument == "--wav" && i + 1 < argc) {
            wavFolder = argv[++i];
        } else {
            modules.push_back(argument);
        }
    }
    if (modules.empty()) {
        std::fprintf(stderr, "usage: song-check [--wav FOLDER] MODULE...\n");
        return 2;
    }
    bool allPass = true;
    for (const std::string& module : modules) {
        allPass = CheckSong(module, wavFolder) && allPass;
    }
    return allPass ? 0 : 1;
}
