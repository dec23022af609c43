// The player's files: names kept inside the user folder, capped reads, atomic writes into
// folders made on demand, and deletes and moves that report what happened.

#include "app/UserFileAccess.h"
#include "resources/Buffer.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

namespace {

class UserFileAccessTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "user-files-XXXXXX").string();
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        folder = pattern;
        files.SetUserFileFolder(folder);
    }
    void TearDown() override
    {
        std::error_code ec;
        std::filesystem::remove_all(folder, ec);
    }
    void WriteRaw(const std::string& name, const std::string& bytes)
    {
        std::ofstream(folder + "/" + name, std::ios::binary) << bytes;
    }

    std::string folder;
    Zorva::UserFileAccess files;
};

Zorva::Buffer BufferOf(const std::string& bytes)
{
    Zorva::Buffer buffer;
    buffer.PutBytes(bytes.data(), bytes.size());
    return buffer;
}

std::string BytesOf(const Zorva::Buffer& buffer)
{
    return std::string(reinterpret_cast<const char*>(buffer.DataPointer()),
                       static_cast<std::size_t>(buffer.DataLength()));
}

TEST_F(UserFileAccessTest, NamesThatLeaveTheFolderAreRefusedByEveryOperation)
{
    WriteRaw("inside", "x");
    for (const std::string name :
         {"../inside", "/etc/passwd", "saves/../../x", "a//b", "", "./x", "saves/"}) {
        Zorva::Buffer buffer;
        EXPECT_EQ(files.UserFilePath(name), "") << name;
        EXPECT_FALSE(files.ReadUserFile(name, buffer, 100)) << name;
        EXPECT_FALSE(files.WriteUserFile(name, BufferOf("y"))) << name;
        EXPECT_FALSE(files.UserFileExists(name)) << name;
        EXPECT_FALSE(files.DeleteUserFile(name)) << name;
    }
    EXPECT_TRUE(files.UserFileExists("inside"));
    EXPECT_EQ(files.UserFilePath("saves/..1.sav"), folder + "/saves/..1.sav");
}

TEST_F(UserFileAccessTest, WriteMakesTheFolderAndReadGivesTheBytesBackUpToTheCap)
{
    ASSERT_TRUE(files.WriteUserFile("saves/Ann1.sav", BufferOf("hello world")));
    EXPECT_TRUE(files.UserFileExists("saves/Ann1.sav"));
    Zorva::Buffer whole;
    ASSERT_TRUE(files.ReadUserFile("saves/Ann1.sav", whole, 1000));
    EXPECT_EQ(BytesOf(whole), "hello world");
    Zorva::Buffer cut;
    ASSERT_TRUE(files.ReadUserFile("saves/Ann1.sav", cut, 5));
    EXPECT_EQ(BytesOf(cut), "hello");
    // Nothing but the file itself is left behind in its folder.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder + "/saves"),
                            std::filesystem::directory_iterator()),
              1);
}

TEST_F(UserFileAccessTest, MissingFilesAndFoldersAreNotFiles)
{
    Zorva::Buffer buffer = BufferOf("kept");
    EXPECT_FALSE(files.ReadUserFile("players.dat", buffer, 100));
    EXPECT_EQ(BytesOf(buffer), "kept");
    std::filesystem::create_directory(folder + "/saves");
    EXPECT_FALSE(files.UserFileExists("saves"));
    EXPECT_FALSE(files.ReadUserFile("saves", buffer, 100));
    // Deleting what is not there leaves nothing there; a folder is never deleted.
    EXPECT_TRUE(files.DeleteUserFile("players.dat"));
    EXPECT_FALSE(files.DeleteUserFile("saves"));
    EXPECT_TRUE(std::filesystem::is_directory(folder + "/saves"));
}

TEST_F(UserFileAccessTest, RenameMovesTheFileAndKeepsItWhenTheSourceIsMissing)
{
    WriteRaw("players.dat", "old");
    ASSERT_TRUE(files.RenameUserFile("players.dat", "players.dat.bad"));
    EXPECT_FALSE(files.UserFileExists("players.dat"));
    Zorva::Buffer buffer;
    ASSERT_TRUE(files.ReadUserFile("players.dat.bad", buffer, 100));
    EXPECT_EQ(BytesOf(buffer), "old");
    EXPECT_FALSE(files.RenameUserFile("players.dat", "players.dat.bad"));
    EXPECT_TRUE(files.UserFileExists("players.dat.bad"));
}

} // namespace
