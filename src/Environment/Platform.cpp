#include "Environment/Platform.h"

#include "ACAPI/SpecialFolders.hpp"
#include "Environment/Directory.h"
#include "Environment/String.h"
#include "GSRoot/Time.hpp"
#include "IO/FileSystem.hpp"
#include "IO/Location.hpp"
#include "MacOS/CoreFoundation.hpp"
#include "MacOS/Events.hpp"
#include "MacOS/Folders.hpp"
#include "MacOS/LaunchServices.hpp"
#include "fileio/FileError.h"

#include <cstring>
#include <map>
#include <memory>
#include <system_error>
#include <vector>

namespace zelvane {

Platform const platform;

namespace {

// Owns one Core Foundation reference.
class CFHolder {
public:
    explicit CFHolder(CFTypeRef ref = nullptr) : m_ref(ref) {}
    ~CFHolder() {
        if (m_ref != nullptr) {
            CFRelease(m_ref);
        }
    }
    CFHolder(CFHolder const&) = delete;
    CFHolder& operator=(CFHolder const&) = delete;

    CFTypeRef get() const { return m_ref; }
    explicit operator bool() const { return m_ref != nullptr; }

private:
    CFTypeRef m_ref;
};

CFStringRef makeString(String const& text) {
    return CFStringCreateWithBytes(kCFAllocatorDefault, reinterpret_cast<const UInt8*>(text.data()),
                                   CFIndex(std::strlen(text.data())), kCFStringEncodingUTF8, false);
}

bool isDictionary(CFTypeRef ref) {
    return ref != nullptr && CFGetTypeID(ref) == CFDictionaryGetTypeID();
}

// A mutable copy of a dictionary, or a new one when the value is missing or not a dictionary.
CFMutableDictionaryRef editableCopy(CFTypeRef value) {
    if (isDictionary(value)) {
        return CFDictionaryCreateMutableCopy(kCFAllocatorDefault, 0, static_cast<CFDictionaryRef>(value));
    }
    return CFDictionaryCreateMutable(kCFAllocatorDefault, 0, &kCFTypeDictionaryKeyCallBacks,
                                     &kCFTypeDictionaryValueCallBacks);
}

// The folder at a location, or null when it cannot be reached.
Directory* directoryAt(IO::Location const& location, bool create) {
    std::unique_ptr<Directory> folder(new Directory(location, create));
    if (folder->getLastError() != 0 || !folder->exists()) {
        return nullptr;
    }
    return folder.release();
}

// Why the system gave no folder, from its answer.
std::error_code whyNoFolder(OSErr found) {
    switch (found) {
    case afpAccessDenied:
        return fileio::FileError::notPlayersFolder;
    case permErr:
        return fileio::FileError::exposedWay;
    case fnfErr:
        return std::make_error_code(std::errc::no_such_file_or_directory);
    default:
        return std::make_error_code(std::errc::io_error);
    }
}

// The system's folder of the type, or null with `why` (where given) saying why.
Directory* systemFolder(OSType type, std::error_code* why = nullptr) {
    std::error_code ignored;
    std::error_code& result = why != nullptr ? *why : ignored;
    FSRef ref;
    const OSErr found = FSFindFolder(kOnAppropriateDisk, type, true, &ref);
    if (found != noErr) {
        result = whyNoFolder(found);
        return nullptr;
    }
    std::vector<UInt8> path(4096);
    if (FSRefMakePath(&ref, path.data(), UInt32(path.size())) != noErr) {
        result = std::make_error_code(std::errc::io_error);
        return nullptr;
    }
    Directory* folder = directoryAt(IO::Location(reinterpret_cast<const char*>(path.data())), false);
    result =
        folder != nullptr ? std::error_code() : std::make_error_code(std::errc::no_such_file_or_directory);
    return folder;
}

Directory* specialLocation(UInt32 id) {
    IO::Location location;
    if (IO::fileSystem.GetSpecialLocation(id, &location) != NoError) {
        return nullptr;
    }
    return directoryAt(location, false);
}

Directory* hostFolder(API_SpecFolderID id) {
    IO::Location location;
    if (ACAPI_Environment(APIEnv_GetSpecFolderID, &id, &location) != NoError) {
        return nullptr;
    }
    return directoryAt(location, false);
}

// Built on first use and never freed; used from the host's thread only.
std::map<int, unsigned short> const& keyTable() {
    static auto* table = new std::map<int, unsigned short>{
        {Platform::deleteKey, 51}, {Platform::spaceKey, 49}, {Platform::optionKey, 58}};
    return *table;
}

} // namespace

Directory* Platform::getUserPrefsDirectory() const {
    return systemFolder(kPreferencesFolderType);
}

Directory* Platform::getSharedDataDirectory() const {
    return systemFolder(kSharedDataFolderType);
}

Directory* Platform::getUserPrefsDirectory(std::error_code* why) const {
    return systemFolder(kPreferencesFolderType, why);
}

Directory* Platform::getSharedDataDirectory(std::error_code* why) const {
    return systemFolder(kSharedDataFolderType, why);
}

Directory* Platform::getUserHomeDirectory() const {
    return specialLocation(17);
}

Directory* Platform::getCurrentDirectory() const {
    return specialLocation(4);
}

Directory* Platform::getLocalDataDirectory() const {
    return specialLocation(6);
}

Directory* Platform::getDocumentDirectory() const {
    return hostFolder(API_UserDocumentsFolderID);
}

Directory* Platform::getTempDirectory() const {
    return hostFolder(API_TemporaryFolderID);
}

Time Platform::getTime() const {
    GSTimeRecord record;
    if (TIGetTimeRecord(TIGetTime(), &record, TI_LOCAL_TIME) != NoError) {
        return Time(false);
    }
    return Time(record);
}

bool Platform::isKeyPressed(Keys key) const {
    unsigned short code = getVirtualKey(key);
    if (code == 0 || code >= 128) {
        return false;
    }
    KeyMap map = {};
    GetKeys(map);
    auto const* bytes = reinterpret_cast<const unsigned char*>(map);
    return ((bytes[code / 8] >> (code % 8)) & 1) != 0;
}

unsigned short Platform::getVirtualKey(Keys key) const {
    auto const& table = keyTable();
    auto it = table.find(key);
    return it == table.end() ? 0 : it->second;
}

bool Platform::launchApplication(String const& application, String const&) const {
    FSRef ref;
    CFHolder name(makeString(application));
    if (name && LSFindApplicationForInfo(kLSUnknownCreator, nullptr, static_cast<CFStringRef>(name.get()),
                                         &ref, nullptr) == noErr) {
        return LSOpenFSRef(&ref, nullptr) == noErr;
    }
    // Not an application's name: a path, which must name an existing entry.
    if (application.empty() ||
        FSPathMakeRef(reinterpret_cast<const UInt8*>(application.data()), &ref, nullptr) != noErr) {
        return false;
    }
    return LSOpenFSRef(&ref, nullptr) == noErr;
}

bool Platform::launchUrl(String const& url) const {
    CFHolder link(CFURLCreateWithBytes(kCFAllocatorDefault, reinterpret_cast<const UInt8*>(url.data()),
                                       CFIndex(std::strlen(url.data())), kCFStringEncodingUTF8, nullptr));
    return link && LSOpenCFURLRef(static_cast<CFURLRef>(link.get()), nullptr) == noErr;
}

bool Platform::writeSetting(String const& domain, String const& group, String const& name,
                            String const& value, bool, WordSize) const {
    CFHolder domainKey(makeString(domain));
    CFHolder groupKey(makeString(group));
    CFHolder nameKey(makeString(name));
    CFHolder text(makeString(value));
    if (!domainKey || !groupKey || !nameKey || !text) {
        return false;
    }
    CFHolder stored(CFPreferencesCopyAppValue(static_cast<CFStringRef>(domainKey.get()),
                                              kCFPreferencesCurrentApplication));
    CFHolder domainEntries(editableCopy(stored.get()));
    if (!domainEntries) {
        return false;
    }
    auto* domainDictionary = static_cast<CFMutableDictionaryRef>(const_cast<void*>(domainEntries.get()));
    CFHolder groupEntries(editableCopy(CFDictionaryGetValue(domainDictionary, groupKey.get())));
    if (!groupEntries) {
        return false;
    }
    auto* groupDictionary = static_cast<CFMutableDictionaryRef>(const_cast<void*>(groupEntries.get()));
    CFDictionarySetValue(groupDictionary, nameKey.get(), text.get());
    CFDictionarySetValue(domainDictionary, groupKey.get(), groupDictionary);
    CFPreferencesSetAppValue(static_cast<CFStringRef>(domainKey.get()), domainDictionary,
                             kCFPreferencesCurrentApplication);
    return CFPreferencesAppSynchronize(kCFPreferencesCurrentApplication);
}

bool Platform::readSetting(String const& domain, String const& group, String const& name, String& value, bool,
                           WordSize) const {
    CFHolder domainKey(makeString(domain));
    CFHolder groupKey(makeString(group));
    CFHolder nameKey(makeString(name));
    if (!domainKey || !groupKey || !nameKey) {
        return false;
    }
    CFHolder stored(CFPreferencesCopyAppValue(static_cast<CFStringRef>(domainKey.get()),
                                              kCFPreferencesCurrentApplication));
    if (!isDictionary(stored.get())) {
        return false;
    }
    CFTypeRef groupEntries = CFDictionaryGetValue(static_cast<CFDictionaryRef>(stored.get()), groupKey.get());
    if (!isDictionary(groupEntries)) {
        return false;
    }
    CFTypeRef text = CFDictionaryGetValue(static_cast<CFDictionaryRef>(groupEntries), nameKey.get());
    if (text == nullptr || CFGetTypeID(text) != CFStringGetTypeID()) {
        return false;
    }
    // Room for the whole text, however long.
    auto* string = static_cast<CFStringRef>(text);
    std::vector<char> buffer(
        std::size_t(CFStringGetMaximumSizeForEncoding(CFStringGetLength(string), kCFStringEncodingUTF8)) + 1);
    if (!CFStringGetCString(string, buffer.data(), CFIndex(buffer.size()), kCFStringEncodingUTF8)) {
        return false;
    }
    value = String(buffer.data());
    return true;
}

} // namespace zelvane
