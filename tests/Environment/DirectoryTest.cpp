#include "Environment/Directory.h"
#include "Environment/DataFile.h"
#include "Environment/FileWalker.h"
#include "Environment/SearchString.h"
#include "Environment/Time.h"
#include "FileFixture.h"
#include "IO/Folder.hpp"
#include "MacOS/Folders.hpp"
#include "sim/Files.h"
#include "sim/Sim.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

namespace fs = std::filesystem;
using namespace zelvane;

namespace {

class DirectoryTest : public FileFixture {};

TEST_F(DirectoryTest, ConstructionAndCreation) {
    Directory none;
    EXPECT_FALSE(none.exists());
    EXPECT_EQ(none.getData(), nullptr);
    EXPECT_EQ(none.getLastError(), 0);
    EXPECT_TRUE(none.isFolder());

    Directory missing(text("a"), false);
    EXPECT_EQ(missing.getLastError(), ErrNotFound);
    EXPECT_FALSE(missing.exists());
    EXPECT_FALSE(fs::exists(path("a")));

    Directory made(text("a"), true);
    EXPECT_EQ(made.getLastError(), 0);
    EXPECT_TRUE(made.exists());
    EXPECT_TRUE(missing.exists()); // the disk decides

    Directory child(made, "b", true);
    EXPECT_TRUE(fs::is_directory(path("a/b")));
    Directory fromFolder(*child.getData());
    EXPECT_TRUE(fromFolder == child);
    FSRef reference{};
    ASSERT_EQ(FSPathMakeRef(reinterpret_cast<UInt8 const*>(path("a/b").c_str()), &reference, nullptr), noErr);
    Directory fromReference(reference);
    EXPECT_TRUE(fromReference == child);
    EXPECT_EQ(fromReference.getLastError(), 0);
    EXPECT_FALSE(Directory(FSRef{}).exists());
    EXPECT_EQ(Directory(none, "b", true).getLastError(), ErrParam);   // a parent that names nothing
    EXPECT_EQ(Directory(made, "x/y", true).getLastError(), ErrParam); // not one entry's name

    // Copies open their own host folder on the same location.
    Directory copy(child);
    EXPECT_NE(copy.getData(), child.getData());
    EXPECT_TRUE(copy == child);
    Directory assigned;
    assigned = made;
    EXPECT_TRUE(assigned == made);
    assigned = none;
    EXPECT_EQ(assigned.getData(), nullptr);
    std::unique_ptr<Directory> clone(made.clone());
    EXPECT_TRUE(*clone == made);

    int error = -1;
    std::unique_ptr<Directory> created(Directory::create(made, "c", error));
    ASSERT_NE(created, nullptr);
    EXPECT_EQ(error, 0);
    EXPECT_TRUE(fs::is_directory(path("a/c")));
    created.reset(Directory::create(made, "c", error)); // an existing folder is answered too
    EXPECT_NE(created, nullptr);
    EXPECT_EQ(error, 0);

    EXPECT_EQ(Directory::create(Directory(text("x"), false), "y", error), nullptr);
    EXPECT_EQ(error, ErrNotFound); // only the last level is made
    sim::failCreate(ErrPermission);
    EXPECT_EQ(Directory::create(made, "d", error), nullptr);
    EXPECT_EQ(error, ErrPermission);
    EXPECT_FALSE(fs::exists(path("a/d")));
}

TEST_F(DirectoryTest, QueriesAndErase) {
    fs::create_directories(path("d/sub"));
    put(path("d/one.txt"), "1");
    put(path("d/sub/two.txt"), "2");
    Directory folder(text("d"), false);
    EXPECT_EQ(folder.fileCount(), 2u);
    EXPECT_EQ(Directory().fileCount(), 0u);
    EXPECT_FALSE(folder.getModificationTime() == Time(false));
    EXPECT_EQ(folder.getLastError(), 0);
    EXPECT_TRUE(Directory(text("none"), false).getModificationTime() == Time(false));
    EXPECT_TRUE(Directory().getModificationTime() == Time(false));

    EXPECT_EQ(folder.setLocation(IO::Location(path("d/sub").c_str())), 0);
    EXPECT_EQ(folder.getName(), "sub");
    EXPECT_EQ(folder.setLocation(IO::Location(path("none").c_str())), ErrNotFound);
    folder.setLocation(IO::Location(path("d").c_str()));

    sim::failDelete(ErrPermission);
    EXPECT_FALSE(folder.erase());
    EXPECT_EQ(folder.getLastError(), ErrPermission);
    EXPECT_TRUE(fs::exists(path("d/sub/two.txt")));
    EXPECT_TRUE(folder.erase()); // with everything in it
    EXPECT_FALSE(fs::exists(path("d")));
    EXPECT_FALSE(folder.exists());
    EXPECT_FALSE(folder.erase());
    EXPECT_EQ(folder.getLastError(), ErrNotFound);
}

TEST_F(DirectoryTest, ContainsItemNamed) {
    fs::create_directories(path("d/sub/deeper"));
    put(path("d/top.txt"), "");
    put(path("d/sub/deeper/Door.gsm"), "");
    Directory folder(text("d"), false);

    struct Case {
        const char* pattern;
        bool files;
        bool folders;
        bool recursive;
        bool expected;
    };
    const Case cases[] = {
        {"top.txt", true, false, false, true},   {"*.txt", true, false, false, true},
        {"Door.gsm", true, false, false, false}, {"Door.gsm", true, false, true, true},
        {"D*.gsm", true, false, true, true},     {"door.gsm", true, false, true, false},
        {"top.txt", false, false, true, false},  {"deeper", true, false, true, false},
        {"deeper", false, true, true, true},     {"deeper", false, true, false, false},
        {"top.txt", false, true, true, false},
    };
    for (Case const& c : cases) {
        EXPECT_EQ(folder.containsItemNamed(SearchString(c.pattern, "*"), c.files, c.folders, c.recursive),
                  c.expected)
            << c.pattern << " " << c.files << c.folders << c.recursive;
    }
    EXPECT_FALSE(Directory().containsItemNamed(SearchString("*", "*"), true, true, true));
}

// Writes down every hook the walk calls.
class Recorder : public FileWalker {
public:
    std::vector<std::string> events;
    std::string stopAt;
    std::string skip;
    std::string throwAt;
    bool descend = true;

