#include "app/SettingsStore.h"

#include "system/AtomicFile.h"

#include <cerrno>
#include <charconv>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <pwd.h>
#include <system_error>
#include <unistd.h>

namespace Zorva {

namespace {

constexpr char kHexDigits[] = "0123456789abcdef";

char LowerAscii(char c)
{
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool IsBareNameChar(char c)
{
    const unsigned char u = static_cast<unsigned char>(c);
    if ((u >= '0' && u <= '9') || (u >= 'a' && u <= 'z') || (u >= 'A' && u <= 'Z')) {
        return true;
    }
    return std::string_view("_-.+()/:,@").find(c) != std::string_view::npos;
}

int HexValue(char c)
{
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    const char lower = LowerAscii(c);
    if (lower >= 'a' && lower <= 'f') {
        return lower - 'a' + 10;
    }
    return -1;
}

void AppendHexByte(std::string& out, unsigned char byte)
{
    out += kHexDigits[byte >> 4];
    out += kHexDigits[byte & 0x0F];
}

/// Quotes `text` so that every byte survives a line-based file: printable ASCII stays
/// readable, everything else becomes an escape.
std::string Quote(std::string_view text)
{
    std::string out = "\"";
    for (const char c : text) {
        const unsigned char u = static_cast<unsigned char>(c);
        switch (c) {
        case '"':
            out += "\\\"";
            break;
        case '\\':
            out += "\\\\";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\r':
            out += "\\r";
            break;
        case '\t':
            out += "\\t";
            break;
        default:
            if (u < 0x20 || u >= 0x7F) {
                out += "\\x";
                AppendHexByte(out, u);
            } else {
                out += c;
            }
        }
    }
    out += '"';
    return out;
}

std::string FormatName(std::string_view name)
{
    for (const char c : name) {
        if (!IsBareNameChar(c)) {
            return Quote(name);
        }
    }
    return name.empty() ? Quote(name) : std::string(name);
}

/// Reads one line of the file, token by token; every Parse* returns false on malformed text.
class LineReader
{
public:
    explicit LineReader(std::string_view newLine) : line(newLine) {}

    void SkipBlanks()
    {
        while (pos < line.size() && (line[pos] == ' ' || line[pos] == '\t')) {
            ++pos;
        }
    }
    bool AtEnd() const { return pos >= line.size(); }
    bool Peek(char c) const { return pos < line.size() && line[pos] == c; }
    bool Expect(char c)
    {
        if (!Peek(c)) {
            return false;
        }
        ++pos;
        return true;
    }

    bool ParseName(std::string& out)
    {
        if (Peek('"')) {
            return ParseQuoted(out);
        }
        const std::size_t start = pos;
        while (pos < line.size() && IsBareNameChar(line[pos])) {
            ++pos;
        }
        out.assign(line.substr(start, pos - start));
        return pos > start;
    }

    bool ParseQuoted(std::string& out)
    {
        if (!Expect('"')) {
            return false;
        }
        out.clear();
        while (pos < line.size()) {
            const char c = line[pos++];
            if (c == '"') {
                return true;
            }
            if (c != '\\') {
                out += c;
                continue;
            }
            if (pos >= line.size()) {
                return false;
            }
            const char escaped = line[pos++];
            switch (escaped) {
            case '"':
                out += '"';
                break;
            case '\\':
                out += '\\';
                break;
            case 'n':
                out += '\n';
                break;
            case 'r':
                out += '\r';
                break;
            case 't':
                out += '\t';
                break;
            case 'x': {
                if (pos + 2 > line.size()) {
                    return false;
                }
                const int high = HexValue(line[pos]);
                const int low = HexValue(line[pos + 1]);
                if (high < 0 || low < 0) {
                    return false;
                }
                out += static_cast<char>(high * 16 + low);
                pos += 2;
                break;
            }
            default:
                return false;
            }
        }
        return false;
    }

    bool ParseInteger(int32_t& out)
    {
        const std::size_t start = pos;
        if (Peek('-')) {
            ++pos;
        }
        while (pos < line.size() && line[pos] >= '0' && line[pos] <= '9') {
            ++pos;
        }
        const auto [end, error] = std::from_chars(line.data() + start, line.data() + pos, out);
        return error == std::errc() && end == line.data() + pos;
    }

    bool ParseHex(std::string& out)
    {
        out.clear();
        while (pos < line.size() && HexValue(line[pos]) >= 0) {
            if (pos + 1 >= line.size() || HexValue(line[pos + 1]) < 0) {
                return false;
            }
            out += static_cast<char>(HexValue(line[pos]) * 16 + HexValue(line[pos + 1]));
            pos += 2;
        }
        return true;
    }

private:
    std::string_view line;
    std::size_t pos = 0;
};

std::pair<std::string, std::string> SplitName(const std::string& name)
{
    const std::size_t slash = name.find('\\');
    if (slash == std::string::npos) {
        return {std::string(), name};
    }
    return {name.substr(0, slash), name.substr(slash + 1)};
}

enum class ReadOutcome
{
    Read,
    Missing,
    Failed,
};

ReadOutcome ReadWholeFile(const std::string& path, std::string& out)
{
    std::error_code ec;
    const auto status = std::filesystem::status(path, ec);
    if (ec || !std::filesystem::exists(status)) {
        return ec && ec != std::errc::no_such_file_or_directory ? ReadOutcome::Failed
                                                                : ReadOutcome::Missing;
    }
    if (!std::filesystem::is_regular_file(status)) {
        return ReadOutcome::Failed;
    }
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        return ReadOutcome::Failed;
    }
    // Read at most one byte more than the limit, so an oversized file is noticed without
    // holding it all.
    out.clear();
    char chunk[4096];
    while (file && out.size() <= SettingsStore::kMaxFileSize) {
        file.read(chunk, sizeof chunk);
        out.append(chunk, static_cast<std::size_t>(file.gcount()));
    }
    if (file.bad()) {
        return ReadOutcome::Failed;
    }
    return ReadOutcome::Read;
}

} // namespace

bool SettingsStore::CaseInsensitiveLess::operator()(const std::string& a,
                                                    const std::string& b) const
{
    const std::size_t common = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < common; ++i) {
        const unsigned char ca = static_cast<unsigned char>(LowerAscii(a[i]));
        const unsigned char cb = static_cast<unsigned char>(LowerAscii(b[i]));
        if (ca != cb) {
            return ca < cb;
        }
    }
    return a.size() < b.size();
}

