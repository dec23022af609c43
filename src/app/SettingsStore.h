#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace Zorva {

/// The typed settings store: string, 32-bit integer and byte-string values kept in one
/// human-readable text file. A value name's part before the first backslash names a sub-key,
/// kept as a section of the file. Names compare without regard to ASCII case, as in the
/// key store the settings were designed for.
///
/// A missing, unreadable or corrupt file reads as empty and is never deleted: an unreadable
/// file is never written over, and the bytes of a corrupt one are kept in "<path>.corrupt"
/// before the first save replaces it. Not locked: use it from one thread.
class SettingsStore
{
public:
    /// Whether each write goes to disk at once (the outcome a write reports) or waits for Save.
    enum class SavePolicy
    {
        OnEveryWrite,
        OnSave,
    };

    /// How the last Load found the file.
    enum class FileState
    {
        NotLoaded,
        Missing,
        Loaded,
        Unreadable,
        Corrupt,
    };

    /// Files larger than this count as corrupt, so a stray huge file is never read into memory.
    static constexpr std::size_t kMaxFileSize = 4 * 1024 * 1024;
    /// The longest text a string read returns; longer stored texts are cut.
    static constexpr std::size_t kMaxStringRead = 1023;

    explicit SettingsStore(std::string path, SavePolicy policy = SavePolicy::OnEveryWrite);

    const std::string& GetPath() const { return path; }
    FileState GetFileState() const { return fileState; }

    /// Replaces the values in memory with the file's; true when the file was read and parsed.
    /// Otherwise the store is empty and the file is left as it is.
    bool Load();
    /// Writes all values atomically; on failure the old file stays and `error` says why.
    bool Save(std::string* error = nullptr);

    bool WriteString(const std::string& name, const std::string& text);
    bool WriteInteger(const std::string& name, int32_t value);
    /// Stored as the integer 0 or 1.
    bool WriteBoolean(const std::string& name, bool flag);
    bool WriteBytes(const std::string& name, const uint8_t* data, std::size_t length);

    // Each read returns false and leaves `out` unchanged when the value is missing or of
    // another type.
    bool ReadString(const std::string& name, std::string& out) const;
    bool ReadInteger(const std::string& name, int32_t& out) const;
    /// Any non-zero integer reads as true.
    bool ReadBoolean(const std::string& name, bool& out) const;
    bool ReadBytes(const std::string& name, std::vector<uint8_t>& out) const;

    /// False when there was no such value (or, writing at once, the file could not be saved).
    bool DeleteValue(const std::string& name);

    /// The file's text for the values in memory.
    std::string Format() const;
    /// Parses `text` into `into`; false on any malformed line.
    static bool Parse(std::string_view text, SettingsStore& into);

private:
    enum class ValueType
    {
        String,
        Integer,
        Bytes,
    };

    struct Value
    {
        ValueType type = ValueType::String;
        std::string bytes;
        int32_t integer = 0;
    };

    struct CaseInsensitiveLess
    {
        bool operator()(const std::string& a, const std::string& b) const;
    };

    using Section = std::map<std::string, Value, CaseInsensitiveLess>;
    using Sections = std::map<std::string, Section, CaseInsensitiveLess>;

    const Value* Find(const std::string& name) const;
    bool Store(const std::string& name, Value value);
    bool Commit(Sections previous);

    std::string path;
    SavePolicy policy;
    FileState fileState = FileState::NotLoaded;
    /// The original bytes of a corrupt file, until they have been kept aside.
    std::string corruptBytes;
    bool corruptKept = false;
    Sections sections;
};

/// Where the settings file lives: $QUARROW_HOME/settings.conf when QUARROW_HOME is set, else
/// $XDG_CONFIG_HOME (default ~/.config) / the registry key with "\" as "/" / settings.conf.
std::string SettingsFilePath(std::string_view registryKey);

/// SettingsFilePath with the environment given (null or empty counts as unset).
std::string SettingsFilePath(std::string_view registryKey, const char* quarrowHome,
                             const char* xdgConfigHome, const char* home);

} // namespace Zorva
