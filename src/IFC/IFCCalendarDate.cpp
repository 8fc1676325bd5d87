#include "IFC/IFCCalendarDate.h"

#include "Environment/Time.h"
#include "Environment/TimeSetting.h"

namespace zelvane {

IFCCalendarDate::IFCCalendarDate(const Setting& value, const String& name, const String& setName,
                                 const String& valueTypeName, const String& description)
    : IFCProperty(name, setName, valueTypeName, description), m_value(value.clone()) {}

IFCCalendarDate::IFCCalendarDate(const IFCCalendarDate& other)
    : IFCProperty(other), m_value(other.m_value != nullptr ? other.m_value->clone() : nullptr) {}

IFCCalendarDate::IFCCalendarDate(const API_IFCProperty& record) : IFCProperty(record) {
    Time now(true);
    if (!record.date.isEmpty) {
        // The record's date at the current time of day.
        now = Time(record.date.year, record.date.month, record.date.day, now.getHour(), now.getMinute(),
                   now.getSecond());
    }
    m_value.reset(new TimeSetting(now));
}

IFCCalendarDate* IFCCalendarDate::create(const API_IFCProperty& record) {
    return isAcceptable(record, kind) ? new IFCCalendarDate(record) : nullptr;
}

bool IFCCalendarDate::pack(API_IFCProperty& record) const {
    if (!IFCProperty::pack(record)) {
        return false;
    }
    if (const auto* time = dynamic_cast<const TimeSetting*>(m_value.get())) {
        Time date = time->getValue();
        record.date.isEmpty = false;
        record.date.year = date.getYear() & 0x7FFF;
        record.date.month = date.getMonth() & 0xF;
        record.date.day = date.getDay() & 0x1F;
    }
    return true;
}

void IFCCalendarDate::setSetting(const Setting& value) {
    if (m_value != nullptr) {
        *m_value = value;
    }
}

} // namespace zelvane
