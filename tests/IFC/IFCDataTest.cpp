#include "Environment/BooleanSetting.h"
#include "Environment/IDSetting.h"
#include "Environment/Int64Setting.h"
#include "Environment/RealSetting.h"
#include "Environment/StringSetting.h"
#include "Environment/TimeSetting.h"
#include "IFC/IFCAttribute.h"
#include "IFC/IFCBoundedValue.h"
#include "IFC/IFCCalendarDate.h"
#include "IFC/IFCClassificationReference.h"
#include "IFC/IFCDataList.h"
#include "IFC/IFCEnumeratedValue.h"
#include "IFC/IFCListValue.h"
#include "IFC/IFCSingleValue.h"
#include "IFC/IFCTableValue.h"
#include "IFC/MakeIFCData.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <memory>

using namespace zelvane;

namespace {

API_IFCPropertyValue value(const char* type, Int32 primitive, Int64 i, double d, bool b, const char* text) {
    API_IFCPropertyValue v;
    v.valueType = GS::UniString(type);
    v.primitiveType = primitive;
    v.intValue = i;
    v.doubleValue = d;
    v.boolValue = b;
    v.stringValue = GS::UniString(text);
    return v;
}

API_IFCPropertyValue label(const char* text) {
    return value("IfcLabel", 4, 0, 0.0, false, text);
}

API_IFCProperty property(Int32 kind, const char* name, const char* setName = "Pset_Common") {
    API_IFCProperty record;
    record.head.propertyType = kind;
    record.head.propertyName = GS::UniString(name);
    record.head.propertySetName = GS::UniString(setName);
    return record;
}

std::string textOf(const Setting* setting) {
    String out;
    if (setting != nullptr) {
        setting->getValue(out);
    }
    return out.data();
}

class IFCDataTest : public ::testing::Test {
protected:
    void TearDown() override { IFCData::reset(); }
};

} // namespace

TEST_F(IFCDataTest, ValueTypeNamesChooseTheSettingKind) {
    struct Case {
        const char* name;
        bool unknownAsText;
        int code;
    } cases[] = {
        {"IfcLabel", true, Setting::stringType},
        {"IfcLengthMeasure", true, Setting::lengthType},
        {"IfcInteger", true, Setting::int64Type},
        {"IfcBoolean", false, Setting::booleanType},
        {"IfcGloballyUniqueId", true, Setting::idType},
        {"IfcCalendarDate", true, Setting::timeType},
        {"IfcUnheardOf", true, Setting::stringType},
        {"IfcUnheardOf", false, 0},
        {"", true, Setting::stringType},
    };
    for (const Case& c : cases) {
        IFCData::ValueType type = IFCData::addValueType(c.name, c.unknownAsText);
        EXPECT_EQ(type.code, c.code) << c.name;
        EXPECT_EQ(type.name == nullptr, String(c.name).empty()) << c.name;
    }
    std::unique_ptr<IFCSingleValue> date(IFCSingleValue::create([] {
        API_IFCProperty r = property(0, "When");
        r.singleValue = value("IfcCalendarDate", 4, 0, 0, false, "2020");
        return r;
    }()));
    ASSERT_NE(date, nullptr);
    EXPECT_EQ(date->getSetting(), nullptr); // dates inside values have no setting
}

TEST_F(IFCDataTest, ValuesAreExtractedByKind) {
    struct Case {
        API_IFCPropertyValue value;
        const char* text;
    } cases[] = {
        {label("Oak"), "Oak"},
        {value("IfcLabel", 2, 0, 0.0, true, ""), "1"},
        {value("IfcLabel", 2, 0, 0.0, false, ""), "0"},
        {value("IfcText", 0, 42, 0.0, false, ""), "42"},
        {value("IfcText", 5, 42, 0.0, false, ""), ""},
        {value("IfcInteger", 0, 7, 0.0, false, ""), "7"},
        {value("IfcBoolean", 2, 0, 0.0, true, ""), "1"},
    };
    for (const Case& c : cases) {
        API_IFCProperty record = property(0, "P");
        record.singleValue = c.value;
        std::unique_ptr<IFCSingleValue> item(IFCSingleValue::create(record));
        ASSERT_NE(item, nullptr);
        EXPECT_EQ(textOf(item->getSetting()), c.text) << String(c.value.valueType).data();
    }
}

