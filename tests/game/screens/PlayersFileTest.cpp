#include "game/screens/PlayersFile.h"

#include "resources/Buffer.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <unistd.h>

namespace {

std::string Bytes(const Zorva::Buffer& buffer)
{
    return std::string(reinterpret_cast<const char*>(buffer.DataPointer()),
                       static_cast<std::size_t>(buffer.DataLength()));
}

std::optional<PlayersData> DecodeText(const std::string& bytes)
{
    return PlayersFile::Decode(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
}

/// One record in file order, with the values given and the rest at their defaults.
void PutRecord(Zorva::Buffer& buffer, const std::string& name, int32_t oneSideLevel = 1,
               int32_t pileCount = 2, int32_t reshuffles = 1)
{
    buffer.PutString(name);
    buffer.PutInt32(1);
    buffer.PutInt32(0);
    buffer.PutInt32(reshuffles);
    buffer.PutInt32(0);
    buffer.PutInt32(oneSideLevel);
    buffer.PutInt32(0);
    buffer.PutInt32(0);
    buffer.PutBool(false);
    buffer.PutBool(true);
    buffer.PutInt32(pileCount);
    buffer.PutBool(true);
    buffer.PutBool(false);
}

TEST(PlayersFileTest, RoundTrip_KeepsEveryFieldInFileOrder)
{
    PlayersData data;
    auto player = std::make_unique<Player>();
    player->name = "Ariadne";
    player->twoSideLevel = 7;
    player->twoSideScore = 1234;
    player->reserved1 = -5;
    player->reshuffles = 3;
    player->oneSideLevel = 12;
    player->oneSideScore = 987;
    player->reserved2 = 42;
    player->deckHintShown = true;
    player->jokerHintShown = true;
    player->showHowToPlay = false;
    player->pileCount = 3;
    player->showPreview = false;
    data.players.push_back(std::move(player));
    data.currentPlayer = 0;

    const std::string bytes = PlayersFile::Encode(data);
    // The mark, the index, then the name's length and letters lead the record.
    ASSERT_GE(bytes.size(), 10u);
    EXPECT_EQ(static_cast<uint8_t>(bytes[0]), 1000 & 0xFF);
    EXPECT_EQ(bytes.substr(10, 7), "Ariadne");
    const auto read = DecodeText(bytes);
    ASSERT_TRUE(read);
    ASSERT_EQ(read->players.size(), 1u);
    const Player& back = *read->players[0];
    EXPECT_EQ(back.name, "Ariadne");
    EXPECT_EQ(back.twoSideLevel, 7);
    EXPECT_EQ(back.twoSideScore, 1234);
    EXPECT_EQ(back.reserved1, -5);
    EXPECT_EQ(back.reshuffles, 3);
    EXPECT_EQ(back.oneSideLevel, 12);
    EXPECT_EQ(back.oneSideScore, 987);
    EXPECT_EQ(back.reserved2, 42);
    EXPECT_TRUE(back.deckHintShown);
    EXPECT_TRUE(back.jokerHintShown);
    EXPECT_FALSE(back.showHowToPlay);
    EXPECT_EQ(back.pileCount, 3);
    EXPECT_FALSE(back.showPreview);
    EXPECT_EQ(read->currentPlayer, 0);
    // Mark and index, then 38 bytes and the name per record; written back byte for byte.
    EXPECT_EQ(bytes.size(), 8u + 38u + 7u);
    EXPECT_EQ(PlayersFile::Encode(*read), bytes);
}

TEST(PlayersFileTest, Decode_HeaderOnlyWrongMarkAndCutRecords)
{
    Zorva::Buffer empty;
    empty.PutInt32(1000);
    empty.PutInt32(-1);
    auto read = DecodeText(Bytes(empty));
    ASSERT_TRUE(read);
    EXPECT_TRUE(read->players.empty());
    EXPECT_EQ(read->currentPlayer, -1);

    Zorva::Buffer wrongMark;
    wrongMark.PutInt32(999);
    wrongMark.PutInt32(0);
    PutRecord(wrongMark, "Theseus");
    EXPECT_FALSE(DecodeText(Bytes(wrongMark)));
    EXPECT_FALSE(DecodeText(Bytes(wrongMark).substr(0, 3)));

    // A record cut inside its fields is dropped; one that holds nothing complete is unusable.
    Zorva::Buffer two;
    two.PutInt32(1000);
    two.PutInt32(1);
    PutRecord(two, "Theseus");
    PutRecord(two, "Minos");
    const std::string whole = Bytes(two);
    read = DecodeText(whole.substr(0, whole.size() - 1));
    ASSERT_TRUE(read);
    ASSERT_EQ(read->players.size(), 1u);
    EXPECT_EQ(read->players[0]->name, "Theseus");
    EXPECT_EQ(read->currentPlayer, -1) << "an index outside the list means no player";
    EXPECT_FALSE(DecodeText(whole.substr(0, 20)));
}

TEST(PlayersFileTest, Decode_ValuesBroughtIntoRangeAndBadNamesDropped)
{
    Zorva::Buffer buffer;
    buffer.PutInt32(1000);
    buffer.PutInt32(0);
    PutRecord(buffer, "Icarus", 500, 9, -3);
    PutRecord(buffer, "");
    PutRecord(buffer, "Icarus");
    PutRecord(buffer, "../../etc");
    PutRecord(buffer, "Thirteen-char");
    PutRecord(buffer, std::string("Tab\tName"));
    PutRecord(buffer, std::string(5000, 'x'));
    PutRecord(buffer, "Minus", -7);
    for (int i = 0; i < 10; ++i) {
        PutRecord(buffer, "P" + std::to_string(i));
    }
    const auto read = DecodeText(Bytes(buffer));
    ASSERT_TRUE(read);
    ASSERT_EQ(read->players.size(), PlayersFile::kMaxPlayers);
    const Player& icarus = *read->players[0];
    EXPECT_EQ(icarus.name, "Icarus");
    EXPECT_EQ(icarus.oneSideLevel, PlayersFile::kOneSideLevelLimit);
    EXPECT_EQ(icarus.pileCount, 2);
    EXPECT_EQ(icarus.reshuffles, 0);
    EXPECT_EQ(read->players[1]->name, "Minus");
    EXPECT_EQ(read->players[1]->oneSideLevel, 1);
    EXPECT_EQ(read->players[2]->name, "P0");
    EXPECT_EQ(read->players[8]->name, "P6");
}

TEST(PlayersFileTest, Files_MissingUnusableWrittenAndSetAside)
{
    const std::filesystem::path folder =
        std::filesystem::temp_directory_path() / ("quarrow-players-" + std::to_string(getpid()));
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
    const std::string path = (folder / "players.dat").string();

    PlayersData data;
    EXPECT_EQ(PlayersFile::Read(path, data), PlayersFile::ReadResult::Missing);
    {
        std::ofstream bad(path, std::ios::binary);
        bad << "not a players file";
    }
    EXPECT_EQ(PlayersFile::Read(path, data), PlayersFile::ReadResult::Unusable);
    ASSERT_TRUE(PlayersFile::SetAside(path));
    EXPECT_TRUE(std::filesystem::exists(path + ".bad"));

    auto player = std::make_unique<Player>();
    player->name = "Daedalus";
    data.players.push_back(std::move(player));
    data.currentPlayer = 0;
    ASSERT_TRUE(PlayersFile::Write(path, data));
    PlayersData back;
    ASSERT_EQ(PlayersFile::Read(path, back), PlayersFile::ReadResult::Loaded);
    ASSERT_EQ(back.players.size(), 1u);
    EXPECT_EQ(back.players[0]->name, "Daedalus");
    EXPECT_EQ(back.currentPlayer, 0);
    std::filesystem::remove_all(folder);
}

} // namespace
