// quarrow-levels: looks at level files the way the game reads them, writes them back, and
// plays them with the automatic player to see how hard they are.

#include "game/AutoPlayer.h"
#include "game/BoardModel.h"
#include "game/HeadlessHost.h"
#include "system/MTRand.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

int Usage()
{
    std::fprintf(
        stderr, "usage:\n"
                "  quarrow-levels dump FILE\n"
                "      print the level's attributes and one line per stone:\n"
                "      stone LAYER X Y ORIENTATION JOKER LOCK KEY\n"
                "  quarrow-levels roundtrip IN OUT\n"
                "      read IN and write it as the level editor writes levels\n"
                "  quarrow-levels play FILE --mode one|two [--seed N] [--games K] [--level N]\n"
                "                     [--player careful|casual]\n"
                "      play the level with the automatic player; one line per game. The careful\n"
                "      player (the default) looks far ahead, the casual one a step, as a person\n");
    return 2;
}

std::string JoinPictures(const std::vector<int>& pictures)
{
    std::string text;
    for (std::size_t i = 0; i < pictures.size(); ++i) {
        text += (i ? "," : "") + std::to_string(pictures[i]);
    }
    return text;
}

int Dump(const std::string& path)
{
    HeadlessHost host;
    BoardModel board(host);
    std::string error;
    if (!board.LoadLevel(path, 0, -1, true, &error)) {
        std::fprintf(stderr, "quarrow-levels: cannot load %s: %s\n", path.c_str(), error.c_str());
        return 1;
    }
    const PlayField& field = board.field;
    std::printf("level %s\n", path.c_str());
    std::printf("pictures %s\n", JoinPictures(field.pictureList).c_str());
    std::printf("shift %d %d\n", field.shiftX, field.shiftY);
    std::printf("background %s\n", field.backgroundName.c_str());
    std::printf("music %d\n", field.musicTrack);
    std::printf("cards %d\n", field.cardsInDeck);
    std::printf("layers %zu\n", field.layers.size());
    std::printf("stones %d\n", field.stoneCount);
    for (const StoneList& layer : field.layers) {
        for (const auto& stone : layer) {
            std::printf("stone %d %d %d %d %d %d %d\n", stone->layer, stone->x, stone->y,
                        stone->orientation, stone->joker ? 1 : 0, stone->lockNumber,
                        stone->keyNumber);
        }
    }
    return 0;
}

int Roundtrip(const std::string& in, const std::string& out)
{
    HeadlessHost host;
    BoardModel board(host);
    std::string error;
    if (!board.LoadLevel(in, 0, -1, true, &error)) {
        std::fprintf(stderr, "quarrow-levels: cannot load %s: %s\n", in.c_str(), error.c_str());
        return 1;
    }
    if (!board.field.WriteLevel(out, &error)) {
        std::fprintf(stderr, "quarrow-levels: cannot write %s: %s\n", out.c_str(), error.c_str());
        return 1;
    }
    return 0;
}

struct PlayOptions
{
    std::string path;
    GameMode mode = GameMode::OneSide;
    bool modeGiven = false;
    uint32_t seed = 1;
    int games = 1;
    int level = 2;
    AutoPlayer::Style style = AutoPlayer::Style::Careful;
};

bool ParseNumber(const char* text, long minimum, long& value)
{
    char* end = nullptr;
    value = std::strtol(text, &end, 10);
    return end != text && *end == '\0' && value >= minimum;
}

bool ParsePlayOptions(int argc, char** argv, PlayOptions& options)
{
    if (argc < 3) {
        return false;
    }
    options.path = argv[2];
    for (int i = 3; i < argc; ++i) {
        const std::string option = argv[i];
        if (i + 1 >= argc) {
            return false;
        }
        const char* value = argv[++i];
        long number = 0;
        if (option == "--mode") {
            if (std::strcmp(value, "one") == 0) {
                options.mode = GameMode::OneSide;
            } else if (std::strcmp(value, "two") == 0) {
                options.mode = GameMode::TwoSide;
            } else {
                return false;
            }
            options.modeGiven = true;
        } else if (option == "--player") {
            if (std::strcmp(value, "careful") == 0) {
                options.style = AutoPlayer::Style::Careful;
            } else if (std::strcmp(value, "casual") == 0) {
                options.style = AutoPlayer::Style::Casual;
            } else {
                return false;
            }
        } else if (option == "--seed" && ParseNumber(value, 0, number)) {
            options.seed = static_cast<uint32_t>(number);
        } else if (option == "--games" && ParseNumber(value, 1, number)) {
            options.games = static_cast<int>(number);
        } else if (option == "--level" && ParseNumber(value, 1, number)) {
            options.level = static_cast<int>(number);
        } else {
            return false;
        }
    }
    return options.modeGiven;
}

int Play(const PlayOptions& options)
{
    int wins = 0;
    for (int game = 0; game < options.games; ++game) {
        Zorva::Rand().SRand(options.seed + static_cast<uint32_t>(game));
        HeadlessHost host;
        host.player.name = "auto";
        host.player.showHowToPlay = false;
        host.player.deckHintShown = true;
        host.player.jokerHintShown = true;
        BoardModel board(host);
        board.field.mode = options.mode;
        host.onUpdate = [&board] { board.Tick(); };
        // The level number decides how the play line starts (level 1 from the top stone).
        std::string error;
        if (!board.StartLevel(options.path, options.level, &error)) {
            std::fprintf(stderr, "quarrow-levels: cannot start %s: %s\n", options.path.c_str(),
                         error.c_str());
            return 1;
        }

        AutoPlayer player(board, host, options.style);
        const AutoPlayer::Result result = player.PlayToEnd();
        if (result.won) {
            ++wins;
        }
        std::printf("game %d seed %u: %s moves %d score %d ticks %d reshuffles %d refused %d\n",
                    game + 1, options.seed + static_cast<uint32_t>(game),
                    result.won ? "won" : (result.stuck ? "stuck" : "failed"), result.moves,
                    result.score, result.ticks, result.reshufflesUsed, result.refused);
        if (result.stuck) {
            return 3;
        }
    }
    if (options.games > 1) {
        std::printf("win rate %d/%d = %.1f%%\n", wins, options.games, 100.0 * wins / options.games);
    }
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 2) {
        return Usage();
    }
    const std::string command = argv[1];
    if (command == "dump" && argc == 3) {
        return Dump(argv[2]);
    }
    if (command == "roundtrip" && argc == 4) {
        return Roundtrip(argv[2], argv[3]);
    }
    if (command == "play") {
        PlayOptions options;
        if (!ParsePlayOptions(argc, argv, options)) {
            return Usage();
        }
        return Play(options);
    }
    return Usage();
}
