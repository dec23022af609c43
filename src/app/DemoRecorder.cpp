#include "app/DemoRecorder.h"

#include "app/DemoFile.h"
#include "system/AtomicFile.h"

#include <string_view>

namespace Zorva {

DemoRecorder::DemoRecorder(std::string filePath, uint32_t runSeed)
    : path(std::move(filePath)), seed(runSeed)
{}

void DemoRecorder::AddMarker(const std::string& name, int update)
{
    markers.push_back({name, update});
}

bool DemoRecorder::Save(const std::string& productVersion, int totalUpdates,
                        std::string* error) const
{
    DemoFile file;
    file.seed = seed;
    file.productVersion = productVersion;
    file.markers = markers;
    file.totalUpdates = totalUpdates;
    const Buffer& stream = writer.Bytes();
    const uint8_t* data = stream.DataPointer();
    if (data != nullptr) {
        file.events.assign(data, data + stream.DataLength());
    }
    const std::vector<uint8_t> bytes = file.Encode();
    const std::string_view text(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    return WriteFileAtomically(path, text, error);
}

} // namespace Zorva
