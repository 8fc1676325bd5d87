#include "MacOS/CoreFoundation.hpp"
#include "MacOS/Events.hpp"
#include "MacOS/Folders.hpp"
#include "MacOS/LaunchServices.hpp"
#include "MacOS/PropertyList.hpp"
#include "sim/Platform.h"
#include "sim/Sim.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <poll.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

CFStringRef cf(const char* text) {
    return CFStringCreateWithCString(kCFAllocatorDefault, text, kCFStringEncodingUTF8);
}

std::string str(CFTypeRef ref) {
    char buffer[256];
    if (CFGetTypeID(ref) != CFStringGetTypeID() ||
        !CFStringGetCString(static_cast<CFStringRef>(ref), buffer, sizeof(buffer), kCFStringEncodingUTF8)) {
        return "<none>";
    }
    return buffer;
}

// An application ID of its own for each test process, as parallel tests share the sandbox.
std::string uniqueApplication() {
    return "test." + std::to_string(::getpid()) + "." +
           ::testing::UnitTest::GetInstance()->current_test_info()->name();
}

class MacOSTest : public ::testing::Test {
protected:
    void SetUp() override { m_live = sim::liveCFObjects(); }
    void TearDown() override { EXPECT_EQ(sim::liveCFObjects(), m_live) << "Core Foundation objects leaked"; }

private:
    std::size_t m_live = 0;
};

} // namespace

TEST_F(MacOSTest, StringsAndDictionariesAreReferenceCounted) {
    CFStringRef key = cf("key");
    CFStringRef value = cf("wert \xC3\xBC");
    ASSERT_NE(key, nullptr);
    EXPECT_EQ(CFStringGetLength(value), 6);
    char small[4];
    EXPECT_FALSE(CFStringGetCString(value, small, sizeof(small), kCFStringEncodingUTF8));
    EXPECT_EQ(cf("bad \xFF"), nullptr);
    EXPECT_EQ(cf("\xED\xA0\x80"), nullptr) << "an encoded surrogate";

    CFMutableDictionaryRef dict = CFDictionaryCreateMutable(
        kCFAllocatorDefault, 0, &kCFTypeDictionaryKeyCallBacks, &kCFTypeDictionaryValueCallBacks);
    CFDictionarySetValue(dict, key, value);
    EXPECT_EQ(CFGetRetainCount(value), 2);
    CFStringRef sameKey = cf("key");
    EXPECT_EQ(str(CFDictionaryGetValue(dict, sameKey)), "wert \xC3\xBC");

    CFMutableDictionaryRef copy = CFDictionaryCreateMutableCopy(kCFAllocatorDefault, 0, dict);
    EXPECT_TRUE(CFEqual(copy, dict));
    CFStringRef other = cf("other");
    CFDictionarySetValue(copy, sameKey, other);
    EXPECT_FALSE(CFEqual(copy, dict));
    EXPECT_EQ(str(CFDictionaryGetValue(dict, key)), "wert \xC3\xBC");
    CFDictionaryRemoveValue(dict, key);
    EXPECT_EQ(CFDictionaryGetCount(dict), 0);
    EXPECT_EQ(CFGetRetainCount(value), 1);

    for (CFTypeRef ref : {CFTypeRef(key), CFTypeRef(value), CFTypeRef(sameKey), CFTypeRef(other),
                          CFTypeRef(dict), CFTypeRef(copy)}) {
        CFRelease(ref);
    }

    sim::failCall("CFDictionaryCreateMutable", ErrMemoryFull);
    EXPECT_EQ(CFDictionaryCreateMutable(kCFAllocatorDefault, 0, nullptr, nullptr), nullptr);
}

TEST_F(MacOSTest, UrlsHoldOnlyUrlCharacters) {
    struct Case {
        const char* text;
        bool valid;
    };
    const Case cases[] = {{"https://example.com/a?b=c#d", true},
                          {"mailto:x@y.z", true},
                          {"has space", false},
                          {"quote\"d", false},
                          {"caf\xC3\xA9", false},
                          {"", false}};
    for (Case const& c : cases) {
        SCOPED_TRACE(c.text);
        std::string text(c.text);
        CFURLRef url = CFURLCreateWithBytes(kCFAllocatorDefault, reinterpret_cast<const UInt8*>(text.data()),
                                            CFIndex(text.size()), kCFStringEncodingUTF8, nullptr);
        EXPECT_EQ(url != nullptr, c.valid);
        if (url != nullptr) {
            EXPECT_EQ(str(CFURLGetString(url)), text);
            CFRelease(url);
        }
    }
}