TEST_F(IFCDataTest, EveryPropertyKindRoundTrips) {
    MakeIFCData make;
    API_IFCProperty single = property(0, "Material");
    single.singleValue = label("Oak");
    API_IFCProperty list = property(1, "Sizes");
    list.listValues.Push(value("IfcInteger", 0, 3, 0, false, ""));
    list.listValues.Push(value("IfcInteger", 0, 5, 0, false, ""));
    API_IFCProperty bounded = property(2, "Range");
    bounded.lowerBoundValue = value("IfcLengthMeasure", 1, 0, 0.5, false, "");
    bounded.upperBoundValue = value("IfcLengthMeasure", 1, 0, 2.5, false, "");
    API_IFCProperty enumerated = property(3, "Finish");
    for (const char* v : {"C", "A", "B"}) {
        enumerated.enumerationValues.Push(label(v));
    }
    enumerated.enumerationChosen.Push(label("B"));
    API_IFCProperty table = property(4, "Loads");
    for (int i = 1; i <= 3; ++i) {
        table.definingValues.Push(value("IfcReal", 1, 0, i, false, ""));
    }
    table.definedValues.Push(label("light"));
    table.definedValues.Push(label("heavy"));
    API_IFCProperty date = property(5, "Installed");
    date.date.isEmpty = false;
    date.date.year = 2019;
    date.date.month = 7;
    date.date.day = 14;

    for (const API_IFCProperty* record : {&single, &list, &bounded, &enumerated, &table, &date}) {
        std::unique_ptr<IFCData> item(make(*record));
        ASSERT_NE(item, nullptr) << record->head.propertyType;
        EXPECT_EQ(item->getType(), record->head.propertyType);
        std::unique_ptr<IFCData> copy(item->clone());
        API_IFCProperty packed;
        EXPECT_TRUE(static_cast<IFCProperty&>(*copy).pack(packed)) << record->head.propertyType;
        EXPECT_EQ(packed.head.propertyName, record->head.propertyName);
        EXPECT_EQ(packed.head.propertySetName, record->head.propertySetName);
        switch (record->head.propertyType) {
        case 0:
            EXPECT_EQ(packed.singleValue.stringValue, GS::UniString("Oak"));
            break;
        case 1:
            ASSERT_EQ(packed.listValues.GetSize(), 2u);
            EXPECT_EQ(packed.listValues[1].intValue, 5);
            break;
        case 2:
            EXPECT_DOUBLE_EQ(packed.upperBoundValue.doubleValue, 2.5);
            break;
        case 3:
            ASSERT_EQ(packed.enumerationValues.GetSize(), 3u);
            EXPECT_EQ(packed.enumerationValues[0].stringValue, GS::UniString("A"));
            ASSERT_EQ(packed.enumerationChosen.GetSize(), 1u);
            EXPECT_EQ(packed.enumerationChosen[0].stringValue, GS::UniString("B"));
            break;
        case 4:
            ASSERT_EQ(packed.definingValues.GetSize(), 2u); // the shorter count
            EXPECT_EQ(packed.definedValues[1].stringValue, GS::UniString("heavy"));
            EXPECT_EQ(packed.definingValues[0].valueType, GS::UniString("IfcReal"));
            break;
        case 5:
            EXPECT_FALSE(packed.date.isEmpty);
            EXPECT_EQ(packed.date.year, 2019u);
            EXPECT_EQ(packed.date.month, 7u);
            EXPECT_EQ(packed.date.day, 14u);
            break;
        }
    }
}

TEST_F(IFCDataTest, BadRecordsGiveNoItem) {
    API_IFCProperty noSet = property(0, "Material", "");
    noSet.singleValue = label("Oak");
    API_IFCProperty noType = property(0, "Material");
    API_IFCProperty wrongKind = property(9, "Material");
    wrongKind.singleValue = label("Oak");
    API_IFCProperty emptyList = property(1, "Sizes");
    API_IFCProperty good = property(0, "Material");
    good.singleValue = label("Oak");
    MakeIFCData make;
    for (const API_IFCProperty* record : {&noSet, &noType, &wrongKind, &emptyList}) {
        EXPECT_EQ(make(*record), nullptr);
    }
    API_IFCAttribute untyped;
    untyped.attributeName = GS::UniString("Name");
    EXPECT_EQ(make(untyped), nullptr);

    IFCDataList list;
    EXPECT_TRUE(list.unpack(GS::Array<API_IFCProperty>()));
    GS::Array<API_IFCProperty> records;
    records.Push(good);
    records.Push(noType);
    EXPECT_FALSE(list.unpack(records));
    EXPECT_EQ(list.size(), 1u); // the good one kept
}