SettingsStore::SettingsStore(std::string newPath, SavePolicy newPolicy)
    : path(std::move(newPath)), policy(newPolicy)
{}

bool SettingsStore::Load()
{
    sections.clear();
    corruptBytes.clear();
    corruptKept = false;
    std::string text;
    switch (ReadWholeFile(path, text)) {
    case ReadOutcome::Missing:
        fileState = FileState::Missing;
        return false;
    case ReadOutcome::Failed:
        fileState = FileState::Unreadable;
        return false;
    case ReadOutcome::Read:
        break;
    }
    if (text.size() > kMaxFileSize || !Parse(text, *this)) {
        sections.clear();
        fileState = FileState::Corrupt;
        corruptBytes = std::move(text);
        return false;
    }
    fileState = FileState::Loaded;
    return true;
}

bool SettingsStore::Save(std::string* error)
{
    if (fileState == FileState::Unreadable) {
        if (error) {
            *error = "not replacing the unreadable settings file " + path;
        }
        return false;
    }
    const std::filesystem::path target(path);
    if (target.has_parent_path()) {
        std::error_code ec;
        std::filesystem::create_directories(target.parent_path(), ec);
    }
    if (fileState == FileState::Corrupt && !corruptKept) {
        if (!WriteFileAtomically(path + ".corrupt", corruptBytes, error)) {
            return false;
        }
        corruptKept = true;
        corruptBytes.clear();
    }
    if (!WriteFileAtomically(path, Format(), error)) {
        return false;
    }
    fileState = FileState::Loaded;
    return true;
}

bool SettingsStore::Commit(Sections previous)
{
    if (policy == SavePolicy::OnSave || Save()) {
        return true;
    }
    // A write that did not reach the file changes nothing.
    sections = std::move(previous);
    return false;
}

bool SettingsStore::Store(const std::string& name, Value value)
{
    Sections previous = sections;
    auto [sectionName, valueName] = SplitName(name);
    sections[sectionName][valueName] = std::move(value);
    return Commit(std::move(previous));
}

bool SettingsStore::WriteString(const std::string& name, const std::string& text)
{
    return Store(name, Value{ValueType::String, text, 0});
}

bool SettingsStore::WriteInteger(const std::string& name, int32_t value)
{
    return Store(name, Value{ValueType::Integer, std::string(), value});
}

bool SettingsStore::WriteBoolean(const std::string& name, bool flag)
{
    return WriteInteger(name, flag ? 1 : 0);
}

bool SettingsStore::WriteBytes(const std::string& name, const uint8_t* data, std::size_t length)
{
    if (data == nullptr && length > 0) {
        return false;
    }
    std::string bytes;
    if (length > 0) {
        bytes.assign(reinterpret_cast<const char*>(data), length);
    }
    return Store(name, Value{ValueType::Bytes, std::move(bytes), 0});
}

const SettingsStore::Value* SettingsStore::Find(const std::string& name) const
{
    const auto [sectionName, valueName] = SplitName(name);
    const auto section = sections.find(sectionName);
    if (section == sections.end()) {
        return nullptr;
    }
    const auto value = section->second.find(valueName);
    return value == section->second.end() ? nullptr : &value->second;
}

bool SettingsStore::ReadString(const std::string& name, std::string& out) const
{
    const Value* value = Find(name);
    if (value == nullptr || value->type != ValueType::String) {
        return false;
    }
    out = value->bytes.substr(0, kMaxStringRead);
    return true;
}

bool SettingsStore::ReadInteger(const std::string& name, int32_t& out) const
{
    const Value* value = Find(name);
    if (value == nullptr || value->type != ValueType::Integer) {
        return false;
    }
    out = value->integer;
    return true;
}

