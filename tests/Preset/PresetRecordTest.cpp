#include "PresetTypesTest.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <string>

using namespace zelvane;
using namespace testing_preset;

namespace {

int intOf(PresetRecord const& record, char const* field, std::size_t column = 0) {
    std::unique_ptr<Setting> setting(record.getSetting(field, column));
    int value = -999;
    if (setting != nullptr) {
        setting->getValue(value);
    }
    return value;
}

} // namespace

TEST_F(PresetTypesTest, FieldsAnswerByNameAndColumn) {
    WallRecord wall;
    EXPECT_EQ(wall.getTypeName(), "wall");
    EXPECT_EQ(wall.getColumnCount("pen"), 1u);
    EXPECT_EQ(wall.getColumnCount("links"), 0u);
    EXPECT_EQ(wall.getColumnCount("none"), 0u);
    EXPECT_EQ(wall.getSetting("pen", 1), nullptr);
    EXPECT_EQ(wall.getSetting("none", 0), nullptr);
    EXPECT_FALSE(wall.setSetting("none", Int32Setting(1), 0));
    EXPECT_FALSE(wall.setColumnCount("none", 2));

    ASSERT_TRUE(wall.setSetting("pen", Int32Setting(7), 2));
    EXPECT_EQ(wall.getColumnCount("pen"), 3u) << "a column past the end grows the row";
    EXPECT_EQ(intOf(wall, "pen", 2), 7);
    EXPECT_EQ(intOf(wall, "pen", 1), 0) << "new columns hold the null value";
    EXPECT_FALSE(wall.setSetting("pen", Int32Setting(7), PresetField::maxColumns))
        << "no field grows past its limit";
    EXPECT_EQ(wall.getColumnCount("pen"), 3u);

    ASSERT_TRUE(wall.setSetting("angle", RealSetting(180.0), 0));
    std::unique_ptr<Setting> angle(wall.getSetting("angle", 0));
    double radians = 0;
    angle->getValue(radians);
    EXPECT_NEAR(radians, M_PI, 1e-12) << "angles arrive in degrees and are kept in radians";

    auto* links = dynamic_cast<GuidField*>(wall.getField("links"));
    ASSERT_NE(links, nullptr);
    links->setValue(key(4), 1);
    EXPECT_EQ(links->getColumnCount(), 2u);
    EXPECT_EQ(links->findValue(key(4)), 1u);
    EXPECT_EQ(links->findValue(key(5)), GuidField::npos);
    EXPECT_FALSE(links->getValue(7));
    links->eraseAt(0);
    EXPECT_EQ(links->getValue(0), key(4));
    links->eraseAt(9);
    EXPECT_EQ(links->getColumnCount(), 1u);
}

TEST_F(PresetTypesTest, ChildrenAreAddedOnlyWhereNothingHoldsTheirPlace) {
    WallRecord wall;
    ASSERT_EQ(wall.getChildCount(), 2u);
    EXPECT_EQ(wall.getChildKeyName(0), "inside");
    EXPECT_EQ(wall.getChildKeyName(1), "outside");
    EXPECT_EQ(wall.getChildKeyName(2), "") << "an index equal to the count is out of range";
    EXPECT_EQ(wall.getChildRecord(std::size_t(2)), nullptr);
    auto* slot = dynamic_cast<GuidField*>(wall.getField("inside"));
    ASSERT_NE(slot, nullptr) << "a child comes with a Guid field of its key";
    EXPECT_EQ(slot->getColumnCount(), 1u);
    EXPECT_FALSE(slot->getValue(0));

    struct Case {
        char const* key;
        char const* why;
    };
    for (Case const& c : {Case{"pen", "a field has the key"}, Case{"inside", "a child has the key"}}) {
        wall.addChildPreset(c.key, new FinishRecord(true));
        EXPECT_EQ(wall.getChildCount(), 2u) << c.why;
    }
    wall.addField("finish", new Int32Field);
    wall.addChildPreset("middle", new FinishRecord(true));
    EXPECT_EQ(wall.getChildCount(), 2u) << "a field has the child's type name";
    wall.addChildPreset("middle", nullptr);
    EXPECT_EQ(wall.getChildCount(), 2u);

    EXPECT_EQ(wall.getField("material"), nullptr) << "the record's own fields only";
    PresetField const* material = wall.getField("material", "inside");
    ASSERT_NE(material, nullptr);
    EXPECT_EQ(material, wall.getChildRecord("inside")->getField("material"));
    EXPECT_EQ(wall.getField("material", "elsewhere"), nullptr)
        << "other keys are searched for in the children";
    EXPECT_EQ(WallRecord().getChildRecord("inside")->getField("material", "x"), nullptr) << "no children";

    WallRecord copy(wall);
    copy.getChildRecord("inside")->setSetting("pen", Int32Setting(9), 0);
    EXPECT_EQ(intOf(*wall.getChildRecord("inside"), "pen"), 1) << "copies share no child";
    FinishRecord finish;
    finish.setSetting("pen", Int32Setting(5), 0);
    copy.copyFieldsFrom(finish);
    EXPECT_EQ(intOf(copy, "pen"), 5);
    EXPECT_EQ(copy.getField("thickness"), nullptr);
    EXPECT_EQ(copy.getChildCount(), 2u) << "children stay";
}

