#include "Environment/Platform.h"
#include "Environment/Directory.h"
#include "Environment/String.h"
#include "MacOS/CoreFoundation.hpp"
#include "MacOS/LaunchServices.hpp"
#include "sim/Clock.h"
#include "sim/Platform.h"
#include "sim/Sim.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <fstream>
#include <memory>
#include <string>

using zelvane::Directory;
using zelvane::Platform;
using zelvane::platform;
using zelvane::String;

namespace {

class PlatformTest : public ::testing::Test {
protected:
    void SetUp() override { m_live = sim::liveCFObjects(); }
    void TearDown() override {
        // Leave nothing of this process in the shared preferences file.
        sim::setSettingsSyncResult(true);
        String domain = uniqueDomain();
        CFStringRef key =
            CFStringCreateWithCString(kCFAllocatorDefault, domain.data(), kCFStringEncodingUTF8);
        CFPreferencesSetAppValue(key, nullptr, kCFPreferencesCurrentApplication);
        CFPreferencesAppSynchronize(kCFPreferencesCurrentApplication);
        CFRelease(key);
        EXPECT_EQ(sim::liveCFObjects(), m_live) << "Core Foundation objects leaked";
    }

    // A settings domain of this test process alone: parallel tests share the preferences file.
    static String uniqueDomain() {
        return String(("test." + std::to_string(::getpid()) + "." +
                       ::testing::UnitTest::GetInstance()->current_test_info()->name())
                          .c_str());
    }

private:
    std::size_t m_live = 0;
};

std::string folderPath(std::unique_ptr<Directory> const& folder) {
    return folder == nullptr ? "<null>" : std::string(folder->getPathName().data());
}

} // namespace

TEST_F(PlatformTest, FoldersAreTheSystemsAndTheHosts) {
    struct Case {
        const char* what;
        Directory* (Platform::*get)() const;
        const char* folder;
        const char* failingCall;
    };
    const Case cases[] = {
        {"preferences", &Platform::getUserPrefsDirectory, "Preferences", "FSFindFolder"},
        {"shared data", &Platform::getSharedDataDirectory, "SharedData", "FSFindFolder"},
        {"home", &Platform::getUserHomeDirectory, "Home", "IO::FileSystem::GetSpecialLocation"},
        {"current", &Platform::getCurrentDirectory, "Current", "IO::FileSystem::GetSpecialLocation"},
        {"local data", &Platform::getLocalDataDirectory, "LocalData", "IO::FileSystem::GetSpecialLocation"},
        {"documents", &Platform::getDocumentDirectory, "Documents", "ACAPI_Environment:GSPF"},
        {"temporary", &Platform::getTempDirectory, "Temp", "ACAPI_Environment:GSPF"},
    };
    for (Case const& c : cases) {
        SCOPED_TRACE(c.what);
        std::unique_ptr<Directory> folder((platform.*c.get)());
        EXPECT_EQ(folderPath(folder), sim::specialFolder(c.folder).string() + "/");
        sim::failCall(c.failingCall, ErrIO);
        folder.reset((platform.*c.get)());
        EXPECT_EQ(folder, nullptr);
    }
}

TEST_F(PlatformTest, TimeIsTheHostsLocalTime) {
    sim::setUTCOffset(90);
    sim::setClock(2017, 6, 30, 22, 45, 10);
    zelvane::Time now = platform.getTime();
    EXPECT_EQ(now.getTotalSeconds(), zelvane::Time(2017, 6, 30, 22, 45, 10).getTotalSeconds());
    sim::failCall("TIGetTimeRecord", ErrParam);
    EXPECT_EQ(platform.getTime(), zelvane::Time(false));
}

TEST_F(PlatformTest, KeysAreReadFromTheKeyboardState) {
    EXPECT_EQ(platform.getVirtualKey(Platform::deleteKey), 51);
    EXPECT_EQ(platform.getVirtualKey(Platform::spaceKey), 49);
    EXPECT_EQ(platform.getVirtualKey(Platform::optionKey), 58);
    EXPECT_EQ(platform.getVirtualKey(Platform::Keys(3)), 0);
    for (Platform::Keys key : {Platform::deleteKey, Platform::spaceKey, Platform::optionKey}) {
        EXPECT_FALSE(platform.isKeyPressed(key));
    }
    sim::pressKey(58);
    sim::pressKey(0); // a key without a framework name
    EXPECT_TRUE(platform.isKeyPressed(Platform::optionKey));
    EXPECT_FALSE(platform.isKeyPressed(Platform::spaceKey));
    EXPECT_FALSE(platform.isKeyPressed(Platform::Keys(3)));
    EXPECT_FALSE(platform.isKeyPressed(Platform::Keys(-1)));
}

