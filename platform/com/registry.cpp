#include "platform/com/registry.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <map>
#include <memory>

#include "platform/com/fs.h"
#include "platform/values/text.h"

namespace plat {
namespace {

constexpr std::string_view kHeader = "Windows Registry Editor Version 5.00";

// Splits a key path at "\", dropping empty parts, so "\Software\\X\" is "Software\X".
std::vector<std::string> SplitPath(std::string_view path) {
    std::vector<std::string> parts;
    size_t start = 0;
    while (start <= path.size()) {
        size_t end = path.find('\\', start);
        if (end == std::string_view::npos) end = path.size();
        if (end > start) parts.emplace_back(path.substr(start, end - start));
        start = end + 1;
    }
    return parts;
}

std::string JoinPath(const std::vector<std::string>& parts, size_t count) {
    std::string out;
    for (size_t i = 0; i < count; ++i) {
        if (i) out += '\\';
        out += parts[i];
    }
    return out;
}

// Sorts keys in tree order: a key, then its whole subtree, then its next sibling.
std::string SortKey(std::string_view path) {
    std::string key = ToLower(path);
    std::replace(key.begin(), key.end(), '\\', '\x01');
    return key;
}

struct Key {
    std::string path;  // as first written
    std::vector<std::pair<std::string, std::string>> values;

    std::pair<std::string, std::string>* Find(std::string_view name) {
        for (auto& v : values) {
            if (EqualsNoCase(v.first, name)) return &v;
        }
        return nullptr;
    }
};

// One hive: keys by their tree-order sort key.
using HiveKeys = std::map<std::string, Key>;

struct Data {
    std::map<Hive, HiveKeys> hives;

    HiveKeys& Of(Hive h) { return hives[h]; }

    Key* Find(Hive h, std::string_view path) {
        auto& keys = Of(h);
        auto parts = SplitPath(path);
        auto it = keys.find(SortKey(JoinPath(parts, parts.size())));
        return it == keys.end() ? nullptr : &it->second;
    }

    // Creates the key and its ancestors; an existing ancestor keeps its case.
    Key& Create(Hive h, std::string_view path) {
        auto parts = SplitPath(path);
        auto& keys = Of(h);
        std::string stored;
        Key* key = nullptr;
        for (size_t i = 0; i <= parts.size(); ++i) {
            if (i == 0 && !parts.empty()) continue;  // the hive root is implicit unless it is the target
            std::string sortKey = SortKey(JoinPath(parts, i));
            auto it = keys.find(sortKey);
            if (it == keys.end()) {
                std::string name = i == 0 ? "" : (stored.empty() ? parts[i - 1] : stored + '\\' + parts[i - 1]);
                it = keys.emplace(sortKey, Key{name, {}}).first;
            }
            stored = it->second.path;
            key = &it->second;
        }
        return *key;
    }
};

const std::pair<Hive, std::string_view> kHives[] = {
    {Hive::LocalMachine, "HKEY_LOCAL_MACHINE"},
    {Hive::ClassesRoot, "HKEY_CLASSES_ROOT"},
    {Hive::CurrentUser, "HKEY_CURRENT_USER"},
};

bool HiveByName(std::string_view name, Hive& out) {
    for (const auto& [hive, text] : kHives) {
        if (EqualsNoCase(name, text)) {
            out = hive;
            return true;
        }
    }
    return false;
}

std::string Quote(std::string_view text) {
    std::string out = "\"";
    for (char c : text) {
        switch (c) {
        case '\\': out += "\\\\"; break;
        case '"': out += "\\\""; break;
        // A line break would end the entry; keep it as an escape instead.
        case '\n': out += "\\n"; break;
        case '\r': out += "\\r"; break;
        default: out += c;
        }
    }
    out += '"';
    return out;
}

std::string Serialize(const Data& data) {
    std::string out(kHeader);
    out += "\n\n";
    for (const auto& [hive, hiveName] : kHives) {
        auto it = data.hives.find(hive);
        if (it == data.hives.end()) continue;
        for (const auto& [sortKey, key] : it->second) {
            out += '[';
            out += hiveName;
            if (!key.path.empty()) out += '\\' + key.path;
            out += "]\n";
            for (const auto& [name, value] : key.values) {
                out += name.empty() ? "@" : Quote(name);
                out += '=';
                out += Quote(value);
                out += '\n';
            }
            out += '\n';
        }
    }
    return out;
}

class Parser {
public:
    Parser(const std::string& file, std::string_view text) : file_(file), text_(text) {}

