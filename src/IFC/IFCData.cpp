#include "IFC/IFCData.h"

#include "Environment/BooleanSetting.h"
#include "Environment/IDSetting.h"
#include "Environment/Int32Setting.h"
#include "Environment/Int64Setting.h"
#include "Environment/LengthSetting.h"
#include "Environment/RealSetting.h"
#include "Environment/StringSetting.h"
#include "Environment/Time.h"
#include "Environment/ToString.h"

#include <cmath>
#include <map>
#include <set>
#include <string>

namespace zelvane {

namespace {

struct TextLess {
    bool operator()(const IFCData::SharedText& a, const IFCData::SharedText& b) const {
        return a->compare(*b) < 0;
    }
};

std::set<IFCData::SharedText, TextLess>*& sharedText() {
    static std::set<IFCData::SharedText, TextLess>* texts = nullptr;
    return texts;
}

std::set<IFCData::SharedKey, IFCData::KeyLess>*& sharedKey() {
    static std::set<IFCData::SharedKey, IFCData::KeyLess>* keys = nullptr;
    return keys;
}

// Kept in plain memory: the table lives until shutdown.
std::map<std::string, int>*& valueTypes() {
    static std::map<std::string, int>* table = nullptr;
    return table;
}

// -1, 0 or 1 for two doubles, NaN after every number.
int compareReal(double a, double b) {
    bool nanA = std::isnan(a), nanB = std::isnan(b);
    if (nanA || nanB) {
        return nanA == nanB ? 0 : (nanA ? 1 : -1);
    }
    return a < b ? -1 : (b < a ? 1 : 0);
}

int compareExact(const Setting& a, const Setting& b) {
    switch (a.getType()) {
    case Setting::realType:
    case Setting::lengthType: {
        double x = 0.0, y = 0.0;
        a.getValue(x);
        b.getValue(y);
        return compareReal(x, y);
    }
    case Setting::timeType: {
        Time x, y;
        a.getValue(x);
        b.getValue(y);
        return x < y ? -1 : (y < x ? 1 : 0);
    }
    case Setting::stringType:
    case Setting::idType: {
        String x, y;
        a.getValue(x);
        b.getValue(y);
        int order = x.compare(y);
        return order < 0 ? -1 : (order > 0 ? 1 : 0);
    }
    default: {
        long long x = 0, y = 0;
        a.getValue(x);
        b.getValue(y);
        return x < y ? -1 : (y < x ? 1 : 0);
    }
    }
}

} // namespace

bool IFCData::KeyLess::operator()(const SharedKey& a, const SharedKey& b) const {
    if (a == nullptr || b == nullptr) {
        return a == nullptr && b != nullptr;
    }
    if (a->getType() != b->getType()) {
        return a->getType() < b->getType();
    }
    return compareExact(*a, *b) < 0;
}

IFCData::IFCData(const String& name, const String& valueTypeName, bool recordFlag)
    : m_name(addText(name)), m_valueType(addValueType(valueTypeName, true)), m_recordFlag(recordFlag) {}

const String& IFCData::textOf(const SharedText& text) {
    // Holds no text, so it owns no memory that could outlive the module.
    static const String nullString;
    return text != nullptr ? *text : nullString;
}

IFCData::SharedText IFCData::addText(const String& text) {
    if (text.empty()) {
        return nullptr;
    }
    if (sharedText() == nullptr) {
        sharedText() = new std::set<SharedText, TextLess>;
    }
    auto made = std::make_shared<String>(text);
    return *sharedText()->insert(made).first;
}

IFCData::ValueType IFCData::addValueType(const String& name, bool unknownAsText) {
    if (valueTypes() == nullptr) {
        valueTypes() = new std::map<std::string, int>{
            {"IfcAreaMeasure", Setting::realType},     {"IfcBoolean", Setting::booleanType},
            {"IfcCalendarDate", Setting::timeType},    {"IfcCountMeasure", Setting::int64Type},
            {"IfcGloballyUniqueId", Setting::idType},  {"IfcIdentifier", Setting::stringType},
            {"IfcInteger", Setting::int64Type},        {"IfcLabel", Setting::stringType},
            {"IfcLengthMeasure", Setting::lengthType}, {"IfcLogical", Setting::booleanType},
            {"IfcMassMeasure", Setting::realType},     {"IfcMassPerLengthMeasure", Setting::realType},
            {"IfcParameterValue", Setting::realType},  {"IfcReal", Setting::realType},
            {"IfcText", Setting::stringType},          {"IfcVolumeMeasure", Setting::realType}};
    }
    ValueType type;
    type.name = addText(name);
    auto it = valueTypes()->find(std::string(name.data()));
    type.code = it != valueTypes()->end() ? it->second : (unknownAsText ? Setting::stringType : 0);
    return type;
}

IFCData::SharedKey IFCData::addKey(const SharedKey& key) {
    if (sharedKey() == nullptr) {
        sharedKey() = new std::set<SharedKey, KeyLess>;
    }
    return *sharedKey()->insert(key).first;
}

void IFCData::reset() {
    delete sharedText();
    sharedText() = nullptr;
    delete sharedKey();
    sharedKey() = nullptr;
}

void IFCData::shutdown() {
    reset();
    delete valueTypes();
    valueTypes() = nullptr;
}

Setting* IFCData::makeValue(const Setting* initial, const ValueType* type) const {
    const ValueType& kind = type != nullptr ? *type : m_valueType;
    std::unique_ptr<Setting> made;
    switch (kind.code) {
    case Setting::booleanType:
        made.reset(new BooleanSetting);
        break;
    case Setting::int32Type:
        made.reset(new Int32Setting);
        break;
    case Setting::int64Type:
        made.reset(new Int64Setting);
        break;
    case Setting::realType:
        made.reset(new RealSetting);
        break;
    case Setting::lengthType:
        made.reset(new LengthSetting);
        break;
    case Setting::stringType:
        made.reset(new StringSetting);
        break;
    case Setting::idType:
        made.reset(new IDSetting(Guid(), false));
        break;
    default:
        return nullptr;
    }
    if (initial != nullptr) {
        *made = *initial;
    }
    return made.release();
}

bool IFCData::extractValue(Setting* destination, const API_IFCPropertyValue& value,
                           const ValueType* type) const {
    const ValueType& kind = type != nullptr ? *type : m_valueType;
    if (destination == nullptr) {
        return false;
    }
    switch (kind.code) {
    case Setting::booleanType:
        destination->setValue(int(value.boolValue ? 1 : 0));
        return true;
    case Setting::int32Type:
    case Setting::int64Type:
        destination->setValue(static_cast<long long>(value.intValue));
        return true;
    case Setting::realType:
    case Setting::lengthType:
        destination->setValue(value.doubleValue);
        return true;
    case Setting::stringType: {
        String text(value.stringValue);
        if (text.empty()) {
            switch (value.primitiveType) {
            case 0:
            case 3:
                text = String(std::to_string(value.intValue).c_str());
                break;
            case 1:
                text = ToString(value.doubleValue, 0);
                break;
            case 2:
                text = value.boolValue ? "1" : "0";
                break;
            default:
                break;
            }
        }
        destination->setValue(text);
        return true;
    }
    case Setting::idType:
        destination->setValue(String(value.stringValue));
        return true;
    default:
        return false;
    }
}

bool IFCData::packValue(API_IFCPropertyValue& value, const Setting* setting, const ValueType* type) const {
    const ValueType& kind = type != nullptr ? *type : m_valueType;
    bool named = kind.name != nullptr;
    if (named) {
        value.valueType = GS::UniString(*kind.name);
    }
    if (setting == nullptr) {
        return false;
    }
    switch (kind.code) {
    case Setting::booleanType:
        value.boolValue = !setting->isNull();
        return named;
    case Setting::int32Type: {
        int number = 0;
        setting->getValue(number);
        value.intValue = number;
        return named;
    }
    case Setting::int64Type: {
        long long number = 0;
        setting->getValue(number);
        value.intValue = number;
        return named;
    }
    case Setting::realType:
    case Setting::lengthType:
        setting->getValue(value.doubleValue);
        return named;
    case Setting::stringType: {
        String text;
        setting->getValue(text);
        value.stringValue = GS::UniString(text);
        return named;
    }
    case Setting::idType: {
        // Identifiers are written in the host's text form, but are not storable.
        IDSetting id(Guid(), true);
        if (const auto* held = dynamic_cast<const IDSetting*>(setting)) {
            id = IDSetting(held->getValue(), true);
        } else {
            String given;
            setting->getValue(given);
            id.setValue(given);
        }
        String text;
        id.getValue(text);
        value.stringValue = GS::UniString(text);
        return false;
    }
    default:
        return false;
    }
}

} // namespace zelvane