    bool preprocessName(String const& name, bool isFolder) override {
        events.push_back(std::string("name ") + name.data() + (isFolder ? "/" : ""));
        return name != skip.c_str();
    }
    void processFile(DataFile const& file) override {
        events.push_back(std::string("file ") + file.getName().data() + (file.exists() ? "" : " missing"));
        if (file.getName() == stopAt.c_str()) {
            stop();
        }
        if (file.getName() == throwAt.c_str()) {
            throw std::runtime_error("hook failed");
        }
    }
    bool processDirectory(Directory const& folder) override {
        events.push_back(std::string("folder ") + folder.getName().data());
        return descend;
    }
    void beginDirectory(Directory const& folder) override {
        events.push_back(std::string("begin ") + folder.getName().data());
    }
    void endDirectory(Directory const& folder) override {
        events.push_back(std::string("end ") + folder.getName().data());
    }
};

TEST_F(DirectoryTest, Walks) {
    fs::create_directories(path("w/b"));
    put(path("w/a.txt"), "");
    put(path("w/b/c.txt"), "");
    put(path("w/d.txt"), "");
    Directory root(text("w"), false);

    Recorder all;
    EXPECT_TRUE(all.traverse(root, true));
    EXPECT_EQ(all.events,
              (std::vector<std::string>{"name a.txt", "file a.txt", "name b/", "folder b", "begin b",
                                        "name c.txt", "file c.txt", "end b", "name d.txt", "file d.txt"}));

    Recorder flat;
    flat.skip = "d.txt";
    EXPECT_TRUE(flat.traverse(root, false));
    EXPECT_EQ(flat.events,
              (std::vector<std::string>{"name a.txt", "file a.txt", "name b/", "folder b", "name d.txt"}));

    // A stop in processFile ends the whole walk after that file.
    Recorder stopped;
    stopped.stopAt = "c.txt";
    EXPECT_TRUE(stopped.traverse(root, true));
    EXPECT_TRUE(stopped.isStopped());
    EXPECT_EQ(stopped.events.back(), "end b");
    EXPECT_EQ(std::count(stopped.events.begin(), stopped.events.end(), "file d.txt"), 0);
    EXPECT_TRUE(stopped.traverse(root, false)); // a new walk starts unstopped
    EXPECT_FALSE(stopped.isStopped());

    // A hook that throws ends the walk; nothing reaches the host.
    Recorder failing;
    failing.throwAt = "a.txt";
    EXPECT_FALSE(failing.traverse(root, true));
    EXPECT_EQ(failing.events.size(), 2u);

    Recorder nowhere;
    EXPECT_FALSE(nowhere.traverse(Directory(), true));
    EXPECT_FALSE(nowhere.traverse(Directory(text("none"), false), true));
    sim::failCall("IO::TreeEnumerator::Enumerate", ErrIO);
    EXPECT_FALSE(nowhere.traverse(root, true));
    EXPECT_TRUE(nowhere.events.empty());

    // Links are passed over by default.
    fs::create_symlink(path("w/a.txt"), path("w/b/link.txt"));
    Recorder links;
    EXPECT_TRUE(links.traverse(root, true));
    EXPECT_EQ(std::count(links.events.begin(), links.events.end(), "name link.txt"), 1);
    EXPECT_EQ(std::count(links.events.begin(), links.events.end(), "file link.txt"), 0);
}

} // namespace
