#include "Addon/Addon.h"
#include "Environment/DataFile.h"
#include "Environment/Directory.h"
#include "Environment/FileList.h"
#include "Library/DoorSource.h"
#include "Library/Library.h"
#include "Library/LongParameter.h"
#include "Library/MacroSource.h"
#include "Library/ObjectSource.h"
#include "Library/ParametricSource.h"
#include "Library/TextDatabase.h"
#include "sim/Library.h"
#include "sim/Memory.h"
#include "sim/Sim.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <new>
#include <string>
#include <vector>

using namespace zelvane;

namespace {

const char* const doorID = "{11E85B84-8DD1-491B-A2FE-337454A91545}-{9CD857B9-18A7-4F56-80E4-3E80CF98C51C}";

std::string id(int n) {
    char text[80];
    std::snprintf(text, sizeof text, "{00000000-0000-0000-0000-%012d}-{00000000-0000-0000-0000-000000000001}",
                  n);
    return text;
}

Int32 add(API_LibTypeID type, const std::string& name, int n, const std::string& parent = "") {
    sim::LibPartDef def;
    def.type = type;
    def.name = name;
    def.ownID = id(n);
    def.parentID = parent;
    def.parameters = {sim::scalarParameter(APIParT_Length, "A", 1.0),
                      sim::scalarParameter(APIParT_Integer, "n", n)};
    def.sections = {{MakeGSType("3DSC"), "BLOCK A, 1, 1"}};
    return sim::addLibPart(def);
}

class LibrarySourceTest : public ::testing::Test {
protected:
    void SetUp() override { Library::startup(); }
    void TearDown() override { Library::shutdown(); }

    template <typename It>
    std::vector<Int32> walk(It it) {
        std::vector<Int32> seen;
        while (!it.atEnd()) {
            seen.push_back(it.getReference().getIndex());
            it.moveForward();
        }
        return seen;
    }

    Library library{nullptr, 0};
};

} // namespace

TEST_F(LibrarySourceTest, TypedSourcesAndSubtypes) {
    add(APILib_ObjectID, "Chair.gsm", 1);
    add(APILib_ObjectID, "Door-like", 2);
    add(APILib_MacroID, "Macro", 3);
    sim::setSubtype(id(2), doorID);
    std::unique_ptr<ComponentSource> chair(library[ComponentLink(1, APILib_ObjectID, &library)]);
    ASSERT_NE(dynamic_cast<ObjectSource*>(chair.get()), nullptr);
    EXPECT_EQ(chair->getUserName(), "Chair");
    EXPECT_TRUE(chair->exists());
    std::unique_ptr<ComponentSource> door(library[ComponentLink(2, 0, &library)]);
    ASSERT_NE(dynamic_cast<DoorSource*>(door.get()), nullptr);
    EXPECT_EQ(door->getLink().getType(), APILib_DoorID);
    EXPECT_EQ(door->getUserName(), "Door-like");
    std::unique_ptr<ComponentSource> macro(library[ComponentLink(3, 0, &library)]);
    EXPECT_NE(dynamic_cast<MacroSource*>(macro.get()), nullptr);
    EXPECT_EQ(library[ComponentLink(0, 0, &library)], nullptr);
    EXPECT_FALSE(library.contains(ComponentLink(9, APILib_ObjectID, &library)));
    EXPECT_TRUE(chair->compareTo(chair->getUniqueID()) == 1);

    Library::shutdown(); // no factories: nothing is made
    EXPECT_EQ(library[ComponentLink(1, APILib_ObjectID, &library)], nullptr);
    Library::startup();
    Library::addAdapter(APILib_MacroID,
                        [](const API_LibPart&, const ComponentLink& link) -> ComponentSource* {
                            return new ObjectSource(link);
                        });
    std::unique_ptr<ComponentSource> adapted(library[ComponentLink(3, 0, &library)]);
    EXPECT_NE(dynamic_cast<ObjectSource*>(adapted.get()), nullptr);
}

TEST_F(LibrarySourceTest, FilteredWalksBothWays) {
    add(APILib_ObjectID, "Chair", 1);
    add(APILib_LampID, "Lamp", 2);
    add(APILib_ObjectID, "Chair big", 3);
    add(APILib_ObjectID, "Table", 4);
    EXPECT_EQ(walk(library.begin(false, Library::Filter())), (std::vector<Int32>{1, 2, 3, 4}));
    EXPECT_EQ(walk(library.begin(false, Library::Filter("*", APILib_LampID))), (std::vector<Int32>{2}));
    EXPECT_EQ(walk(library.begin(false, Library::Filter("Chair*"))), (std::vector<Int32>{1, 3}));
    // Backward from the last but one, down to the first.
    EXPECT_EQ(walk(library.rbegin(Library::Filter())), (std::vector<Int32>{3, 2, 1}));

    Library::Filter cached("*", 0, true);
    EXPECT_EQ(walk(library.begin(false, cached)).size(), 4u);
    ComponentLink start(0, APILib_ObjectID, &library);
    sim::clearCalls();
    std::unique_ptr<ComponentSource> first(library.seekNext(start, true, cached));
    EXPECT_EQ(sim::callCount("ACAPI_LibPart_GetNum"), 0u); // the count of the walk, kept by the filter
    Library::Filter uncached;
    std::unique_ptr<ComponentSource> again(library.seekNext(start, true, uncached));
    EXPECT_EQ(sim::callCount("ACAPI_LibPart_GetNum"), 1u);
    Library::iterator end;
    EXPECT_THROW(end.moveForward(), std::out_of_range);
}