TEST_F(MacOSTest, PreferencesPersistOnlyWhenSynchronised) {
    std::string application = uniqueApplication();
    CFStringRef app = cf(application.c_str());
    CFStringRef key = cf("domain");
    CFStringRef text = cf("value");
    CFMutableDictionaryRef dict = CFDictionaryCreateMutable(
        kCFAllocatorDefault, 0, &kCFTypeDictionaryKeyCallBacks, &kCFTypeDictionaryValueCallBacks);
    CFStringRef inner = cf("name");
    CFDictionarySetValue(dict, inner, text);

    EXPECT_EQ(CFPreferencesCopyAppValue(key, app), nullptr);
    CFPreferencesSetAppValue(key, dict, app);
    CFPropertyListRef stored = CFPreferencesCopyAppValue(key, app);
    ASSERT_NE(stored, nullptr);
    EXPECT_NE(stored, CFTypeRef(dict)) << "a copy";
    EXPECT_TRUE(CFEqual(stored, dict));
    CFRelease(stored);

    // Not synchronised: a restart loses the value.
    sim::reloadSettings();
    EXPECT_EQ(CFPreferencesCopyAppValue(key, app), nullptr);

    CFPreferencesSetAppValue(key, dict, app);
    sim::setSettingsSyncResult(false);
    EXPECT_FALSE(CFPreferencesAppSynchronize(app));
    sim::reloadSettings();
    EXPECT_EQ(CFPreferencesCopyAppValue(key, app), nullptr);

    sim::setSettingsSyncResult(true);
    CFPreferencesSetAppValue(key, dict, app);
    sim::failCall("CFPreferencesAppSynchronize", ErrIO);
    EXPECT_FALSE(CFPreferencesAppSynchronize(app));
    EXPECT_TRUE(CFPreferencesAppSynchronize(app));
    sim::reloadSettings();
    stored = CFPreferencesCopyAppValue(key, app);
    EXPECT_TRUE(CFEqual(stored, dict));
    CFRelease(stored);
    // The file is written anew and keeps the permissions its user gave it, and a link to it stays.
    const std::filesystem::path file = sim::settingsFile(application);
    std::filesystem::permissions(file,
                                 std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);
    std::filesystem::rename(file, file.string() + ".kept");
    std::filesystem::create_symlink(file.filename().string() + ".kept", file);
    CFPreferencesSetAppValue(inner, text, app);
    EXPECT_TRUE(CFPreferencesAppSynchronize(app));
    sim::reloadSettings();
    stored = CFPreferencesCopyAppValue(inner, app);
    ASSERT_NE(stored, nullptr);
    EXPECT_TRUE(CFEqual(stored, text));
    CFRelease(stored);
    EXPECT_EQ(std::filesystem::status(file).permissions(),
              std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);
    EXPECT_TRUE(std::filesystem::is_symlink(std::filesystem::symlink_status(file)));

    // Removing the value and synchronising clears it from the file.
    CFPreferencesSetAppValue(key, nullptr, app);
    EXPECT_TRUE(CFPreferencesAppSynchronize(app));
    sim::reloadSettings();
    EXPECT_EQ(CFPreferencesCopyAppValue(key, app), nullptr);

    for (CFTypeRef ref :
         {CFTypeRef(app), CFTypeRef(key), CFTypeRef(text), CFTypeRef(dict), CFTypeRef(inner)}) {
        CFRelease(ref);
    }
    std::filesystem::remove(sim::settingsFile(application));
}

