#include "Database/Drawing.h"
#include "Database/ElementLink.h"
#include "Element/Element.h"

#include <memory>
#include <new>

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace zelvane;

namespace {

// Element objects are never dereferenced here: a made element is a marker address.
char markers[4];
std::vector<std::string> calls;

Element* refusing(const API_Element&, const ElementLink&) {
    calls.push_back("refusing");
    return nullptr;
}

Element* making(const API_Element& record, const ElementLink& link) {
    calls.push_back("making " + std::to_string(record.header.typeID) + " " +
                    std::to_string(link.getVariation()));
    return reinterpret_cast<Element*>(&markers[0]);
}

Element* adapting(const API_Element&, const ElementLink&) {
    calls.push_back("adapting");
    return reinterpret_cast<Element*>(&markers[1]);
}

class DrawingTest : public ::testing::Test {
protected:
    void SetUp() override {
        Drawing::startup();
        calls.clear();
    }
    void TearDown() override { Drawing::shutdown(); }
};

} // namespace

TEST_F(DrawingTest, FactoriesAreTriedAdaptersFirstInRegistrationOrder) {
    // Columns: a kind the start-up registers no factory for.
    API_Element record;
    record.header.typeID = API_ColumnID;
    record.header.variationID = 77;
    ElementLink link(element_id(2), 0);
    EXPECT_EQ(Drawing::createElement(record, link), nullptr); // nothing registered
    EXPECT_EQ(link.getVariation(), 77u);

    EXPECT_EQ(Drawing::addAdapter(element_id(2, 0), refusing, false), refusing);
    Drawing::addAdapter(element_id(2, 2), making, false);
    Drawing::addAdapter(element_id(2, 2), refusing, false); // already there for an equivalent kind
    EXPECT_EQ(Drawing::createElement(record, link), reinterpret_cast<Element*>(&markers[0]));
    EXPECT_EQ(calls, (std::vector<std::string>{"refusing", "making 2 77"}));

    calls.clear();
    Drawing::addAdapter(element_id(2, 5), adapting, true);
    EXPECT_EQ(Drawing::createElement(record, link), reinterpret_cast<Element*>(&markers[1]));
    EXPECT_EQ(calls, (std::vector<std::string>{"adapting"}));

    calls.clear();
    record.header.typeID = API_DoorID;
    EXPECT_EQ(Drawing::createElement(record, link), nullptr);
    EXPECT_TRUE(calls.empty());

    Drawing::shutdown();
    record.header.typeID = API_ColumnID;
    EXPECT_EQ(Drawing::createElement(record, link), nullptr);
}

namespace {

// Takes its memo parts from a store, and fails while doing so when asked to.
class StoredElement : public Element {
public:
    explicit StoredElement(const ElementLink& link) : Element(link) {}
    Element* clone() const override { return new StoredElement(*this); }
    API_Element* getData() const override { return new API_Element(m_record); }
    API_ElementMemo* getMemo(unsigned long long& mask) const override {
        mask = 0;
        return nullptr;
    }
    void getMemo(unsigned long long mask, MemoStore*& store) const override {
        seenMask = mask;
        seenMinData = m_isMinData;
        seenStore = store;
        if (failing) {
            throw std::bad_alloc();
        }
    }
    API_Elem_Head& getHead() override { return m_record.header; }
    const API_Elem_Head& getHead() const override { return m_record.header; }

    static inline bool failing = false;
    static inline unsigned long long seenMask = 0;
    static inline bool seenMinData = false;
    static inline MemoStore* seenStore = nullptr;

private:
    API_Element m_record;
};

Element* storing(const API_Element&, const ElementLink& link) {
    return new StoredElement(link);
}

} // namespace

TEST_F(DrawingTest, RegistryIsKeyedByTypeAlone) {
    // Two factories registered for different subtypes of one type are both tried, in order.
    Drawing::addAdapter(element_id(2, 9), refusing, false);
    Drawing::addAdapter(element_id(2, 1), making, false);
    API_Element record;
    record.header.typeID = API_ColumnID;
    ElementLink link(element_id(2), 0);
    EXPECT_NE(Drawing::createElement(record, link), nullptr);
    EXPECT_EQ(calls, (std::vector<std::string>{"refusing", "making 2 0"}));
    // The same factory under another subtype of the type is not added again.
    EXPECT_EQ(Drawing::addAdapter(element_id(2, 4), refusing, false), refusing);
    calls.clear();
    Drawing::createElement(record, link);
    EXPECT_EQ(calls, (std::vector<std::string>{"refusing", "making 2 0"}));
}

TEST_F(DrawingTest, ElementsMadeWithAStoreTakeEveryMemoPartAndTheSwitchComesBack) {
    Drawing::addAdapter(element_id(7), storing, false);
    API_Element record;
    record.header.typeID = API_LampID;
    ElementLink link(element_id(7), 0);
    auto* store = reinterpret_cast<MemoStore*>(&markers[2]); // handed through, never used
    for (bool before : {false, true}) {
        Element::m_isMinData = before;
        StoredElement::failing = false;
        std::unique_ptr<Element> element(Drawing::createElement(record, link, store));
        ASSERT_NE(element, nullptr);
        EXPECT_EQ(StoredElement::seenMask, Drawing::allMemoParts);
        EXPECT_TRUE(StoredElement::seenMinData);
        EXPECT_EQ(StoredElement::seenStore, store);
        EXPECT_EQ(Element::m_isMinData, before);

        StoredElement::failing = true;
        EXPECT_THROW(Drawing::createElement(record, link, store), std::bad_alloc);
        EXPECT_EQ(Element::m_isMinData, before);
    }
    Element::m_isMinData = true;
    StoredElement::failing = false;
}