TEST_F(LibrarySourceTest, WalksWriteThePartsTheyLeaveWhenAsked) {
    add(APILib_ObjectID, "Chair", 1);
    add(APILib_ObjectID, "Table", 2);
    add(APILib_ObjectID, "Bench", 3);
    struct Case {
        const char* name;
        bool backward;
        bool autoWrite;
        std::size_t written; // parts put back while walking
    };
    const Case cases[] = {
        {"forward, read only", false, false, 0},
        {"forward, writing", false, true, 3},
        {"backward", true, true, 2},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.name);
        sim::clearCalls();
        std::size_t seen = 0;
        auto visit = [&](auto it) {
            EXPECT_EQ(it.isAutoWrite(), test.autoWrite);
            while (!it.atEnd()) {
                auto& part = dynamic_cast<ParametricSource&>(it.getReference());
                part.set3DScript(String(test.name));
                it.moveForward();
                ++seen;
            }
            EXPECT_EQ(it.getWriteFailures(), 0u);
        };
        if (test.backward) {
            visit(library.rbegin(Library::Filter()));
        } else {
            visit(library.begin(test.autoWrite, Library::Filter()));
        }
        EXPECT_EQ(seen, test.backward ? 2u : 3u);
        std::size_t changed = 0;
        for (Int32 i = 1; i <= 3; ++i) {
            changed += sim::libPart(i)->sections[MakeGSType("3DSC")] == test.name ? 1 : 0;
        }
        EXPECT_EQ(changed, test.written);
    }

    // A part the library refuses is counted and the walk goes on.
    auto it = library.begin(true, Library::Filter());
    sim::failCall("ACAPI_LibPart_UpdateSection", APIERR_GENERAL);
    it.moveForward();
    EXPECT_EQ(it.getWriteFailures(), 1u);
    EXPECT_EQ(it.getReference().getIndex(), 2);
    it.setAutoWrite(false);
}

TEST_F(LibrarySourceTest, AWalkKeepingTheCountAsksTheHostForItOnce) {
    for (int n = 1; n <= 4; ++n) {
        add(APILib_ObjectID, "Part " + std::to_string(n), n);
    }
    struct Case {
        bool cacheCount;
        std::size_t counts; // host count requests of a whole forward walk
    };
    const Case cases[] = {{true, 1}, {false, 5}}; // uncached: once per seek, the last finding the end
    for (const Case& c : cases) {
        SCOPED_TRACE(c.cacheCount);
        sim::clearCalls();
        EXPECT_EQ(walk(library.begin(false, Library::Filter("*", 0, c.cacheCount))).size(), 4u);
        EXPECT_EQ(sim::callCount("ACAPI_LibPart_GetNum"), c.counts);
    }
    // A part added during the walk: the kept count does not see it.
    sim::clearCalls();
    auto it = library.begin(false, Library::Filter("*", 0, true));
    add(APILib_ObjectID, "Late", 5);
    std::size_t seen = 0;
    for (; !it.atEnd(); it.moveForward()) {
        ++seen;
    }
    EXPECT_EQ(seen, 4u);
}

TEST_F(LibrarySourceTest, ChildrenAndRegisteredFiles) {
    add(APILib_ObjectID, "Parent", 1);
    add(APILib_ObjectID, "Child 1", 2, id(1));
    add(APILib_ObjectID, "Other", 3);
    add(APILib_ObjectID, "Child 2", 4, id(1));
    ComponentRefList children;
    EXPECT_EQ(library.getChildrenOf(ComponentLink(1, APILib_ObjectID, &library), children), 2u);
    EXPECT_EQ(children[1]->getIndex(), 4);
    EXPECT_EQ(library.getChildrenOf(ComponentLink(9, APILib_ObjectID, &library), children), 0u);

    std::filesystem::path path = sim::specialFolder("Documents") / "Bench.gsm";
    std::ofstream(path) << "part";
    DataFile file(String(path.string().c_str()), DataFile::readOnly, false);
    std::unique_ptr<ComponentSource> bench(library.add(APILib_ObjectID, file, 7));
    ASSERT_NE(bench, nullptr);
    EXPECT_EQ(bench->getIndex(), 5);
    EXPECT_EQ(bench->getName(), "Bench");
    std::unique_ptr<DataFile> back(bench->getFile());
    ASSERT_NE(back, nullptr);
    EXPECT_TRUE(back->exists());
    DataFile missing(String((sim::specialFolder("Documents") / "None.gsm").string().c_str()),
                     DataFile::readOnly, false);
    EXPECT_EQ(library.add(APILib_ObjectID, missing, 7), nullptr);
    sim::failCall("ACAPI_LibPart_Register", APIERR_GENERAL);
    EXPECT_EQ(library.add(APILib_ObjectID, file, 7), nullptr);
}

