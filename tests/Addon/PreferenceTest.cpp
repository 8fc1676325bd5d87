#include "ACAPI/ModuleData.hpp"
#include "Addon/AddonPrefs.h"
#include "Addon/ModuleEvent.h"
#include "Addon/ModuleSubscriber.h"
#include "Addon/Supervisor.h"
#include "Database/Project.h"
#include "Environment/DataFile.h"
#include "Environment/Host.h"
#include "Environment/MemoryBlock.h"
#include "TestAddon.h"
#include "TestPackages.h"
#include "XML/PackageStore.h"
#include "XML/ShippingUnit.h"
#include "fileio/System.h"
#include "sim/AddOns.h"
#include "sim/Dialogs.h"
#include "sim/Files.h"
#include "sim/Memory.h"
#include "sim/Output.h"
#include "sim/Project.h"
#include "sim/Resources.h"
#include "sim/Sim.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>

using namespace zelvane;
using namespace testing_addon;

namespace {

namespace fs = std::filesystem;

std::string readFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

std::string moduleText() {
    const auto& data = sim::currentAddOn().moduleData;
    auto it = data.find("");
    return it == data.end() ? std::string() : std::string(it->second.bytes.begin(), it->second.bytes.end());
}

void setModuleText(const std::string& text) {
    sim::ModuleDataRecord record;
    record.bytes.assign(text.begin(), text.end());
    record.version = 1;
    record.platformSign = 19789;
    sim::currentAddOn().moduleData[""] = record;
}

// The project preferences a project holds: a count of 21.
const std::string storedCount = "<countPrefs><count>21</count></countPrefs>";

// The add-on runs with a project open whose count package, 3 by default, is stored as 21.
void runWithStoredCount(TestAddon& a) {
    addon = &a;
    sim::openProject();
    a.addPreference(CountPrefs(3), Addon::project);
    setModuleText(storedCount);
}

class PreferenceTest : public ::testing::Test {
protected:
    void SetUp() override {
        userFile = sim::specialFolder("Preferences") / "Zelvane" / "com.zelvane.sampletool2.xml";
        sharedFile = sim::specialFolder("SharedData") / "Zelvane" / "com.zelvane.sampletool2.xml";
        fs::remove_all(userFile.parent_path());
        fs::remove_all(sharedFile.parent_path());
        resetHandlers();
        host.reset();
    }
    void TearDown() override {
        addon = nullptr;
        resetHandlers();
        sim::closeProject();
        host.reset();
        if (Project* project = host.getProject()) {
            project->initialisePreferences();
        }
    }

    // The bundle's handlers as before its first initialisation.
    static void resetHandlers() {
        ProjectSubscriber::isInstalled = false;
        ModuleSubscriber::m_isRegistered = 0;
        ModuleSubscriber::m_isInstalled = 0;
    }

    // Plays the rows of what another program puts at the preference file: those of another user's
    // entry (which only root gives away) with `anotherUsers`, the others without.
    void playWhatAnotherPuts(bool anotherUsers);

    fs::path userFile, sharedFile;
};

CountPrefs* projectCount() {
    return host.getProject() != nullptr
               ? dynamic_cast<CountPrefs*>(host.getProject()->getPreference(CountPrefs::ID))
               : nullptr;
}

} // namespace

TEST_F(PreferenceTest, FileNameAndLocation) {
    struct Case {
        const char* product;
        const char* file;
    };
    for (const Case& c :
         {Case{"Sample Tool 2", "com.zelvane.sampletool2.xml"},
          Case{" Tab\tLine\r\nEnd ", "com.zelvane.tablineend.xml"}, Case{"", "com.zelvane..xml"}}) {
        TestAddon a;
        a.info.name = c.product;
        EXPECT_EQ(a.getPrefsFileName(), c.file) << c.product;
    }
    TestAddon a;
    EXPECT_EQ(std::unique_ptr<DataFile>(a.getPrefsFile(Addon::user, false)), nullptr)
        << "not made when reading";
    EXPECT_EQ(std::unique_ptr<DataFile>(a.getPrefsFile(Addon::project, true)), nullptr);
    std::unique_ptr<DataFile> made(a.getPrefsFile(Addon::shared, true));
    ASSERT_NE(made, nullptr);
    EXPECT_TRUE(fs::exists(sharedFile));
}

TEST_F(PreferenceTest, UserAndSharedFilesRoundTrip) {
    {
        TestAddon a;
        addon = &a;
        a.addPreference(NamePrefs("Ann"), Addon::user);
        a.addPreference(CountPrefs(7), Addon::shared);
        EXPECT_TRUE(a.isPreferenceRegistered(NamePrefs::ID, Addon::shared))
            << "registered, whatever the context";
        EXPECT_FALSE(a.isPreferenceRegistered(NamePrefs::ID, Addon::project));
        EXPECT_EQ(a.getPreference(NamePrefs::ID, Addon::shared), nullptr);
        auto* name = dynamic_cast<NamePrefs*>(a.getPreference(NamePrefs::ID, Addon::user));
        ASSERT_NE(name, nullptr);
        name->name = "Bea & <Co>";
        ProjectEvent quit(APINotify_Quit);
        a.publishExternalEvent(quit, false);
    }
    std::string user = readFile(userFile);
    EXPECT_NE(user.find("<frameworkPreferenceStore>"), std::string::npos) << user;
    EXPECT_NE(user.find("<namePrefs>"), std::string::npos) << user;
    EXPECT_EQ(user.find("countPrefs"), std::string::npos) << "only the user's packages: " << user;
    EXPECT_NE(readFile(sharedFile).find("<count>7</count>"), std::string::npos) << readFile(sharedFile);

    TestAddon b;
    addon = &b;
    b.addPreference(NamePrefs("Ann"), Addon::user);
    b.addPreference(CountPrefs(1), Addon::shared);
    ASSERT_TRUE(b.registerInterface());
    ASSERT_TRUE(b.initialise());
    EXPECT_EQ(dynamic_cast<NamePrefs*>(b.getPreference(NamePrefs::ID, Addon::user))->name, "Bea & <Co>");
    EXPECT_EQ(dynamic_cast<CountPrefs*>(b.getPreference(CountPrefs::ID, Addon::shared))->count, 7);
    EXPECT_GE(b.integrityChecks, 2);
}

TEST_F(PreferenceTest, WritingFollowsTheRegisteredContexts) {
    const std::string text = "<frameworkPreferenceStore><namePrefs><name>Cy</name></namePrefs>"
                             "</frameworkPreferenceStore>";
    const std::string beside = "<frameworkPreferenceStore><namePrefs><name>Cy</name></namePrefs>"
                               "<laterPrefs a=\"1\">4</laterPrefs></frameworkPreferenceStore>";
    const std::string besideWritten = "<?xml version=\"1.0\" encoding=\"UTF-8\" ?>\n"
                                      "<frameworkPreferenceStore>\n\t<laterPrefs a=\"1\">4</laterPrefs>\n"
                                      "</frameworkPreferenceStore>\n";
    struct Case {
        const char* name;
        const char* text;  // the user's file, null for none
        bool registered;   // the package was the user's when the file was read
        const char* after; // the user's file once the package moved, null when erased
        fs::perms folder;  // the mode of the user's folder then, of mode 700 before as the file is 600
        bool link = false; // the user's file is a link to the file holding text
    };
    const fs::perms own = fs::perms::owner_read | fs::perms::owner_write;
    // The user's own folder and file open nothing to others: a new one has what the umask gives
    // others, one that exists keeps what it gave them; no one but its owner writes the folder.
    const mode_t mask = ::umask(0);
    ::umask(mask);
    const fs::perms newFolder = fs::perms(0755 & ~mask) | fs::perms::owner_all;
    const fs::perms newFile = fs::perms(0666 & ~mask) | own;
    // The user's package moves to the shared context: only a file that was read (or written by the
    // add-on) holding nothing but its packages is erased, and it is not made again.
    const Case cases[] = {
        {"made by the add-on", nullptr, true, nullptr, newFolder},
        {"read, holding only its packages", text.c_str(), true, nullptr, fs::perms::owner_all},
        {"read through a link, holding only its packages", text.c_str(), true, nullptr, fs::perms::owner_all,
         true},
        {"read, holding a package it does not know", beside.c_str(), true, besideWritten.c_str(),
         fs::perms::owner_all},
        {"not read, for its context held no package", text.c_str(), false, text.c_str(),
         fs::perms::owner_all},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        fs::remove_all(userFile.parent_path());
        fs::remove_all(sharedFile.parent_path());
        if (c.text != nullptr) {
            fs::create_directories(userFile.parent_path());
            if (c.link) {
                fs::create_symlink("named.xml", userFile);
            }
            std::ofstream(userFile) << c.text;
            fs::permissions(userFile, own);
            fs::permissions(userFile.parent_path(), fs::perms::owner_all);
        }
        TestAddon a;
        addon = &a;
        if (c.registered) {
            a.addPreference(NamePrefs("Ann"), Addon::user);
        }
        if (c.text != nullptr) {
            a.readPrefs(Addon::user, false);
        } else {
            EXPECT_TRUE(a.writePrefs(Addon::user));
            EXPECT_EQ(fs::status(userFile).permissions(), newFile);
        }
        a.addPreference(NamePrefs("Ann"), Addon::shared);
        EXPECT_TRUE(a.writePrefs(Addon::user));
        EXPECT_TRUE(a.writePrefs(Addon::shared));
        EXPECT_EQ(fs::is_symlink(userFile), c.link) << "a link stays";
        if (c.after == nullptr) {
            EXPECT_FALSE(fs::exists(userFile));
        } else {
            EXPECT_EQ(readFile(userFile), c.after);
            EXPECT_EQ(fs::status(userFile).permissions(), own);
        }
        EXPECT_EQ(fs::status(userFile.parent_path()).permissions(), c.folder);
        EXPECT_NE(readFile(sharedFile).find("Ann"), std::string::npos);
        // Every user of the machine is to change the shared preferences.
        EXPECT_EQ(fs::status(sharedFile).permissions(), fs::perms::all);
        EXPECT_EQ(fs::status(sharedFile.parent_path()).permissions(), fs::perms::all);
    }

    TestAddon empty;
    addon = &empty;
    fs::remove_all(userFile.parent_path());
    empty.writePrefs(Addon::user);
    EXPECT_FALSE(fs::exists(userFile)) << "no packages: no file";
}