TEST_F(PresetTypesTest, RecordsAreWrittenExactly) {
    WallRecord wall;
    wall.setName("A");
    std::string finish = "<finish><material ignored=\"0\"><value>plaster</value></material>"
                         "<pen ignored=\"0\"><value>1</value></pen></finish>";
    // The outside finish follows the links, in its slot's place by name.
    std::string tail = "<label ignored=\"0\"><value>W</value></label><links ignored=\"0\"/>" + finish +
                       "<pen ignored=\"0\"><value>3</value></pen>"
                       "<thickness ignored=\"0\"><value>0.25</value></thickness></wall>";
    std::string head = std::string("<wall edit=\"") + clockText + "\"><name>A</name>";
    std::string angle = "<angle ignored=\"0\"><value>" + [] {
        String text;
        AngleSetting().getValue(text);
        return std::string(text.data());
    }() + "</value></angle>";
    EXPECT_EQ(xmlOf(wall), head + angle + finish + tail);

    wall.getField("inside")->setIgnored(true);
    EXPECT_EQ(xmlOf(wall), head + angle + "<inside ignored=\"1\"/>" + tail)
        << "an ignored slot is written as its field, without values";
    wall.getField("inside")->setIgnored(false);
    dynamic_cast<GuidField*>(wall.getField("inside"))->setValue(key(3), 0);
    EXPECT_EQ(xmlOf(wall),
              head + angle + "<inside ignored=\"0\"><value>" + keyText(3) + "</value></inside>" + tail)
        << "a slot linking a stored record is written as its field";

    FinishRecord child(true);
    child.getField("pen")->setIgnored(true);
    EXPECT_EQ(xmlOf(child), "<finish><material ignored=\"0\"><value>plaster</value></material>"
                            "<pen ignored=\"1\"/></finish>");
    struct Bare : PresetRecord {
        explicit Bare(bool isChild) : PresetRecord(isChild) {}
        char const* getTag() const override { return "bare"; }
        Bare* clone() const override { return new Bare(*this); }
    };
    EXPECT_EQ(xmlOf(*std::make_unique<Bare>(true)), "<bare></bare>");
    Bare bare(false);
    bare.setName("B");
    EXPECT_EQ(xmlOf(bare), std::string("<bare edit=\"") + clockText + "\"><name>B</name></bare>");
}

TEST_F(PresetTypesTest, FieldsReadFewerMoreOrNoValues) {
    struct Case {
        char const* values;
        int columns;
        int last;
    };
    Case const cases[] = {
        {"<value>4</value><value>5</value><value>6</value>", 3, 6},
        {"<value>4</value>", 1, 4},
        {"", 2, 8},
    };
    for (Case const& c : cases) {
        WallRecord wall;
        wall.setSetting("pen", Int32Setting(8), 1);
        std::string xml = std::string("<wall><name>X</name><pen ignored=\"0\">") + c.values + "</pen></wall>";
        ASSERT_TRUE(readXML(wall, xml)) << xml;
        EXPECT_EQ(wall.getName(), "X");
        EXPECT_EQ(wall.getColumnCount("pen"), std::size_t(c.columns)) << c.values;
        EXPECT_EQ(intOf(wall, "pen", c.columns - 1), c.last) << c.values;
    }

    WallRecord wall;
    ASSERT_TRUE(readXML(
        wall, "<wall finish=\"f\"><finish><pen><value>6</value><unit>mm</unit></pen><later>x</later></finish>"
              "<unknown/><label ignored=\"1\"><value>q</value></label></wall>"));
    EXPECT_EQ(intOf(*wall.getChildRecord("inside"), "pen"), 6) << "a child is read in its place";
    // What no field takes comes back, a child's and a field's in it, and an attribute binds no child.
    std::string kept = xmlOf(wall);
    for (char const* part :
         {" finish=\"f\"><name>",
          "<later>x</later><pen ignored=\"0\"><value>6</value><unit>mm</unit></pen></finish>",
          "<unknown/>"}) {
        EXPECT_NE(kept.find(part), std::string::npos) << part << " in " << kept;
    }
    EXPECT_TRUE(wall.getField("label")->isIgnored());
    EXPECT_EQ(wall.getColumnCount("label"), 2u) << "an ignored field appends what it reads";

    WallRecord written;
    written.setName("R");
    written.setSetting("links", IDSetting(key(2)), 1);
    std::string xml = xmlOf(written);
    WallRecord back;
    ASSERT_TRUE(readXML(back, xml));
    EXPECT_EQ(xmlOf(back), xml);
}