TEST_F(LibrarySourceTest, PutCreatesAndUpdatesParts) {
    Int32 index = add(APILib_ObjectID, "Chair", 1);
    Library other(nullptr, 0);
    std::unique_ptr<ComponentSource> loaded(other[ComponentLink(index, APILib_ObjectID, &other)]);
    auto& chair = dynamic_cast<ObjectSource&>(*loaded);
    chair.set2DScript("PROJECT2 3, 270, 2");
    chair.getParameter(String("n"))->setValueText("42");
    chair.setFixedSize(true);
    chair.setName("Chair copy");

    // A source of another library becomes a new part of this one.
    ASSERT_TRUE(library.put(chair));
    EXPECT_EQ(chair.getIndex(), 2);
    EXPECT_EQ(chair.getLink().getLibrary(), &library);
    const sim::LibPartDef& created = *sim::libPart(2);
    EXPECT_EQ(created.sections.at(MakeGSType("2DSC")), std::string("PROJECT2 3, 270, 2\0", 19));
    EXPECT_EQ(created.parameters.size(), 2u);
    EXPECT_EQ(created.parameters[1].record.value.real, 42.0);
    EXPECT_TRUE(created.details.fixSize);
    EXPECT_FALSE(sim::isLibPartOverwriteAllowed());
    EXPECT_FALSE(sim::isCreatingLibPart());

    // Now of this library: an update of its sections.
    chair.set3DScript("BLOCK 2, 2, 2");
    chair.getParameter(String("n"))->setValueText("7");
    ASSERT_TRUE(library.put(chair));
    EXPECT_EQ(sim::libPartCount(), 2);
    EXPECT_EQ(sim::libPart(2)->sections.at(MakeGSType("3DSC")), "BLOCK 2, 2, 2");
    EXPECT_EQ(sim::libPart(2)->parameters[1].record.value.real, 7.0);

    sim::failCall("ACAPI_LibPart_UpdateSection", APIERR_GENERAL);
    EXPECT_FALSE(library.put(chair));
    EXPECT_EQ(library.getLastError(), APIERR_GENERAL);

    // A failing section still saves the part, and the answer is false.
    ObjectSource fresh;
    fresh.setName("Fresh");
    fresh.set3DScript("BLOCK 1, 1, 1");
    fresh.setParameterList(ParameterList());
    sim::failCall("ACAPI_LibPart_AddSection", APIERR_GENERAL);
    EXPECT_FALSE(library.put(fresh));
    EXPECT_EQ(sim::libPartCount(), 3);
    EXPECT_FALSE(sim::isCreatingLibPart());
    sim::failCall("ACAPI_LibPart_Create", APIERR_NAMEALREADYUSED);
    EXPECT_FALSE(library.put(fresh));
    EXPECT_EQ(library.getLastError(), APIERR_NAMEALREADYUSED);

    std::unique_ptr<ComponentSource> macro(new MacroSource(ComponentLink(0, APILib_MacroID, nullptr)));
    EXPECT_FALSE(library.put(*macro));
}

TEST_F(LibrarySourceTest, ValuesOfTheParameterScript) {
    sim::LibPartDef def;
    def.name = "Valued";
    def.sections[MakeGSType("VLSC")] = "values \"mat\" \"Wood\", \"Steel\",\r\n"
                                       "    \"Glass\"\n"
                                       "VALUES 'shape' 1, 2,\n 3, \"round\", 'square'\n"
                                       "VALUES \"\" \"x\"\n"
                                       "IF a THEN VALUES \"legs\" \"3\" \"4\", \"5\"\n";
    Int32 index = sim::addLibPart(def);
    std::unique_ptr<ComponentSource> part(library[ComponentLink(index, APILib_ObjectID, &library)]);
    auto& source = dynamic_cast<ParametricSource&>(*part);
    struct Case {
        const char* name;
        std::vector<std::string> values;
    };
    const Case cases[] = {
        {"mat", {"Wood", "Steel", "Glass"}},
        {"SHAPE", {"round", "square"}},
        {"legs", {"3", "5"}}, // the search goes on from the ","
    };
    for (const Case& c : cases) {
        const TextRecord* values = source.getValues(c.name);
        ASSERT_NE(values, nullptr) << c.name;
        std::vector<std::string> texts;
        for (const TextField* field : *values) {
            texts.push_back(field->getExport().data());
        }
        EXPECT_EQ(texts, c.values) << c.name;
    }
    EXPECT_EQ(source.getValues("absent"), nullptr);
    ObjectSource empty;
    EXPECT_EQ(empty.getValues("mat"), nullptr);
}

