#include "resources/ResourceManager.h"

#include "graphics/ImageFont.h"
#include "graphics/ImageLib.h"
#include "graphics/MemoryImage.h"
#include "resources/ResourceHost.h"
#include "resources/ResourceManagerException.h"
#include "resources/XMLParser.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <limits>

namespace Zorva {

namespace {

/// Cells per row or column beyond this are refused as nonsense rather than allocated.
constexpr int kMaxCells = 4096;
constexpr uint32_t kDefaultAlphaColor = 0xFFFFFF;
constexpr const char* kProgramPath = "!program";
constexpr const char* kRefPrefix = "!ref:";
/// References reaching further than this through other references are taken for a cycle.
constexpr int kMaxFontReferenceChain = 16;

bool Has(const BaseRes& res, const char* name)
{
    return res.attributes.count(name) != 0;
}

const std::string* Attribute(const BaseRes& res, const char* name)
{
    const auto found = res.attributes.find(name);
    return found != res.attributes.end() ? &found->second : nullptr;
}

/// The standard integer conversion from the text's start, saturated to int.
int ToInt(const std::string& text)
{
    const long long value = std::strtoll(text.c_str(), nullptr, 10);
    return static_cast<int>(std::clamp<long long>(value, std::numeric_limits<int>::min(),
                                                  std::numeric_limits<int>::max()));
}

std::vector<int32_t> ToIntList(const std::string& text)
{
    std::vector<int32_t> values;
    std::size_t start = 0;
    while (start <= text.size()) {
        const std::size_t comma = text.find(',', start);
        const std::size_t end = comma == std::string::npos ? text.size() : comma;
        values.push_back(ToInt(text.substr(start, end - start)));
        if (comma == std::string::npos) {
            break;
        }
        start = comma + 1;
    }
    return values;
}

std::string Lower(std::string text)
{
    for (char& c : text) {
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    return text;
}

/// The file name without folders and extension.
std::string Stem(const std::string& path)
{
    const std::size_t slash = path.find_last_of("/\\");
    std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    const std::size_t dot = name.rfind('.');
    if (dot != std::string::npos) {
        name.erase(dot);
    }
    return name;
}

std::string WithoutTrailingSlash(std::string text)
{
    if (!text.empty() && (text.back() == '/' || text.back() == '\\')) {
        text.pop_back();
    }
    return text;
}

std::string Replace(const char* format, const std::string& first, const std::string& second = {})
{
    std::string text = format;
    const std::size_t at = text.find("%s");
    if (at != std::string::npos) {
        text.replace(at, 2, first);
        const std::size_t next = text.find("%s", at + first.size());
        if (next != std::string::npos) {
            text.replace(next, 2, second);
        }
    }
    return text;
}

} // namespace

ResourceManager::ResourceManager(ResourceHost* resourceHost) : host(resourceHost)
{
    imageCursor = images.end();
    soundCursor = sounds.end();
    fontCursor = fonts.end();
}

ResourceManager::~ResourceManager() = default;

bool ResourceManager::Fail(const std::string& message)
{
    if (!hasFailed) {
        hasFailed = true;
        errorText = message;
        if (parser) {
            if (parser->GetCurrentLineNum() > 0) {
                errorText += " on Line " + std::to_string(parser->GetCurrentLineNum());
            }
            if (!parser->GetFileName().empty()) {
                errorText += " in File '" + parser->GetFileName() + "'";
            }
        }
    }
    return false;
}

// ---- parsing ----

bool ResourceManager::ParseManifest(const std::string& fileName)
{
    parser = std::make_unique<XMLParser>();
    if (!parser->OpenFile(fileName)) {
        Fail("Resource file not found: " + fileName);
        parser.reset();
        return false;
    }
    return ParseDocument();
}

bool ResourceManager::ParseManifestText(std::string text)
{
    parser = std::make_unique<XMLParser>();
    parser->OpenBuffer(std::move(text));
    return ParseDocument();
}

bool ResourceManager::ParseDocument()
{
    XMLNode node;
    bool foundRoot = false;
    while (!hasFailed && parser->NextNode(node)) {
        if (node.type == XMLNodeType::StartTag) {
            foundRoot = node.value == "ResourceManifest";
            break;
        }
    }
    if (parser->HasFailed()) {
        Fail(parser->GetErrorText());
    } else if (!foundRoot) {
        Fail("Expecting ResourceManifest tag");
    } else {
        ParseGroups();
    }
    parser.reset();
    return !hasFailed;
}

bool ResourceManager::ParseGroups()
{
    XMLNode node;
    while (parser->NextNode(node)) {
        if (node.type == XMLNodeType::StartTag) {
            if (node.value != "Resources") {
                return Fail("Invalid Section '" + node.value + "'");
            }
            const auto id = node.attributes.find("id");
            if (id == node.attributes.end() || id->second.empty()) {
                return Fail("No id specified.");
            }
            currentGroup = id->second;
            if (!ParseGroupChildren()) {
                return false;
            }
        } else if (node.type == XMLNodeType::Text) {
            return Fail("Element Not Expected '" + node.value + "'");
        }
    }
    if (parser->HasFailed()) {
        return Fail(parser->GetErrorText());
    }
    return true;
}

bool ResourceManager::ParseGroupChildren()
{
    XMLNode node;
    while (parser->NextNode(node)) {
        switch (node.type) {
        case XMLNodeType::StartTag:
            if (node.value == "SetDefaults") {
                if (!ParseSetDefaults(node)) {
                    return false;
                }
            } else if (node.value == "Image" || node.value == "Sound" || node.value == "Font") {
                if (!ParseResource(node)) {
                    return false;
                }
            } else {
                return Fail("Invalid Section '" + node.value + "'");
            }
            if (!ExpectEmptyElement()) {
                return false;
            }
            break;
        case XMLNodeType::Text:
            return Fail("Element Not Expected '" + node.value + "'");
        case XMLNodeType::EndTag:
            return true;
        default:
            break;
        }
    }
    if (parser->HasFailed()) {
        return Fail(parser->GetErrorText());
    }
    return true;
}

bool ResourceManager::ExpectEmptyElement()
{
    XMLNode node;
    while (parser->NextNode(node)) {
        if (node.type == XMLNodeType::EndTag) {
            return true;
        }
        if (node.type == XMLNodeType::StartTag) {
            return Fail("Unexpected element found.");
        }
        if (node.type == XMLNodeType::Text) {
            return Fail("Element Not Expected '" + node.value + "'");
        }
    }
    if (parser->HasFailed()) {
        return Fail(parser->GetErrorText());
    }
    return true;
}

bool ResourceManager::ParseSetDefaults(const XMLNode& node)
{
    const auto path = node.attributes.find("path");
    if (path != node.attributes.end()) {
        defaultPath = WithoutTrailingSlash(path->second) + "/";
    }
    const auto prefix = node.attributes.find("idprefix");
    if (prefix != node.attributes.end()) {
        defaultIdPrefix = WithoutTrailingSlash(prefix->second);
    }
    return true;
}

bool ResourceManager::ParseResource(const XMLNode& node)
{
    std::unique_ptr<BaseRes> res;
    ResMap* map = nullptr;
    if (node.value == "Image") {
        res = std::make_unique<ImageRes>();
        map = &images;
    } else if (node.value == "Sound") {
        res = std::make_unique<SoundRes>();
        map = &sounds;
    } else {
        res = std::make_unique<FontRes>();
        map = &fonts;
    }
    res->group = currentGroup;
    res->attributes = node.attributes;
    const std::string* path = Attribute(*res, "path");
    if (path == nullptr) {
        return Fail("No path specified.");
    }
    res->path = !path->empty() && (*path)[0] == '!' ? *path : defaultPath + *path;
    res->fromProgram = res->path == kProgramPath;
    const std::string* id = Attribute(*res, "id");
    res->id = defaultIdPrefix + (id != nullptr ? *id : Stem(res->path));
    if (map->count(res->id) != 0) {
        return Fail("Resource already defined.");
    }
    if (auto* image = dynamic_cast<ImageRes*>(res.get())) {
        if (!ParseImageAttributes(*image)) {
            return false;
        }
    } else if (auto* sound = dynamic_cast<SoundRes*>(res.get())) {
        if (!ParseSoundAttributes(*sound)) {
            return false;
        }
    } else if (auto* font = dynamic_cast<FontRes*>(res.get())) {
        if (const std::string* imagePath = Attribute(*font, "image")) {
            font->imagePath = *imagePath;
        }
        if (const std::string* tags = Attribute(*font, "tags")) {
            font->tags = *tags;
        }
    }
    std::string key = res->id;
    map->emplace(std::move(key), std::move(res));
    return true;
}

bool ResourceManager::ParseImageAttributes(ImageRes& res)
{
    if (const std::string* alpha = Attribute(res, "alphaimage")) {
        res.alphaImagePath = defaultPath + *alpha;
    }
    if (const std::string* grid = Attribute(res, "alphagrid")) {
        res.alphaGridPath = defaultPath + *grid;
    }
    if (const std::string* variant = Attribute(res, "variant")) {
        res.variant = *variant;
    }
    res.palletize = !Has(res, "nopal");
    res.a4r4g4b4 = Has(res, "a4r4g4b4");
    res.a8r8g8b8 = Has(res, "a8r8g8b8");
    res.ddSurface = Has(res, "ddsurface");
    res.purgeBits = Has(res, "nobits") || (Is3D() ? Has(res, "nobits3d") : Has(res, "nobits2d"));
    res.minSubdivide = Has(res, "minsubdivide");
    res.hasAlpha = !Has(res, "noalpha");
    if (const std::string* rows = Attribute(res, "rows")) {
        res.rows = std::clamp(ToInt(*rows), 1, kMaxCells);
    }
    if (const std::string* cols = Attribute(res, "cols")) {
        res.cols = std::clamp(ToInt(*cols), 1, kMaxCells);
    }
    if (const std::string* color = Attribute(res, "alphacolor")) {
        unsigned int value = kDefaultAlphaColor;
        if (std::sscanf(color->c_str(), "%x", &value) == 1) {
            res.alphaColor = value;
        }
    }
    const std::string* animName = Attribute(res, "anim");
    if (animName == nullptr) {
        return true;
    }
    AnimInfo anim;
    const std::string type = Lower(*animName);
    if (type == "none") {
        anim.type = AnimInfo::kNone;
    } else if (type == "once") {
        anim.type = AnimInfo::kOnce;
    } else if (type == "loop") {
        anim.type = AnimInfo::kLoop;
    } else if (type == "pingpong") {
        anim.type = AnimInfo::kPingPong;
    } else {
        return Fail("Invalid animation type.");
    }
    if (anim.type == AnimInfo::kNone) {
        return true;
    }
    if (const std::string* delay = Attribute(res, "framedelay")) {
        anim.frameDelay = ToInt(*delay);
    }
    if (const std::string* delays = Attribute(res, "perframedelay")) {
        anim.perFrameDelays = ToIntList(*delays);
    }
    if (const std::string* frames = Attribute(res, "framemap")) {
        anim.frameMap = ToIntList(*frames);
    }
    const std::string* begin = Attribute(res, "begindelay");
    const std::string* end = Attribute(res, "enddelay");
    anim.SetUp(std::max(res.rows, res.cols), begin != nullptr ? ToInt(*begin) : 0,
               end != nullptr ? ToInt(*end) : 0);
    res.anim = std::move(anim);
    return true;
}

bool ResourceManager::ParseSoundAttributes(SoundRes& res)
{
    if (const std::string* volume = Attribute(res, "volume")) {
        double value = -1.0;
        if (std::sscanf(volume->c_str(), "%lf", &value) == 1) {
            res.volume = value;
        }
    }
    if (const std::string* pan = Attribute(res, "pan")) {
        int value = 0;
        if (std::sscanf(pan->c_str(), "%d", &value) == 1) {
            res.pan = value;
        }
    }
    return true;
}

bool ResourceManager::Is3D() const
{
    return host != nullptr && host->Is3D();
}

// ---- loading ----

void ResourceManager::StartLoading(const std::string& group)
{
    currentGroup = group;
    imageCursor = images.begin();
    soundCursor = sounds.begin();
    fontCursor = fonts.begin();
}

bool ResourceManager::LoadResources(const std::string& group)
{
    errorText.clear();
    hasFailed = false;
    StartLoading(group);
    while (LoadNextResource()) {
    }
    if (hasFailed) {
        return false;
    }
    loadedGroups.insert(group);
    return true;
}

bool ResourceManager::LoadNextResource()
{
    if (hasFailed) {
        return false;
    }
    return LoadNextImage() || (!hasFailed && LoadNextSound()) || (!hasFailed && LoadNextFont());
}

bool ResourceManager::LoadNextImage()
{
    return LoadNextOf(images, imageCursor);
}

bool ResourceManager::LoadNextSound()
{
    return LoadNextOf(sounds, soundCursor);
}

bool ResourceManager::LoadNextFont()
{
    return LoadNextOf(fonts, fontCursor);
}

bool ResourceManager::LoadNextOf(ResMap& map, ResMap::iterator& cursor)
{
    if (hasFailed) {
        return false;
    }
    for (; cursor != map.end(); ++cursor) {
        BaseRes& res = *cursor->second;
        if (!currentGroup.empty() && res.group != currentGroup) {
            continue;
        }
        if (res.fromProgram || IsLoaded(res)) {
            continue;
        }
        return LoadEntry(res);
    }
    return false;
}

bool ResourceManager::IsLoaded(const BaseRes& res) const
{
    if (const auto* image = dynamic_cast<const ImageRes*>(&res)) {
        return image->image != nullptr;
    }
    if (const auto* sound = dynamic_cast<const SoundRes*>(&res)) {
        return sound->soundId >= 0;
    }
    return static_cast<const FontRes&>(res).font != nullptr;
}

bool ResourceManager::LoadEntry(BaseRes& res)
{
    if (auto* image = dynamic_cast<ImageRes*>(&res)) {
        return LoadImageRes(*image);
    }
    if (auto* sound = dynamic_cast<SoundRes*>(&res)) {
        return LoadSoundRes(*sound);
    }
    return LoadFontRes(static_cast<FontRes&>(res));
}

bool ResourceManager::LoadImageRes(ImageRes& res)
{
    ImageLib::SetAlphaColor(res.alphaColor);
    SharedImage shared;
    if (host != nullptr) {
        shared = host->GetSharedImage(res.path, res.variant);
    } else {
        shared = Zorva::GetSharedImage(res.path);
    }
    ImageLib::SetAlphaColor(kDefaultAlphaColor);
    if (shared.image == nullptr) {
        return Fail(Replace("Failed to load image: %s", res.path));
    }
    MemoryImage& image = *shared.image;
    if (shared.newlyLoaded) {
        if (!res.alphaImagePath.empty() && !ApplyAlphaImage(res, image)) {
            return false;
        }
        if (!res.alphaGridPath.empty() && !ApplyAlphaGrid(res, image)) {
            return false;
        }
    }
    res.image = shared.image;
    PrepareImage(res, image);
    return true;
}

bool ResourceManager::ApplyAlphaImage(ImageRes& res, MemoryImage& image)
{
    const auto alpha = ImageLib::LoadImageFile(res.alphaImagePath, false);
    if (alpha == nullptr || alpha->width != image.GetWidth() ||
        alpha->height != image.GetHeight()) {
        return Fail(
            Replace("AlphaImage size mismatch between %s and %s", res.path, res.alphaImagePath));
    }
    uint32_t* pixels = image.GetPixels();
    const std::size_t count =
        static_cast<std::size_t>(image.GetWidth()) * static_cast<std::size_t>(image.GetHeight());
    for (std::size_t i = 0; i < count; ++i) {
        pixels[i] = (pixels[i] & 0x00FFFFFFu) | ((alpha->bits[i] & 0xFFu) << 24);
    }
    image.PixelsChanged();
    return true;
}

bool ResourceManager::ApplyAlphaGrid(ImageRes& res, MemoryImage& image)
{
    const auto grid = ImageLib::LoadImageFile(res.alphaGridPath, false);
    const int cellWidth = image.GetWidth() / res.cols;
    const int cellHeight = image.GetHeight() / res.rows;
    if (grid == nullptr || grid->width != cellWidth || grid->height != cellHeight) {
        return Fail(
            Replace("GridAlphaImage size mismatch between %s and %s", res.path, res.alphaGridPath));
    }
    uint32_t* pixels = image.GetPixels();
    const int width = image.GetWidth();
    for (int row = 0; row < res.rows; ++row) {
        for (int col = 0; col < res.cols; ++col) {
            for (int y = 0; y < cellHeight; ++y) {
                uint32_t* line = pixels + static_cast<std::size_t>(row * cellHeight + y) * width +
                                 static_cast<std::size_t>(col) * cellWidth;
                const uint32_t* alphaLine =
                    grid->bits.get() + static_cast<std::size_t>(y) * cellWidth;
                for (int x = 0; x < cellWidth; ++x) {
                    line[x] = (line[x] & 0x00FFFFFFu) | ((alphaLine[x] & 0xFFu) << 24);
                }
            }
        }
    }
    image.PixelsChanged();
    return true;
}

void ResourceManager::PrepareImage(ImageRes& res, MemoryImage& image)
{
    image.purgeBits = res.purgeBits;
    image.drawHints = 0;
    if (res.ddSurface) {
        image.drawHints |= MemoryImage::kHintDisplaySurface;
    }
    if (res.a4r4g4b4) {
        image.drawHints |= MemoryImage::kHintA4R4G4B4;
    }
    if (res.a8r8g8b8) {
        image.drawHints |= MemoryImage::kHintA8R8G8B8;
    }
    if (res.minSubdivide) {
        image.drawHints |= MemoryImage::kHintMinSubdivide;
    }
    if (res.palletize) {
        image.wantPal = true;
        image.MakePalettised();
    }
    if (res.anim.has_value()) {
        image.animInfo = std::make_unique<AnimInfo>(*res.anim);
    }
    image.numRows = res.rows;
    image.numCols = res.cols;
    if (res.purgeBits) {
        image.DropPixels();
    }
}

bool ResourceManager::LoadSoundRes(SoundRes& res)
{
    if (host != nullptr && !host->LoadSoundResource(nextSoundId, res.path, res.volume, res.pan)) {
        return Fail(Replace("Failed to load sound: %s", res.path));
    }
    res.soundId = nextSoundId++;
    return true;
}

bool ResourceManager::LoadFontRes(FontRes& res)
{
    std::unique_ptr<ImageFont> font;
    if (!res.imagePath.empty()) {
        std::unique_ptr<MemoryImage> image;
        if (host != nullptr) {
            image = host->LoadImageToSurface(res.imagePath, true);
        }
        if (image == nullptr) {
            return Fail(Replace("Failed to load image: %s", res.imagePath));
        }
        font =
            std::make_unique<ImageFont>(std::shared_ptr<MemoryImage>(std::move(image)), res.path);
    } else if (res.path.rfind(kRefPrefix, 0) == 0) {
        const std::string refId = res.path.substr(std::char_traits<char>::length(kRefPrefix));
        ImageFont* original = LoadReferencedFont(refId) ? GetFont(refId) : nullptr;
        if (original == nullptr) {
            return Fail("Ref font not found: " + refId);
        }
        font = std::make_unique<ImageFont>(*original);
    } else {
        font = std::make_unique<ImageFont>(res.path);
    }
    if (!font->IsLoaded()) {
        return Fail(Replace("Failed to load font: %s", res.path));
    }
    std::size_t start = 0;
    const std::string separators = ", \r\n\t";
    while (start < res.tags.size()) {
        const std::size_t end = res.tags.find_first_of(separators, start);
        const std::string tag =
            res.tags.substr(start, end == std::string::npos ? end : end - start);
        if (!tag.empty()) {
            font->AddTag(tag);
        }
        if (end == std::string::npos) {
            break;
        }
        start = end + 1;
    }
    res.font = std::move(font);
    return true;
}

bool ResourceManager::LoadReferencedFont(const std::string& id)
{
    const auto found = fonts.find(id);
    if (found == fonts.end()) {
        return false;
    }
    // The font a reference copies may sort after it, or belong to a group not loaded yet.
    auto& original = static_cast<FontRes&>(*found->second);
    if (original.font != nullptr) {
        return true;
    }
    if (original.fromProgram || fontReferenceDepth >= kMaxFontReferenceChain) {
        return false;
    }
    ++fontReferenceDepth;
    const bool loaded = LoadFontRes(original);
    --fontReferenceDepth;
    return loaded;
}

// ---- releasing and lookups ----

void ResourceManager::DeleteResources(const std::string& group)
{
    DeleteMap(images, group);
    DeleteMap(sounds, group);
    DeleteMap(fonts, group);
    loadedGroups.erase(group);
}

void ResourceManager::DeleteMap(ResMap& map, const std::string& group)
{
    for (auto& entry : map) {
        if (group.empty() || entry.second->group == group) {
            entry.second->ReleaseLoaded();
        }
    }
}

bool ResourceManager::IsGroupLoaded(const std::string& group) const
{
    return loadedGroups.count(group) != 0;
}

int ResourceManager::CountResources(const std::string& group) const
{
    int count = 0;
    for (const ResMap* map : {&images, &sounds, &fonts}) {
        for (const auto& entry : *map) {
            if ((group.empty() || entry.second->group == group) && !entry.second->fromProgram) {
                ++count;
            }
        }
    }
    return count;
}

std::shared_ptr<MemoryImage> ResourceManager::GetImage(const std::string& id) const
{
    const auto found = images.find(id);
    return found != images.end() ? static_cast<const ImageRes&>(*found->second).image : nullptr;
}

int ResourceManager::GetSound(const std::string& id) const
{
    const auto found = sounds.find(id);
    return found != sounds.end() ? static_cast<const SoundRes&>(*found->second).soundId : -1;
}

ImageFont* ResourceManager::GetFont(const std::string& id) const
{
    const auto found = fonts.find(id);
    return found != fonts.end() ? static_cast<const FontRes&>(*found->second).font.get() : nullptr;
}

std::shared_ptr<MemoryImage> ResourceManager::GetImageOrThrow(const std::string& id)
{
    auto image = GetImage(id);
    if (image == nullptr) {
        Fail(Replace("Image resource not found: %s", id));
        throw ResourceManagerException(errorText);
    }
    return image;
}

int ResourceManager::GetSoundOrThrow(const std::string& id)
{
    const int sound = GetSound(id);
    if (sound < 0) {
        Fail(Replace("Sound resource not found: %s", id));
        throw ResourceManagerException(errorText);
    }
    return sound;
}

ImageFont* ResourceManager::GetFontOrThrow(const std::string& id)
{
    ImageFont* font = GetFont(id);
    if (font == nullptr) {
        Fail(Replace("Font resource not found: %s", id));
        throw ResourceManagerException(errorText);
    }
    return font;
}

} // namespace Zorva
