#include "Remap/RemappingPrefs.h"
#include "Environment/DataBufferIn.h"
#include "RemapFixture.h"
#include "XML/XMLReader.h"

#include <memory>
#include <stdexcept>

using namespace zelvane;
using namespace zelvane::remap;
using remap_test::RemapTest;

namespace {

constexpr ObjectMap::Type kinds[] = {ObjectMap::IFC, ObjectMap::DWG, ObjectMap::GSM, ObjectMap::missing,
                                     ObjectMap::legacy};

class RemappingPrefsTest : public RemapTest {};

} // namespace

TEST_F(RemappingPrefsTest, EveryKindStartsWithTheDefaultName) {
    RemappingPrefs prefs;
    EXPECT_EQ(prefs.getID(), 0x524D5050u);
    EXPECT_STREQ(prefs.getTag(), "remappingPrefs");
    for (ObjectMap::Type kind : kinds) {
        EXPECT_EQ(prefs.getSourceName(kind), "Default") << kind;
    }
}

TEST_F(RemappingPrefsTest, ChoosingASourceForOneKindLeavesTheOthers) {
    for (ObjectMap::Type chosen : kinds) {
        RemappingPrefs prefs;
        prefs.setSourceName(String("Site survey"), chosen);
        for (ObjectMap::Type kind : kinds) {
            EXPECT_EQ(prefs.getSourceName(kind), kind == chosen ? "Site survey" : "Default")
                << "chosen " << chosen << ", read " << kind;
        }
        std::unique_ptr<Package> copy(prefs.clone());
        EXPECT_EQ(static_cast<RemappingPrefs*>(copy.get())->getSourceName(chosen), "Site survey");
        prefs.setDefault();
        EXPECT_EQ(prefs.getSourceName(chosen), "Default");
    }
}

TEST_F(RemappingPrefsTest, KindNoneNamesNoSource) {
    RemappingPrefs prefs;
    for (auto kind : {ObjectMap::none, static_cast<ObjectMap::Type>(-1), static_cast<ObjectMap::Type>(9)}) {
        EXPECT_THROW(prefs.getSourceName(kind), std::out_of_range) << kind;
        EXPECT_THROW(prefs.setSourceName(String("x"), kind), std::out_of_range) << kind;
    }
    for (ObjectMap::Type kind : kinds) {
        EXPECT_EQ(prefs.getSourceName(kind), "Default") << "a refused kind changes nothing";
    }
}

TEST_F(RemappingPrefsTest, WrittenAndReadAsFiveElements) {
    RemappingPrefs prefs;
    prefs.setSourceName(String("A & B"), ObjectMap::DWG);
    prefs.setSourceName(String("Old <lib>"), ObjectMap::legacy);
    EXPECT_EQ(remap_test::xmlOf(prefs), std::string(remap_test::declaration) +
                                            "<remappingPrefs>\n"
                                            "\t<ifcSource>Default</ifcSource>\n"
                                            "\t<dwgSource>A &amp; B</dwgSource>\n"
                                            "\t<gsmSource>Default</gsmSource>\n"
                                            "\t<missingSource>Default</missingSource>\n"
                                            "\t<legaceSource>Old &lt;lib&gt;</legaceSource>\n"
                                            "</remappingPrefs>\n");
    EXPECT_EQ(std::unique_ptr<Shipping>(prefs.getShipping(5, false)), nullptr);

    String text("<remappingPrefs><gsmSource>Shop</gsmSource><legaceSource>V9</legaceSource>"
                "<unknown>x</unknown></remappingPrefs>");
    DataBufferIn stream(text);
    RemappingPrefs read;
    ASSERT_TRUE(XMLReader(&stream).importTo(read));
    EXPECT_EQ(read.getSourceName(ObjectMap::GSM), "Shop");
    EXPECT_EQ(read.getSourceName(ObjectMap::legacy), "V9");
    EXPECT_EQ(read.getSourceName(ObjectMap::IFC), "Default") << "what the file lacks keeps its value";
}