    Data Parse() {
        Data data;
        Key* current = nullptr;
        bool sawHeader = false;
        size_t pos = 0;
        if (text_.substr(0, 3) == "\xEF\xBB\xBF") pos = 3;
        while (pos < text_.size()) {
            size_t end = text_.find('\n', pos);
            if (end == std::string_view::npos) end = text_.size();
            std::string_view line = text_.substr(pos, end - pos);
            pos = end + 1;
            ++line_;
            // Blanks around an entry and CR LF line ends (hand-edited files) are harmless.
            size_t first = line.find_first_not_of(" \t\r");
            if (first == std::string_view::npos) continue;
            line = line.substr(first, line.find_last_not_of(" \t\r") - first + 1);
            if (!sawHeader) {
                if (line != kHeader) Fail("the first line is not \"" + std::string(kHeader) + "\"");
                sawHeader = true;
                continue;
            }
            if (line.front() == ';') continue;
            if (line.front() == '[') {
                current = &ParseKey(data, line);
                continue;
            }
            if (!current) Fail("a value comes before any key");
            ParseValue(*current, line);
        }
        return data;
    }

private:
    [[noreturn]] void Fail(const std::string& why) const {
        throw RegistryError("The registry file \"" + file_ + "\" is damaged at line " + std::to_string(line_) +
                            ": " + why);
    }

    Key& ParseKey(Data& data, std::string_view line) {
        if (line.back() != ']' || line.size() < 3) Fail("a key line does not end with \"]\"");
        std::string_view path = line.substr(1, line.size() - 2);
        if (!path.empty() && path.front() == '-') Fail("key deletion entries are not supported");
        size_t sep = path.find('\\');
        Hive hive;
        if (!HiveByName(path.substr(0, sep), hive)) Fail("unknown hive \"" + std::string(path.substr(0, sep)) + "\"");
        std::string_view rest = sep == std::string_view::npos ? std::string_view() : path.substr(sep + 1);
        if (rest.find("\\\\") != std::string_view::npos || (!rest.empty() && rest.back() == '\\'))
            Fail("a key name is empty");
        return data.Create(hive, rest);
    }

    // Reads a quoted text starting at `pos`; leaves `pos` after the closing quote.
    std::string ParseQuoted(std::string_view line, size_t& pos) const {
        if (pos >= line.size() || line[pos] != '"') Fail("a quoted text is expected");
        std::string out;
        for (++pos; pos < line.size(); ++pos) {
            char c = line[pos];
            if (c == '"') {
                ++pos;
                return out;
            }
            if (c == '\\') {
                if (++pos >= line.size()) break;
                switch (line[pos]) {
                case '\\': out += '\\'; break;
                case '"': out += '"'; break;
                case 'n': out += '\n'; break;
                case 'r': out += '\r'; break;
                default: Fail("unknown escape \"\\" + std::string(1, line[pos]) + "\"");
                }
                continue;
            }
            out += c;
        }
        Fail("a quoted text is not closed");
    }

    void ParseValue(Key& key, std::string_view line) {
        size_t pos = 0;
        std::string name;
        if (line[0] == '@') {
            pos = 1;
        } else {
            name = ParseQuoted(line, pos);
            if (name.empty()) Fail("a value name is empty");
        }
        if (pos >= line.size() || line[pos] != '=') Fail("\"=\" is expected after the value name");
        ++pos;
        if (pos >= line.size() || line[pos] != '"') Fail("only text values are supported");
        std::string value = ParseQuoted(line, pos);
        if (line.substr(pos).find_first_not_of(" \t") != std::string_view::npos)
            Fail("unexpected text after the value");
        if (auto* existing = key.Find(name)) {
            existing->second = std::move(value);
        } else {
            key.values.emplace_back(std::move(name), std::move(value));
        }
    }