TEST_F(LibrarySourceTest, Directories) {
    std::filesystem::path a = sim::specialFolder("Documents") / "LibA";
    std::filesystem::path b = sim::specialFolder("Documents") / "LibB";
    std::filesystem::create_directories(a);
    std::filesystem::create_directories(b);
    sim::setLibraryFolders({a.string(), "/nowhere/missing", b.string()}, 2);
    EXPECT_EQ(library.getDirectories().size(), 2u);
    std::unique_ptr<Directory> embedded(library.getEmbeddedDirectory());
    ASSERT_NE(embedded, nullptr);
    EXPECT_EQ(embedded->getName(), "LibB");
    DataFile inside(String((a / "x.gsm").string().c_str()), DataFile::readOnly, false);
    EXPECT_TRUE(library.contains(static_cast<const File&>(inside)));

    Directory c(String((sim::specialFolder("Documents") / "LibC").string().c_str()), true);
    EXPECT_TRUE(library.addDirectory(c));
    EXPECT_EQ(library.getDirectories().size(), 3u);
    EXPECT_TRUE(library.reload());
    EXPECT_EQ(sim::libraryReloads(), 1);
    FileList only;
    only.push_back(new Directory(c));
    EXPECT_TRUE(library.setDirectories(only));
    EXPECT_EQ(sim::libraryFolders().size(), 1u);
    EXPECT_EQ(library.getEmbeddedDirectory(), nullptr);
    sim::failCall("ACAPI_Environment:GLIB", APIERR_GENERAL);
    EXPECT_FALSE(library.reload());
}

TEST_F(LibrarySourceTest, AllocationFailuresLoseNothing) {
    Int32 index = add(APILib_ObjectID, "Chair", 1);
    // Every allocation of loading, creating and updating a part fails in turn: the operation
    // fails or throws std::bad_alloc, and the test main finds no leaked block.
    for (int skip = 0; skip < 40; ++skip) {
        sim::MemoryStats before = sim::memoryStats();
        {
            Library other(nullptr, 0);
            std::unique_ptr<ComponentSource> loaded(other[ComponentLink(index, APILib_ObjectID, &other)]);
            ASSERT_NE(loaded, nullptr);
            auto& chair = dynamic_cast<ObjectSource&>(*loaded);
            chair.setName("Chair copy"); // a new part, not the loaded one overwritten
            sim::failNextAllocations(1, ErrMemoryFull, skip);
            try {
                chair.set2DScript("LINE2 0, 0, 1, 1");
                if (Parameter* n = chair.getParameter(String("n"))) {
                    n->setValueText("5");
                }
                bool created = library.put(chair);
                bool updated = created && library.put(chair);
                // A put that answers true wrote the parameters whole.
                if (created) {
                    EXPECT_EQ(sim::libPart(chair.getIndex())->parameters.size(), 2u) << skip;
                }
                if (updated) {
                    EXPECT_EQ(sim::libPart(chair.getIndex())->parameters.size(), 2u) << skip;
                }
            } catch (const std::bad_alloc&) {
            }
            sim::failNextAllocations(0);
            EXPECT_FALSE(sim::isCreatingLibPart()) << skip;
            EXPECT_EQ(sim::libPart(index)->parameters.size(), 2u) << skip;
        }
        sim::MemoryStats after = sim::memoryStats();
        EXPECT_EQ(after.liveHandles + after.livePointers, before.liveHandles + before.livePointers) << skip;
    }
}

TEST(LibraryStartupTest, TheFrameworkStartsTheLibraryRegistryAndStopsIt) {
    Library library(nullptr, 0);
    Int32 index = add(APILib_ObjectID, "Chair", 1);
    ComponentLink link(index, APILib_ObjectID, &library);
    ASSERT_EQ(Addon::startup(), NoError);
    std::unique_ptr<ComponentSource> started(library[link]);
    EXPECT_NE(dynamic_cast<ObjectSource*>(started.get()), nullptr);
    ASSERT_EQ(Addon::shutdown(), NoError);
    std::unique_ptr<ComponentSource> stopped(library[link]);
    EXPECT_EQ(stopped, nullptr); // no factories left
}
