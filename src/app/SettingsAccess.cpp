#include "app/SettingsAccess.h"

#include "app/SettingsStore.h"

namespace Zorva {

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

bool SettingsAccess::WriteString(const std::string& name, const std::string& text)
{
    SettingsStore* store = Settings();
    return store != nullptr && store->WriteString(name, text);
}

bool SettingsAccess::WriteInteger(const std::string& name, int value)
{
    SettingsStore* store = Settings();
    return store != nullptr && store->WriteInteger(name, value);
}

bool SettingsAccess::WriteBoolean(const std::string& name, bool flag)
{
    SettingsStore* store = Settings();
    return store != nullptr && store->WriteBoolean(name, flag);
}

bool SettingsAccess::WriteBytes(const std::string& name, const uint8_t* data, std::size_t length)
{
    SettingsStore* store = Settings();
    return store != nullptr && store->WriteBytes(name, data, length);
}

bool SettingsAccess::ReadString(const std::string& name, std::string& out)
{
    SettingsStore* store = Settings();
    return store != nullptr && store->ReadString(name, out);
}

bool SettingsAccess::ReadInteger(const std::string& name, int& out)
{
    SettingsStore* store = Settings();
    int32_t value = 0;
    if (store == nullptr || !store->ReadInteger(name, value)) {
        return false;
    }
    out = value;
    return true;
}

bool SettingsAccess::ReadBoolean(const std::string& name, bool& out)
{
    SettingsStore* store = Settings();
    return store != nullptr && store->ReadBoolean(name, out);
}

bool SettingsAccess::ReadBytes(const std::string& name, std::vector<uint8_t>& out)
{
    SettingsStore* store = Settings();
    return store != nullptr && store->ReadBytes(name, out);
}

bool SettingsAccess::DeleteValue(const std::string& name)
{
    SettingsStore* store = Settings();
    return store != nullptr && store->DeleteValue(name);
}

} // namespace Zorva