TEST_F(MacOSTest, MalformedPreferenceFilesHoldNothing) {
    std::string application = uniqueApplication();
    CFStringRef app = cf(application.c_str());
    CFStringRef key = cf("k");
    const std::string header = "zelvane-settings 1\n";
    std::string deep = macos::encodeString("leaf");
    for (int depth = 0; depth < 40; ++depth) {
        deep = macos::encodeDictionary({{"d", deep}});
    }
    const std::string files[] = {
        "",
        "other header\nD1:1:kS1:v",
        header + "D1:1:kS9:v",                 // string longer than the file
        header + "D99999999:1:kS1:v",          // count beyond the bytes
        header + "D1:1:kS1:vX",                // trailing bytes
        header + "D1:1:kQ1:v",                 // unknown kind
        header + "D1:1:kS99999999999999999:v", // number too long
        header + "D1:1:k" + deep,              // nested too deep
    };
    for (std::string const& content : files) {
        SCOPED_TRACE(content);
        std::ofstream(sim::settingsFile(application), std::ios::binary | std::ios::trunc) << content;
        sim::reloadSettings();
        EXPECT_EQ(CFPreferencesCopyAppValue(key, app), nullptr);
        // What cannot be read is not written over; an empty file holds nothing to lose.
        CFPreferencesSetAppValue(key, key, app);
        EXPECT_EQ(CFPreferencesAppSynchronize(app), content.empty());
        std::ifstream file(sim::settingsFile(application), std::ios::binary);
        const std::string after{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
        EXPECT_EQ(after == content, !content.empty());
    }
    std::ofstream(sim::settingsFile(application), std::ios::binary | std::ios::trunc)
        << header + "D1:1:kS2:ok";
    sim::reloadSettings();
    CFPropertyListRef value = CFPreferencesCopyAppValue(key, app);
    EXPECT_EQ(str(value), "ok");
    CFRelease(value);

    // A FIFO at the file holds nothing and takes nothing, and neither waits for its other end (the
    // alarm ends one that would).
    std::filesystem::remove(sim::settingsFile(application));
    ASSERT_EQ(::mkfifo(sim::settingsFile(application).c_str(), 0600), 0);
    EXPECT_EXIT(
        {
            ::alarm(10);
            sim::reloadSettings();
            const bool held = CFPreferencesCopyAppValue(key, app) != nullptr;
            CFPreferencesSetAppValue(key, key, app);
            std::exit(!held && !CFPreferencesAppSynchronize(app) ? 0 : 1);
        },
        ::testing::ExitedWithCode(0), "");
    CFRelease(app);
    CFRelease(key);
    std::filesystem::remove(sim::settingsFile(application));
}

namespace {

enum class LockNode { None, File, Link, Fifo, Folder };

struct LockCase {
    const char* name;
    LockNode node; // at the lock's name
    bool synchronised;
    uid_t owner = ::geteuid(); // of the lock file
    mode_t folder = 0755;      // the mode of the folder holding it
};

// Synchronises the settings of `application` with each case's node at the lock's name: a lock that
// is not taken leaves the settings unwritten and the node as it was.
void checkSettingsLock(const std::string& application, const std::vector<LockCase>& cases) {
    namespace fs = std::filesystem;
    CFStringRef app = cf(application.c_str());
    CFStringRef key = cf("k");
    const fs::path lock = sim::settingsFile(application).parent_path() / ".lock";
    const fs::path target = lock.parent_path() / "lock-target";
    struct stat folder {};
    ASSERT_EQ(::stat(lock.parent_path().c_str(), &folder), 0);
    for (const LockCase& c : cases) {
        SCOPED_TRACE(c.name);
        fs::remove_all(lock);
        fs::remove(sim::settingsFile(application));
        std::ofstream(target) << "kept";
        ::chmod(lock.parent_path().c_str(), c.folder);
        int reader = -1; // of the FIFO, which sees a writer that opened it come and go
        if (c.node == LockNode::File) {
            std::ofstream(lock) << "";
            ASSERT_EQ(::chown(lock.c_str(), c.owner, c.owner == ::geteuid() ? ::getegid() : gid_t(c.owner)),
                      0);
            ::chmod(lock.c_str(), 0666);
        } else if (c.node == LockNode::Link) {
            fs::create_symlink(target.filename(), lock);
        } else if (c.node == LockNode::Fifo) {
            ASSERT_EQ(::mkfifo(lock.c_str(), 0600), 0);
            reader = ::open(lock.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
            ASSERT_GE(reader, 0);
        } else if (c.node == LockNode::Folder) {
            fs::create_directory(lock);
        }
        CFPreferencesSetAppValue(key, key, app);
        EXPECT_EQ(CFPreferencesAppSynchronize(app), c.synchronised);
        EXPECT_EQ(fs::exists(sim::settingsFile(application)), c.synchronised);
        EXPECT_EQ(fs::symlink_status(lock).type(), c.node == LockNode::None   ? fs::file_type::regular
                                                   : c.node == LockNode::File ? fs::file_type::regular
                                                   : c.node == LockNode::Link ? fs::file_type::symlink
                                                   : c.node == LockNode::Fifo ? fs::file_type::fifo
                                                                              : fs::file_type::directory);
        std::ifstream kept(target);
        EXPECT_EQ(std::string(std::istreambuf_iterator<char>(kept), {}), "kept");
        if (reader >= 0) {
            pollfd polled{reader, POLLIN, 0};
            EXPECT_EQ(::poll(&polled, 1, 0), 0) << "the FIFO was opened";
            ::close(reader);
        }
        struct stat info {};
        EXPECT_EQ(::lstat(lock.c_str(), &info), 0);
        EXPECT_EQ(info.st_uid, c.owner);
        if (c.node == LockNode::None) {
            // Made open to no other user.
            EXPECT_EQ(fs::status(lock).permissions(), fs::perms::owner_read | fs::perms::owner_write);
        }
    }
    ::chmod(lock.parent_path().c_str(), folder.st_mode & 07777);
    fs::remove_all(lock);
    fs::remove(target);
    fs::remove(sim::settingsFile(application));
    CFRelease(app);
    CFRelease(key);
}

} // namespace

TEST_F(MacOSTest, SettingsAreWrittenOnlyUnderALockFileOfTheirOwn) {
    // A link is not followed, nor a FIFO waited on or even opened: neither is a lock.
    checkSettingsLock(uniqueApplication(), {
                                               {"no lock yet", LockNode::None, true},
                                               {"a lock file", LockNode::File, true},
                                               {"a lock file, in a folder others may write", LockNode::File,
                                                true, ::geteuid(), 01777},
                                               {"a link to a file", LockNode::Link, false},
                                               {"a FIFO", LockNode::Fifo, false},
                                               {"a folder", LockNode::Folder, false},
                                           });
}

TEST_F(MacOSTest, SettingsAreNotWrittenUnderAnotherUsersLockFileWhereOthersMayWrite) {
    const uid_t other = ::geteuid() == 4242 ? 4243 : 4242;
    if (::geteuid() != 0) {
        GTEST_SKIP() << "needs root, to give the lock file to user " << other;
    }
    // Another user may have put it there to hold the player's settings back.
    checkSettingsLock(uniqueApplication(), {
                                               {"another user's lock file", LockNode::File, true, other},
                                               {"another user's lock file, in a folder others may write",
                                                LockNode::File, false, other, 01777},
                                           });
}

TEST_F(MacOSTest, PropertyListsNestDeeplyWithinBounds) {
    std::string nested = macos::encodeString("leaf");
    for (int depth = 0; depth < 32; ++depth) {
        nested = macos::encodeDictionary({{"d", nested}});
    }
    macos::PropertyList value;
    std::size_t pos = 0;
    EXPECT_TRUE(macos::decode(nested, pos, value));
    EXPECT_EQ(pos, nested.size());
    nested = macos::encodeDictionary({{"d", nested}});
    pos = 0;
    EXPECT_FALSE(macos::decode(nested, pos, value));
}

TEST_F(MacOSTest, SpecialFoldersLiveInTheSandbox) {
    FSRef ref;
    UInt8 path[1024];
    struct Case {
        OSType type;
        const char* folder;
    };
    for (Case c : {Case{kPreferencesFolderType, "Preferences"}, Case{kSharedDataFolderType, "SharedData"},
                   Case{kTemporaryFolderType, "Temp"}, Case{kDocumentsFolderType, "Documents"}}) {
        ASSERT_EQ(FSFindFolder(kOnAppropriateDisk, c.type, true, &ref), noErr);
        ASSERT_EQ(FSRefMakePath(&ref, path, sizeof(path)), noErr);
        EXPECT_EQ(std::filesystem::path(reinterpret_cast<char*>(path)), sim::specialFolder(c.folder));
        EXPECT_EQ(FSFindFolder(kOnAppropriateDisk, c.type, false, &ref), noErr) << "exists now";
    }
    EXPECT_EQ(FSRefMakePath(&ref, path, 4), paramErr);
    EXPECT_EQ(FSFindFolder(kOnAppropriateDisk, MakeGSType("none"), true, &ref), fnfErr);
    EXPECT_EQ(FSFindFolder(7, kPreferencesFolderType, true, &ref), nsvErr);
    sim::failCall("FSFindFolder", fnfErr);
    EXPECT_EQ(FSFindFolder(kOnAppropriateDisk, kPreferencesFolderType, true, &ref), fnfErr);

    Boolean isDirectory = false;
    std::string folder = sim::specialFolder("Temp").string();
    EXPECT_EQ(FSPathMakeRef(reinterpret_cast<const UInt8*>(folder.c_str()), &ref, &isDirectory), noErr);
    EXPECT_TRUE(isDirectory);
    std::string missing = folder + "/missing-entry";
    EXPECT_EQ(FSPathMakeRef(reinterpret_cast<const UInt8*>(missing.c_str()), &ref, nullptr), fnfErr);
}

TEST_F(MacOSTest, LaunchesAreRecordedWithTheirResults) {
    std::filesystem::path bundle = sim::installApplication("Viewer");
    FSRef ref;
    CFStringRef name = cf("Viewer.app");
    CFStringRef unknown = cf("Nothing");
    CFURLRef appURL = nullptr;
    EXPECT_EQ(LSFindApplicationForInfo(kLSUnknownCreator, nullptr, unknown, &ref, nullptr),
              kLSApplicationNotFoundErr);
    ASSERT_EQ(LSFindApplicationForInfo(kLSUnknownCreator, nullptr, name, &ref, &appURL), noErr);
    EXPECT_EQ(str(CFURLGetString(appURL)), "file://" + bundle.string() + "/");
    EXPECT_EQ(LSOpenFSRef(&ref, nullptr), noErr);

    sim::setLaunchResult(kLSLaunchInProgressErr);
    std::string url = "https://example.com";
    CFURLRef link = CFURLCreateWithBytes(kCFAllocatorDefault, reinterpret_cast<const UInt8*>(url.data()),
                                         CFIndex(url.size()), kCFStringEncodingUTF8, nullptr);
    EXPECT_EQ(LSOpenCFURLRef(link, nullptr), kLSLaunchInProgressErr);
    sim::setLaunchResult(noErr);
    std::string relative = "example.com";
    CFURLRef schemeless =
        CFURLCreateWithBytes(kCFAllocatorDefault, reinterpret_cast<const UInt8*>(relative.data()),
                             CFIndex(relative.size()), kCFStringEncodingUTF8, nullptr);
    EXPECT_EQ(LSOpenCFURLRef(schemeless, nullptr), kLSApplicationNotFoundErr);

    ASSERT_EQ(sim::launches().size(), 3u);
    EXPECT_EQ(sim::launches()[0].kind, "application");
    EXPECT_EQ(sim::launches()[0].target, bundle.string());
    EXPECT_EQ(sim::launches()[1].kind, "url");
    EXPECT_EQ(sim::launches()[1].status, kLSLaunchInProgressErr);
    EXPECT_EQ(sim::launches()[2].target, "example.com");

    for (CFTypeRef r :
         {CFTypeRef(name), CFTypeRef(unknown), CFTypeRef(appURL), CFTypeRef(link), CFTypeRef(schemeless)}) {
        CFRelease(r);
    }
}

TEST_F(MacOSTest, KeyMapShowsTheKeysHeldDown) {
    KeyMap map;
    auto bit = [&](unsigned code) { return (reinterpret_cast<UInt8*>(map)[code / 8] >> (code % 8)) & 1; };
    GetKeys(map);
    EXPECT_EQ(bit(49), 0);
    sim::pressKey(49);
    sim::pressKey(127);
    sim::pressKey(128); // no such key
    GetKeys(map);
    EXPECT_EQ(bit(49), 1);
    EXPECT_EQ(bit(127), 1);
    EXPECT_EQ(bit(48), 0);
    sim::releaseKey(49);
    GetKeys(map);
    EXPECT_EQ(bit(49), 0);
    sim::reset();
    GetKeys(map);
    EXPECT_EQ(bit(127), 0);
}