    const std::string& file_;
    std::string_view text_;
    int line_ = 0;
};

// flock on "<file>.lock" beside the registry file, released on destruction.
class FileLock {
public:
    FileLock(const std::string& registryFile, bool exclusive) {
        std::string lockPath = registryFile + ".lock";
        std::string why;
        fd_ = fs::OpenLockFile(lockPath, O_RDWR | O_CREAT, 0644, &why);
        if (fd_ < 0) fd_ = fs::OpenLockFile(lockPath, O_RDONLY, 0, &why);
        if (fd_ < 0) {
            // Readers may go without: the file is only ever replaced by rename, never rewritten in place.
            if (exclusive) throw RegistryError("The registry lock file \"" + lockPath + "\" cannot be opened: " + why);
            return;
        }
        int rc;
        do {
            rc = ::flock(fd_, exclusive ? LOCK_EX : LOCK_SH);
        } while (rc != 0 && errno == EINTR);
        if (rc != 0 && exclusive) {
            int err = errno;
            ::close(fd_);
            fd_ = -1;
            throw RegistryError("The registry file \"" + registryFile + "\" cannot be locked: " + std::strerror(err));
        }
    }
    ~FileLock() {
        if (fd_ >= 0) ::close(fd_);
    }
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;

private:
    int fd_ = -1;
};

// Reads and parses the file; a missing file is an empty registry.
Data Load(const std::string& path) {
    std::string text;
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        if (errno == ENOENT || errno == ENOTDIR) return Data{};
        throw RegistryError("The registry file \"" + path + "\" cannot be read: " + std::strerror(errno));
    }
    char buf[65536];
    for (;;) {
        ssize_t n = ::read(fd, buf, sizeof buf);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) {
            int err = errno;
            ::close(fd);
            throw RegistryError("The registry file \"" + path + "\" cannot be read: " + std::strerror(err));
        }
        if (n == 0) break;
        text.append(buf, static_cast<size_t>(n));
    }
    ::close(fd);
    return Parser(path, text).Parse();
}

void RequirePath(const std::string& path) {
    if (path.empty())
        throw RegistryError("No registry file is set: neither $ORVIK_REGISTRY_FILE nor a home folder is known");
}

Data ReadLocked(const std::string& path) {
    RequirePath(path);
    if (!fs::FolderExists(fs::FolderOf(path).empty() ? "." : fs::FolderOf(path))) return Data{};
    FileLock lock(path, false);
    return Load(path);
}

// Read-modify-write under the exclusive lock; `change` returns false when it changed nothing.
void Modify(const std::string& path, const std::function<bool(Data&)>& change) {
    RequirePath(path);
    std::string folder = fs::FolderOf(path);
    if (!folder.empty() && !fs::CreateFolder(folder))
        throw RegistryError("The folder of the registry file \"" + path + "\" cannot be created: " +
                            std::strerror(errno));
    FileLock lock(path, true);
    Data data = Load(path);
    if (!change(data)) return;
    if (!fs::WriteFileAtomic(path, Serialize(data)))
        throw RegistryError("The registry file \"" + path + "\" cannot be written: " + std::strerror(errno));
}

// A line break in a key name would split its "[...]" line and damage the file.
void CheckKeyPath(std::string_view keyPath) {
    if (keyPath.find_first_of("\r\n") != std::string_view::npos)
        throw RegistryError("A registry key name cannot hold a line break: \"" + std::string(keyPath) + "\"");
}

std::unique_ptr<Registry>& InstancePtr() {
    static std::unique_ptr<Registry> instance;
    return instance;
}

std::string Env(const char* name) {
    const char* v = std::getenv(name);
    return v ? std::string(v) : std::string();
}

}  // namespace

std::string HiveName(Hive hive) {
    for (const auto& [h, text] : kHives) {
        if (h == hive) return std::string(text);
    }
    return {};
}

Registry& Registry::Instance() {
    auto& instance = InstancePtr();
    if (!instance) instance = std::make_unique<Registry>(DefaultFilePath());
    return *instance;
}

void Registry::UseFile(const std::string& path) {
    auto& instance = InstancePtr();
    if (instance) {
        instance->path_ = path;  // references handed out stay valid
    } else {
        instance = std::make_unique<Registry>(path);
    }
}