TEST_F(PresetTypesTest, TwoChildrenOfOneTypeReadBackAsWritten) {
    struct Case {
        char const* why;
        int insidePen;
        unsigned int insideLink; // 0: embedded
        bool insideIgnored;
        int outsidePen;
        unsigned int outsideLink;
    };
    Case const cases[] = {
        {"both embedded", 1, 0, false, 9, 0},
        {"the first slot links a stored record", 1, 3, false, 9, 0},
        {"the second slot links a stored record", 5, 0, false, 1, 4},
        {"the first slot is ignored", 1, 0, true, 9, 0},
    };
    for (Case const& c : cases) {
        WallRecord written;
        written.setName("Lined");
        struct Slot {
            char const* key;
            int pen;
            unsigned int link;
            char const* material;
        };
        for (Slot const& slot : {Slot{"inside", c.insidePen, c.insideLink, "lime"},
                                 Slot{"outside", c.outsidePen, c.outsideLink, "slate"}}) {
            written.getChildRecord(String(slot.key))->setSetting("pen", Int32Setting(slot.pen), 0);
            written.getChildRecord(String(slot.key))
                ->setSetting("material", StringSetting(String(slot.material)), 0);
            if (slot.link != 0) {
                written.setSetting(slot.key, IDSetting(key(slot.link)), 0);
            }
        }
        written.getField("inside")->setIgnored(c.insideIgnored);
        std::string xml = xmlOf(written);
        WallRecord back;
        // Read twice into one record: each reading starts again from its first child.
        for (int pass = 0; pass < 2; ++pass) {
            ASSERT_TRUE(readXML(back, xml)) << c.why;
        }
        auto const* inside = back.getChildRecord(String("inside"));
        auto const* outside = back.getChildRecord(String("outside"));
        if (c.insideLink == 0 && !c.insideIgnored) {
            EXPECT_EQ(intOf(*inside, "pen"), c.insidePen) << c.why;
        }
        if (c.outsideLink == 0) {
            EXPECT_EQ(intOf(*outside, "pen"), c.outsidePen) << c.why;
            std::unique_ptr<Setting> material(outside->getSetting("material", 0));
            String text;
            material->getValue(text);
            EXPECT_EQ(text, "slate") << c.why;
        }
        EXPECT_EQ(xmlOf(back), xml) << c.why;
    }

    // More elements of a type than children of it, or elements of a type whose children are not
    // written in place: each child takes one in turn, the rest are kept after the record's
    // elements, and reading the record again gives each child the same.
    struct Extra {
        char const* xml;
        int insidePen;
        int outsidePen;
        char const* kept;
    };
    Extra const extras[] = {
        {"<wall><finish><pen><value>6</value></pen></finish><finish><pen><value>7</value></pen></finish>"
         "<finish><pen><value>8</value></pen></finish></wall>",
         6, 7, "<finish><pen><value>8</value></pen></finish></wall>"},
        {"<wall><pen><value>1</value></pen><finish><pen><value>6</value></pen></finish><finish><pen>"
         "<value>7</value></pen></finish><name>N</name><finish/><finish><pen><value>9</value></pen></finish>"
         "</wall>",
         6, 7, "<finish/><finish><pen><value>9</value></pen></finish></wall>"},
        {nullptr, -1, -1, "<finish><pen><value>6</value></pen></finish></wall>"},
    };
    WallRecord linked;
    linked.setSetting("inside", IDSetting(key(3)), 0);
    linked.setSetting("outside", IDSetting(key(4)), 0);
    std::string linkedXML = xmlOf(linked);
    linkedXML.insert(linkedXML.rfind("</wall>"), "<finish><pen><value>6</value></pen></finish>");
    for (Extra c : extras) {
        if (c.xml == nullptr) {
            c.xml = linkedXML.c_str();
        }
        WallRecord extra;
        ASSERT_TRUE(readXML(extra, c.xml)) << c.xml;
        if (c.insidePen >= 0) {
            EXPECT_EQ(intOf(*extra.getChildRecord("inside"), "pen"), c.insidePen) << c.xml;
            EXPECT_EQ(intOf(*extra.getChildRecord("outside"), "pen"), c.outsidePen) << c.xml;
        }
        std::string first = xmlOf(extra);
        EXPECT_NE(first.find(c.kept), std::string::npos) << first;
        WallRecord again;
        ASSERT_TRUE(readXML(again, first));
        EXPECT_EQ(xmlOf(again), first) << c.xml;
    }
}
