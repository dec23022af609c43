// Reads arbitrary bytes as a level file, puts it into a play field, runs the free rule and
// the move count over it, and writes it back with the level writer.

#include "game/BoardModel.h"
#include "game/HeadlessHost.h"
#include "game/LevelFile.h"

#include <cstddef>
#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string text(reinterpret_cast<const char*>(data), size);
    std::string error;
    const std::optional<LevelData> level = LevelFile::ReadText(text, -1, &error);
    if (!level) {
        return 0;
    }
    HeadlessHost host;
    BoardModel board(host);
    board.field.LoadLevel(*level, 0, true);
    board.field.ApplyFreeRule();
    board.field.CountMoves();
    board.Tick();
    LevelFile::Format(*level, &error);
    return 0;
}
