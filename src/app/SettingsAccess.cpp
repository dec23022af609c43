#include "app/SettingsAccess.h"

#include "app/SettingsStore.h"

namespace Zorva {

namespace {

std::vector<uint8_t> IntegerBytes(int32_t value)
{
    const auto bits = static_cast<uint32_t>(value);
    return {static_cast<uint8_t>(bits), static_cast<uint8_t>(bits >> 8),
            static_cast<uint8_t>(bits >> 16), static_cast<uint8_t>(bits >> 24)};
}

bool IntegerOf(const std::vector<uint8_t>& bytes, int32_t& out)
{
    if (bytes.size() != 4) {
        return false;
    }
    out = static_cast<int32_t>(
        static_cast<uint32_t>(bytes[0]) | static_cast<uint32_t>(bytes[1]) << 8 |
        static_cast<uint32_t>(bytes[2]) << 16 | static_cast<uint32_t>(bytes[3]) << 24);
    return true;
}

} // namespace

SettingsAccess::SettingsAccess() = default;

SettingsAccess::~SettingsAccess() = default;

SettingsStore* SettingsAccess::Settings()
{
    if (!settingsOpened) {
        std::string path = settingsPath;
        if (path.empty() && !registryKey.empty()) {
            path = SettingsFilePath(registryKey);
        }
        if (!path.empty()) {
            settingsStore = std::make_unique<SettingsStore>(path);
            settingsStore->Load();
            settingsOpened = true;
        }
    }
    return settingsStore.get();
}

bool SettingsAccess::ReadSettingValue(const std::string& name, SettingType type,
                                      std::vector<uint8_t>& bytes)
{
    SettingsStore* store = Settings();
    if (store == nullptr) {
        return false;
    }
    switch (type) {
    case SettingType::String: {
        std::string text;
        if (!store->ReadString(name, text)) {
            return false;
        }
        bytes.assign(text.begin(), text.end());
        return true;
    }
    case SettingType::Bytes:
        return store->ReadBytes(name, bytes);
    case SettingType::Integer: {
        int32_t value = 0;
        if (!store->ReadInteger(name, value)) {
            return false;
        }
        bytes = IntegerBytes(value);
        return true;
    }
    }
    return false;
}

bool SettingsAccess::WriteSettingValue(const std::string& name, SettingType type,
                                       const std::vector<uint8_t>& bytes)
{
    SettingsStore* store = Settings();
    if (store == nullptr) {
        return false;
    }
    switch (type) {
    case SettingType::String:
        return store->WriteString(name, std::string(bytes.begin(), bytes.end()));
    case SettingType::Bytes:
        return store->WriteBytes(name, bytes.data(), bytes.size());
    case SettingType::Integer: {
        int32_t value = 0;
        return IntegerOf(bytes, value) && store->WriteInteger(name, value);
    }
    }
    return false;
}

bool SettingsAccess::DeleteSettingValue(const std::string& name)
{
    SettingsStore* store = Settings();
    return store != nullptr && store->DeleteValue(name);
}

bool SettingsAccess::WriteString(const std::string& name, const std::string& text)
{
    return WriteSettingValue(name, SettingType::String, {text.begin(), text.end()});
}

bool SettingsAccess::WriteInteger(const std::string& name, int value)
{
    return WriteSettingValue(name, SettingType::Integer, IntegerBytes(value));
}

bool SettingsAccess::WriteBoolean(const std::string& name, bool flag)
{
    return WriteInteger(name, flag ? 1 : 0);
}

bool SettingsAccess::WriteBytes(const std::string& name, const uint8_t* data, std::size_t length)
{
    std::vector<uint8_t> bytes;
    if (data != nullptr) {
        bytes.assign(data, data + length);
    }
    return WriteSettingValue(name, SettingType::Bytes, bytes);
}

bool SettingsAccess::ReadString(const std::string& name, std::string& out)
{
    std::vector<uint8_t> bytes;
    if (!ReadSettingValue(name, SettingType::String, bytes)) {
        return false;
    }
    out.assign(bytes.begin(), bytes.end());
    return true;
}

bool SettingsAccess::ReadInteger(const std::string& name, int& out)
{
    std::vector<uint8_t> bytes;
    int32_t value = 0;
    if (!ReadSettingValue(name, SettingType::Integer, bytes) || !IntegerOf(bytes, value)) {
        return false;
    }
    out = value;
    return true;
}

bool SettingsAccess::ReadBoolean(const std::string& name, bool& out)
{
    int value = 0;
    if (!ReadInteger(name, value)) {
        return false;
    }
    out = value != 0;
    return true;
}

bool SettingsAccess::ReadBytes(const std::string& name, std::vector<uint8_t>& out)
{
    return ReadSettingValue(name, SettingType::Bytes, out);
}

bool SettingsAccess::DeleteValue(const std::string& name)
{
    return DeleteSettingValue(name);
}

} // namespace Zorva
