#include "graphics/FontData.h"

#include "graphics/FontServices.h"
#include "graphics/ImageLib.h"
#include "graphics/MemoryImage.h"

#include <algorithm>
#include <cstdint>
#include <utility>

namespace Zorva {

namespace {

constexpr const char* kInvalidType = "Invalid Paramater Type";
constexpr const char* kOutOfRange = "Value Out of Range";

std::string DirectoryOf(const std::string& fileName)
{
    const std::size_t slash = fileName.find_last_of("/\\");
    return slash == std::string::npos ? std::string() : fileName.substr(0, slash + 1);
}

} // namespace

FontData::FontData()
{
    for (int i = 0; i < 256; ++i) {
        charMap[static_cast<std::size_t>(i)] = static_cast<uint8_t>(i);
    }
}

bool FontData::SetUp(const std::string& fileName)
{
    sourceFile = fileName;
    fontErrorHeader = "Font Descriptor Error in " + fileName + "\r\n";
    lastErrorReport.clear();
    return !initialized;
}

bool FontData::Load(const std::string& fontDescFileName)
{
    if (!SetUp(fontDescFileName)) {
        return false;
    }
    initialized = LoadDescriptor(fontDescFileName);
    return initialized;
}

bool FontData::LoadText(std::string_view text, const std::string& fileName)
{
    if (!SetUp(fileName)) {
        return false;
    }
    initialized = LoadDescriptorText(text);
    return initialized;
}

bool FontData::Error(const std::string& message)
{
    DescParser::Error(message);
    std::string report = fontErrorHeader + message;
    if (!currentLine.empty()) {
        report += " on Line " + std::to_string(currentLineNum) + ":\r\n\r\n" + currentLine;
    }
    lastErrorReport = report;
    ReportFontError(report);
    return false;
}

FontLayer* FontData::FindLayer(const std::string& name)
{
    const auto found = fontLayerMap.find(ToUpper(name));
    return found == fontLayerMap.end() ? nullptr : found->second;
}

FontLayer* FontData::AddLayer(const std::string& name)
{
    const std::string upper = ToUpper(name);
    if (fontLayerMap.count(upper) != 0) {
        return nullptr;
    }
    FontLayer& layer = fontLayerList.emplace_back(this);
    fontLayerMap.emplace(upper, &layer);
    return &layer;
}

bool FontData::GetLayer(const DataElement& element, FontLayer*& layer)
{
    std::string name;
    if (!GetName(element, name)) {
        return false;
    }
    layer = FindLayer(name);
    return layer != nullptr || Error("Undefined Layer");
}

bool FontData::GetIntInRange(const DataElement& element, int32_t low, int32_t high, int32_t& out)
{
    if (!GetInt(element, out)) {
        return false;
    }
    return (out >= low && out <= high) || Error(kOutOfRange);
}

bool FontData::GetColor(const DataElement& element, Color& out)
{
    std::vector<double> channels;
    if (!GetDoubleVector(element, channels)) {
        return false;
    }
    if (channels.size() != 4) {
        return Error(kInvalidType);
    }
    for (const double channel : channels) {
        if (!(channel >= 0.0 && channel <= 1.0)) {
            return Error(kOutOfRange);
        }
    }
    out = Color(static_cast<int32_t>(channels[0] * 255), static_cast<int32_t>(channels[1] * 255),
                static_cast<int32_t>(channels[2] * 255), static_cast<int32_t>(channels[3] * 255));
    return true;
}

bool FontData::GetRect(const DataElement& element, Rect& out)
{
    std::vector<int32_t> values;
    if (!GetIntVector(element, values)) {
        return false;
    }
    if (values.size() != 4) {
        return Error(kInvalidType);
    }
    out = Rect(values[0], values[1], values[2], values[3]);
    return true;
}

bool FontData::GetIntPair(const DataElement& element, int32_t& first, int32_t& second)
{
    std::vector<int32_t> values;
    if (!GetIntVector(element, values)) {
        return false;
    }
    if (values.size() != 2) {
        return Error(kInvalidType);
    }
    if (values[0] < -kMaxMetric || values[0] > kMaxMetric || values[1] < -kMaxMetric ||
        values[1] > kMaxMetric) {
        return Error(kOutOfRange);
    }
    first = values[0];
    second = values[1];
    return true;
}

bool FontData::HandleCommand(const ListDataElement& command)
{
    const std::string name =
        ToUpper(static_cast<const SingleDataElement&>(*command.values[0]).value);
    const std::size_t count = command.values.size() - 1;
    auto param = [&](std::size_t i) -> const DataElement& { return *command.values[i + 1]; };

    if (name == "DEFINE") {
        return HandleDefine(command);
    }
    if (name == "CREATEHORZSPANRECTLIST") {
        if (count != 3) {
            return Error("Invalid Number of Parameters");
        }
        const DataElement& listName = param(0);
        if (listName.isList || IsImmediate(static_cast<const SingleDataElement&>(listName).value)) {
            return Error(kInvalidType);
        }
        Rect start;
        std::vector<int32_t> widths;
        if (!GetRect(param(1), start) || !GetIntVector(param(2), widths)) {
            return false;
        }
        if (widths.size() > kMaxValueElements / 5) {
            return Error("List Too Long");
        }
        auto rects = std::make_unique<ListDataElement>();
        int64_t x = start.x;
        for (const int32_t width : widths) {
            // Rects no image could hold are refused here rather than carried along.
            if (x < 0 || start.y < 0 || width < 0 || start.height < 0 ||
                x + width > ImageLib::kMaxImageSide ||
                int64_t{start.y} + start.height > ImageLib::kMaxImageSide) {
                return Error("Image rectangle out of bounds");
            }
            auto rect = std::make_unique<ListDataElement>();
            for (const int64_t v : {x, int64_t{start.y}, int64_t{width}, int64_t{start.height}}) {
                rect->values.push_back(std::make_unique<SingleDataElement>(std::to_string(v)));
            }
            rects->values.push_back(std::move(rect));
            x += width;
        }
        return SetDefine(ToUpper(static_cast<const SingleDataElement&>(listName).value),
                         std::move(rects));
    }
    if (name == "SETDEFAULTPOINTSIZE") {
        if (count != 1) {
            return Error("Invalid Number of Parameters");
        }
        return GetIntInRange(param(0), 0, kMaxPointSize, defaultPointSize);
    }
    if (name == "SETCHARMAP") {
        if (count != 2) {
            return Error("Invalid Number of Parameters");
        }
        std::vector<uint8_t> from;
        std::vector<uint8_t> to;
        if (!GetCharVector(param(0), from) || !GetCharVector(param(1), to)) {
            return false;
        }
        if (from.size() != to.size()) {
            return Error("List Size Mismatch");
        }
        for (std::size_t i = 0; i < from.size(); ++i) {
            charMap[from[i]] = to[i];
        }
        return true;
    }
    if (name == "CREATELAYER" || name == "CREATELAYERFROM") {
        const bool copy = name == "CREATELAYERFROM";
        if (count != (copy ? 2u : 1u)) {
            return Error("Invalid Number of Parameters");
        }
        std::string layerName;
        if (!GetName(param(0), layerName)) {
            return false;
        }
        FontLayer* source = nullptr;
        if (copy && !GetLayer(param(1), source)) {
            return false;
        }
        if (FindLayer(layerName) != nullptr) {
            return Error("Layer Already Exists");
        }
        if (static_cast<int>(fontLayerList.size()) >= kMaxLayers) {
            return Error("Too Many Layers");
        }
        FontLayer* layer = AddLayer(layerName);
        if (source != nullptr) {
            *layer = *source;
        }
        return true;
    }
    if (name.starts_with("LAYER")) {
        return HandleLayerCommand(name, command);
    }
    return Error("Unknown Command");
}

bool FontData::HandleLayerCommand(const std::string& name, const ListDataElement& command)
{
    const std::size_t count = command.values.size() - 1;
    auto param = [&](std::size_t i) -> const DataElement& { return *command.values[i + 1]; };
    auto expect = [&](std::size_t wanted, FontLayer*& layer) {
        if (count != wanted) {
            return Error("Invalid Number of Parameters");
        }
        return GetLayer(param(0), layer);
    };
    FontLayer* layer = nullptr;

    if (name == "LAYERREQUIRETAGS" || name == "LAYEREXCLUDETAGS") {
        std::vector<std::string> tags;
        if (!expect(2, layer) || !GetStringVector(param(1), tags)) {
            return false;
        }
        auto& target = name == "LAYERREQUIRETAGS" ? layer->requiredTags : layer->excludedTags;
        if (target.size() + tags.size() > kMaxValueElements) {
            return Error("List Too Long");
        }
        for (const std::string& tag : tags) {
            target.push_back(ToUpper(tag));
        }
        return true;
    }
    if (name == "LAYERPOINTRANGE") {
        int32_t low = 0;
        int32_t high = 0;
        if (!expect(3, layer) || !GetIntInRange(param(1), -1, kMaxPointSize, low) ||
            !GetIntInRange(param(2), -1, kMaxPointSize, high)) {
            return false;
        }
        layer->minPointSize = low;
        layer->maxPointSize = high;
        return true;
    }
    if (name == "LAYERSETPOINTSIZE") {
        return expect(2, layer) && GetIntInRange(param(1), 0, kMaxPointSize, layer->pointSize);
    }
    if (name == "LAYERSETIMAGE") {
        std::string fileName;
        if (!expect(2, layer) || !GetString(param(1), fileName)) {
            return false;
        }
        std::replace(fileName.begin(), fileName.end(), '\\', '/');
        SharedImage shared = GetSharedImage(DirectoryOf(sourceFile) + fileName);
        if (shared.image == nullptr) {
            return Error("Failed to Load Image");
        }
        if (shared.newlyLoaded) {
            // Glyph images have few colours; the palettised form is smaller and fast to blit.
            shared.image->MakePalettised();
        }
        layer->image = std::move(shared.image);
        return true;
    }
    if (name == "LAYERSETDRAWMODE") {
        int32_t mode = 0;
        if (!expect(2, layer) || !GetInt(param(1), mode)) {
            return false;
        }
        if (mode != 0 && mode != 1) {
            return Error(kInvalidType);
        }
        layer->drawMode = mode;
        return true;
    }
    if (name == "LAYERTEXTLIGHTNESSRANGE") {
        double low = 0.0;
        double high = 0.0;
        if (!expect(3, layer) || !GetDouble(param(1), low) || !GetDouble(param(2), high)) {
            return false;
        }
        if (!(low >= 0.0 && low <= high && high <= 1.0)) {
            return Error(kOutOfRange);
        }
        layer->minTextLightness = static_cast<int32_t>(low * 255);
        layer->maxTextLightness = static_cast<int32_t>(high * 255);
        return true;
    }
    if (name == "LAYERSETCOLORMULT") {
        return expect(2, layer) && GetColor(param(1), layer->colorMult);
    }
    if (name == "LAYERSETCOLORADD") {
        return expect(2, layer) && GetColor(param(1), layer->colorAdd);
    }
    if (name == "LAYERSETASCENT") {
        return expect(2, layer) && GetIntInRange(param(1), -kMaxMetric, kMaxMetric, layer->ascent);
    }
    if (name == "LAYERSETASCENTPADDING") {
        return expect(2, layer) &&
               GetIntInRange(param(1), -kMaxMetric, kMaxMetric, layer->ascentPadding);
    }
    if (name == "LAYERSETLINESPACINGOFFSET") {
        return expect(2, layer) &&
               GetIntInRange(param(1), -kMaxMetric, kMaxMetric, layer->lineSpacingOffset);
    }
    if (name == "LAYERSETOFFSET") {
        return expect(2, layer) && GetIntPair(param(1), layer->offsetX, layer->offsetY);
    }
    if (name == "LAYERSETSPACING") {
        return expect(2, layer) && GetIntInRange(param(1), -kMaxMetric, kMaxMetric, layer->spacing);
    }
    if (name == "LAYERSETBASEORDER") {
        return expect(2, layer) &&
               GetIntInRange(param(1), -kMaxMetric, kMaxMetric, layer->baseOrder);
    }

    // The remaining commands pair a list of characters with a list of values.
    const bool kerning = name == "LAYERSETKERNINGPAIRS";
    if (name != "LAYERSETCHARWIDTHS" && name != "LAYERSETIMAGEMAP" &&
        name != "LAYERSETCHAROFFSETS" && name != "LAYERSETCHARORDERS" && !kerning) {
        return Error("Unknown Command");
    }
    if (!expect(3, layer)) {
        return false;
    }
    std::vector<uint8_t> chars;
    std::vector<uint8_t> seconds;
    if (kerning) {
        std::vector<std::string> pairs;
        if (!GetStringVector(param(1), pairs)) {
            return false;
        }
        for (const std::string& pair : pairs) {
            if (pair.size() != 2) {
                return Error(kInvalidType);
            }
            chars.push_back(static_cast<uint8_t>(pair[0]));
            seconds.push_back(static_cast<uint8_t>(pair[1]));
        }
    } else if (!GetCharVector(param(1), chars)) {
        return false;
    }
    std::unique_ptr<ListDataElement> values;
    if (!GetList(param(2), values)) {
        return false;
    }
    if (values->values.size() != chars.size()) {
        return Error("List Size Mismatch");
    }
    if (name == "LAYERSETIMAGEMAP" && layer->image == nullptr) {
        return Error("Layer image not set");
    }
    for (std::size_t i = 0; i < chars.size(); ++i) {
        CharData& glyph = layer->charData[chars[i]];
        const DataElement& value = *values->values[i];
        if (name == "LAYERSETCHARWIDTHS") {
            if (!GetIntInRange(value, -kMaxMetric, kMaxMetric, glyph.width)) {
                return false;
            }
        } else if (name == "LAYERSETCHARORDERS") {
            if (!GetIntInRange(value, -kMaxMetric, kMaxMetric, glyph.order)) {
                return false;
            }
        } else if (name == "LAYERSETCHAROFFSETS") {
            if (!GetIntPair(value, glyph.offsetX, glyph.offsetY)) {
                return false;
            }
        } else if (kerning) {
            int32_t offset = 0;
            if (!GetIntInRange(value, INT8_MIN, INT8_MAX, offset)) {
                return false;
            }
            glyph.kerningOffsets[seconds[i]] = static_cast<int8_t>(offset);
        } else {
            Rect rect;
            if (!GetRect(value, rect)) {
                return false;
            }
            if (rect.x < 0 || rect.y < 0 || rect.width < 0 || rect.height < 0 ||
                int64_t{rect.x} + rect.width > layer->image->GetWidth() ||
                int64_t{rect.y} + rect.height > layer->image->GetHeight()) {
                return Error("Image rectangle out of bounds");
            }
            glyph.imageRect = rect;
        }
    }
    if (name == "LAYERSETIMAGEMAP") {
        int32_t height = 0;
        for (const CharData& glyph : layer->charData) {
            height = std::max(height, glyph.imageRect.height + glyph.offsetY);
        }
        layer->height = height;
    }
    return true;
}

} // namespace Zorva
