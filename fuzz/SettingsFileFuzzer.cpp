// Parses arbitrary text as the settings file. Text that parses must come back from the
// store's own formatting unchanged in meaning: formatting, parsing and formatting again gives
// the same text.

#include "app/SettingsStore.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    // Never loaded or saved: only the path's name is needed.
    Zorva::SettingsStore store("fuzz-settings.conf", Zorva::SettingsStore::SavePolicy::OnSave);
    if (!Zorva::SettingsStore::Parse(text, store)) {
        return 0;
    }
    const std::string formatted = store.Format();
    Zorva::SettingsStore again("fuzz-settings.conf", Zorva::SettingsStore::SavePolicy::OnSave);
    if (!Zorva::SettingsStore::Parse(formatted, again) || again.Format() != formatted) {
        std::abort();
    }

    // Reads of every type by a name taken from the input must not disturb the store.
    const std::string name(text.substr(0, text.find_first_of("=\n")));
    std::string textValue;
    int32_t integer = 0;
    bool flag = false;
    std::vector<uint8_t> bytes;
    store.ReadString(name, textValue);
    store.ReadInteger(name, integer);
    store.ReadBoolean(name, flag);
    store.ReadBytes(name, bytes);
    if (textValue.size() > Zorva::SettingsStore::kMaxStringRead) {
        std::abort();
    }
    store.DeleteValue(name);
    return 0;
}