TEST_F(IFCDataTest, PackingValues) {
    IFCSingleValue flag(BooleanSetting(), "Flag", "S", "IfcBoolean", "");
    API_IFCPropertyValue packed;
    EXPECT_TRUE(flag.packValue(packed, flag.getSetting()));
    EXPECT_FALSE(packed.boolValue);
    BooleanSetting on;
    on.setValue(true);
    flag.setSetting(on);
    EXPECT_TRUE(flag.packValue(packed, flag.getSetting()));
    EXPECT_TRUE(packed.boolValue);

    Guid id;
    id.generate();
    IFCSingleValue identifier(IDSetting(id, false), "Id", "S", "IfcGloballyUniqueId", "");
    EXPECT_FALSE(identifier.packValue(packed, identifier.getSetting())); // written, not storable
    String hostText;
    IDSetting(id, true).getValue(hostText);
    EXPECT_EQ(String(packed.stringValue), hostText);
    API_IFCProperty record;
    EXPECT_FALSE(identifier.pack(record));

    // A date attribute has no setting: it packs an empty text.
    API_IFCAttribute dateRecord;
    dateRecord.attributeName = GS::UniString("Built");
    dateRecord.attributeType = GS::UniString("IfcCalendarDate");
    dateRecord.attributeValue = GS::UniString("2020-01-01");
    std::unique_ptr<IFCAttribute> date(IFCAttribute::create(dateRecord));
    ASSERT_NE(date, nullptr);
    EXPECT_EQ(date->getSetting(), nullptr);
    API_IFCAttribute out;
    EXPECT_TRUE(date->pack(out));
    EXPECT_TRUE(out.attributeValue.IsEmpty());
    EXPECT_FALSE(out.hasValue);

    API_IFCClassificationReference reference;
    reference.itemReference = GS::UniString("Pr_20");
    reference.location = GS::UniString("http://x");
    reference.hasLocation = true;
    reference.referencedSource.name = GS::UniString("Uniclass");
    std::unique_ptr<IFCData> item(MakeIFCData()(reference));
    API_IFCClassificationReference back;
    EXPECT_TRUE(static_cast<IFCClassificationReference&>(*item).pack(back));
    EXPECT_EQ(back.itemReference, reference.itemReference);
    EXPECT_EQ(back.location, reference.location);
    EXPECT_TRUE(back.hasLocation);
    EXPECT_EQ(back.referencedSource.name, reference.referencedSource.name);
}

TEST_F(IFCDataTest, InterningAcrossReset) {
    API_IFCProperty a = property(0, "A", "Pset_X");
    a.singleValue = label("1");
    API_IFCProperty b = property(0, "B", "Pset_X");
    b.singleValue = label("2");
    std::unique_ptr<IFCSingleValue> first(IFCSingleValue::create(a)), second(IFCSingleValue::create(b));
    EXPECT_EQ(&first->getSetName(), &second->getSetName());
    IFCData::reset();
    std::unique_ptr<IFCSingleValue> third(IFCSingleValue::create(a));
    EXPECT_NE(&first->getSetName(), &third->getSetName());
    EXPECT_EQ(first->getSetName(), "Pset_X"); // kept alive by its item
}

TEST_F(IFCDataTest, KeysOrderByKindThenExactValue) {
    auto make = [](Setting* s) { return IFCData::SharedKey(s); };
    Int64Setting one;
    one.setValue(1LL);
    StringSetting oneText;
    oneText.setValue(String("1"));
    RealSetting real, near, nan;
    real.setValue(1.0);
    near.setValue(1.0 + 1e-12);
    nan.setValue(std::numeric_limits<double>::quiet_NaN());
    IFCData::SharedKey keys[] = {make(one.clone()), make(oneText.clone()), make(real.clone()),
                                 make(near.clone()), make(nan.clone())};
    for (const auto& key : keys) {
        EXPECT_EQ(IFCData::addKey(key), key); // none equal to another
    }
    IFCData::SharedKey again = make(real.clone());
    EXPECT_EQ(IFCData::addKey(again), keys[2]);
    IFCData::KeyLess less;
    EXPECT_TRUE(less(nullptr, keys[0]));
    EXPECT_FALSE(less(keys[0], nullptr));
    EXPECT_TRUE(less(keys[3], keys[4])); // NaN last
    EXPECT_FALSE(less(keys[4], keys[4]));
}

