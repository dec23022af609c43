// Parses arbitrary bytes as a resource manifest and walks what was read. Nothing is loaded:
// the paths come from the input and may name any file.

#include "resources/ResourceManager.h"

#include <cstddef>
#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    Zorva::ResourceManager manager(nullptr);
    manager.ParseManifestText(std::string(reinterpret_cast<const char*>(data), size));
    manager.CountResources("");
    for (const auto& entry : manager.Images()) {
        manager.CountResources(entry.second->group);
    }
    manager.GetErrorText();
    manager.DeleteResources("");
    return 0;
}
