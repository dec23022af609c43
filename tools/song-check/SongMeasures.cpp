#include "SongMeasures.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace {

double Decibels(double amplitude)
{
    return amplitude > 0 ? 20.0 * std::log10(amplitude) : -200.0;
}

/// A high-pass biquad (the audio cookbook's form), run sample by sample.
class HighPass
{
public:
    HighPass(double cutoffHz, double q, int rate)
    {
        const double w = 2.0 * std::numbers::pi * cutoffHz / rate;
        const double alpha = std::sin(w) / (2.0 * q);
        const double a0 = 1.0 + alpha;
        b0 = (1.0 + std::cos(w)) / 2.0 / a0;
        b1 = -(1.0 + std::cos(w)) / a0;
        b2 = b0;
        a1 = -2.0 * std::cos(w) / a0;
        a2 = (1.0 - alpha) / a0;
    }

    double Filter(double x)
    {
        const double y = b0 * x + b1 * x1 + b2 * x2 - a1 * y1 - a2 * y2;
        x2 = x1;
        x1 = x;
        y2 = y1;
        y1 = y;
        return y;
    }

private:
    double b0, b1, b2, a1, a2;
    double x1 = 0, x2 = 0, y1 = 0, y2 = 0;
};

/// Running sums of the frames' mean square over both channels, so any window's energy is
/// one subtraction.
std::vector<double> EnergyPrefix(const RenderedSong& song)
{
    std::vector<double> prefix(song.FrameCount() + 1, 0.0);
    for (std::size_t i = 0; i < song.FrameCount(); ++i) {
        const double left = song.stereo[2 * i];
        const double right = song.stereo[2 * i + 1];
        prefix[i + 1] = prefix[i] + (left * left + right * right) / 2.0;
    }
    return prefix;
}

/// Calls `visit(start, meanSquare)` for every window that starts between the first and the
/// last note, one frame apart.
template <typename Visit>
void ForEachWindow(const RenderedSong& song, std::size_t window, Visit visit)
{
    if (window == 0 || song.FrameCount() < window) {
        return;
    }
    const std::vector<double> prefix = EnergyPrefix(song);
    const std::size_t lastStart = std::min(song.lastNoteFrame, song.FrameCount() - window);
    for (std::size_t start = song.firstNoteFrame; start <= lastStart; ++start) {
        visit(start, (prefix[start + window] - prefix[start]) / static_cast<double>(window));
    }
}

std::size_t WindowFrames(const RenderedSong& song, const GapRule& rule)
{
    return static_cast<std::size_t>(std::lround(rule.windowSeconds * song.rate));
}

} // namespace

std::vector<SongGap> FindGaps(const RenderedSong& song, const GapRule& rule)
{
    std::vector<SongGap> gaps;
    const std::size_t window = WindowFrames(song, rule);
    const double silentMeanSquare = std::pow(10.0, rule.silenceDb / 10.0);
    bool inGap = false;
    std::size_t gapStart = 0;
    std::size_t lastSilent = 0;
    ForEachWindow(song, window, [&](std::size_t start, double meanSquare) {
        const bool silent = meanSquare < silentMeanSquare;
        if (silent && !inGap) {
            gapStart = start;
        } else if (!silent && inGap) {
            gaps.push_back({static_cast<double>(gapStart) / song.rate,
                            static_cast<double>(lastSilent - gapStart + window) / song.rate});
        }
        if (silent) {
            lastSilent = start;
        }
        inGap = silent;
    });
    if (inGap) {
        gaps.push_back({static_cast<double>(gapStart) / song.rate,
                        static_cast<double>(lastSilent - gapStart + window) / song.rate});
    }
    return gaps;
}

double QuietestWindowDb(const RenderedSong& song, const GapRule& rule)
{
    double quietest = -1;
    ForEachWindow(song, WindowFrames(song, rule), [&](std::size_t, double meanSquare) {
        if (quietest < 0 || meanSquare < quietest) {
            quietest = meanSquare;
        }
    });
    return quietest < 0 ? -200.0 : Decibels(std::sqrt(quietest));
}

double HighFrequencyShare(const RenderedSong& song, std::size_t fromFrame, double cutoffHz)
{
    // Two sections with the Butterworth Qs make a fourth-order Butterworth high-pass.
    HighPass first(cutoffHz, 0.54119610, song.rate);
    HighPass second(cutoffHz, 1.3065630, song.rate);
    double total = 0;
    double high = 0;
    for (std::size_t i = fromFrame; i < song.FrameCount(); ++i) {
        const double mono = (song.stereo[2 * i] + song.stereo[2 * i + 1]) / 2.0;
        const double filtered = second.Filter(first.Filter(mono));
        total += mono * mono;
        high += filtered * filtered;
    }
    return total > 0 ? high / total : 0.0;
}

SongMeasures MeasureSong(const RenderedSong& song, const GapRule& rule)
{
    SongMeasures measures;
    measures.gaps = FindGaps(song, rule);
    measures.quietestDb = QuietestWindowDb(song, rule);
    const std::size_t end = std::min(song.lastNoteFrame, song.FrameCount());
    double sum = 0;
    double peak = 0;
    for (std::size_t i = song.firstNoteFrame; i < end; ++i) {
        for (int channel = 0; channel < 2; ++channel) {
            const double value = song.stereo[2 * i + channel];
            sum += value * value;
            peak = std::max(peak, std::abs(value));
        }
    }
    const std::size_t count = end > song.firstNoteFrame ? end - song.firstNoteFrame : 0;
    measures.loudnessDb = count ? Decibels(std::sqrt(sum / (2.0 * count))) : -200.0;
    measures.peakDb = Decibels(peak);
    measures.highShare = HighFrequencyShare(song, song.firstNoteFrame, kHighFrequencyHz);
    return measures;
}