TEST_F(PlatformTest, LaunchesApplicationsDocumentsAndUrls) {
    std::filesystem::path bundle = sim::installApplication("Zelvane Viewer");
    std::filesystem::path document = sim::specialFolder("Documents") / "launch-test.txt";
    std::ofstream(document) << "x";

    EXPECT_TRUE(platform.launchApplication(String("Zelvane Viewer"), String()));
    EXPECT_TRUE(platform.launchApplication(String(document.string().c_str()), String()));
    EXPECT_FALSE(platform.launchApplication(String("No Such Application"), String()));
    EXPECT_FALSE(platform.launchApplication(String(), String()));
    EXPECT_TRUE(platform.launchUrl(String("https://example.com/?q=1")));
    EXPECT_FALSE(platform.launchUrl(String("not a url")));
    EXPECT_FALSE(platform.launchUrl(String("example.com")));
    EXPECT_FALSE(platform.launchUrl(String()));

    ASSERT_EQ(sim::launches().size(), 4u);
    EXPECT_EQ(sim::launches()[0].kind, "application");
    EXPECT_EQ(sim::launches()[0].target, bundle.string());
    EXPECT_EQ(sim::launches()[1].kind, "file");
    EXPECT_EQ(sim::launches()[1].target, document.string());
    EXPECT_EQ(sim::launches()[2].target, "https://example.com/?q=1");
    EXPECT_NE(sim::launches()[3].status, 0) << "a URL without a scheme opens nothing";

    sim::setLaunchResult(kLSLaunchInProgressErr);
    EXPECT_FALSE(platform.launchApplication(String("Zelvane Viewer"), String()));
    EXPECT_FALSE(platform.launchUrl(String("https://example.com")));
    sim::setLaunchResult(0);
    sim::failCall("LSFindApplicationForInfo", ErrIO);
    EXPECT_FALSE(platform.launchApplication(String("Zelvane Viewer"), String())) << "nor is it a path";
    std::filesystem::remove(document);
}

TEST_F(PlatformTest, SettingsRoundTripThroughThePreferences) {
    String domain = uniqueDomain();
    String value("unchanged");
    EXPECT_FALSE(platform.readSetting(domain, String("b"), String("c"), value));
    EXPECT_EQ(value, String("unchanged"));

    EXPECT_TRUE(platform.writeSetting(domain, String("b"), String("c"), String("x")));
    EXPECT_TRUE(platform.writeSetting(domain, String("b"), String("d"), String("gr\xC3\xBC\xC3\x9F")));
    EXPECT_TRUE(platform.writeSetting(domain, String("other"), String("c"), String("y")));
    EXPECT_TRUE(platform.writeSetting(domain, String("b"), String("c"), String("x2")));
    std::string longText(1000, 'L');
    EXPECT_TRUE(platform.writeSetting(domain, String("b"), String("long"), String(longText.c_str())));

    sim::reloadSettings(); // as after a restart: read back from the file
    struct Case {
        const char* group;
        const char* name;
        const char* expected;
    };
    for (Case c : {Case{"b", "c", "x2"}, Case{"b", "d", "gr\xC3\xBC\xC3\x9F"}, Case{"other", "c", "y"},
                   Case{"b", "long", longText.c_str()}}) {
        SCOPED_TRACE(c.name);
        EXPECT_TRUE(platform.readSetting(domain, String(c.group), String(c.name), value));
        EXPECT_EQ(value, String(c.expected));
    }
    value = String("kept");
    EXPECT_FALSE(platform.readSetting(domain, String("b"), String("missing"), value));
    EXPECT_FALSE(platform.readSetting(domain, String("missing"), String("c"), value));
    EXPECT_FALSE(platform.readSetting(String("bad \xFF"), String("b"), String("c"), value));
    EXPECT_EQ(value, String("kept"));
}

TEST_F(PlatformTest, FailedSettingWritesAreReported) {
    String domain = uniqueDomain();
    String value;
    sim::setSettingsSyncResult(false);
    EXPECT_FALSE(platform.writeSetting(domain, String("g"), String("n"), String("lost")));
    sim::setSettingsSyncResult(true);
    sim::reloadSettings();
    EXPECT_FALSE(platform.readSetting(domain, String("g"), String("n"), value));

    for (const char* call : {"CFDictionaryCreateMutable", "CFStringCreate", "CFPreferencesAppSynchronize"}) {
        SCOPED_TRACE(call);
        sim::failCall(call, ErrMemoryFull);
        EXPECT_FALSE(platform.writeSetting(domain, String("g"), String("n"), String("v")));
    }
    EXPECT_FALSE(platform.writeSetting(domain, String("g"), String("bad \xFF"), String("v")));

    // A domain that holds something else than a dictionary is read as missing and replaced.
    CFStringRef key = CFStringCreateWithCString(kCFAllocatorDefault, domain.data(), kCFStringEncodingUTF8);
    CFStringRef text = CFStringCreateWithCString(kCFAllocatorDefault, "plain", kCFStringEncodingUTF8);
    CFPreferencesSetAppValue(key, text, kCFPreferencesCurrentApplication);
    EXPECT_FALSE(platform.readSetting(domain, String("g"), String("n"), value));
    EXPECT_TRUE(platform.writeSetting(domain, String("g"), String("n"), String("v")));
    EXPECT_TRUE(platform.readSetting(domain, String("g"), String("n"), value));
    EXPECT_EQ(value, String("v"));
    CFRelease(key);
    CFRelease(text);
}
