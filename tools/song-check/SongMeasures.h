#pragma once

#include "RenderedSong.h"

#include <vector>

/// A stretch where every short window of the mix stays below the silence level.
struct SongGap
{
    double startSeconds = 0;
    double seconds = 0;
};

/// What makes a stretch a gap: a window of `windowSeconds` whose RMS (both channels) lies
/// below `silenceDb` dBFS, starting between the first and the last note.
struct GapRule
{
    double windowSeconds = 0.010;
    double silenceDb = -50.0;
};

/// The split between low and high for the share of bright energy.
constexpr double kHighFrequencyHz = 5000.0;

struct SongMeasures
{
    std::vector<SongGap> gaps;
    /// RMS and peak between the first and the last note, in dBFS.
    double loudnessDb = 0;
    double peakDb = 0;
    /// RMS of the quietest window between the first and the last note, in dBFS.
    double quietestDb = 0;
    /// Share (0..1) of the energy from the first note on that lies above kHighFrequencyHz.
    double highShare = 0;
};

SongMeasures MeasureSong(const RenderedSong& song, const GapRule& rule);

std::vector<SongGap> FindGaps(const RenderedSong& song, const GapRule& rule);

/// The RMS in dBFS of the quietest window of `rule` between the first and the last note.
double QuietestWindowDb(const RenderedSong& song, const GapRule& rule);

/// Share of the energy of the mono mix from `fromFrame` on that a fourth-order high-pass at
/// `cutoffHz` lets through.
double HighFrequencyShare(const RenderedSong& song, std::size_t fromFrame, double cutoffHz);
