// Reads arbitrary bytes as a players file and writes what was read back, checking that it
// reads the same again.

#include "game/screens/PlayersFile.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (std::optional<PlayersData> players = PlayersFile::Decode(data, size)) {
        const std::string bytes = PlayersFile::Encode(*players);
        const std::optional<PlayersData> again =
            PlayersFile::Decode(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
        if (!again || again->players.size() != players->players.size() ||
            PlayersFile::Encode(*again) != bytes) {
            std::abort();
        }
    }
    return 0;
}
