#pragma once

#include "resources/FontRes.h"
#include "resources/ImageRes.h"
#include "resources/SoundRes.h"

#include <map>
#include <memory>
#include <set>
#include <string>

namespace Zorva {

class ImageFont;
struct XMLNode;
class XMLParser;
class ResourceHost;

/// Reads the resource manifest once, then loads whole groups of images, sounds and fonts on
/// demand and hands them out by id. Only the first error is kept, with its place in the
/// manifest while parsing. Takes no lock: a group's objects are read only after that group
/// has finished loading.
class ResourceManager
{
public:
    using ResMap = std::map<std::string, std::unique_ptr<BaseRes>>;

    /// `host` provides the shared images, image loading and the sound manager; null loads
    /// images straight from their files and sounds nowhere.
    explicit ResourceManager(ResourceHost* host);
    virtual ~ResourceManager();
    ResourceManager(const ResourceManager&) = delete;
    ResourceManager& operator=(const ResourceManager&) = delete;

    virtual void DeleteResources(const std::string& group);
    /// Releases what is loaded of the group's entries (every entry when `group` is empty).
    virtual void DeleteMap(ResMap& map, const std::string& group);
    virtual bool LoadImageRes(ImageRes& res);
    virtual bool LoadFontRes(FontRes& res);
    virtual bool LoadNextImage();
    virtual bool LoadNextSound();
    virtual bool LoadNextFont();
    /// Loads the next image, else the next sound, else the next font of the current group;
    /// false when all are loaded or after a failure.
    virtual bool LoadNextResource();
    /// Starts loading `group` (empty: every group) from its first entry.
    virtual void StartLoading(const std::string& group);
    virtual bool LoadResources(const std::string& group);
    /// The loaded object, or ResourceManagerException with the error text.
    virtual std::shared_ptr<MemoryImage> GetImageOrThrow(const std::string& id);
    virtual int GetSoundOrThrow(const std::string& id);
    virtual ImageFont* GetFontOrThrow(const std::string& id);

    bool ParseManifest(const std::string& fileName);
    /// ParseManifest on a document held in memory (no file name in the messages).
    bool ParseManifestText(std::string text);
    bool HadError() const { return hasFailed; }
    std::string GetErrorText() const { return errorText; }
    bool IsGroupLoaded(const std::string& group) const;
    /// The images, sounds and fonts of the group that are loaded from files.
    int CountResources(const std::string& group) const;
    std::shared_ptr<MemoryImage> GetImage(const std::string& id) const;
    int GetSound(const std::string& id) const;
    ImageFont* GetFont(const std::string& id) const;

    const ResMap& Images() const { return images; }
    const ResMap& Sounds() const { return sounds; }
    const ResMap& Fonts() const { return fonts; }

protected:
    /// Records the first error (with line and file while parsing); always false.
    bool Fail(const std::string& message);
    bool LoadSoundRes(SoundRes& res);

    ResMap images;
    ResMap sounds;
    ResMap fonts;
    std::set<std::string> loadedGroups;
    ResMap::iterator imageCursor;
    ResMap::iterator soundCursor;
    ResMap::iterator fontCursor;
    std::unique_ptr<XMLParser> parser;
    std::string errorText;
    bool hasFailed = false;
    ResourceHost* host = nullptr;
    std::string currentGroup;
    std::string defaultPath;
    std::string defaultIdPrefix;
    int nextSoundId = 0;

private:
    bool ParseDocument();
    bool ParseGroups();
    bool ParseGroupChildren();
    bool ParseSetDefaults(const XMLNode& node);
    bool ParseResource(const XMLNode& node);
    /// Reads the end tag of an element that must be empty.
    bool ExpectEmptyElement();
    bool ParseImageAttributes(ImageRes& res);
    bool ParseSoundAttributes(SoundRes& res);
    bool LoadNextOf(ResMap& map, ResMap::iterator& cursor);
    bool LoadEntry(BaseRes& res);
    bool IsLoaded(const BaseRes& res) const;
    /// Makes sure the font `id` names is loaded, so that a reference can copy it.
    bool LoadReferencedFont(const std::string& id);
    bool ApplyAlphaImage(ImageRes& res, MemoryImage& image);
    bool ApplyAlphaGrid(ImageRes& res, MemoryImage& image);
    void PrepareImage(ImageRes& res, MemoryImage& image);
    bool Is3D() const;

    int fontReferenceDepth = 0;
};

} // namespace Zorva
