// Reads arbitrary bytes as a highscores file, puts a new score in, and writes the tables back,
// checking that they read the same again.

#include "game/screens/HighscoresFile.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
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
