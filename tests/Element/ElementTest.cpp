#include "Element/Element.h"
#include "ACAPI/ElementRequests.hpp"
#include "Environment/MemoryBlock.h"
#include "sim/ElementTable.h"
#include "sim/Project.h"
#include "sim/Sim.h"
#include "support/RecordElement.h"

#include <gtest/gtest.h>

#include <memory>

using namespace zelvane;

namespace {

class Step : public Transformation {
public:
    explicit Step(int n) : Transformation(API_EditPars{}), m_n(n) {}
    Transformation* clone() const override { return new Step(*this); }
    int m_n;
};

// An element kind with text: it keeps the style set on it and where it goes.
class Labelled : public RecordElement {
public:
    using RecordElement::RecordElement;
    void setTextStyle(const TextStyle& style, unsigned int start, unsigned int length,
                      TextStyle::Use use) override {
        m_style = style;
        m_start = start;
        m_length = length;
        m_use = use;
    }
    TextStyle* getTextStyle() const override { return new TextStyle(m_style); }

    TextStyle m_style;
    unsigned int m_start = 0;
    unsigned int m_length = 0;
    TextStyle::Use m_use{};
};

} // namespace

TEST(ElementTest, CopiesOwnTheirBlockAndTransformsButNotTheListingCache) {
    sim::openProject();
    API_Element record;
    record.header.typeID = API_ObjectID;
    GS::Guid guid = sim::addElement(record);
    sim::setElementInfo(guid, "D-7", "Floor 1/D-7");

    ElementLink link(element_id(6), 0);
    link.setUniqueID(guid);
    RecordElement element(link);
    EXPECT_TRUE(element.exists());
    EXPECT_EQ(element.getUserDataFlags(), 12u);
    EXPECT_EQ(element.getUserDataVersion(), 1);
    EXPECT_EQ(element.getUserDataHost(), 19789u);
    EXPECT_EQ(element.getListingID(false), "D-7");
    EXPECT_EQ(element.getMasterID(), "Floor 1/");
    EXPECT_EQ(element.getListingID(true), "Floor 1/D-7");

    element.setUserData(new MemoryBlock("ab", 2));
    EXPECT_TRUE(element.isUserDataTouched());
    EXPECT_TRUE(element.isUserDataLoaded());
    element.pushTransform(new Step(1));
    element.pushTransform(new Step(2));

    RecordElement copy(element);
    sim::setElementInfo(guid, "D-8", "Floor 1/D-8");
    EXPECT_EQ(copy.getListingID(false), "D-8");    // asked afresh
    EXPECT_EQ(element.getListingID(false), "D-7"); // never asked again
    std::unique_ptr<MemoryBlock> block(copy.getUserData());
    ASSERT_NE(block, nullptr);
    EXPECT_EQ(block->size(), 2);
    EXPECT_EQ(copy.getTransformCount(), 2u);

    std::unique_ptr<Transformation> last(element.popTransform());
    EXPECT_EQ(static_cast<Step*>(last.get())->m_n, 2);
    last.reset(element.popTransform());
    EXPECT_EQ(static_cast<Step*>(last.get())->m_n, 1);
    EXPECT_EQ(element.getTransformCount(), 0u);
    EXPECT_EQ(element.popTransform(), nullptr);
    EXPECT_EQ(copy.getTransformCount(), 2u);

    element = copy;
    EXPECT_EQ(element.getTransformCount(), 2u);
}

TEST(ElementTest, LinksKeepTheElementsKindAndClearingTouchesTheBlock) {
    ElementLink link(element_id(6, 3), 0);
    RecordElement element(link);
    EXPECT_FALSE(element.exists()); // no GUID

    GS::Guid guid;
    guid.Generate();
    API_Elem_Head head;
    head.typeID = API_WallID;
    head.variationID = 42;
    head.guid = guid;
    head.floorInd = 2;
    ElementLink other(head, nullptr);
    element.setLink(other);
    EXPECT_EQ(element.getType(), element_id(6, 3));
    EXPECT_EQ(element.getUniqueID(), Guid(guid));
    EXPECT_EQ(element.getHead().guid, guid);
    EXPECT_EQ(element.getHead().typeID, 6);
    EXPECT_EQ(element.getHead().variationID, 42u);
    EXPECT_EQ(element.getHead().floorInd, 2);

    element.clearLink();
    EXPECT_FALSE(element.isUserDataTouched()); // no block to write
    element.setUserData(new MemoryBlock("x", 1));
    element.setUserDataTouched(false);
    element.clearLink();
    EXPECT_FALSE(bool(element.getUniqueID()));
    EXPECT_TRUE(element.isUserDataTouched());

    Guid group;
    group.generate();
    element.setGroupID(group);
    EXPECT_TRUE(element.isGrouped());
    EXPECT_EQ(element.getGroupID(), group);
    element.clearGroup();
    EXPECT_FALSE(element.isGrouped());
}

TEST(ElementTest, AnEmptyListingIDIsReadOnceForItsElementAsAnyOther) {
    sim::openProject();
    API_Element record;
    record.header.typeID = API_ObjectID;
    GS::Guid first = sim::addElement(record);
    GS::Guid second = sim::addElement(record);
    sim::setElementInfo(first, "", "");
    sim::setElementInfo(second, "E-2", "E-2");

    ElementLink link(element_id(6), 0);
    link.setUniqueID(first);
    RecordElement element(link);
    EXPECT_EQ(element.getListingID(false), "");
    sim::setElementInfo(first, "E-1", "E-1");
    std::size_t asked = sim::callCount("ACAPI_Database");
    EXPECT_EQ(element.getListingID(true), "") << "read once, as a filled one is";
    EXPECT_EQ(sim::callCount("ACAPI_Database"), asked);

    link.setUniqueID(second);
    element.setLink(link);
    EXPECT_EQ(element.getListingID(false), "E-2") << "another element's is its own";

    link.setUniqueID(first);
    RecordElement again(link);
    EXPECT_EQ(again.getListingID(false), "E-1");
    again.setListingID("");
    sim::setElementInfo(first, "E-3", "E-3");
    EXPECT_EQ(again.getListingID(false), "E-3") << "emptied by hand: read again";
}

TEST(ElementTest, ListingIDStaysEmptyWhenTheHostRefuses) {
    sim::openProject();
    ElementLink link(element_id(6), 0);
    Guid guid;
    link.setUniqueID(guid.generate()); // no such element
    RecordElement element(link);
    EXPECT_EQ(element.getListingID(true), "");
    element.setListingID("mine");
    EXPECT_EQ(element.getListingID(false), "mine");
}

TEST(ElementTest, TextStylesGoWhereTheElementKindUsesThem) {
    ElementLink link(element_id(6), 0);
    RecordElement plain(link);
    Element& base = plain;
    base.setTextStyle(TextStyle(TextStyle::bold), 0, 4, TextStyle::Use(1)); // a kind without text
    EXPECT_EQ(base.getTextStyle(), nullptr);

    Labelled labelled(link);
    Element& element = labelled;
    element.setTextStyle(TextStyle(TextStyle::bold, 2.5), 1, 3, TextStyle::Use(2));
    std::unique_ptr<TextStyle> style(element.getTextStyle());
    ASSERT_NE(style, nullptr);
    EXPECT_EQ(style->getFace(), TextStyle::bold);
    EXPECT_EQ(labelled.m_start, 1u);
    EXPECT_EQ(labelled.m_length, 3u);
    EXPECT_EQ(labelled.m_use, TextStyle::Use(2));
}