bool SettingsStore::ReadBoolean(const std::string& name, bool& out) const
{
    int32_t value = 0;
    if (!ReadInteger(name, value)) {
        return false;
    }
    out = value != 0;
    return true;
}

bool SettingsStore::ReadBytes(const std::string& name, std::vector<uint8_t>& out) const
{
    const Value* value = Find(name);
    if (value == nullptr || value->type != ValueType::Bytes) {
        return false;
    }
    out.assign(value->bytes.begin(), value->bytes.end());
    return true;
}

bool SettingsStore::DeleteValue(const std::string& name)
{
    const auto [sectionName, valueName] = SplitName(name);
    auto section = sections.find(sectionName);
    if (section == sections.end() || section->second.find(valueName) == section->second.end()) {
        return false;
    }
    Sections previous = sections;
    section->second.erase(valueName);
    if (section->second.empty()) {
        sections.erase(section);
    }
    return Commit(std::move(previous));
}

std::string SettingsStore::Format() const
{
    std::string out = "# Quarrow settings. One value a line: name = s:\"text\", i:integer or "
                      "b:hex bytes; [name] starts a sub-key.\n";
    for (const auto& [sectionName, values] : sections) {
        if (values.empty()) {
            continue;
        }
        if (!sectionName.empty()) {
            out += "\n[" + FormatName(sectionName) + "]\n";
        }
        for (const auto& [valueName, value] : values) {
            out += FormatName(valueName) + " = ";
            switch (value.type) {
            case ValueType::String:
                out += "s:" + Quote(value.bytes);
                break;
            case ValueType::Integer:
                out += "i:" + std::to_string(value.integer);
                break;
            case ValueType::Bytes:
                out += "b:";
                for (const char c : value.bytes) {
                    AppendHexByte(out, static_cast<unsigned char>(c));
                }
                break;
            }
            out += '\n';
        }
    }
    return out;
}

bool SettingsStore::Parse(std::string_view text, SettingsStore& into)
{
    Sections parsed;
    std::string section;
    std::size_t start = 0;
    while (start <= text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string_view::npos) {
            end = text.size();
        }
        std::string_view line = text.substr(start, end - start);
        start = end + 1;
        if (!line.empty() && line.back() == '\r') {
            line.remove_suffix(1);
        }
        LineReader reader(line);
        reader.SkipBlanks();
        if (reader.AtEnd() || reader.Peek('#') || reader.Peek(';')) {
            continue;
        }
        if (reader.Expect('[')) {
            reader.SkipBlanks();
            if (!reader.ParseName(section)) {
                return false;
            }
            reader.SkipBlanks();
            if (!reader.Expect(']')) {
                return false;
            }
        } else {
            std::string name;
            Value value;
            if (!reader.ParseName(name)) {
                return false;
            }
            reader.SkipBlanks();
            if (!reader.Expect('=')) {
                return false;
            }
            reader.SkipBlanks();
            bool ok = false;
            if (reader.Expect('s')) {
                value.type = ValueType::String;
                ok = reader.Expect(':') && reader.ParseQuoted(value.bytes);
            } else if (reader.Expect('i')) {
                value.type = ValueType::Integer;
                ok = reader.Expect(':') && reader.ParseInteger(value.integer);
            } else if (reader.Expect('b')) {
                value.type = ValueType::Bytes;
                ok = reader.Expect(':') && reader.ParseHex(value.bytes);
            }
            if (!ok) {
                return false;
            }
            parsed[section][name] = std::move(value);
        }
        reader.SkipBlanks();
        if (!reader.AtEnd()) {
            return false;
        }
    }
    into.sections = std::move(parsed);
    return true;
}

std::string SettingsFilePath(std::string_view registryKey)
{
    return SettingsFilePath(registryKey, std::getenv("QUARROW_HOME"),
                            std::getenv("XDG_CONFIG_HOME"), std::getenv("HOME"));
}

std::string SettingsFilePath(std::string_view registryKey, const char* quarrowHome,
                             const char* xdgConfigHome, const char* home)
{
    constexpr const char* kFileName = "settings.conf";
    if (quarrowHome != nullptr && *quarrowHome != '\0') {
        return std::string(quarrowHome) + "/" + kFileName;
    }
    std::string base;
    if (xdgConfigHome != nullptr && *xdgConfigHome != '\0') {
        base = xdgConfigHome;
    } else {
        std::string homeFolder = home != nullptr ? home : "";
        if (homeFolder.empty()) {
            if (const passwd* entry = ::getpwuid(::getuid()); entry && entry->pw_dir) {
                homeFolder = entry->pw_dir;
            }
        }
        base = homeFolder + "/.config";
    }
    std::string key(registryKey);
    if (!key.empty() && key.back() == '\\') {
        key.pop_back();
    }
    for (char& c : key) {
        if (c == '\\') {
            c = '/';
        }
    }
    return base + "/" + (key.empty() ? std::string() : key + "/") + kFileName;
}

} // namespace Zorva
