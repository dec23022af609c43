#include "app/SettingsStore.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <sys/resource.h>
#include <vector>

using Zorva::SettingsStore;

namespace {

/// A fresh folder removed at the end of the test.
class TempFolder
{
public:
    TempFolder()
    {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "settings-test-XXXXXX").string();
        path = ::mkdtemp(pattern.data()) ? pattern : std::string();
    }
    ~TempFolder()
    {
        std::error_code ec;
        std::filesystem::remove_all(path, ec);
    }
    std::string File(const std::string& name) const { return path + "/" + name; }

    std::string path;
};

std::string ReadFile(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

void WriteFile(const std::string& path, const std::string& bytes)
{
    std::ofstream(path, std::ios::binary) << bytes;
}

} // namespace

TEST(SettingsStoreTest, Reads_SucceedOnlyForTheStoredType)
{
    TempFolder folder;
    SettingsStore store(folder.File("settings.conf"));
    ASSERT_TRUE(store.WriteInteger("MusicVolume", 50));
    ASSERT_TRUE(store.WriteString("Name", "Ann"));
    ASSERT_TRUE(store.WriteBoolean("WaitForVSync", true));

    std::string text = "unchanged";
    std::vector<uint8_t> bytes = {7};
    int32_t number = -1;
    bool flag = false;
    EXPECT_FALSE(store.ReadString("MusicVolume", text));
    EXPECT_FALSE(store.ReadBytes("MusicVolume", bytes));
    EXPECT_FALSE(store.ReadInteger("Name", number));
    EXPECT_FALSE(store.ReadBoolean("Name", flag));
    EXPECT_FALSE(store.ReadInteger("Missing", number));
    EXPECT_EQ(text, "unchanged");
    EXPECT_EQ(bytes, std::vector<uint8_t>{7});
    EXPECT_EQ(number, -1);
    EXPECT_FALSE(flag);

    EXPECT_TRUE(store.ReadInteger("MusicVolume", number));
    EXPECT_EQ(number, 50);
    // Booleans are integers: the integer read sees 1, and any non-zero integer is true.
    EXPECT_TRUE(store.ReadInteger("WaitForVSync", number));
    EXPECT_EQ(number, 1);
    ASSERT_TRUE(store.WriteInteger("CustomCursors", 7));
    EXPECT_TRUE(store.ReadBoolean("CustomCursors", flag));
    EXPECT_TRUE(flag);

    // Rewriting a name with another type replaces the value; names ignore ASCII case.
    ASSERT_TRUE(store.WriteString("musicvolume", "loud"));
    EXPECT_FALSE(store.ReadInteger("MusicVolume", number));
    EXPECT_TRUE(store.ReadString("MUSICVOLUME", text));
    EXPECT_EQ(text, "loud");

    EXPECT_TRUE(store.DeleteValue("MusicVolume"));
    EXPECT_FALSE(store.DeleteValue("MusicVolume"));
    EXPECT_FALSE(store.ReadString("MusicVolume", text));
}

TEST(SettingsStoreTest, SubKeys_AreSectionsSeparateFromTheRoot)
{
    TempFolder folder;
    const std::string path = folder.File("settings.conf");
    {
        SettingsStore store(path);
        ASSERT_TRUE(store.WriteInteger("Version", 1));
        ASSERT_TRUE(store.WriteInteger("Test3D\\Version", 3));
        ASSERT_TRUE(store.WriteString("Test3D\\Driver\\Name", "soft"));
    }
    const std::string text = ReadFile(path);
    EXPECT_NE(text.find("[Test3D]"), std::string::npos) << text;
    EXPECT_NE(text.find("Version = i:1\n"), std::string::npos) << text;

    SettingsStore store(path);
    ASSERT_TRUE(store.Load());
    int32_t value = 0;
    EXPECT_TRUE(store.ReadInteger("Version", value));
    EXPECT_EQ(value, 1);
    EXPECT_TRUE(store.ReadInteger("Test3D\\Version", value));
    EXPECT_EQ(value, 3);
    std::string name;
    // Only the first backslash separates the sub-key; the rest belongs to the value name.
    EXPECT_TRUE(store.ReadString("Test3D\\Driver\\Name", name));
    EXPECT_EQ(name, "soft");
    EXPECT_FALSE(store.ReadString("Driver\\Name", name));

    EXPECT_TRUE(store.DeleteValue("Test3D\\Version"));
    EXPECT_TRUE(store.ReadInteger("Version", value));
    EXPECT_EQ(value, 1);
}

