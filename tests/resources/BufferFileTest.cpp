#include "resources/BufferFile.h"

#include "resources/Buffer.h"
#include "system/AppFiles.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <unistd.h>

using namespace Zorva;

namespace {

std::filesystem::path FreshDir(const std::string& name)
{
    const auto dir = std::filesystem::temp_directory_path() /
                     ("zorva_bufferfile_" + std::to_string(::getpid())) / name;
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
    return dir;
}

} // namespace

TEST(BufferFileTest, RoundTripSizeLimitAndMissingFiles)
{
    const auto dir = FreshDir("buffers");
    const std::string path = (dir / "save.dat").string();
    Buffer out;
    out.PutInt32(0x01020304);
    out.PutString("stone");
    ASSERT_TRUE(WriteBufferToFile(path, out));
    EXPECT_TRUE(FileExists(path));

    Buffer in;
    ASSERT_TRUE(ReadFileToBuffer(path, in));
    ASSERT_EQ(in.DataLength(), out.DataLength());
    EXPECT_EQ(in.GetInt32(), 0x01020304);
    EXPECT_EQ(in.GetString(), "stone");

    // Too large for the limit: refused, the buffer keeps what it had.
    Buffer kept;
    kept.PutByte(7);
    EXPECT_FALSE(ReadFileToBuffer(path, kept, 4));
    ASSERT_EQ(kept.DataLength(), 1);
    EXPECT_EQ(kept.GetByte(), 7);
    EXPECT_TRUE(ReadFileToBuffer(path, kept, static_cast<std::size_t>(out.DataLength())));

    EXPECT_FALSE(ReadFileToBuffer((dir / "missing").string(), kept));
    EXPECT_FALSE(ReadFileToBuffer(dir.string(), kept)); // a folder is not a file
    EXPECT_FALSE(FileExists(dir.string()));

    // An empty buffer writes an empty file that reads back as empty.
    const std::string empty = (dir / "empty.dat").string();
    ASSERT_TRUE(WriteBufferToFile(empty, Buffer()));
    Buffer none;
    none.PutByte(1);
    ASSERT_TRUE(ReadFileToBuffer(empty, none));
    EXPECT_EQ(none.DataLength(), 0);

    // A write into a folder that does not exist fails and creates nothing.
    EXPECT_FALSE(WriteBufferToFile((dir / "no/such/file").string(), out));

    EXPECT_TRUE(DeleteFile(path));
    EXPECT_FALSE(FileExists(path));
    EXPECT_FALSE(DeleteFile(path));
}
