#include "Environment/DataFile.h"
#include "Preset/Preset.h"
#include "Preset/PresetFilter.h"
#include "Preset/ZelvaneLibrary.h"

#include "PresetTypesTest.h"
#include "sim/Sim.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

using namespace zelvane;
using namespace testing_preset;

namespace {

std::string const parameter(char const* tag, char const* name, int row = 0, int column = 0) {
    return std::string("<") + tag + " name=\"" + name + "\"><row>" + std::to_string(row) + "</row><column>" +
           std::to_string(column) + "</column></" + tag + ">";
}

// A whole definition in the writer's form.
std::string const definition =
    "<preset type=\"wall\" menuName=\"menu\"><filter type=\"wall\" keyFilterField=\"links\">" +
    parameter("keyParameter", "owner") + "</filter>" + parameter("nameParameter", "name") +
    parameter("echoParameter", "echo") + parameter("keyParameter", "key", 1) +
    parameter("statusParameter", "status") + "<settingList><setting field=\"pen\">" +
    parameter("parameter", "pen") + parameter("flags", "penFlag") + parameter("legacy", "oldPen", 0, 2) +
    "</setting><setting field=\"pen2\">" + parameter("parameter", "oldPen") +
    "</setting><setting field=\"pen3\">" + parameter("parameter", "newPen") +
    parameter("legacy", "pen", 0, 5) +
    "</setting></settingList><indexRange row=\"0\" "
    "count=\"2\"/><subtype>3</subtype><subtype>4</subtype></preset>";

std::string const document =
    "<zelvaneLibrary version=\"3\"><presetList>" + definition + "</presetList></zelvaneLibrary>";

} // namespace

TEST_F(PresetTest, DefinitionsAreWrittenAndReadBothWays) {
    ZelvaneLibrary library;
    ASSERT_TRUE(library.readDocument(document.data(), document.size()));
    EXPECT_EQ(library.getVersion(), 3u);
    ASSERT_EQ(library.getPresets().size(), 1u);
    EXPECT_EQ(xmlOf(library), document);
    Preset& preset = *library.getPresets().front();
    EXPECT_EQ(preset.getKeyParameter().getRow(), 1u);
    ASSERT_NE(preset.getFilter(), nullptr);
    EXPECT_EQ(preset.getFilter()->getType(), "wall");

    Preset copy(preset);
    EXPECT_EQ(xmlOf(copy), definition) << "copies clone the settings and the filter";

    Preset bare("door", "doorMenu");
    EXPECT_EQ(xmlOf(bare), "<preset type=\"door\" menuName=\"doorMenu\"><settingList/>"
                           "<indexRange row=\"0\" count=\"1\"/></preset>")
        << "no filter, no unnamed parameter";
}

TEST_F(PresetTest, InvalidDefinitionsFailTheDocument) {
    char const* const invalid[] = {
        "<preset type=\"wall\"/>",
        "<preset menuName=\"menu\"/>",
        "<preset type=\"wall\" menuName=\"menu\"><indexRange row=\"1\" count=\"0\"/></preset>",
        "<preset type=\"wall\" menuName=\"menu\"><nameParameter><row>1</row></nameParameter></preset>",
        "<preset type=\"wall\" menuName=\"menu\"><filter keyFilterField=\"x\"/></preset>",
        "<preset type=\"wall\" menuName=\"menu\"><settingList><setting/></settingList></preset>",
    };
    for (std::string text :
         {std::string(), std::string("<other version=\"5\"/>"), std::string("<presetList/>")}) {
        ZelvaneLibrary library;
        ASSERT_TRUE(library.readDocument(document.data(), document.size()));
        EXPECT_FALSE(library.readDocument(text.data(), text.size())) << "no configuration: " << text;
        EXPECT_EQ(library.getPresets().size(), 1u) << text;
    }
    for (char const* entry : invalid) {
        ZelvaneLibrary library;
        ASSERT_TRUE(library.readDocument(document.data(), document.size()));
        std::string text = std::string("<zelvaneLibrary version=\"4\"><presetList>") + entry +
                           "</presetList></zelvaneLibrary>";
        EXPECT_FALSE(library.readDocument(text.data(), text.size())) << entry;
        EXPECT_EQ(library.getVersion(), 3u) << "a failed read keeps the old list: " << entry;
        EXPECT_EQ(library.getPresets().size(), 1u) << entry;
    }
    ZelvaneLibrary library;
    std::string plain =
        "<zelvaneLibrary><presetList><preset type=\"a\" menuName=\"m\"/></presetList></zelvaneLibrary>";
    ASSERT_TRUE(library.readDocument(plain.data(), plain.size()));
    EXPECT_EQ(library.getPresets().front()->getIndexRange().getCount(), 1u) << "no range: the first instance";
}

TEST_F(PresetTest, FieldsAreFoundForParametersAndSubtypes) {
    ZelvaneLibrary library;
    ASSERT_TRUE(library.readDocument(document.data(), document.size()));
    Preset const& preset = *library.getPresets().front();
    struct Case {
        char const* parameter;
        char const* field;
        unsigned long long column;
    };
    Case const cases[] = {
        {"pen", "pen", 0},     // a direct match ends the scan: a later legacy entry of the name is not seen
        {"oldPen", "pen2", 2}, // the legacy match of the first setting gives its column; a later direct match
                               // replaces the name and keeps the column
        {"penFlag", "", 0},
        {"none", "", 0},
    };
    for (Case const& c : cases) {
        PresetParameter found = preset.findFieldForParameter(c.parameter);
        EXPECT_EQ(found.getName(), c.field) << c.parameter;
        EXPECT_EQ(found.getColumn(), c.column) << c.parameter;
        EXPECT_EQ(found.getRow(), 0u);
    }
    EXPECT_EQ(preset.findParameterForField("pen").getName(), "pen");
    EXPECT_EQ(preset.findParameterForField("none").getName(), "");

    for (unsigned int subtype : {3u, 4u}) {
        EXPECT_TRUE(preset.isClassSupported(subtype));
    }
    EXPECT_FALSE(preset.isClassSupported(5));
    EXPECT_TRUE(Preset("a", "b").isClassSupported(5)) << "no list holds for every subtype";
}

TEST_F(PresetTest, TheConfigurationIsReadOncePerFileTime) {
    std::filesystem::path path = sim::sandboxRoot() / "configuration.xml";
    std::ofstream(path) << document;
    DataFile file(String(path.string().c_str()), DataFile::readOnly, false);
    ZelvaneLibrary library;
    ASSERT_TRUE(library.readFrom(file));
    EXPECT_FALSE(library.getReadTime() == Time());
    library.getPresets().clear();
    EXPECT_TRUE(library.readFrom(file));
    EXPECT_EQ(library.getPresets().size(), 0u) << "the same modification time is not read again";

    std::ofstream(path)
        << "<zelvaneLibrary version=\"9\"><presetList><preset/></presetList></zelvaneLibrary>";
    std::filesystem::last_write_time(path, std::filesystem::last_write_time(path) + std::chrono::hours(1));
    Time before = library.getReadTime();
    EXPECT_FALSE(library.readFrom(file));
    EXPECT_EQ(library.getReadTime(), before) << "a failed read keeps the read time";
    EXPECT_EQ(library.getVersion(), 3u);
}
