#include "system/AppFiles.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

using namespace Zorva;

namespace {

std::filesystem::path FreshDir(const std::string& name)
{
    const auto dir = std::filesystem::temp_directory_path() /
                     ("zorva_files_" + std::to_string(::getpid())) / name;
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
    return dir;
}

void WriteText(const std::filesystem::path& path, const std::string& text)
{
    std::filesystem::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << text;
}

} // namespace

TEST(AppFilesTest, DataFolder_EnvironmentThenBesideExecutableThenShare)
{
    const auto exe = FreshDir("exe");
    EXPECT_EQ(DataFolder("/opt/data", exe.string()), "/opt/data");
    EXPECT_EQ(DataFolder("", exe.string()), exe.string() + "/../share/quarrow");
    // A data folder without the resource manifest does not count.
    std::filesystem::create_directories(exe / "data/properties");
    EXPECT_EQ(DataFolder(nullptr, exe.string()), exe.string() + "/../share/quarrow");
    WriteText(exe / "data/properties/resources.xml", "<ResourceManifest/>");
    EXPECT_EQ(DataFolder(nullptr, exe.string()), exe.string() + "/data");
    EXPECT_FALSE(ExecutableFolder().empty());
}

TEST(AppFilesTest, UserFolder_EnvironmentOrderAndPrivateCreation)
{
    EXPECT_EQ(UserFolder("/q/home", "/xdg", "/home/u"), "/q/home");
    EXPECT_EQ(UserFolder("", "/xdg", "/home/u"), "/xdg/quarrow");
    EXPECT_EQ(UserFolder(nullptr, nullptr, "/home/u"), "/home/u/.local/share/quarrow");

    const auto base = FreshDir("user");
    const std::string folder = (base / "a/b/quarrow").string();
    ASSERT_TRUE(EnsureFolder(folder));
    struct stat info
    {};
    ASSERT_EQ(stat(folder.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0700u);
    ASSERT_EQ(stat((base / "a").c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0700u);
    EXPECT_TRUE(EnsureFolder(folder)); // already there
    WriteText(base / "plain", "x");
    EXPECT_FALSE(EnsureFolder((base / "plain").string()));
    EXPECT_FALSE(EnsureFolder(""));
}
