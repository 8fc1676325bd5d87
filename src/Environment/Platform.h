// What the framework needs of the operating system and the host beyond files: the platform's
// byte order, special folders, the host's time, a few keyboard keys, launching applications and
// URLs, and application settings in the system's per-application preferences.
#pragma once

#include "Environment/Time.h"

#include <system_error>

namespace zelvane {

class Directory;
class String;

class Platform {
public:
    enum Keys { deleteKey = 0, spaceKey = 1, optionKey = 2 };
    // The width of registry-style values; not used on this platform.
    enum WordSize { word32 = 0, word64 = 1 };

    // Byte order of binary data: 1 this platform's sign "MM" (big-endian data), 2 "mm"
    // (little-endian data).
    enum Endianness { bigEndian = 1, littleEndian = 2 };
    // A platform's byte-order sign, as binary records of the host carry it.
    using Host = unsigned int;

    int getEndianness() const { return 1; }
    // The byte-order sign written with binary data of this platform ("MM").
    unsigned short getHost() const { return 19789; }

    // The folders below are new objects owned by the caller; null when the system cannot find
    // the folder. The user's preferences and the shared data folders are made when missing.
    Directory* getUserPrefsDirectory() const;
    Directory* getSharedDataDirectory() const;
    // The same, `why` (where given) receiving why there is none, where the system refuses the
    // folder as not the user's to use: fileio::FileError::notPlayersFolder for another user's entry
    // at its name, FileError::exposedWay for a way to it that other users may change. Otherwise
    // std::errc::no_such_file_or_directory where it cannot find or make it, std::errc::io_error for
    // any other failure; no error with a folder.
    Directory* getUserPrefsDirectory(std::error_code* why) const;
    Directory* getSharedDataDirectory(std::error_code* why) const;
    Directory* getUserHomeDirectory() const;
    Directory* getCurrentDirectory() const;
    Directory* getLocalDataDirectory() const;
    Directory* getDocumentDirectory() const;
    Directory* getTempDirectory() const;

    // The host's current local time; the null time when the host fails.
    Time getTime() const;

    // Whether the key is held down now; false for a key without a virtual key code.
    bool isKeyPressed(Keys key) const;
    // The key's virtual key code, 0 for none.
    unsigned short getVirtualKey(Keys key) const;

    // Opens the installed application of that name, or else the application or document at
    // that path; true when it was opened. The document is not used.
    bool launchApplication(String const& application, String const& document) const;
    // Opens the URL; false when the text is no URL or nothing opens it.
    bool launchUrl(String const& url) const;

    // Sets the text of name in group of domain in the application's preferences and writes
    // them; true when they were written.
    bool writeSetting(String const& domain, String const& group, String const& name, String const& value,
                      bool user = true, WordSize size = word32) const;
    // The text of name in group of domain; false (value unchanged) when there is none.
    bool readSetting(String const& domain, String const& group, String const& name, String& value,
                     bool user = true, WordSize size = word32) const;
};

// The one instance every caller uses.
extern Platform const platform;

} // namespace zelvane