TEST(SettingsStoreTest, AwkwardNamesAndValues_RoundTripThroughTheFile)
{
    TempFolder folder;
    const std::string path = folder.File("settings.conf");
    std::string allBytes;
    std::vector<uint8_t> allBytesVector;
    for (int i = 0; i < 256; ++i) {
        allBytes += static_cast<char>(i);
        allBytesVector.push_back(static_cast<uint8_t>(i));
    }
    const std::string awkward = "line1\nline2\r\n \"quoted\" a = b \\ [x] #; \t\x7f\xe9";
    const std::string awkwardName = " name = \"with\" # [brackets]\n";
    const std::string awkwardSection = "Sub [ = \"\n";
    {
        SettingsStore store(path);
        ASSERT_TRUE(store.WriteString("Text", awkward));
        ASSERT_TRUE(store.WriteString("Binary", allBytes.substr(0, 200)));
        ASSERT_TRUE(store.WriteString("Empty", ""));
        ASSERT_TRUE(store.WriteString(awkwardName, "v"));
        ASSERT_TRUE(store.WriteString(awkwardSection + "\\" + awkwardName, "w"));
        ASSERT_TRUE(store.WriteString("", "default value"));
        ASSERT_TRUE(store.WriteBytes("Bytes", allBytesVector.data(), allBytesVector.size()));
        ASSERT_TRUE(store.WriteBytes("NoBytes", nullptr, 0));
        ASSERT_TRUE(store.WriteInteger("Min", INT32_MIN));
        ASSERT_TRUE(store.WriteInteger("Max", INT32_MAX));
    }
    // Human-readable: one value a line, so the text holds no raw newline inside a value.
    const std::string text = ReadFile(path);
    EXPECT_EQ(text.find("line1\n"), std::string::npos);

    SettingsStore store(path);
    ASSERT_TRUE(store.Load()) << text;
    std::string out;
    EXPECT_TRUE(store.ReadString("Text", out));
    EXPECT_EQ(out, awkward);
    EXPECT_TRUE(store.ReadString("Binary", out));
    EXPECT_EQ(out, allBytes.substr(0, 200));
    EXPECT_TRUE(store.ReadString("Empty", out));
    EXPECT_EQ(out, "");
    EXPECT_TRUE(store.ReadString(awkwardName, out));
    EXPECT_EQ(out, "v");
    EXPECT_TRUE(store.ReadString(awkwardSection + "\\" + awkwardName, out));
    EXPECT_EQ(out, "w");
    EXPECT_TRUE(store.ReadString("", out));
    EXPECT_EQ(out, "default value");
    std::vector<uint8_t> bytes;
    EXPECT_TRUE(store.ReadBytes("Bytes", bytes));
    EXPECT_EQ(bytes, allBytesVector);
    bytes = {1, 2};
    EXPECT_TRUE(store.ReadBytes("NoBytes", bytes));
    EXPECT_TRUE(bytes.empty());
    int32_t value = 0;
    EXPECT_TRUE(store.ReadInteger("Min", value));
    EXPECT_EQ(value, INT32_MIN);
    EXPECT_TRUE(store.ReadInteger("Max", value));
    EXPECT_EQ(value, INT32_MAX);
}

TEST(SettingsStoreTest, StringReads_StopAt1023Characters)
{
    TempFolder folder;
    SettingsStore store(folder.File("settings.conf"), SettingsStore::SavePolicy::OnSave);
    ASSERT_TRUE(store.WriteString("Long", std::string(1500, 'x')));
    std::string out;
    EXPECT_TRUE(store.ReadString("Long", out));
    EXPECT_EQ(out, std::string(1023, 'x'));
}

TEST(SettingsStoreTest, CorruptFile_ReadsAsEmptyAndIsKept)
{
    const std::vector<std::string> corrupt = {
        "MusicVolume = i:50\ngarbage line\n",
        "MusicVolume = i:99999999999\n",
        "Name = s:\"unterminated\n",
        "Name = s:\"bad escape \\q\"\n",
        "Blob = b:abc\n",
        "Blob = x:12\n",
        "[Unclosed\nA = i:1\n",
        "A = i:1 trailing\n",
        std::string("\0\xff\x01", 3),
    };
    for (const std::string& bytes : corrupt) {
        TempFolder folder;
        const std::string path = folder.File("settings.conf");
        WriteFile(path, bytes);
        SettingsStore store(path);
        EXPECT_FALSE(store.Load()) << bytes;
        EXPECT_EQ(store.GetFileState(), SettingsStore::FileState::Corrupt) << bytes;
        int32_t value = -1;
        EXPECT_FALSE(store.ReadInteger("MusicVolume", value));
        EXPECT_FALSE(store.ReadInteger("A", value));
        EXPECT_EQ(value, -1);
        EXPECT_EQ(ReadFile(path), bytes);

        // The first save keeps the corrupt bytes beside the new file.
        ASSERT_TRUE(store.WriteInteger("MusicVolume", 85));
        EXPECT_EQ(ReadFile(path + ".corrupt"), bytes);
        SettingsStore reread(path);
        ASSERT_TRUE(reread.Load());
        EXPECT_TRUE(reread.ReadInteger("MusicVolume", value));
        EXPECT_EQ(value, 85);
    }

    // Comments, blank lines and Windows line ends are fine.
    TempFolder folder;
    const std::string path = folder.File("settings.conf");
    WriteFile(path, "# note\r\n\r\n; other\r\n  MusicVolume\t=  i:-5  \r\n[S]\r\nX = b:\r\n");
    SettingsStore store(path);
    ASSERT_TRUE(store.Load());
    int32_t value = 0;
    EXPECT_TRUE(store.ReadInteger("MusicVolume", value));
    EXPECT_EQ(value, -5);
    std::vector<uint8_t> bytes = {1};
    EXPECT_TRUE(store.ReadBytes("S\\X", bytes));
    EXPECT_TRUE(bytes.empty());
}

