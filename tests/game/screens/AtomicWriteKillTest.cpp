// A process killed at any moment while it replaces the players file and a saved game leaves
// each file whole: the old version or the new one, never a mix, and no leftovers that pile up.

#include "game/Player.h"
#include "game/screens/PlayersFile.h"
#include "system/AtomicFile.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

std::string PlayersBytes(int level, bool secondPlayer)
{
    PlayersData data;
    auto ann = std::make_unique<Player>();
    ann->name = "Ann";
    ann->oneSideLevel = level;
    ann->oneSideScore = 1000 * level;
    data.players.push_back(std::move(ann));
    if (secondPlayer) {
        auto bob = std::make_unique<Player>();
        bob->name = "Bob";
        bob->twoSideLevel = 7;
        data.players.push_back(std::move(bob));
    }
    data.currentPlayer = 0;
    return PlayersFile::Encode(data);
}

std::string ReadAll(const fs::path& path)
{
    std::ifstream file(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

/// Temporary files the atomic writer left for `name` in `folder`.
int LeftoversOf(const fs::path& folder, const std::string& name)
{
    const std::string prefix = "." + name + ".tmp-";
    int count = 0;
    for (const auto& entry : fs::directory_iterator(folder)) {
        if (entry.path().filename().string().rfind(prefix, 0) == 0) {
            ++count;
        }
    }
    return count;
}

/// Writes the two files in turn, each alternating between its two versions, until killed.
[[noreturn]] void WriteForever(const fs::path& players, const std::string (&playersVersions)[2],
                               const fs::path& save, const std::string (&saveVersions)[2])
{
    for (int round = 0;; ++round) {
        const int version = round % 2;
        Zorva::WriteFileAtomically(players.string(), playersVersions[version]);
        Zorva::WriteFileAtomically(save.string(), saveVersions[version]);
    }
}

} // namespace

TEST(AtomicWriteKillTest, KilledWritersLeaveOldOrNewFilesAndNoPileOfLeftovers)
{
    std::string pattern = ::testing::TempDir() + "quarrow_kill_XXXXXX";
    ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
    const fs::path folder(pattern);
    const fs::path players = folder / "players.dat";
    const fs::path save = folder / "Ann1.sav";

    const std::string playersVersions[2] = {PlayersBytes(3, false), PlayersBytes(4, true)};
    // Sizes over a few pages, so that a torn write would show.
    const std::string saveVersions[2] = {std::string(9000, 'o'), std::string(13000, 'n')};
    ASSERT_NE(playersVersions[0], playersVersions[1]);
    ASSERT_TRUE(Zorva::WriteFileAtomically(players.string(), playersVersions[0]));
    ASSERT_TRUE(Zorva::WriteFileAtomically(save.string(), saveVersions[0]));

    std::mt19937 random(20240611);
    std::uniform_int_distribution<int> pause(0, 3000);
    // Every eighth writer runs long enough to finish writes even on a busy machine, so that
    // the files do change between kills.
    std::uniform_int_distribution<int> longPause(20000, 60000);
    int mostLeftovers = 0;
    int changes = 0;
    std::string lastPlayers = playersVersions[0];
    for (int kill = 0; kill < 200; ++kill) {
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            WriteForever(players, playersVersions, save, saveVersions);
        }
        ::usleep(static_cast<useconds_t>(kill % 8 == 7 ? longPause(random) : pause(random)));
        ASSERT_EQ(::kill(child, SIGKILL), 0);
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        ASSERT_TRUE(WIFSIGNALED(status));

        const std::string playersNow = ReadAll(players);
        const std::string saveNow = ReadAll(save);
        ASSERT_TRUE(playersNow == playersVersions[0] || playersNow == playersVersions[1])
            << "kill " << kill << ": players file of " << playersNow.size() << " bytes";
        ASSERT_TRUE(saveNow == saveVersions[0] || saveNow == saveVersions[1])
            << "kill " << kill << ": saved game of " << saveNow.size() << " bytes";
        ASSERT_TRUE(PlayersFile::Decode(reinterpret_cast<const uint8_t*>(playersNow.data()),
                                        playersNow.size()));
        changes += playersNow != lastPlayers;
        lastPlayers = playersNow;
        // Each write clears what killed writers of its file left, so per file at most the one
        // write cut short remains.
        for (const char* name : {"players.dat", "Ann1.sav"}) {
            const int leftovers = LeftoversOf(folder, name);
            mostLeftovers = std::max(mostLeftovers, leftovers);
            ASSERT_LE(leftovers, 1) << "kill " << kill << ": " << name;
        }
    }
    // The kills did land between writes of both versions.
    EXPECT_GT(changes, 0);

    ASSERT_TRUE(Zorva::WriteFileAtomically(players.string(), playersVersions[1]));
    ASSERT_TRUE(Zorva::WriteFileAtomically(save.string(), saveVersions[1]));
    EXPECT_EQ(LeftoversOf(folder, "players.dat") + LeftoversOf(folder, "Ann1.sav"), 0);
    std::error_code ignored;
    fs::remove_all(folder, ignored);
    RecordProperty("most_leftovers_after_a_kill", mostLeftovers);
}