TEST_F(PreferenceTest, ReadingKeepsWhatTheFileLacksOrCannotGive) {
    TestAddon a;
    addon = &a;
    a.addPreference(NamePrefs("Ann"), Addon::user);
    a.addPreference(CountPrefs(4), Addon::user);
    fs::create_directories(userFile.parent_path());

    // A file without the counter: the counter keeps its value.
    std::ofstream(userFile) << "<frameworkPreferenceStore><namePrefs><name>Cy</name></namePrefs>"
                               "</frameworkPreferenceStore>";
    a.readPrefs(Addon::user, false);
    EXPECT_EQ(dynamic_cast<NamePrefs*>(a.getPreference(NamePrefs::ID, Addon::user))->name, "Cy");
    EXPECT_EQ(dynamic_cast<CountPrefs*>(a.getPreference(CountPrefs::ID, Addon::user))->count, 4);

    // A malformed file changes nothing.
    std::ofstream(userFile) << "<frameworkPreferenceStore><namePrefs><name>Dee</name></namePr";
    a.readPrefs(Addon::user, false);
    EXPECT_EQ(dynamic_cast<NamePrefs*>(a.getPreference(NamePrefs::ID, Addon::user))->name, "Cy");
    EXPECT_EQ(dynamic_cast<CountPrefs*>(a.getPreference(CountPrefs::ID, Addon::user))->count, 4);

    // A file its owner may only read is read all the same.
    std::ofstream(userFile) << "<frameworkPreferenceStore><countPrefs><count>5</count></countPrefs>"
                               "</frameworkPreferenceStore>";
    fs::permissions(userFile, fs::perms::owner_read);
    a.readPrefs(Addon::user, false);
    EXPECT_FALSE(a.isPrefsUnread(Addon::user));
    EXPECT_EQ(dynamic_cast<CountPrefs*>(a.getPreference(CountPrefs::ID, Addon::user))->count, 5);
    fs::permissions(userFile, fs::perms::owner_read | fs::perms::owner_write);

    // A package it does not know is written back only while the file read holds it.
    std::ofstream(userFile)
        << "<frameworkPreferenceStore><laterPrefs>4</laterPrefs><namePrefs><name>Cy</name>"
           "</namePrefs></frameworkPreferenceStore>";
    a.readPrefs(Addon::user, false);
    fs::remove(userFile);
    a.readPrefs(Addon::user, false);
    EXPECT_TRUE(a.writePrefs(Addon::user));
    EXPECT_EQ(readFile(userFile).find("laterPrefs"), std::string::npos) << readFile(userFile);
}