std::string Registry::DefaultFilePath() {
    std::string file = Env("ORVIK_REGISTRY_FILE");
    if (!file.empty()) return file;
    const std::string config = fs::XdgBaseFolder("XDG_CONFIG_HOME", ".config");
    if (config.empty()) return {};
    return fs::Join(fs::Join(config, "orvik"), "registry.reg");
}

Registry::Registry(std::string filePath) : path_(std::move(filePath)) {}

std::string Registry::ReadValue(Hive hive, std::string_view keyPath, std::string_view name) const {
    Data data = ReadLocked(path_);
    Key* key = data.Find(hive, keyPath);
    if (!key) return {};
    auto* value = key->Find(name);
    return value ? value->second : std::string();
}

bool Registry::KeyExists(Hive hive, std::string_view keyPath) const {
    if (SplitPath(keyPath).empty()) return true;
    Data data = ReadLocked(path_);
    return data.Find(hive, keyPath) != nullptr;
}

bool Registry::ValueExists(Hive hive, std::string_view keyPath, std::string_view name) const {
    Data data = ReadLocked(path_);
    Key* key = data.Find(hive, keyPath);
    return key && key->Find(name);
}

std::vector<std::string> Registry::SubKeys(Hive hive, std::string_view keyPath) const {
    Data data = ReadLocked(path_);
    auto parts = SplitPath(keyPath);
    std::string prefix = parts.empty() ? std::string() : SortKey(JoinPath(parts, parts.size())) + '\x01';
    std::vector<std::string> out;
    for (const auto& [sortKey, key] : data.Of(hive)) {
        if (key.path.empty() || sortKey.compare(0, prefix.size(), prefix) != 0) continue;
        std::string_view rest = std::string_view(sortKey).substr(prefix.size());
        if (rest.empty() || rest.find('\x01') != std::string_view::npos) continue;
        size_t cut = key.path.rfind('\\');
        out.push_back(cut == std::string::npos ? key.path : key.path.substr(cut + 1));
    }
    return out;
}

std::vector<std::string> Registry::ValueNames(Hive hive, std::string_view keyPath) const {
    Data data = ReadLocked(path_);
    std::vector<std::string> out;
    if (Key* key = data.Find(hive, keyPath)) {
        for (const auto& v : key->values) out.push_back(v.first);
    }
    return out;
}

void Registry::CreateKey(Hive hive, std::string_view keyPath) {
    CheckKeyPath(keyPath);
    Modify(path_, [&](Data& data) {
        if (data.Find(hive, keyPath)) return false;
        data.Create(hive, keyPath);
        return true;
    });
}

void Registry::WriteValue(Hive hive, std::string_view keyPath, std::string_view name, std::string_view value) {
    CheckKeyPath(keyPath);
    Modify(path_, [&](Data& data) {
        Key& key = data.Create(hive, keyPath);
        if (auto* existing = key.Find(name)) {
            if (existing->second == value) return false;
            existing->second = std::string(value);
        } else {
            key.values.emplace_back(std::string(name), std::string(value));
        }
        return true;
    });
}

void Registry::DeleteValue(Hive hive, std::string_view keyPath, std::string_view name) {
    Modify(path_, [&](Data& data) {
        Key* key = data.Find(hive, keyPath);
        if (!key) return false;
        auto it = std::find_if(key->values.begin(), key->values.end(),
                               [&](const auto& v) { return EqualsNoCase(v.first, name); });
        if (it == key->values.end()) return false;
        key->values.erase(it);
        return true;
    });
}

void Registry::DeleteKey(Hive hive, std::string_view keyPath) {
    auto parts = SplitPath(keyPath);
    if (parts.empty()) throw RegistryError("A hive cannot be deleted as a key");
    Modify(path_, [&](Data& data) {
        auto& keys = data.Of(hive);
        std::string self = SortKey(JoinPath(parts, parts.size()));
        std::string prefix = self + '\x01';
        bool changed = false;
        for (auto it = keys.begin(); it != keys.end();) {
            if (it->first == self || it->first.compare(0, prefix.size(), prefix) == 0) {
                it = keys.erase(it);
                changed = true;
            } else {
                ++it;
            }
        }
        return changed;
    });
}

}  // namespace plat
