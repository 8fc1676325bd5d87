#include "IFC/IFCEnumeratedValue.h"

#include <set>

namespace zelvane {

IFCEnumeratedValue::IFCEnumeratedValue(const API_IFCProperty& record) : IFCProperty(record) {
    std::set<SharedKey, KeyLess> chosen;
    for (const API_IFCPropertyValue& item : record.enumerationChosen) {
        SharedKey value(makeValue(nullptr));
        if (value != nullptr && extractValue(value.get(), item)) {
            chosen.insert(value);
        }
    }
    for (const API_IFCPropertyValue& item : record.enumerationValues) {
        SharedKey value(makeValue(nullptr));
        if (value == nullptr || !extractValue(value.get(), item)) {
            continue; // a value without a setting has no key
        }
        SharedKey key = addKey(value);
        m_values[key] = chosen.count(key) != 0;
    }
}

IFCEnumeratedValue* IFCEnumeratedValue::create(const API_IFCProperty& record) {
    if (!isAcceptable(record, kind) || record.enumerationChosen.IsEmpty() ||
        record.enumerationChosen[0].valueType.IsEmpty()) {
        return nullptr;
    }
    return new IFCEnumeratedValue(record);
}

bool IFCEnumeratedValue::pack(API_IFCProperty& record) const {
    bool head = IFCProperty::pack(record);
    record.enumerationValues.Clear();
    record.enumerationChosen.Clear();
    for (const auto& [key, isChosen] : m_values) {
        API_IFCPropertyValue packed;
        if (key != nullptr && packValue(packed, key.get())) {
            record.enumerationValues.Push(packed);
            if (isChosen) {
                record.enumerationChosen.Push(packed);
            }
        }
    }
    return head && !record.enumerationValues.IsEmpty();
}

} // namespace zelvane
