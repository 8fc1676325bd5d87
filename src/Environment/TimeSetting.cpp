#include "Environment/TimeSetting.h"

#include "Environment/String.h"
#include "Environment/StringUtilities.h"
#include "Environment/ToString.h"

namespace zelvane {

namespace {

// The field right-aligned to width with blanks; false when it is longer.
bool aligned(unsigned int field, unsigned int width, String& text) {
    text = ToString(field);
    return padRight(text, width, String(" "));
}

// The number in text, when it lies within low and high.
bool number(String const& text, int low, int high, int& value) {
    ToInt32 parsed(text);
    value = parsed.getValue();
    return parsed.isValid() && value >= low && value <= high;
}

} // namespace

TimeSetting& TimeSetting::operator=(TimeSetting const& other) {
    operator=(static_cast<Setting const&>(other));
    return *this;
}

TimeSetting* TimeSetting::clone() const {
    return new TimeSetting(*this);
}

void TimeSetting::getValue(String& value) const {
    String day;
    String month;
    String year;
    value.clear();
    if (aligned(m_value.getDay(), 2, day) && aligned(m_value.getMonth(), 2, month) &&
        aligned(m_value.getYear(), 4, year)) {
        value = day;
        value += "/";
        value += month;
        value += "/";
        value += year;
    }
}

void TimeSetting::getValue(double& value) const {
    value = m_value.getTotalSeconds();
}

void TimeSetting::getValue(int& value) const {
    value = m_value.getTotalSeconds();
}

void TimeSetting::getValue(Time& value) const {
    value = m_value;
}

void TimeSetting::getValue(long long& value) const {
    value = m_value.getTotalSeconds();
}

bool TimeSetting::isNull() const {
    return m_value.isNull();
}

int TimeSetting::getType() const {
    return timeType;
}

void TimeSetting::setDefault() {
    m_value = Time(false);
}

void TimeSetting::setValue(String const& value) {
    m_value = Time(false);
    if (value.empty()) {
        return;
    }
    unsigned int first = value.find('/');
    if (first == String::npos || first == 0) {
        return;
    }
    unsigned int second = value.find('/', first + 1);
    if (second == String::npos || second + 1 >= value.size()) {
        return;
    }
    int day = 0;
    int month = 0;
    int year = 0;
    if (number(value.substr(0, first), 1, 31, day) &&
        number(value.substr(first + 1, second - first - 1), 1, 12, month) &&
        number(value.substr(second + 1), 1900, 9999, year)) {
        m_value = Time(unsigned(year), unsigned(month), unsigned(day), 0, 0, 0);
    }
}

void TimeSetting::setValue(double value) {
    m_value.setTotalSeconds(truncateToInt(value));
}

void TimeSetting::setValue(int const& value) {
    m_value.setTotalSeconds(value);
}

void TimeSetting::setValue(Time const& value) {
    m_value = value;
}

void TimeSetting::setValue(long long const& value) {
    m_value.setTotalSeconds(static_cast<int>(static_cast<unsigned int>(value)));
}

} // namespace zelvane
