#include "MacOS/PropertyList.hpp"

#include "fileio/Entry.h"
#include "sim/Platform.h"
#include "sim/ReadFile.h"
#include "sim/ReplaceFile.h"
#include "sim/Sim.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>

#include <optional>
#include <system_error>

namespace macos {
namespace {

constexpr int maxDepth = 32;
constexpr const char* fileHeader = "zelvane-settings 1\n";

struct Application {
    bool loaded = false;
    std::map<std::string, std::string> values;                 // stored forms by key
    std::map<std::string, std::optional<std::string>> changes; // not yet written; empty = removed
};

struct Store {
    std::map<std::string, Application> applications;
    bool syncSucceeds = true;
};

Store& store() {
    static Store* instance = new Store; // host calls may come from static destructors
    return *instance;
}

const bool registered = sim::registerReset([] { store() = Store(); });

bool readNumber(std::string const& text, std::size_t& pos, std::size_t& number) {
    std::size_t start = pos;
    number = 0;
    while (pos < text.size() && text[pos] >= '0' && text[pos] <= '9') {
        if (pos - start >= 12) {
            return false; // more than any text could hold
        }
        number = number * 10 + std::size_t(text[pos] - '0');
        ++pos;
    }
    if (pos == start || pos >= text.size() || text[pos] != ':') {
        return false;
    }
    ++pos;
    return true;
}

bool readBytes(std::string const& text, std::size_t& pos, std::string& bytes) {
    std::size_t length = 0;
    if (!readNumber(text, pos, length) || length > text.size() - pos) {
        return false;
    }
    bytes = text.substr(pos, length);
    pos += length;
    return true;
}

// The application's stored values as its file holds them; false when the file is unreadable or
// malformed (a missing or empty file holds none).
bool readFile(std::string const& application, std::map<std::string, std::string>& values) {
    values.clear();
    // Read without waiting, so that a FIFO at the file is unreadable rather than waited on.
    std::string text;
    const std::filesystem::path file = sim::settingsFile(application);
    if (file.empty()) {
        return false; // the host's settings folder, not taken, holds none to read
    }
    if (const std::error_code error = sim::readFile(file, text)) {
        return error == std::errc::no_such_file_or_directory;
    }
    // An empty file holds none, as a missing one.
    if (text.empty()) {
        return true;
    }
    std::string header(fileHeader);
    if (text.compare(0, header.size(), header) != 0) {
        return false;
    }
    std::size_t pos = header.size() + 1;
    std::size_t count = 0;
    if (text.size() <= header.size() || text[header.size()] != 'D' || !readNumber(text, pos, count) ||
        count > (text.size() - pos) / 4) {
        return false;
    }
    for (std::size_t i = 0; i < count; ++i) {
        std::string key;
        PropertyList value;
        if (!readBytes(text, pos, key)) {
            return false;
        }
        std::size_t start = pos;
        if (!decode(text, pos, value)) {
            return false;
        }
        values[key] = text.substr(start, pos - start);
    }
    if (pos != text.size()) {
        return false;
    }
    return true;
}

// Writes the whole file beside the old one under a free name and renames it over, so a failed
// write never leaves half a file, and the file keeps its permissions; a link to it stays.
bool writeFile(std::string const& application, std::map<std::string, std::string> const& values) {
    const std::filesystem::path file = sim::settingsFile(application);
    return !file.empty() && !sim::writeFile(file, fileHeader + encodeDictionary(values));
}

Application& loaded(std::string const& application) {
    Application& app = store().applications[application];
    if (!app.loaded) {
        if (!readFile(application, app.values)) {
            app.values.clear(); // an unreadable file holds no preferences
        }
        app.loaded = true;
    }
    return app;
}

// Serialises preference writes of processes sharing the sandbox.
class FileLock {
public:
    // Made where missing, through the folder the file layer's walk reached, never through a link at
    // its name (O_NOFOLLOW). One that stands is opened only as a regular file the rules take, while
    // it is the one looked at: a node other than a regular file, or a file another user may have
    // put there, is no lock, and is not even opened (opening some devices does something).
    explicit FileLock(std::filesystem::path const& path) {
        const fileio::Entry entry(path, fileio::Entry::keepLink);
        m_fd.reset(entry.open(O_RDWR | O_CREAT | O_EXCL | O_NOCTTY, 0600));
        struct stat info {};
        struct stat folder {};
        if (!m_fd && errno == EEXIST && entry.status(info) && S_ISREG(info.st_mode) &&
            entry.folderStatus(folder) && fileio::mayTake(folder, info)) {
            std::error_code error;
            m_fd = entry.openLookedAt(O_RDWR | O_NOCTTY, info, error);
        }
        if (m_fd && ::flock(m_fd.get(), LOCK_EX) != 0) {
            m_fd.reset();
        }
    }
    ~FileLock() {
        if (m_fd) {
            ::flock(m_fd.get(), LOCK_UN);
        }
    }
    FileLock(FileLock const&) = delete;
    FileLock& operator=(FileLock const&) = delete;
    bool held() const { return static_cast<bool>(m_fd); }

private:
    fileio::Descriptor m_fd;
};

} // namespace

std::string encodeString(std::string const& text) {
    return "S" + std::to_string(text.size()) + ":" + text;
}

std::string encodeDictionary(std::map<std::string, std::string> const& encodedEntries) {
    std::string result = "D" + std::to_string(encodedEntries.size()) + ":";
    for (auto const& entry : encodedEntries) {
        result += std::to_string(entry.first.size()) + ":" + entry.first + entry.second;
    }
    return result;
}

bool decode(std::string const& text, std::size_t& pos, PropertyList& value, int depth) {
    if (depth > maxDepth || pos >= text.size()) {
        return false;
    }
    char kind = text[pos++];
    if (kind == 'S') {
        value.isString = true;
        return readBytes(text, pos, value.text);
    }
    std::size_t count = 0;
    if (kind != 'D' || !readNumber(text, pos, count) || count > (text.size() - pos) / 4) {
        return false;
    }
    value.isString = false;
    value.entries.clear();
    for (std::size_t i = 0; i < count; ++i) {
        std::string key;
        PropertyList item;
        if (!readBytes(text, pos, key) || !decode(text, pos, item, depth + 1)) {
            return false;
        }
        value.entries[key] = std::move(item);
    }
    return true;
}

bool preferenceValue(std::string const& application, std::string const& key, PropertyList& value) {
    Application& app = loaded(application);
    auto it = app.values.find(key);
    std::size_t pos = 0;
    return it != app.values.end() && decode(it->second, pos, value);
}

void setPreferenceValue(std::string const& application, std::string const& key, std::string const* encoded) {
    Application& app = loaded(application);
    if (encoded == nullptr) {
        app.values.erase(key);
        app.changes[key] = std::nullopt;
    } else {
        app.values[key] = *encoded;
        app.changes[key] = *encoded;
    }
}

bool synchronisePreferences(std::string const& application) {
    Application& app = loaded(application);
    if (!store().syncSucceeds) {
        return false;
    }
    std::filesystem::path file = sim::settingsFile(application);
    if (file.empty()) {
        return false; // the host's settings folder not taken: no lock or file beside the working folder
    }
    FileLock lock(file.parent_path() / ".lock");
    if (!lock.held()) {
        return false;
    }
    // Another process may have written since this one read: apply only this one's changes. A file
    // that cannot be read now (malformed, a failed read, a FIFO) is not written over.
    std::map<std::string, std::string> values;
    if (!readFile(application, values)) {
        return false;
    }
    for (auto const& change : app.changes) {
        if (change.second) {
            values[change.first] = *change.second;
        } else {
            values.erase(change.first);
        }
    }
    if (!writeFile(application, values)) {
        return false;
    }
    app.values = std::move(values);
    app.changes.clear();
    return true;
}

} // namespace macos

namespace sim {

const char* const currentApplicationID = "com.zelvane.hostsim";

std::filesystem::path settingsFile(std::string const& applicationID) {
    std::string name;
    for (char c : applicationID) {
        name += (c == '/' || c == '\\' || c == '\0') ? '_' : c;
    }
    const std::filesystem::path folder = specialFolder("Settings");
    return folder.empty() ? folder : folder / (name + ".settings");
}

void setSettingsSyncResult(bool succeeds) {
    macos::store().syncSucceeds = succeeds;
}

void reloadSettings() {
    macos::store().applications.clear();
}

} // namespace sim
