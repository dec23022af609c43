// Reads arbitrary bytes as a players file and as a highscores file, and writes what was read
// back, checking that it reads the same again.

#include "game/screens/HighscoresFile.h"
#include "game/screens/PlayersFile.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (std::optional<PlayersData> players = PlayersFile::Decode(data, size)) {
        const std::string bytes = PlayersFile::Encode(*players);
        const std::optional<PlayersData> again =
            PlayersFile::Decode(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
        if (!again || again->players.size() != players->players.size()) {
            std::abort();
        }
    }
    HighscoreTable oneSide;
    HighscoreTable twoSide;
    HighscoresFile::Decode(data, size, oneSide, twoSide);
    if (oneSide.size() != HighscoresFile::kRows || twoSide.size() != HighscoresFile::kRows) {
        std::abort();
    }
    HighscoresFile::Insert(oneSide, "Fuzz", static_cast<int32_t>(size));
    const std::string bytes = HighscoresFile::Encode(oneSide, twoSide);
    HighscoreTable readOne;
    HighscoreTable readTwo;
    HighscoresFile::Decode(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(), readOne,
                           readTwo);
    if (readOne != oneSide || readTwo != twoSide) {
        std::abort();
    }
    return 0;
}
