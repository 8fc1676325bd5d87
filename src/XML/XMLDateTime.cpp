#include "XML/XMLDateTime.h"

#include "Environment/String.h"

#include <charconv>
#include <cstdlib>
#include <string>

namespace zelvane {

namespace {

// A number as at least two digits, padded in front with "0".
void appendField(std::string& text, unsigned int value) {
    if (value < 10) {
        text += '0';
    }
    char digits[16];
    auto result = std::to_chars(digits, digits + sizeof(digits), value);
    text.append(digits, result.ptr);
}

// Exactly two decimal digits at `pos`.
bool readField(char const* text, unsigned int pos, unsigned int& value) {
    char high = text[pos];
    char low = text[pos + 1];
    if (high < '0' || high > '9' || low < '0' || low > '9') {
        return false;
    }
    value = static_cast<unsigned int>((high - '0') * 10 + (low - '0'));
    return true;
}

bool hasDate(XMLDateTime::Content content) {
    return content == XMLDateTime::dateTime || content == XMLDateTime::date ||
           content == XMLDateTime::dateTimeZone;
}

bool hasTime(XMLDateTime::Content content) {
    return content != XMLDateTime::date;
}

bool hasZone(XMLDateTime::Content content) {
    return content == XMLDateTime::dateTimeZone || content == XMLDateTime::timeZone;
}

} // namespace

XMLDateTime::XMLDateTime(Time& member, char const* tag, bool attribute, char const* nameSpace)
    : XMLUnit(attribute), m_time(&member), m_ownTime(false), m_tag(tag), m_nameSpace(nameSpace) {}

XMLDateTime::XMLDateTime(char const* tag, bool attribute, char const* nameSpace)
    : XMLUnit(attribute), m_time(&m_ownTime), m_ownTime(false), m_tag(tag), m_nameSpace(nameSpace) {
    setDefault();
}

XMLDateTime::XMLDateTime(XMLDateTime const& other)
    : XMLShipping(other), XMLUnit(other),
      m_time(other.m_time == &other.m_ownTime ? &m_ownTime : other.m_time), m_ownTime(other.m_ownTime),
      m_tag(other.m_tag), m_nameSpace(other.m_nameSpace), m_content(other.m_content), m_read(other.m_read),
      m_valid(other.m_valid) {}

bool XMLDateTime::write(String& text) {
    Time const& time = *m_time;
    std::string form(text.data(), text.dataLength());
    if (hasDate(m_content)) {
        appendField(form, time.getYear() / 100u);
        appendField(form, time.getYear() % 100u);
        form += '-';
        appendField(form, time.getMonth());
        form += '-';
        appendField(form, time.getDay());
        if (m_content != date) {
            form += 'T';
        }
    }
    if (hasTime(m_content)) {
        appendField(form, time.getHour());
        form += ':';
        appendField(form, time.getMinute());
        form += ':';
        appendField(form, time.getSecond());
    }
    if (hasZone(m_content)) {
        int hours = 0;
        unsigned int minutes = 0;
        time.getUTCOffset(hours, minutes);
        if (hours == 0 && minutes == 0) {
            form += 'Z';
        } else {
            // An offset of less than an hour west of UTC has hours 0: its sign is the offset's.
            form += time.getUTCOffset() < 0 ? '-' : '+';
            appendField(form, static_cast<unsigned int>(std::abs(hours)));
            form += ':';
            appendField(form, minutes);
        }
    }
    text.assign(form.data(), static_cast<unsigned int>(form.size()));
    return true;
}

bool XMLDateTime::read(String const& source) {
    m_read = true;
    m_valid = false;
    unsigned int length = source.dataLength();
    char const* text = source.data();
    unsigned int needed = m_content == date ? 10 : hasDate(m_content) ? 19 : 8;
    if (length < needed) {
        return false;
    }
    unsigned int year = 0;
    unsigned int month = 0;
    unsigned int day = 0;
    unsigned int hour = 0;
    unsigned int minute = 0;
    unsigned int second = 0;
    if (hasDate(m_content)) {
        unsigned int century = 0;
        unsigned int years = 0;
        if (!readField(text, 0, century) || !readField(text, 2, years) || text[4] != '-' ||
            !readField(text, 5, month) || text[7] != '-' || !readField(text, 8, day)) {
            return false;
        }
        year = century * 100 + years;
        if (month < 1 || month > 12 || day < 1 || day > 31) {
            return false;
        }
    }
    unsigned int pos = 0;
    if (hasTime(m_content)) {
        if (hasDate(m_content)) {
            if (text[10] != 'T') {
                return false;
            }
            pos = 11;
        }
        if (!readField(text, pos, hour) || text[pos + 2] != ':' || hour > 23 ||
            !readField(text, pos + 3, minute) || text[pos + 5] != ':' || minute > 59 ||
            !readField(text, pos + 6, second) || second > 59) {
            return false;
        }
        pos += 8;
    }
    int offset = 0;
    if (m_content == dateTime || m_content == time) {
        offset = Time::getLocalUTCOffset();
    } else if (hasZone(m_content)) {
        if (pos < length && text[pos] == '.' && pos + 1 < length) {
            pos += 2;
        }
        if (pos < length && text[pos] != 'z' && text[pos] != 'Z') {
            int sign = text[pos] == '-' ? -1 : 1;
            unsigned int hours = 0;
            unsigned int minutes = 0;
            if (pos + 3 > length || !readField(text, pos + 1, hours)) {
                return false;
            }
            // Minutes past 59 would carry into hours beyond the two digits the zone is written with.
            if (pos + 6 <= length && (!readField(text, pos + 4, minutes) || minutes > 59)) {
                return false;
            }
            offset = sign * static_cast<int>(hours * 60 + minutes);
        }
    }
    Time result(year, month, day, hour, minute, second);
    result.setUTCOffset(static_cast<short>(offset));
    *m_time = result;
    m_valid = true;
    return true;
}

void XMLDateTime::setDefault() {
    m_read = false;
    m_valid = true;
    m_time->setToCurrent();
    if (m_content == date) {
        m_time->setToDate();
    } else if (m_content == time) {
        m_time->setToTime();
    }
}

} // namespace zelvane
