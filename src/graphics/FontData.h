#pragma once

#include "graphics/DescParser.h"
#include "graphics/FontLayer.h"

#include <array>
#include <cstdint>
#include <list>
#include <map>
#include <string>
#include <string_view>

namespace Zorva {

/// A parsed font descriptor: the layers, the character map and the default point size.
/// Shared by every ImageFont made from it (held by std::shared_ptr, so it is deleted with the
/// last one). It is loaded once; a failed load leaves it unloaded and reports the error.
class FontData : public DescParser
{
public:
    /// Bounds on what a descriptor may ask for.
    static constexpr int kMaxLayers = 64;
    static constexpr int32_t kMaxPointSize = 1000;
    /// Offsets, ascents, spacings and orders lie within +- this.
    static constexpr int32_t kMaxMetric = 1 << 16;

    FontData();

    /// Reports through ReportFontError with the file prefix and the command's line and text.
    bool Error(const std::string& message) override;
    bool HandleCommand(const ListDataElement& command) override;

    /// Loads the descriptor file; image names are relative to its directory.
    bool Load(const std::string& fontDescFileName);
    /// Loads descriptor text; `fileName` names it in errors and gives the image directory.
    bool LoadText(std::string_view text, const std::string& fileName);

    FontLayer* FindLayer(const std::string& name);
    /// A new layer, or null when the name is taken.
    FontLayer* AddLayer(const std::string& name);

    bool initialized = false;
    int32_t defaultPointSize = 0;
    std::array<uint8_t, 256> charMap{};
    /// In definition order; a list so that layer addresses stay put.
    std::list<FontLayer> fontLayerList;
    std::map<std::string, FontLayer*> fontLayerMap;
    std::string sourceFile;
    std::string fontErrorHeader;
    /// The last report, prefix and command text included.
    std::string lastErrorReport;

private:
    bool SetUp(const std::string& fileName);
    bool HandleLayerCommand(const std::string& name, const ListDataElement& command);
    bool GetLayer(const DataElement& element, FontLayer*& layer);
    bool GetIntInRange(const DataElement& element, int32_t low, int32_t high, int32_t& out);
    bool GetColor(const DataElement& element, Color& out);
    bool GetRect(const DataElement& element, Rect& out);
    bool GetIntPair(const DataElement& element, int32_t& first, int32_t& second);
};

} // namespace Zorva