TEST_F(IFCDataTest, ListsReplaceByNameAndSetAndKeepTheirNameMaps) {
    IFCDataList list;
    list.setProperty(new IFCSingleValue(StringSetting(), "Name", "Pset_A", "IfcLabel", ""));
    list.setProperty(new IFCSingleValue(StringSetting(), "Name", "AC_Pset_Name", "IfcLabel", ""));
    EXPECT_EQ(list.getProperty("Name", "")->getSetName(), "Pset_A");
    EXPECT_EQ(list.getProperty("Name", "AC_Pset_Name")->getSetName(), "AC_Pset_Name");
    EXPECT_EQ(list.getPropertyNameMap().size(), 2u);

    StringSetting text;
    text.setValue(String("new"));
    list.setProperty(new IFCSingleValue(text, "Name", "Pset_A", "IfcLabel", ""));
    EXPECT_EQ(list.size(), 2u);
    EXPECT_EQ(list.getPropertyNameMap().at("Pset_A").size(), 1u);
    auto* held = static_cast<IFCSingleValue*>(list.getProperty("Name", "Pset_A"));
    EXPECT_EQ(textOf(held->getSetting()), "new");

    // Changed in place and given back: kept.
    text.setValue(String("changed"));
    held->setSetting(text);
    list.setProperty(held);
    EXPECT_EQ(list.size(), 2u);
    EXPECT_EQ(textOf(static_cast<IFCSingleValue*>(list.getProperty("Name", "Pset_A"))->getSetting()),
              "changed");

    list.setAttribute(new IFCAttribute(StringSetting(), "GlobalId", "IfcGloballyUniqueId", true));
    EXPECT_EQ(list.getAttributeNameMap().at("").size(), 1u);
    list.deleteProperty(list.getProperty("Name", "AC_Pset_Name"));
    EXPECT_EQ(list.getPropertyNameMap().count("AC_Pset_Name"), 0u);
    IFCDataList copy(list);
    EXPECT_TRUE(copy.empty());
}

TEST_F(IFCDataTest, AnItemGivenBackIsHeldOnceAndReplacesTheOnesBeforeIt) {
    // Items of one name twice, as a host read may give them; the later one is given back.
    IFCDataList list;
    list.push_back(new IFCSingleValue(StringSetting(), "Name", "Pset_A", "IfcLabel", ""));
    auto* other = new IFCSingleValue(StringSetting(), "Name", "Pset_B", "IfcLabel", "");
    list.push_back(other);
    auto* later = new IFCSingleValue(StringSetting(), "Name", "Pset_A", "IfcLabel", "");
    list.push_back(later);
    list.push_back(new IFCAttribute(StringSetting(), "Tag", "IfcIdentifier", true));
    auto* laterTag = new IFCAttribute(StringSetting(), "Tag", "IfcIdentifier", true);
    list.push_back(laterTag);
    EXPECT_EQ(list.getPropertyNameMap().at("Pset_A").size(), 2u);
    EXPECT_EQ(list.getAttributeNameMap().at("").size(), 2u);

    list.setProperty(later);
    EXPECT_EQ(std::count(list.begin(), list.end(), later), 1);
    EXPECT_EQ(list.getProperty("Name", "Pset_A"), later);
    EXPECT_EQ(list.getProperty("Name", "Pset_B"), other);
    EXPECT_EQ(list.getPropertyNameMap().at("Pset_A").size(), 1u);
    list.setAttribute(laterTag);
    EXPECT_EQ(std::count(list.begin(), list.end(), laterTag), 1);
    EXPECT_EQ(list.getAttribute("Tag"), laterTag);
    EXPECT_EQ(list.getAttributeNameMap().at("").size(), 1u);
    EXPECT_EQ(list.size(), 3u);
}