TEST_F(PreferenceTest, AFileThatCannotBeReadIsKeptAndTold) {
    const std::string stored =
        "<?xml version=\"1.0\" encoding=\"UTF-8\" ?>\n<frameworkPreferenceStore>\n"
        "\t<countPrefs>\n\t\t<count>50</count>\n\t</countPrefs>\n</frameworkPreferenceStore>\n";
    // A byte-order mark, or no declaration: a moved position reads as a mark, or as a root cut short.
    const std::string marked = "\xEF\xBB\xBF" + stored;
    const std::string bare = stored.substr(stored.find('<', 1));
    const std::string later = "<laterPrefs><level>4</level><names><name>A &amp; B</name><name/></names>"
                              "</laterPrefs>";
    // Packages of a later version beside its own, kept and written back as they were.
    const std::string unknown =
        later + "<laterVersion a=\"1\">7</laterVersion>"
                "<laterMixed>before<!-- c > --><b>x</b><![CDATA[<a>]]>after &amp; &#233;</laterMixed>"
                "<l:laterNs>n</l:laterNs>";
    const std::string beside =
        "<frameworkPreferenceStore xmlns:l=\"urn:later\" version='3'>" + unknown +
        "<!-- the count --><countPrefs u='1'><count>50</count><unit>beds</unit></countPrefs>"
        "</frameworkPreferenceStore>";
    const std::string besideWritten =
        "<?xml version=\"1.0\" encoding=\"UTF-8\" ?>\n"
        "<frameworkPreferenceStore xmlns:l=\"urn:later\" version='3'>\n"
        "\t" +
        later +
        "\n"
        "\t<laterVersion a=\"1\">7</laterVersion>\n"
        "\t<laterMixed>before<!-- c > --><b>x</b><![CDATA[<a>]]>after &amp; &#233;</laterMixed>\n"
        "\t<l:laterNs>n</l:laterNs>\n"
        "\t<!-- the count -->\n"
        "\t<countPrefs u='1'>\n\t\t<count>51</count>\n\t\t<unit>beds</unit>\n\t</countPrefs>\n"
        "</frameworkPreferenceStore>\n";
    struct Case {
        const char* name;
        Addon::Context context;
        const char* text; // the file's, null when there is none
        const char* call; // a call failing while the file is read, null for none
        int times, skip;
        bool unread;
        int count;                     // written at quit, when the file is not kept
        const char* written = nullptr; // the whole file written at quit
        bool initialiseFails = false;  // a subscriber, or the host's refusal of call, fails it
        bool folder = false;           // the file's name is a folder's
        const char* appears = nullptr; // a file made after the read found none, kept
        bool fifo = false;             // the file is a FIFO, with a reader: it holds no preferences
    };
    const Case cases[] = {
        {"no file", Addon::user, nullptr, nullptr, 0, 0, false, 3},
        {"no file, then one made meanwhile", Addon::user, nullptr, nullptr, 0, 0, false, 3, nullptr, false,
         false, beside.c_str()},
        {"read", Addon::user, stored.c_str(), nullptr, 0, 0, false, 51},
        {"a FIFO", Addon::user, nullptr, nullptr, 0, 0, true, 0, nullptr, false, false, nullptr, true},
        {"empty", Addon::user, "", nullptr, 0, 0, false, 3},
        {"packages it does not know beside its own", Addon::user, beside.c_str(), nullptr, 0, 0, false, 51,
         besideWritten.c_str()},
        {"its name is a folder's", Addon::user, nullptr, nullptr, 0, 0, true, 0, nullptr, false, true},
        {"its length after a read binding no package", Addon::user, later.c_str(), "IO::File::GetDataLength",
         1, 2, true, 0},
        {"only packages it does not know", Addon::user, later.c_str(), nullptr, 0, 0, true, 0},
        {"another root element", Addon::user, "<settings><count>50</count></settings>", nullptr, 0, 0, true,
         0},
        {"plain text", Addon::user, "count = 50\n", nullptr, 0, 0, true, 0},
        {"the system folder is not found", Addon::user, stored.c_str(), "FSFindFolder", 1, 0, true, 0},
        {"the system folder is never found", Addon::user, stored.c_str(), "FSFindFolder", -1, 0, true, 0},
        {"the system folder does not open", Addon::user, stored.c_str(), "IO::Folder::New", 1, 0, true, 0},
        {"its own folder does not open", Addon::user, stored.c_str(), "IO::Folder::New", 1, 1, true, 0},
        {"the initialisation fails", Addon::user, stored.c_str(), nullptr, 0, 0, true, 0, nullptr, true},
        {"the project handler is refused", Addon::user, stored.c_str(), "ACAPI_Notify_CatchProjectEvent", 1,
         0, true, 0, nullptr, true},
        {"the merge handler is refused", Addon::user, stored.c_str(), "ACAPI_Install_ModulDataMergeHandler",
         1, 0, true, 0, nullptr, true},
        {"the shared system folder is not found", Addon::shared, stored.c_str(), "FSFindFolder", 1, 0, true,
         0},
        {"the shared system folder does not open", Addon::shared, stored.c_str(), "IO::Folder::New", 1, 0,
         true, 0},
        {"the shared file's folder does not open", Addon::shared, stored.c_str(), "IO::Folder::New", 1, 1,
         true, 0},
        {"the shared file holds another root element", Addon::shared, "<settings/>", nullptr, 0, 0, true, 0},
        {"the data's read fails", Addon::user, stored.c_str(), sim::fileReadCall, 1, 1, true, 0},
        {"every read fails", Addon::user, stored.c_str(), sim::fileReadCall, -1, 0, true, 0},
        {"its length once", Addon::user, stored.c_str(), "IO::File::GetDataLength", 1, 1, true, 0},
        {"its length always", Addon::user, stored.c_str(), "IO::File::GetDataLength", -1, 0, true, 0},
        {"a byte-order mark", Addon::user, marked.c_str(), nullptr, 0, 0, false, 51},
        {"its length before its mark", Addon::user, marked.c_str(), "IO::File::GetDataLength", 1, 0, true, 0},
        {"the seek to its mark", Addon::user, marked.c_str(), "IO::File::SetPosition", 1, 0, true, 0},
        {"the read of its mark", Addon::user, marked.c_str(), sim::fileReadCall, 1, 0, true, 0},
        {"the seek back from its declaration", Addon::user, stored.c_str(), "IO::File::SetPosition", 1, 1,
         true, 0},
        {"the seek back from its root", Addon::user, bare.c_str(), "IO::File::SetPosition", 1, 1, true, 0},
        {"the seek back from its mark", Addon::user, marked.c_str(), "IO::File::SetPosition", 1, 1, true, 0},
        {"the shared file's seek back", Addon::shared, stored.c_str(), "IO::File::SetPosition", 1, 1, true,
         0},
        {"it does not open", Addon::user, stored.c_str(), sim::fileOpenCall, -1, 0, true, 0},
        {"malformed", Addon::user, "<frameworkPreferenceStore><countPrefs><count>50</count></countPr",
         nullptr, 0, 0, true, 0},
        {"the shared file's read fails", Addon::shared, stored.c_str(), sim::fileReadCall, 1, 1, true, 0},
        {"the shared file is malformed", Addon::shared, "<frameworkPreferenceStore>", nullptr, 0, 0, true, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        fs::remove_all(userFile.parent_path());
        fs::remove_all(sharedFile.parent_path());
        sim::reset();
        resetHandlers();
        const fs::path& file = c.context == Addon::user ? userFile : sharedFile;
        if (c.text != nullptr) {
            fs::create_directories(file.parent_path());
            std::ofstream(file) << c.text;
        }
        if (c.folder) {
            fs::create_directories(file);
        }
        int reader = -1;
        if (c.fifo) {
            fs::create_directories(file.parent_path());
            ASSERT_EQ(::mkfifo(file.c_str(), 0600), 0);
            reader = ::open(file.c_str(), O_RDONLY | O_NONBLOCK);
        }
        TestAddon a;
        addon = &a;
        a.addPreference(CountPrefs(2), c.context);
        Probe failing(EventSpec(CountPrefs::ID, 0), [](Event&) { return false; });
        failing.initialiseOK = false;
        if (c.initialiseFails && c.call == nullptr) {
            a.addSubscriber(&failing);
        }
        if (c.call != nullptr) {
            sim::failCall(c.call, ErrIO, c.times, c.skip);
        }
        ASSERT_TRUE(a.registerInterface());
        EXPECT_EQ(a.initialise(), !c.initialiseFails);
        sim::clearFaults();
        EXPECT_EQ(a.isPrefsUnread(c.context), c.unread);
        auto* count = dynamic_cast<CountPrefs*>(a.getPreference(CountPrefs::ID, c.context));
        ASSERT_NE(count, nullptr);
        EXPECT_EQ(count->count, c.unread ? 2 : c.count - 1) << "the defaults stand for an unread file";
        ++count->count;
        if (c.appears != nullptr) {
            fs::create_directories(file.parent_path());
            std::ofstream(file) << c.appears;
        }
        ProjectEvent quit(APINotify_Quit);
        a.publishExternalEvent(quit, false);
        a.removeSubscriber(&failing);
        addon = nullptr;
        std::string written = c.fifo ? std::string(65536, '\0') : c.folder ? std::string() : readFile(file);
        if (c.fifo) {
            written.resize(std::size_t(std::max(::read(reader, &written[0], written.size()), ssize_t(0))));
            ::close(reader);
            EXPECT_TRUE(fs::is_fifo(file));
        }

        const std::string described = std::string("The ") + (c.context == Addon::user ? "user" : "shared") +
                                      " preferences of the add-on \"Sample Tool 2\"";
        const std::string place = (c.context == Addon::user ? "Preferences" : "SharedData") +
                                  std::string("/Zelvane/com.zelvane.sampletool2.xml");
        if (c.appears != nullptr) {
            EXPECT_EQ(written, c.appears) << "never written over";
            EXPECT_EQ(a.failures, 0);
            EXPECT_EQ(sim::consoleText(), described + " could not be written to " + place + ".\n");
        } else if (c.unread) {
            if (c.folder) {
                EXPECT_TRUE(fs::is_directory(file));
            } else {
                EXPECT_EQ(written, c.text != nullptr ? c.text : "") << "the file is never written over";
            }
            // A failed initialisation is the host's to tell: the file not read is told at quit. A
            // file that could not be read is told once, as it is read.
            EXPECT_EQ(a.failures, c.initialiseFails ? 0 : 1) << "the user is told once";
            // Where the folder is never found, no file is there to keep.
            const bool never = c.call != nullptr && std::string(c.call) == "FSFindFolder" && c.times < 0;
            EXPECT_EQ(sim::consoleText(),
                      c.initialiseFails ? described + " could not be written to " + place + ".\n"
                      : never           ? described + " could not be read: the user preferences folder "
                                                      "could not be found.\n"
                                        : described + " could not be read from " + place +
                                    ": they are kept in that file, and not written over.\n");
        } else {
            EXPECT_NE(written.find("<count>" + std::to_string(c.count) + "</count>"), std::string::npos)
                << written;
            if (c.written != nullptr) {
                EXPECT_EQ(written, c.written);
            }
            EXPECT_EQ(a.failures, 0);
            EXPECT_EQ(sim::consoleText(), "");
        }
    }
}

namespace {

// A count whose writing first puts a file at `plantAt`, as another program might while the add-on
// writes its new preference file.
class PlantingPrefs : public CountPrefs {
public:
    using CountPrefs::CountPrefs;
    Package* clone() const override { return new PlantingPrefs(*this); }
    Shipping* getShipping(std::size_t index, bool all) override {
        if (!plantAt.empty()) {
            std::ofstream(plantAt) << "theirs";
            plantAt.clear();
        }
        return CountPrefs::getShipping(index, all);
    }
    static inline fs::path plantAt;
};

void PreferenceTest::playWhatAnotherPuts(bool anotherUsers) {
    const std::string stored = "<frameworkPreferenceStore><countPrefs><count>50</count></countPrefs>"
                               "</frameworkPreferenceStore>";
    const fs::path notes = sim::specialFolder("Documents") / "private" / "notes.txt";
    const std::string secret = "the player notes: SECRET";
    // Any user but the one running the test.
    const uid_t other = ::geteuid() == 4242 ? 4243 : 4242;
    const fs::perms open = fs::perms::all;
    const fs::perms closed = open & ~(fs::perms::group_write | fs::perms::others_write);
    const fs::path away = sim::specialFolder("Documents") / "open";
    Addon::Context context = Addon::user;
    auto fileOf = [&] { return context == Addon::user ? userFile : sharedFile; };
    // A link to the player's private notes, in the preference folder opened to all.
    auto putLink = [&](uid_t owner) {
        const fs::path file = fileOf();
        fs::remove(file);
        fs::create_symlink(notes, file);
        ASSERT_EQ(::lchown(file.c_str(), owner, owner), 0);
        fs::permissions(file.parent_path(), open);
    };
    // Another user's file holding `text`, or their FIFO that a process of the test reads.
    int reader = -1;
    auto putTheirs = [&](const std::string& text, mode_t node) {
        const fs::path file = fileOf();
        fs::remove(file);
        if (node == S_IFIFO) {
            ASSERT_EQ(::mkfifo(file.c_str(), 0666), 0);
            reader = ::open(file.c_str(), O_RDONLY | O_NONBLOCK);
        } else {
            std::ofstream(file) << text;
        }
        ASSERT_EQ(::chown(file.c_str(), other, other), 0);
        ASSERT_EQ(::chmod(file.c_str(), 0666), 0);
        fs::permissions(file.parent_path(), open);
    };
    // A folder the add-on names as its user preference folder, in place of the system's.
    const fs::path ownFolder = userFile.parent_path().parent_path() / "Own";
    bool ownNamed = false;
    // A user preference file is not handed out of another user's folder, nor where another user's
    // entry stands at its name: ErrPermission says why.
    auto refusedFile = [&] {
        GSErrCode error = NoError;
        EXPECT_EQ(std::unique_ptr<DataFile>(addon->getPrefsFile(Addon::user, true, &error)), nullptr);
        EXPECT_EQ(error, ErrPermission);
    };
    using Step = std::function<void()>;
    struct Case {
        const char* name;
        bool root;             // only root makes a link or a file another user's
        Step beforeRead;       // null: the file holds stored
        Step afterRead;        // what is put there during the play
        bool unread;           // told as the file is read
        bool notWritten;       // told at quit
        const char* kept;      // what the file holds at the end, null when it is a link or a FIFO
        bool followed = false; // the link is followed: the notes hold the preferences
        bool moved = false;    // the package moves to the shared context: the file is to be erased
        Addon::Context context = Addon::user;
        bool closed = false;                 // the user's folder was open to others: closed and told
        const char* holds = nullptr;         // what the file holds at the end, among the rest
        fs::perms mode = fs::perms::unknown; // the file's mode at the end
        const char* refused = nullptr;       // another user's entry, at the user's folder or the file: told
        bool theirsRead = false;             // another user's file is read as the player's
        Step check = nullptr;                // what else the row checks at the end
    };
    const std::string theirs = "theirs";
    // The player's folder moved into a folder of another user's, in a folder of the player's open to
    // all, and reached through the player's link at its name.
    const Step linkThrough = [&] {
        fs::create_directories(away / "theirs");
        fs::permissions(away, open);
        fs::rename(userFile.parent_path(), away / "theirs" / "mine");
        ASSERT_EQ(::chown((away / "theirs").c_str(), other, other), 0);
        fs::create_directory_symlink(away / "theirs" / "mine", userFile.parent_path());
    };
    // The count as the add-on writes it back, on a line of its own.
    const std::string writtenBack = "\t\t<count>50</count>\n";
    // The user's file, as told where another user's entry stands at its name.
    const char* const atFile = "Preferences/Zelvane/com.zelvane.sampletool2.xml";
    const Case cases[] = {
        // Another user's entry at the file's name holds none of the player's preferences: told as such.
        {"another's link put after the read", true, nullptr, [&] { putLink(other); }, false, true, nullptr,
         false, false, Addon::user, true, nullptr, fs::perms::unknown, atFile},
        // Holding no user preferences any more, the add-on has none to tell of.
        {"another's link put after the read, with nothing to write", true, nullptr, [&] { putLink(other); },
         false, false, nullptr, false, true, Addon::user, true},
        {"another's link put before the read", true, [&] { putLink(other); }, nullptr, true, false, nullptr,
         false, false, Addon::user, true, nullptr, fs::perms::unknown, atFile},
        {"the player's own link, in a folder others may write", false,
         [&] {
             std::ofstream(notes) << stored;
             putLink(::geteuid());
         },
         nullptr, false, false, nullptr, true, false, Addon::user, true},
        {"a FIFO without a reader put after the read", false, nullptr,
         [&] {
             fs::remove(userFile);
             ASSERT_EQ(::mkfifo(userFile.c_str(), 0600), 0);
         },
         false, true, nullptr},
        {"made read-only by its user", false, [&] { fs::permissions(userFile, fs::perms::owner_read); },
         nullptr, false, true, stored.c_str()},
        {"made read-only by its user, and asked for", false,
         [&] { fs::permissions(userFile, fs::perms(0444)); },
         [&] { std::unique_ptr<DataFile>(addon->getPrefsFile(Addon::user, true)); }, false, true,
         stored.c_str(), false, false, Addon::user, false, nullptr, fs::perms(0444)},
        {"made by another while the new file is written", false, [&] { fs::remove(userFile); },
         [&] { PlantingPrefs::plantAt = userFile; }, false, true, "theirs"},
        {"the player's own file, in a folder others may write", false,
         [&] { fs::permissions(userFile.parent_path(), open); }, nullptr, false, false, nullptr, false, false,
         Addon::user, true, writtenBack.c_str()},
        {"another's file, in a folder others may write", true, [&] { putTheirs(stored, S_IFREG); }, nullptr,
         true, false, stored.c_str(), false, false, Addon::user, true, nullptr, fs::perms(0666), atFile},
        // Another user's folder in the player's preference folder, open to others or not: not taken.
        {"another's folder, in a folder others may write", true,
         [&] {
             ASSERT_EQ(::chown(userFile.parent_path().c_str(), other, other), 0);
             fs::permissions(userFile.parent_path().parent_path(), open);
         },
         nullptr, true, false, nullptr, false, false, Addon::user, false, stored.c_str(), fs::perms::unknown,
         "Preferences/Zelvane"},
        {"another's folder, in the player's folder closed to others", true,
         [&] { ASSERT_EQ(::chown(userFile.parent_path().c_str(), other, other), 0); }, refusedFile, true,
         false, nullptr, false, false, Addon::user, false, stored.c_str(), fs::perms::unknown,
         "Preferences/Zelvane"},
        // The look by its name finds the player's folder; the read, or the write, meets another's on
        // its way.
        {"the player's folder through the player's link, in another's folder others may write", true,
         linkThrough, nullptr, true, false, nullptr, false, false, Addon::user, false, stored.c_str(),
         fs::perms::unknown, "Preferences/Zelvane: its way passes through open/theirs"},
        {"the player's folder through the player's link put after the read", true, nullptr, linkThrough,
         false, true, nullptr, false, false, Addon::user, false, stored.c_str(), fs::perms::unknown,
         "Preferences/Zelvane: its way passes through open/theirs"},
        {"the folder given to another after the read", true, nullptr,
         [&] { ASSERT_EQ(::chown(userFile.parent_path().c_str(), other, other), 0); }, false, true, nullptr,
         false, false, Addon::user, false, stored.c_str(), fs::perms::unknown, "Preferences/Zelvane"},
        // The write takes the player's folder, open to all, and closes it; another user then exchanges
        // it for a folder of theirs before the new file is written, which the write's own use refuses.
        {"the folder exchanged for another's once closed for the write", true, nullptr,
         [&] {
             fs::permissions(userFile.parent_path(), open);
             dynamic_cast<TestAddon&>(*addon).atUserPrefsDirectory = [&] {
                 const fs::path folder = userFile.parent_path();
                 if (fs::exists(away / "moved") ||
                     (fs::status(folder).permissions() & fs::perms::others_write) != fs::perms::none) {
                     return;
                 }
                 fs::create_directories(away);
                 fs::rename(folder, away / "moved");
                 fs::create_directory(folder);
                 ASSERT_EQ(::chown(folder.c_str(), other, other), 0);
                 fs::permissions(folder, closed);
             };
         },
         false, true, nullptr, false, false, Addon::user, true, nullptr, fs::perms::unknown,
         "Preferences/Zelvane", false,
         [&] {
             EXPECT_FALSE(fs::exists(userFile)) << "nothing written into another's folder";
             EXPECT_EQ(readFile(away / "moved" / userFile.filename()), stored) << "the player's file kept";
             fs::remove_all(away / "moved");
         }},
        // The add-on's own user preference folder, whatever folder holds it.
        {"another's folder named by the add-on", true,
         [&] {
             ownNamed = true;
             fs::create_directory(ownFolder);
             ASSERT_EQ(::chown(ownFolder.c_str(), other, other), 0);
         },
         [&] {
             refusedFile();
             EXPECT_TRUE(fs::is_empty(ownFolder)) << "nothing of the player's goes into it";
         },
         true, false, nullptr, false, false, Addon::user, false, stored.c_str(), fs::perms::unknown,
         "Preferences/Own"},
        // Put there while the folder was open, it stays theirs once the folder is closed.
        {"another's file, in the player's folder closed to others", true,
         [&] {
             putTheirs(stored, S_IFREG);
             fs::permissions(userFile.parent_path(), closed);
         },
         refusedFile, true, false, stored.c_str(), false, false, Addon::user, false, nullptr,
         fs::perms(0666), atFile},
        {"another's file put after the read, in a folder others may write", true, nullptr,
         [&] { putTheirs(theirs, S_IFREG); }, false, true, "theirs", false, false, Addon::user, true, nullptr,
         fs::perms(0666), atFile},
        {"another's FIFO a process reads, put after the read, in a folder others may write", true, nullptr,
         [&] { putTheirs(theirs, S_IFIFO); }, false, true, nullptr, false, false, Addon::user, true, nullptr,
         fs::perms::unknown, atFile},
        // Every user of the machine is to change the shared preferences: another user's file is
        // the player's too, but not their link or FIFO.
        {"another's shared file", true, [&] { putTheirs(stored, S_IFREG); }, nullptr, false, false, nullptr,
         false, false, Addon::shared, false, writtenBack.c_str(), open, nullptr, true},
        // Asked for, it is handed out with every user's full access.
        {"another's shared file, asked for", true, [&] { putTheirs(stored, S_IFREG); },
         [&] {
             ASSERT_NE(std::unique_ptr<DataFile>(addon->getPrefsFile(Addon::shared, true)), nullptr);
             EXPECT_EQ(fs::status(sharedFile).permissions(), open);
         },
         false, false, nullptr, false, false, Addon::shared, false, writtenBack.c_str(), open, nullptr, true},
        {"another's shared folder", true,
         [&] { ASSERT_EQ(::chown(sharedFile.parent_path().c_str(), other, other), 0); }, nullptr, false,
         false, nullptr, false, false, Addon::shared, false, writtenBack.c_str(), open},
        {"another's link in the shared folder", true, [&] { putLink(other); }, nullptr, true, false, nullptr,
         false, false, Addon::shared},
        {"another's FIFO a process reads, put in the shared folder after the read", true, nullptr,
         [&] { putTheirs(theirs, S_IFIFO); }, false, true, nullptr, false, false, Addon::shared},
    };
    bool linuxOnly = false;
    for (const Case& c : cases) {
        if (c.root != anotherUsers) {
            continue;
        }
#ifndef ZELVANE_FILEIO_LINUX
        // Another user's file, opened by the framework alone, is handed to the host as it is open.
        if (c.theirsRead) {
            linuxOnly = true;
            continue;
        }
#endif
        SCOPED_TRACE(c.name);
        fs::permissions(userFile.parent_path().parent_path(), closed);
        context = c.context;
        const fs::path file = fileOf();
        fs::remove_all(userFile.parent_path());
        fs::remove_all(sharedFile.parent_path());
        fs::remove_all(notes.parent_path());
        fs::remove_all(ownFolder);
        ownNamed = false;
        sim::reset();
        resetHandlers();
        reader = -1;
        fs::create_directories(notes.parent_path());
        std::ofstream(notes) << secret;
        fs::permissions(notes, fs::perms::owner_read | fs::perms::owner_write);
        fs::create_directories(file.parent_path());
        std::ofstream(file) << stored;
        if (c.beforeRead) {
            c.beforeRead();
        }
        TestAddon a;
        addon = &a;
        if (ownNamed) {
            a.userPrefsFolder = String(ownFolder.c_str());
        }
        a.addPreference(PlantingPrefs(2), c.context);
        ASSERT_TRUE(a.registerInterface());
        ASSERT_TRUE(a.initialise());
        EXPECT_EQ(a.isPrefsUnread(c.context), c.unread);
        if (c.afterRead) {
            c.afterRead();
        }
        if (c.moved) {
            a.addPreference(PlantingPrefs(2), Addon::shared);
        }
        ProjectEvent quit(APINotify_Quit);
        a.publishExternalEvent(quit, false);
        addon = nullptr;
        PlantingPrefs::plantAt.clear();

        const bool user = c.context == Addon::user;
        const std::string told = std::string("The ") + (user ? "user" : "shared") +
                                 " preferences of the add-on \"Sample Tool 2\" could not be ";
        const std::string place =
            (user ? "Preferences" : "SharedData") + std::string("/Zelvane/com.zelvane.sampletool2.xml");
        const std::string kept = ": they are kept in that file, and not written over.\n";
        const std::string refused = std::string(c.refused != nullptr ? c.refused : "") +
                                    ": it is another user's entry, which does not hold this user's files.\n";
        const std::string closing = c.closed
                                        ? "The user preference folder Preferences/Zelvane was open to other "
                                          "users to write: it is now the user's alone to write.\n"
                                        : "";
        EXPECT_EQ(sim::consoleText(),
                  closing + (c.unread       ? told + "read from " + (c.refused ? refused : place + kept)
                             : c.notWritten ? told + "written to " + (c.refused ? refused : place + ".\n")
                                            : std::string()));
        // A file not read is also told through the add-on's failure report; another user's folder is
        // refused by rule, and told on the console alone.
        EXPECT_EQ(a.failures, c.unread && !c.refused ? 1 : 0) << "told once";
        if (c.followed) {
            EXPECT_NE(readFile(notes).find("<count>50</count>"), std::string::npos) << readFile(notes);
        } else {
            EXPECT_EQ(readFile(notes), secret);
        }
        EXPECT_EQ(fs::status(notes).permissions(), fs::perms::owner_read | fs::perms::owner_write);
        if (c.kept != nullptr) {
            EXPECT_EQ(readFile(file), c.kept);
        }
        if (c.holds != nullptr) {
            EXPECT_NE(readFile(file).find(c.holds), std::string::npos) << readFile(file);
        }
        if (c.mode != fs::perms::unknown) {
            EXPECT_EQ(fs::symlink_status(file).permissions(), c.mode);
        }
        if (reader >= 0) {
            char received[64];
            EXPECT_EQ(::read(reader, received, sizeof received), 0) << "the FIFO's reader receives nothing";
            ::close(reader);
            reader = -1;
        }
        struct stat info {};
        if (c.root && ::lstat(file.c_str(), &info) == 0 && c.kept != nullptr) {
            EXPECT_EQ(info.st_uid, other) << "another's file stays theirs";
        }
        if (user) {
            EXPECT_EQ(fs::status(file.parent_path()).permissions(),
                      c.closed ? closed
                               : fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec |
                                     fs::perms::others_read | fs::perms::others_exec);
        }
        for (const auto& entry : fs::directory_iterator(file.parent_path())) {
            EXPECT_NE(entry.path().filename().string()[0], '.') << "a temporary file left";
        }
        if (c.check) {
            c.check();
        }
        fs::remove(file);
    }
    fs::remove_all(notes.parent_path());
    fs::remove_all(sharedFile.parent_path());
    fs::remove_all(away);
    fs::remove_all(ownFolder);
    fs::permissions(userFile.parent_path().parent_path(), closed);
    if (linuxOnly) {
        GTEST_SKIP() << "the host reaches the framework's open file through a link of /proc, which the file "
                        "layer's POSIX branches do not take for the open file";
    }
}

} // namespace

TEST_F(PreferenceTest, WhatAnotherPutsAtTheFileIsNotFollowedWrittenOverOrWaitedOn) {
    playWhatAnotherPuts(false);
}

TEST_F(PreferenceTest, WhatAnotherUserPutsAtTheFileOrFolderIsNotTaken) {
    if (::geteuid() != 0) {
        GTEST_SKIP() << "another user's link, file, FIFO or folder needs root, to give one away";
    }
    playWhatAnotherPuts(true);
}

// Another user's entry at the name of a preference folder (a file, a folder, a link to their
// folder), or the player's link there whose way passes through another user's folder: refused as
// not the player's to use, by the system for its own folders, by the framework for the add-ons'
// folder. The player's own file there is no folder to hold the preferences. The user is told once
// why, whether it stood there at the read or was put there before the write, with no report of an
// unexpected failure, and nothing is written into it.
TEST_F(PreferenceTest, AnEntryAtAPreferenceFolderThatIsNoFolderOfThePlayersIsToldAsSuch) {
    const uid_t other = ::geteuid() == 4242 ? 4243 : 4242;
    const bool root = ::geteuid() == 0;
    const fs::path preferences = userFile.parent_path().parent_path();
    const fs::path shared = sharedFile.parent_path().parent_path();
    const fs::path theirs = preferences.parent_path() / "theirs";
    const fs::path open = preferences.parent_path() / "open";
    // The player's folders are put back however the test ends.
    struct Restored {
        std::vector<fs::path> made, folders;
        ~Restored() {
            for (const fs::path& path : made) {
                fs::remove_all(path);
            }
            for (const fs::path& path : folders) {
                fs::remove_all(path);
                fs::create_directory(path);
            }
        }
    } const restored{{theirs, open}, {preferences, shared}};
    enum Kind {
        File,       // another's file
        Folder,     // another's folder, open to all
        Link,       // another's link to their folder
        WayThrough, // the player's link to the player's folder in another's, in the player's open folder
        Mine,       // the player's own file
    };
    struct Case {
        const char* name;
        fs::path at; // where the entry is put
        Kind kind;
        bool afterRead; // put there between the read and the write
        Addon::Context context;
        const char* why;              // the folder refused as told, and why
        const char* reason = nullptr; // why, where not that it is another user's entry
    };
    const std::string entry = ": it is another user's entry, which does not hold this user's files";
    const std::string way =
        ": its way passes through a folder in which other users may rename entries, and so "
        "may lead elsewhere at its next use";
    const std::string system = "the user preferences folder";
    const Case cases[] = {
        {"another's file", preferences, File, false, Addon::user, "the user preferences folder"},
        {"another's folder", preferences, Folder, false, Addon::user, "the user preferences folder"},
        {"another's link to their folder", preferences, Link, false, Addon::user,
         "the user preferences folder"},
        {"another's folder put after the read", preferences, Folder, true, Addon::user,
         "the user preferences folder"},
        {"the player's link through another's folder", preferences, WayThrough, false, Addon::user, nullptr},
        {"another's file at the add-on's folder", userFile.parent_path(), File, false, Addon::user,
         "Preferences/Zelvane"},
        {"another's file at the add-on's folder, put after the read", userFile.parent_path(), File, true,
         Addon::user, "Preferences/Zelvane"},
        {"the player's shared data link through another's folder", shared, WayThrough, false, Addon::shared,
         nullptr},
        {"the player's file at the add-on's folder", userFile.parent_path(), Mine, false, Addon::user,
         "Preferences/Zelvane", ": it is not a folder"},
        {"the player's file at the add-on's folder, put after the read", userFile.parent_path(), Mine, true,
         Addon::user, "Preferences/Zelvane", ": it is not a folder"},
        {"the player's file at the add-on's shared folder", sharedFile.parent_path(), Mine, false,
         Addon::shared, "SharedData/Zelvane", ": it is not a folder"},
        {"the player's file at the add-on's shared folder, put after the read", sharedFile.parent_path(),
         Mine, true, Addon::shared, "SharedData/Zelvane", ": it is not a folder"},
    };
    bool skipped = false;
    for (const Case& c : cases) {
        if (c.kind != Mine && !root) {
            skipped = true;
            continue;
        }
        SCOPED_TRACE(c.name);
        for (const fs::path& path : {preferences, shared, theirs, open}) {
            fs::remove_all(path);
        }
        fs::create_directory(preferences);
        fs::create_directory(shared);
        fs::create_directory(theirs);
        if (root) {
            ASSERT_EQ(::chown(theirs.c_str(), other, other), 0);
        }
        ::chmod(theirs.c_str(), 0777);
        auto put = [&] {
            fs::remove_all(c.at);
            if (c.kind == Mine) {
                std::ofstream(c.at) << "mine";
                return;
            }
            if (c.kind == File) {
                std::ofstream(c.at) << "theirs";
            } else if (c.kind == Folder) {
                fs::create_directory(c.at);
                ::chmod(c.at.c_str(), 0777);
            } else if (c.kind == Link) {
                fs::create_directory_symlink(theirs, c.at);
            } else {
                fs::create_directories(open / "theirs" / "mine");
                ::chmod(open.c_str(), 0777);
                ASSERT_EQ(::chown((open / "theirs").c_str(), other, other), 0);
                fs::create_directory_symlink(open / "theirs" / "mine", c.at);
                return;
            }
            ASSERT_EQ(::lchown(c.at.c_str(), other, other), 0);
        };
        if (!c.afterRead) {
            put();
        }
        sim::reset();
        resetHandlers();
        TestAddon a;
        addon = &a;
        a.addPreference(CountPrefs(7), c.context);
        ASSERT_TRUE(a.registerInterface());
        ASSERT_TRUE(a.initialise());
        if (c.afterRead) {
            put();
        }
        ProjectEvent quit(APINotify_Quit);
        a.publishExternalEvent(quit, false);
        addon = nullptr;
        const std::string folder = c.why != nullptr ? c.why + std::string(c.reason ? c.reason : entry)
                                   : c.context == Addon::user ? system + way
                                                              : "the shared data folder" + way;
        EXPECT_EQ(sim::consoleText(), std::string("The ") + (c.context == Addon::user ? "user" : "shared") +
                                          " preferences of the add-on \"Sample Tool 2\" could not be " +
                                          (c.afterRead ? "written to " : "read from ") + folder + ".\n");
        EXPECT_EQ(a.failures, 0) << "no unexpected failure told";
        EXPECT_TRUE(fs::is_empty(theirs));
        if (c.kind == Folder) {
            EXPECT_TRUE(fs::is_empty(c.at));
        }
        if (c.kind == WayThrough) {
            EXPECT_TRUE(fs::is_empty(open / "theirs" / "mine"));
        }
        if (c.kind == Mine) {
            EXPECT_EQ(readFile(c.at), "mine") << "kept as it was";
        }
    }
    if (skipped) {
        GTEST_SKIP() << "another user's file, folder or link needs root, to give one away";
    }
}

TEST_F(PreferenceTest, AnAllocationFailingWhileReadingTheFilesKeepsThem) {
    const std::string user = "<frameworkPreferenceStore><namePrefs><name>Cy</name></namePrefs>"
                             "</frameworkPreferenceStore>";
    const std::string shared = "<frameworkPreferenceStore><countPrefs><count>50</count></countPrefs>"
                               "</frameworkPreferenceStore>";
    int kept = 0;
    for (int step = 0;; ++step) {
        SCOPED_TRACE("allocation " + std::to_string(step));
        sim::reset();
        fs::create_directories(userFile.parent_path());
        fs::create_directories(sharedFile.parent_path());
        std::ofstream(userFile) << user;
        std::ofstream(sharedFile) << shared;
        bool beyond = false;
        {
            TestAddon a;
            addon = &a;
            a.addPreference(NamePrefs("Ann"), Addon::user);
            a.addPreference(CountPrefs(2), Addon::shared);
            ASSERT_TRUE(a.registerInterface());
            std::size_t allocations = sim::memoryStats().allocations;
            sim::failNextAllocations(1, ErrMemoryFull, step);
            try {
                a.initialise();
            } catch (const std::bad_alloc&) {
            }
            sim::failNextAllocations(0);
            beyond = sim::memoryStats().allocations - allocations < std::size_t(step);
            dynamic_cast<NamePrefs*>(a.getPreference(NamePrefs::ID, Addon::user))->name += "+";
            ++dynamic_cast<CountPrefs*>(a.getPreference(CountPrefs::ID, Addon::shared))->count;
            ProjectEvent quit(APINotify_Quit);
            a.publishExternalEvent(quit, false);
            addon = nullptr;
        }
        // Each file holds what it held, or what was read of it and then changed: never the
        // defaults.
        std::string userAfter = readFile(userFile);
        std::string sharedAfter = readFile(sharedFile);
        EXPECT_TRUE(userAfter == user || userAfter.find("<name>Cy+</name>") != std::string::npos)
            << userAfter;
        EXPECT_TRUE(sharedAfter == shared || sharedAfter.find("<count>51</count>") != std::string::npos)
            << sharedAfter;
        kept += userAfter == user ? 1 : 0;
        // The failing allocation lay beyond the reading: every one of it has been failed.
        if (beyond) {
            EXPECT_NE(userAfter, user);
            EXPECT_NE(sharedAfter, shared);
            break;
        }
    }
    EXPECT_GT(kept, 0);
}

TEST_F(PreferenceTest, FailedWriteKeepsTheOldFile) {
    TestAddon a;
    addon = &a;
    a.addPreference(NamePrefs("Ann"), Addon::user);
    a.writePrefs(Addon::user);
    std::string before = readFile(userFile);
    ASSERT_NE(before.find("Ann"), std::string::npos);

    dynamic_cast<NamePrefs*>(a.getPreference(NamePrefs::ID, Addon::user))->name = "Changed";
    sim::failCall(sim::fileWriteCall, ErrIO, -1);
    a.writePrefs(Addon::user);
    sim::clearFaults();
    EXPECT_EQ(readFile(userFile), before);
    std::size_t files = 0;
    for (const auto& entry : fs::directory_iterator(userFile.parent_path())) {
        (void)entry;
        ++files;
    }
    EXPECT_EQ(files, 1u) << "no temporary file is left behind";
}

TEST_F(PreferenceTest, UpdatesArePublishedAfterReading) {
    TestAddon a;
    addon = &a;
    a.addPreference(NamePrefs("Ann"), Addon::user);
    a.writePrefs(Addon::user);
    std::vector<std::string> seen;
    Probe probe(EventSpec(NamePrefs::ID, 0), [&](Event&) {
        seen.push_back(dynamic_cast<NamePrefs*>(a.getPreference(NamePrefs::ID, Addon::user))->name.data());
        return true;
    });
    a.addSubscriber(&probe);
    dynamic_cast<NamePrefs*>(a.getPreference(NamePrefs::ID, Addon::user))->name = "Changed";
    a.readPrefs(Addon::user, true);
    EXPECT_EQ(seen, (std::vector<std::string>{"Ann"})) << "the package already holds what was read";
    a.removeAllSubscribers();
}

TEST_F(PreferenceTest, ProjectPackagesTravelAsModuleData) {
    TestAddon a;
    addon = &a;
    a.addPreference(CountPrefs(3), Addon::project);
    EXPECT_TRUE(a.isPreferenceRegistered(CountPrefs::ID, Addon::project));
    EXPECT_EQ(projectCount(), nullptr) << "no project is open";
    ASSERT_NE(a.getSupervisor().getDefaultPreference(CountPrefs::ID), nullptr);
    EXPECT_EQ(dynamic_cast<CountPrefs*>(a.getSupervisor().getDefaultPreference(CountPrefs::ID))->count, 3);

    sim::openProject();
    // Registering again while a project is open gives the project its package.
    a.addPreference(CountPrefs(3), Addon::project);
    ASSERT_NE(projectCount(), nullptr);
    projectCount()->count = 12;
    ProjectEvent save(APINotify_PreSave);
    a.publishExternalEvent(save, false);
    EXPECT_EQ(moduleText(), "<countPrefs><count>12</count></countPrefs>");
    EXPECT_EQ(sim::currentAddOn().moduleData[""].version, 1);
    EXPECT_EQ(sim::currentAddOn().moduleData[""].platformSign, 19789);
    Int32 version = 0, byteOrder = 0;
    std::unique_ptr<MemoryBlock> data(a.getOwnerData(version, byteOrder));
    EXPECT_EQ(version, 1);
    EXPECT_EQ(byteOrder, 1);
    EXPECT_EQ(data->size(), int(moduleText().size()));

    // Opening reads the module data back.
    setModuleText(storedCount);
    projectCount()->count = 0;
    ProjectEvent open(APINotify_Open);
    a.publishExternalEvent(open, false);
    EXPECT_EQ(projectCount()->count, 21);
    // What the data holds beside and inside the packages comes back where it stood.
    const std::string kept = "<!-- c --><laterPrefs>4</laterPrefs><countPrefs><count>2";
    setModuleText(kept + "1</count><unit>u</unit></countPrefs>");
    a.publishExternalEvent(open, false);
    ++projectCount()->count;
    a.publishExternalEvent(save, false);
    EXPECT_EQ(moduleText(), kept + "2</count><unit>u</unit></countPrefs>");

    // Malformed module data keeps the project's packages; a project without data leaves them at
    // their defaults.
    setModuleText("<countPrefs><count>5</coun");
    a.publishExternalEvent(open, false);
    EXPECT_EQ(projectCount()->count, 22);
    sim::currentAddOn().moduleData.clear();
    a.publishExternalEvent(open, false);
    EXPECT_EQ(projectCount()->count, 0) << "no data: the defaults";
    a.publishExternalEvent(save, false);
    EXPECT_EQ(moduleText(), "<countPrefs><count>0</count></countPrefs>") << "nothing kept of another project";
    // A project closed, or a new one, keeps nothing of the one before.
    for (API_NotifyEventID id : {APINotify_Close, APINotify_New}) {
        setModuleText(kept + "1</count><unit>u</unit></countPrefs>");
        a.publishExternalEvent(open, false);
        ProjectEvent next(id);
        a.publishExternalEvent(next, false);
        a.publishExternalEvent(save, false);
        EXPECT_EQ(moduleText().find("later"), std::string::npos) << moduleText();
        EXPECT_EQ(moduleText().find("<unit>"), std::string::npos) << moduleText();
    }
    sim::failCall("ACAPI_ModulData_GetInfo", APIERR_NOMODULEDATA);
    EXPECT_EQ(std::unique_ptr<MemoryBlock>(a.getOwnerData(version, byteOrder))->size(), 0);
    EXPECT_EQ(version, 0);
}

TEST_F(PreferenceTest, ModuleDataThatCannotBeReadIsKeptAndTold) {
    const std::string told =
        "The project preferences of the add-on \"Sample Tool 2\" could not be read: they are kept in the "
        "project, and not written over until it is opened again.\n";
    const std::string malformed = "<countPrefs><count>5</coun";
    struct Case {
        const char* call; // null: the host gives malformed data
        GSErrCode error;
        bool unread; // false: the host says there is no data
    };
    for (const Case& c : {Case{"ACAPI_ModulData_GetInfo", APIERR_GENERAL, true},
                          Case{"ACAPI_ModulData_Get", APIERR_GENERAL, true},
                          Case{"ACAPI_ModulData_Get", APIERR_MEMFULL, true}, Case{nullptr, NoError, true},
                          Case{"ACAPI_ModulData_GetInfo", APIERR_NOMODULEDATA, false}}) {
        SCOPED_TRACE(std::string(c.call != nullptr ? c.call : "malformed") + " " + std::to_string(c.error));
        sim::reset();
        TestAddon a;
        runWithStoredCount(a);
        const std::string stored = c.call != nullptr ? storedCount : malformed;
        auto spoil = [&] {
            if (c.call != nullptr) {
                sim::failCall(c.call, c.error);
            } else {
                setModuleText(malformed);
            }
        };
        spoil();
        ProjectEvent open(APINotify_Open);
        a.publishExternalEvent(open, false);
        EXPECT_EQ(a.failures, c.unread ? 1 : 0) << "the add-on's failure report";
        EXPECT_EQ(sim::consoleText(), c.unread ? told : "");
        EXPECT_EQ(projectCount()->count, c.unread ? 3 : 0);

        // Neither a save nor a write of the add-on's own puts the packages over unread data.
        projectCount()->count = 4;
        ProjectEvent save(APINotify_PreSave);
        a.publishExternalEvent(save, false);
        EXPECT_EQ(sim::consoleText(), c.unread ? told : "") << "told once";
        EXPECT_EQ(a.writePrefs(Addon::project), !c.unread);
        EXPECT_EQ(moduleText(), c.unread ? stored : "<countPrefs><count>4</count></countPrefs>");

        // The project opened again and read: its packages are written as they change.
        if (c.unread) {
            setModuleText(storedCount);
            a.publishExternalEvent(open, false);
            EXPECT_EQ(projectCount()->count, 21);
            projectCount()->count = 6;
            a.publishExternalEvent(save, false);
            EXPECT_EQ(moduleText(), "<countPrefs><count>6</count></countPrefs>");
        }
        // A project closed after a failed read, and a new one, keep nothing of it.
        spoil();
        a.publishExternalEvent(open, false);
        ProjectEvent close(APINotify_Close);
        a.publishExternalEvent(close, false);
        ProjectEvent made(APINotify_New);
        a.publishExternalEvent(made, false);
        EXPECT_TRUE(a.writePrefs(Addon::project));
        addon = nullptr;
    }
}

TEST_F(PreferenceTest, AnAllocationFailingWhileReadingModuleDataKeepsIt) {
    int unread = 0;
    for (int step = 0;; ++step) {
        SCOPED_TRACE("allocation " + std::to_string(step));
        sim::reset();
        TestAddon a;
        runWithStoredCount(a);
        std::size_t allocations = sim::memoryStats().allocations;
        sim::failNextAllocations(1, ErrMemoryFull, step);
        ProjectEvent open(APINotify_Open);
        a.publishExternalEvent(open, false);
        sim::failNextAllocations(0);
        bool beyond = sim::memoryStats().allocations - allocations < std::size_t(step);
        bool read = projectCount()->count == 21;
        projectCount()->count = 4;
        ProjectEvent save(APINotify_PreSave);
        a.publishExternalEvent(save, false);
        addon = nullptr;
        if (read) {
            EXPECT_EQ(moduleText(), "<countPrefs><count>4</count></countPrefs>");
        } else {
            ++unread;
            EXPECT_EQ(a.failures, 1) << "the user is told";
            EXPECT_EQ(moduleText(), storedCount) << "the data is kept";
        }
        // The failing allocation lay beyond the reading: every one of it has been failed.
        if (beyond) {
            EXPECT_TRUE(read);
            break;
        }
    }
    EXPECT_GT(unread, 0);
}

namespace {

// A field the XML writer cannot write: its package cannot be exported.
class OpaqueField : public ShippingUnit {
public:
    void setDefault() override {}
    bool read(const String&) override { return true; }
};

class OpaquePrefs : public CountPrefs {
public:
    OpaquePrefs() : CountPrefs(0, true, MakeGSType("OPQP"), "opaquePrefs") {}
    Package* clone() const override { return new OpaquePrefs(*this); }
    Shipping* getShipping(std::size_t index, bool) override { return index == 0 ? new OpaqueField : nullptr; }
};

// Throws out of writing the preferences of one context.
class ThrowingAddon : public TestAddon {
public:
    bool writePrefs(Context context) override {
        if (context == throwFor) {
            throw std::runtime_error("write");
        }
        return TestAddon::writePrefs(context);
    }
    Context throwFor = project;
};

} // namespace

TEST_F(PreferenceTest, EveryContextIsWrittenAtQuitAndEachFailureTold) {
    struct Case {
        const char* name;
        bool throwForUser;   // writing the user's file throws
        int failedWrites;    // file writes that fail, the user's file being written first
        const char* console; // what the console is told
        bool userWritten, sharedWritten;
        int unexpected; // failures reported as unexpected
    };
    const std::string user = "The user preferences of the add-on \"Sample Tool 2\" could not be written to "
                             "Preferences/Zelvane/com.zelvane.sampletool2.xml.\n";
    const std::string shared = "The shared preferences of the add-on \"Sample Tool 2\" could not be written "
                               "to SharedData/Zelvane/com.zelvane.sampletool2.xml.\n";
    const std::string both = user + shared;
    const Case cases[] = {
        {"both written", false, 0, "", true, true, 0},
        {"the user's file fails", false, 1, user.c_str(), false, true, 0},
        {"the user's file throws", true, 0, user.c_str(), false, true, 1},
        {"both fail", false, 2, both.c_str(), false, false, 0},
    };
    for (const Case& c : cases) {
        fs::remove_all(userFile.parent_path());
        fs::remove_all(sharedFile.parent_path());
        sim::reset();
        ThrowingAddon a;
        addon = &a;
        if (c.throwForUser) {
            a.throwFor = Addon::user;
        }
        a.addPreference(NamePrefs("Ann"), Addon::user);
        a.addPreference(CountPrefs(7), Addon::shared);
        if (c.failedWrites > 0) {
            sim::failCall(sim::fileWriteCall, ErrIO, c.failedWrites);
        }
        ProjectEvent quit(APINotify_Quit);
        a.publishExternalEvent(quit, false);
        sim::clearFaults();
        EXPECT_EQ(sim::consoleText(), c.console) << c.name;
        EXPECT_EQ(readFile(userFile).find("Ann") != std::string::npos, c.userWritten) << c.name;
        EXPECT_EQ(readFile(sharedFile).find("<count>7</count>") != std::string::npos, c.sharedWritten)
            << c.name;
        EXPECT_EQ(a.failures, c.unexpected) << c.name;
        addon = nullptr;
    }
}

TEST_F(PreferenceTest, ModuleDataThatCannotBeStoredIsTold) {
    TestAddon a;
    addon = &a;
    sim::openProject();
    a.addPreference(CountPrefs(3), Addon::project);
    ProjectEvent save(APINotify_PreSave);
    a.publishExternalEvent(save, false);
    ASSERT_EQ(moduleText(), "<countPrefs><count>3</count></countPrefs>");
    EXPECT_EQ(sim::consoleText(), "");

    // The host refuses the data: the old data stays, and the console says so.
    projectCount()->count = 4;
    sim::failCall("ACAPI_ModulData_Store", APIERR_GENERAL);
    a.publishExternalEvent(save, false);
    EXPECT_EQ(moduleText(), "<countPrefs><count>3</count></countPrefs>");
    EXPECT_EQ(sim::consoleText(),
              "The project preferences of the add-on \"Sample Tool 2\" could not be written.\n");

    // A package that cannot be exported: nothing is stored in place of the whole.
    a.addPreference(OpaquePrefs(), Addon::project);
    sim::clearCalls();
    EXPECT_FALSE(a.writePrefs(Addon::project));
    EXPECT_EQ(sim::callCount("ACAPI_ModulData_Store"), 0u);
    EXPECT_EQ(moduleText(), "<countPrefs><count>3</count></countPrefs>");
}

TEST_F(PreferenceTest, EmptyModuleDataIsNeverStored) {
    TestAddon a;
    addon = &a;
    sim::openProject();
    ProjectEvent save(APINotify_PreSave);
    a.publishExternalEvent(save, false);
    EXPECT_EQ(sim::callCount("ACAPI_ModulData_Store"), 0u);
    EXPECT_TRUE(sim::currentAddOn().moduleData.empty());
}

TEST_F(PreferenceTest, CloseClearsOnlyPackagesThatMustBeCleared) {
    TestAddon a;
    addon = &a;
    sim::openProject();
    const unsigned int optionalID = MakeGSType("OPTP");
    a.addPreference(CountPrefs(3, false), Addon::project);
    a.addPreference(CountPrefs(4, true, optionalID, "optionalPrefs"), Addon::project);
    projectCount()->count = 9;
    auto* optional = dynamic_cast<CountPrefs*>(host.getProject()->getPreference(optionalID));
    ASSERT_NE(optional, nullptr);
    optional->count = 11;
    ProjectEvent close(APINotify_Close);
    a.publishExternalEvent(close, false);
    EXPECT_EQ(projectCount()->count, 0);
    EXPECT_EQ(optional->count, 11);
}

namespace {

// The add-on started with a project open whose count package takes part in merges.
void startForMerges(TestAddon& a) {
    addon = &a;
    sim::setCurrentAddOn(sim::defaultAddOn);
    sim::openProject();
    a.addPreference(CountPrefs(0), Addon::project);
    ASSERT_TRUE(a.registerInterface());
    ASSERT_TRUE(a.initialise());
}

sim::ModuleDataRecord moduleRecord(const std::string& text) {
    sim::ModuleDataRecord record;
    record.bytes.assign(text.begin(), text.end());
    record.version = 1;
    record.platformSign = 19789;
    return record;
}

} // namespace

TEST_F(PreferenceTest, ModuleDataMerges) {
    TestAddon a;
    startForMerges(a);

    // What the project's data holds that no package takes stays where it stood.
    std::string mine = "<!-- c --><countPrefs><count>3</count><unit>u</unit></countPrefs><laterPrefs/>";
    std::string theirs = "<countPrefs><count>8</count></countPrefs>";
    std::string merged = "<!-- c --><countPrefs><count>8</count><unit>u</unit></countPrefs><laterPrefs/>";
    sim::ModuleDataRecord original = moduleRecord(mine), toMerge = moduleRecord(theirs), destination;
    auto merge = [&] {
        ASSERT_EQ(
            sim::mergeModuleData(sim::defaultAddOn, APIMDSetMerge_TW, "", &original, &toMerge, &destination),
            NoError);
    };
    merge();
    EXPECT_EQ(projectCount()->count, 8);
    EXPECT_EQ(std::string(destination.bytes.begin(), destination.bytes.end()), merged);
    EXPECT_EQ(destination.version, 1);
    EXPECT_EQ(destination.platformSign, 19789);
    EXPECT_EQ(moduleText(), merged);
    ProjectEvent save(APINotify_PreSave);
    a.publishExternalEvent(save, false);
    EXPECT_EQ(moduleText(), merged) << "saved again";

    // Data to merge in that cannot be read merges nothing, and the user is told.
    const std::string broken = "<countPrefs><count>9</coun";
    toMerge.bytes.assign(broken.begin(), broken.end());
    original.bytes.assign(merged.begin(), merged.end());
    merge();
    EXPECT_EQ(projectCount()->count, 8);
    EXPECT_EQ(std::string(destination.bytes.begin(), destination.bytes.end()), merged);
    EXPECT_EQ(moduleText(), merged);
    EXPECT_EQ(a.failures, 1);
    const std::string mergeUnread =
        "The project preferences of the add-on \"Sample Tool 2\" to merge in could not "
        "be read: they are missing from the merged project.\n";
    EXPECT_EQ(sim::consoleText(), mergeUnread);

    // Data of the project that cannot be read is not merged over: the destination keeps it, the
    // stored data stays, and the user is told once.
    const std::string malformed = "<countPrefs><count>5</coun";
    original.bytes.assign(malformed.begin(), malformed.end());
    theirs = "<countPrefs><count>9</count></countPrefs>";
    toMerge.bytes.assign(theirs.begin(), theirs.end());
    for (int time = 0; time < 2; ++time) {
        merge();
        EXPECT_EQ(std::string(destination.bytes.begin(), destination.bytes.end()), malformed);
        EXPECT_EQ(moduleText(), merged);
        EXPECT_EQ(projectCount()->count, 8);
    }
    EXPECT_EQ(sim::consoleText(),
              mergeUnread + "The project preferences of the add-on \"Sample Tool 2\" could not be read: "
                            "they are kept in the project, and not written over until it is opened again.\n");

    // Without a destination the host is told at once.
    EXPECT_EQ(sim::mergeModuleData(sim::defaultAddOn, APIMDSetMerge_TW, "", &original, &toMerge, nullptr),
              APIERR_BADPARS);
    a.removeAllSubscribers();
}

TEST_F(PreferenceTest, AnAllocationFailingWhileMergingKeepsTheProjectsData) {
    const std::string mine = "<countPrefs><count>3</count></countPrefs><laterPrefs/>";
    const std::string theirs = "<countPrefs><count>8</count></countPrefs>";
    const std::string merged = "<countPrefs><count>8</count></countPrefs><laterPrefs/>";
    int kept = 0;
    for (int step = 0;; ++step) {
        SCOPED_TRACE("allocation " + std::to_string(step));
        sim::reset();
        resetHandlers();
        TestAddon a;
        startForMerges(a);
        sim::ModuleDataRecord original = moduleRecord(mine), toMerge = moduleRecord(theirs), destination;
        std::size_t allocations = sim::memoryStats().allocations;
        sim::failNextAllocations(1, ErrMemoryFull, step);
        GSErrCode err =
            sim::mergeModuleData(sim::defaultAddOn, APIMDSetMerge_TW, "", &original, &toMerge, &destination);
        sim::failNextAllocations(0);
        bool beyond = sim::memoryStats().allocations - allocations < std::size_t(step);
        a.removeAllSubscribers();
        addon = nullptr;
        const std::string result(destination.bytes.begin(), destination.bytes.end());
        // The host is answered the failure, or given the merge, or the project's own data told of.
        if (err == NoError && result != merged) {
            ++kept;
            EXPECT_EQ(result, mine);
            EXPECT_TRUE(a.failures > 0 || !sim::consoleText().empty()) << "the user is told";
        }
        if (beyond) {
            EXPECT_EQ(result, merged);
            break;
        }
    }
    EXPECT_GT(kept, 0);
}

TEST_F(PreferenceTest, VersionRecord) {
    TestAddon a;
    addon = &a;
    a.version = "2.5";
    AddonPrefs prefs;
    EXPECT_DOUBLE_EQ(prefs.getVersion(), 2.5);
    struct Case {
        double stored;
        double after;
    };
    ASSERT_TRUE(sim::loadResources(sim::defaultAddOn, fs::path(ZELVANE_RESOURCE_DIR) / "zelvane.json"));
    for (const Case& c : {Case{1.0, 2.5}, Case{2.500009, 2.5}, Case{2.6, 2.6}}) {
        prefs.setVersion(c.stored);
        EXPECT_TRUE(prefs.validate());
        EXPECT_DOUBLE_EQ(prefs.getVersion(), c.after) << c.stored;
    }
    // Only the newer project was told about.
    ASSERT_EQ(sim::alerts().size(), 1u);
    EXPECT_EQ(sim::alerts()[0].title, "Error");
    EXPECT_EQ(sim::alerts()[0].largeText,
              "This project was saved by a newer version of Sample Tool 2 (2.60). The "
              "running version is 2.5: data it does not know may be lost.");
    AddonPrefs older, newer;
    older.setVersion(2.0);
    newer.setVersion(2.000005);
    older.merge(newer);
    EXPECT_DOUBLE_EQ(older.getVersion(), 2.0) << "equal within 1e-5";
    newer.setVersion(3.0);
    older.merge(newer);
    EXPECT_DOUBLE_EQ(older.getVersion(), 3.0);

    // A checked add-on gives the open project its version record once.
    a.versionChecked = true;
    sim::openProject();
    a.checkVersion();
    a.checkVersion();
    ASSERT_NE(dynamic_cast<AddonPrefs*>(host.getProject()->getPreference(AddonPrefs::ID)), nullptr);
    EXPECT_TRUE(a.isPreferenceRegistered(AddonPrefs::ID, Addon::project));
    ProjectEvent save(APINotify_PreSave);
    a.publishExternalEvent(save, false);
    EXPECT_EQ(moduleText(), "<addonPrefs><version>2.5</version></addonPrefs>");
}

TEST_F(PreferenceTest, FailingShutdownDoesNotEndTheProgram) {
    auto a = std::make_unique<TestAddon>();
    addon = a.get();
    NamePrefs failing("Ann");
    failing.throwOnShutdown = true;
    a->addPreference(failing, Addon::user);
    addon = nullptr;
    a.reset();
    EXPECT_EQ(sim::consoleText(), "The add-on's preferences could not be shut down.\n");
}

TEST_F(PreferenceTest, ValidatedAndExportedModuleData) {
    TestAddon a;
    runWithStoredCount(a);
    // The data read keeps what no package takes where it stood.
    const std::string kept[] = {"<!-- c --><countPrefs><count>",
                                "</count><unit>u</unit></countPrefs><later/>"};
    setModuleText(kept[0] + "21" + kept[1]);
    ProjectEvent open(APINotify_Open);
    a.publishExternalEvent(open, false);

    auto* store = new PackageStore("frameworkPreferenceStore");
    store->setPackage(CountPrefs(6), false);
    ModuleEvent event(store, nullptr, APIMDSetMerge_HLM, nullptr);
    a.validatePrefs(event);
    EXPECT_EQ(projectCount()->count, 6);
    EXPECT_EQ(moduleText(), kept[0] + "6" + kept[1]);

    // Packages export nothing by default: nothing is stored, not even what was kept.
    sim::currentAddOn().moduleData.clear();
    sim::clearCalls();
    a.exportPrefs(event);
    EXPECT_EQ(sim::callCount("ACAPI_ModulData_Store"), 0u);
    // The export form of a package that gives one keeps it too.
    struct ExportedCount : CountPrefs {
        using CountPrefs::CountPrefs;
        Package* clone() const override { return new ExportedCount(*this); }
        Package* getExport() const override { return clone(); }
    };
    event.getStore()->setPackage(ExportedCount(7), false);
    a.exportPrefs(event);
    EXPECT_EQ(moduleText(), kept[0] + "7" + kept[1]);

    // Without stores nothing happens.
    sim::currentAddOn().moduleData.clear();
    ModuleEvent bare(2, 0);
    a.validatePrefs(bare);
    a.exportPrefs(bare);
    a.mergePrefs(bare);
    EXPECT_TRUE(sim::currentAddOn().moduleData.empty());

    // Over data that could not be read neither writes, and nothing more is told.
    setModuleText("<countPrefs><count>5</coun");
    a.publishExternalEvent(open, false);
    std::string told = sim::consoleText();
    a.validatePrefs(event);
    a.exportPrefs(event);
    EXPECT_EQ(moduleText(), "<countPrefs><count>5</coun");
    EXPECT_EQ(sim::consoleText(), told);
}

TEST_F(PreferenceTest, PackagesHandedOutAndTakenBack) {
    TestAddon a;
    addon = &a;
    a.addPreference(NamePrefs("Ann"), Addon::user);
    a.addPreference(CountPrefs(4), Addon::shared);
    int heard = 0;
    Probe probe(EventSpec(NamePrefs::ID, 0), [&](Event&) {
        ++heard;
        return true;
    });
    a.addSubscriber(&probe);
    auto userName = [&] { return dynamic_cast<NamePrefs*>(a.getPreference(NamePrefs::ID, Addon::user)); };
    auto sharedCount = [&] {
        return dynamic_cast<CountPrefs*>(a.getPreference(CountPrefs::ID, Addon::shared));
    };

    // Stored for its context; the update is published only when asked.
    a.setPreference(NamePrefs("Bea"), Addon::user, false);
    EXPECT_EQ(heard, 0);
    a.setPreference(NamePrefs("Cy"), Addon::user, true);
    EXPECT_EQ(heard, 1);
    ASSERT_NE(userName(), nullptr);
    EXPECT_EQ(userName()->name, "Cy");
    EXPECT_EQ(a.getPreference(NamePrefs::ID, Addon::shared), nullptr);

    // Handed out: copies of the context's own packages, with their values or at their defaults.
    PackageStore copies;
    a.getMyPrefs(copies, Addon::user, false);
    EXPECT_EQ(copies.shippingSize(), 1u);
    auto* copy = dynamic_cast<NamePrefs*>(copies.getPackage(NamePrefs::ID));
    ASSERT_NE(copy, nullptr);
    EXPECT_NE(copy, userName());
    EXPECT_EQ(copy->name, "Cy");
    copy->name = "Dee";
    EXPECT_EQ(userName()->name, "Cy") << "an independent copy";
    PackageStore empties;
    a.getMyPrefs(empties, Addon::shared, true);
    EXPECT_EQ(empties.getPackage(NamePrefs::ID), nullptr);
    auto* emptyCount = dynamic_cast<CountPrefs*>(empties.getPackage(CountPrefs::ID));
    ASSERT_NE(emptyCount, nullptr);
    EXPECT_EQ(emptyCount->count, 0);
    EXPECT_EQ(sharedCount()->count, 4);

    // Taken back: only the packages the context registers.
    copies.setPackage(new CountPrefs(99), false);
    a.setMyPrefs(copies, Addon::user);
    EXPECT_EQ(userName()->name, "Dee");
    EXPECT_EQ(sharedCount()->count, 4);

    // Project packages are registered at once and reach the project once one is open.
    const unsigned int projectID = MakeGSType("PRJP");
    a.setPreference(CountPrefs(7, true, projectID, "projectPrefs"), Addon::project, false);
    EXPECT_TRUE(a.isPreferenceRegistered(projectID, Addon::project));
    EXPECT_EQ(a.getPreference(projectID, Addon::user), nullptr);
    sim::openProject();
    a.setPreference(CountPrefs(8, true, projectID, "projectPrefs"), Addon::project, false);
    auto projectCountOf = [&] {
        return dynamic_cast<CountPrefs*>(host.getProject()->getPreference(projectID));
    };
    ASSERT_NE(projectCountOf(), nullptr);
    EXPECT_EQ(projectCountOf()->count, 8);
    PackageStore projectCopies;
    a.getMyPrefs(projectCopies, Addon::project, false);
    auto* projectCopy = dynamic_cast<CountPrefs*>(projectCopies.getPackage(projectID));
    ASSERT_NE(projectCopy, nullptr);
    EXPECT_EQ(projectCopy->count, 8);
    projectCopy->count = 9;
    EXPECT_EQ(projectCountOf()->count, 8);
    a.setMyPrefs(projectCopies, Addon::project);
    EXPECT_EQ(projectCountOf()->count, 9);
    EXPECT_EQ(userName()->name, "Dee");
    a.removeAllSubscribers();
}