TEST(SettingsStoreTest, MissingOrUnreadableFile_ReadsAsEmpty)
{
    TempFolder folder;
    SettingsStore missing(folder.File("nested/dir/settings.conf"));
    EXPECT_FALSE(missing.Load());
    EXPECT_EQ(missing.GetFileState(), SettingsStore::FileState::Missing);
    // Saving creates the folders.
    EXPECT_TRUE(missing.WriteInteger("InProgress", 1));
    EXPECT_TRUE(std::filesystem::exists(folder.File("nested/dir/settings.conf")));

    // A path that cannot be read as a file is never written over.
    const std::string blocked = folder.File("blocked");
    std::filesystem::create_directory(blocked);
    WriteFile(blocked + "/inside", "keep");
    SettingsStore unreadable(blocked);
    EXPECT_FALSE(unreadable.Load());
    EXPECT_EQ(unreadable.GetFileState(), SettingsStore::FileState::Unreadable);
    std::string error;
    EXPECT_FALSE(unreadable.Save(&error));
    EXPECT_FALSE(error.empty());
    EXPECT_FALSE(unreadable.WriteInteger("InProgress", 1));
    EXPECT_EQ(ReadFile(blocked + "/inside"), "keep");
}

TEST(SettingsStoreTest, FailedSave_KeepsTheOldFileAndTheOldValue)
{
    TempFolder folder;
    const std::string path = folder.File("settings.conf");
    SettingsStore store(path);
    ASSERT_TRUE(store.WriteInteger("MusicVolume", 50));
    const std::string before = ReadFile(path);

    // A file size limit stands in for a full disk (root ignores permissions).
    rlimit old{};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &old), 0);
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = old;
    small.rlim_cur = 64;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
    const bool written = store.WriteString("Name", std::string(200, 'n'));
    ::setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, oldHandler);

    EXPECT_FALSE(written);
    EXPECT_EQ(ReadFile(path), before);
    std::string name = "none";
    EXPECT_FALSE(store.ReadString("Name", name));
    EXPECT_EQ(name, "none");
    int32_t volume = 0;
    EXPECT_TRUE(store.ReadInteger("MusicVolume", volume));
    EXPECT_EQ(volume, 50);
    // No temporary file is left behind.
    int files = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(folder.path)) {
        ++files;
    }
    EXPECT_EQ(files, 1);
}

TEST(SettingsStoreTest, DeferredWrites_ReachTheFileOnlyOnSave)
{
    TempFolder folder;
    const std::string path = folder.File("settings.conf");
    SettingsStore store(path, SettingsStore::SavePolicy::OnSave);
    ASSERT_TRUE(store.WriteInteger("SfxVolume", 85));
    EXPECT_FALSE(std::filesystem::exists(path));
    ASSERT_TRUE(store.Save());
    SettingsStore reread(path);
    ASSERT_TRUE(reread.Load());
    int32_t value = 0;
    EXPECT_TRUE(reread.ReadInteger("SfxVolume", value));
    EXPECT_EQ(value, 85);
}

TEST(SettingsStoreTest, FilePath_FollowsTheEnvironment)
{
    using Zorva::SettingsFilePath;
    EXPECT_EQ(SettingsFilePath("Ostravel\\Quarrow", "/q", "/x", "/h"), "/q/settings.conf");
    EXPECT_EQ(SettingsFilePath("Ostravel\\Quarrow", nullptr, "/x", "/h"),
              "/x/Ostravel/Quarrow/settings.conf");
    EXPECT_EQ(SettingsFilePath("Ostravel\\Quarrow\\", "", "", "/h"),
              "/h/.config/Ostravel/Quarrow/settings.conf");
    EXPECT_EQ(SettingsFilePath("Ostravel\\Quarrow", nullptr, nullptr, "/h"),
              "/h/.config/Ostravel/Quarrow/settings.conf");
}
