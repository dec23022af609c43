// Reads arbitrary bytes as a demo file and every event of its stream, and the bytes themselves
// as an event stream. A file that reads must read again, unchanged, from its own encoding, and
// every event must keep its fields within the ranges the stream can hold.

#include "app/DemoEventReader.h"
#include "app/DemoFile.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

const std::string kProductVersion = "1.0";

void Check(bool condition)
{
    if (!condition) {
        std::abort();
    }
}

void ReadEvents(const std::vector<uint8_t>& stream)
{
    Zorva::DemoEventReader reader(stream);
    int previousUpdate = 0;
    while (const Zorva::DemoEvent* event = reader.Peek()) {
        Check(event->update >= previousUpdate);
        Check(event->x >= 0 && event->x <= 4095 && event->y >= 0 && event->y <= 4095);
        Check(event->clickCode >= -4 && event->clickCode <= 3);
        Check(event->bytes.size() <= stream.size());
        previousUpdate = event->update;
        reader.Take();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::vector<uint8_t> bytes(data, data + size);
    ReadEvents(bytes);

    const Zorva::DemoFile::ReadResult result = Zorva::DemoFile::Read(bytes, kProductVersion);
    Check(result.demo.has_value() == result.error.empty());
    if (!result.demo) {
        return 0;
    }
    const Zorva::DemoFile& demo = *result.demo;
    ReadEvents(demo.events);

    const Zorva::DemoFile::ReadResult again = Zorva::DemoFile::Read(demo.Encode(), kProductVersion);
    Check(again.demo.has_value());
    Check(again.demo->seed == demo.seed && again.demo->totalUpdates == demo.totalUpdates &&
          again.demo->events == demo.events && again.demo->markers.size() == demo.markers.size());
    for (std::size_t i = 0; i < demo.markers.size(); ++i) {
        Check(again.demo->markers[i].name == demo.markers[i].name &&
              again.demo->markers[i].update == demo.markers[i].update);
    }
    return 0;
}
