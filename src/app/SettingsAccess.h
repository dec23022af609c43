#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace Zorva {

class SettingsStore;

/// Named values in the application's settings file, opened on first use. Without a
/// settings file (no `settingsPath` and no `registryKey`) every read and write fails.
class SettingsAccess
{
public:
    SettingsAccess();
    virtual ~SettingsAccess();
    SettingsAccess(const SettingsAccess&) = delete;
    SettingsAccess& operator=(const SettingsAccess&) = delete;

    bool WriteString(const std::string& name, const std::string& text);
    bool WriteInteger(const std::string& name, int value);
    bool WriteBoolean(const std::string& name, bool flag);
    bool WriteBytes(const std::string& name, const uint8_t* data, std::size_t length);
    /// False, and `out` unchanged, when the value is missing or of another type.
    bool ReadString(const std::string& name, std::string& out);
    bool ReadInteger(const std::string& name, int& out);
    bool ReadBoolean(const std::string& name, bool& out);
    bool ReadBytes(const std::string& name, std::vector<uint8_t>& out);
    bool DeleteValue(const std::string& name);

    /// Names the settings file in the user folder.
    std::string registryKey;
    /// When set, the settings file used instead of the one derived from `registryKey`.
    std::string settingsPath;

protected:
    /// How a value is stored; the numbers are kept in recordings of reads.
    enum class SettingType : int32_t
    {
        String = 1,
        Bytes = 3,
        Integer = 4,
    };
    // Every read, write and deletion passes through these, so that a derived class can
    // note or replace the outcome. Integers travel as 4 little-endian bytes.
    virtual bool ReadSettingValue(const std::string& name, SettingType type,
                                  std::vector<uint8_t>& bytes);
    virtual bool WriteSettingValue(const std::string& name, SettingType type,
                                   const std::vector<uint8_t>& bytes);
    virtual bool DeleteSettingValue(const std::string& name);

private:
    SettingsStore* Settings();

    std::unique_ptr<SettingsStore> settingsStore;
    bool settingsOpened = false;
};

} // namespace Zorva
