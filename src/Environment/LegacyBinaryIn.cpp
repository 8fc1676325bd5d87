#include "Environment/LegacyBinaryIn.h"

#include "Environment/DataBufferIn.h"
#include "Environment/String.h"
#include "Environment/Time.h"
#include "Environment/ToString.h"

#include "GSRoot/IV.hpp"

#include <cstring>
#include <string>

namespace zelvane {

LegacyBinaryIn::LegacyBinaryIn(DataBufferIn* source, Platform::Endianness endianness)
    : m_endianness(endianness) {
    setSource(source, endianness);
}

void LegacyBinaryIn::setSource(DataBufferIn* source, Platform::Endianness endianness) {
    m_state = 0;
    m_source = source;
    m_endianness = endianness;
    if (m_source == nullptr) {
        addState(failure);
        return;
    }
    // Binary data may begin with bytes that look like a byte-order mark: they are data.
    m_source->readMarkAsData();
    takeState();
}

unsigned short LegacyBinaryIn::getPlatformSign() const {
    return int(m_endianness) == 2 ? littleEndianSign : bigEndianSign;
}

int LegacyBinaryIn::getLastError() const {
    return m_source == nullptr ? 1 : m_source->getLastError();
}

bool LegacyBinaryIn::ready() const {
    return m_source != nullptr && (m_source->getState() & failMask) == 0;
}

void LegacyBinaryIn::takeState() {
    m_state = m_source->getState();
}

LegacyBinaryIn& LegacyBinaryIn::get(char& c) {
    if (ready()) {
        m_source->get(c);
        takeState();
    }
    return *this;
}

void LegacyBinaryIn::readBytes(unsigned char* bytes, int size) {
    std::memset(bytes, 0, std::size_t(size));
    for (int i = 0; i < size; ++i) {
        char c = 0;
        m_source->get(c);
        if (m_source->getState() != 0) {
            break;
        }
        bytes[i] = static_cast<unsigned char>(c);
    }
    takeState();
}

void LegacyBinaryIn::readText(String& text) {
    std::string bytes;
    for (;;) {
        char c = 0;
        m_source->get(c);
        // Any state bit ends the text: at the end of the data nothing more will come.
        if (m_source->getState() != 0 || c == '\0') {
            break;
        }
        bytes.push_back(c);
    }
    takeState();
    text.clear();
    text.append(bytes.data(), unsigned(bytes.size()));
}

LegacyBinaryIn& LegacyBinaryIn::operator>>(String& text) {
    if (ready()) {
        readText(text);
    }
    return *this;
}

namespace {

template <typename T, typename Wire>
void fromBytes(unsigned char const* bytes, T& value, GSErrCode (*convert)(GSPlatformSign, Wire*),
               unsigned short sign) {
    static_assert(sizeof(T) == sizeof(Wire), "the value is converted in its own width");
    Wire wire;
    std::memcpy(&wire, bytes, sizeof(Wire));
    convert(sign, &wire);
    std::memcpy(&value, &wire, sizeof(T));
}

} // namespace

template <typename T, typename Convert>
void LegacyBinaryIn::readScalar(T& value, Convert convert) {
    if (ready()) {
        unsigned char bytes[sizeof(T)];
        readBytes(bytes, sizeof(bytes));
        fromBytes(bytes, value, convert, getPlatformSign());
    }
}

LegacyBinaryIn& LegacyBinaryIn::operator>>(double& value) {
    readScalar(value, IVDouble);
    return *this;
}

LegacyBinaryIn& LegacyBinaryIn::operator>>(int& value) {
    readScalar(value, IVLong);
    return *this;
}

LegacyBinaryIn& LegacyBinaryIn::operator>>(unsigned int& value) {
    readScalar(value, IVULong);
    return *this;
}

LegacyBinaryIn& LegacyBinaryIn::operator>>(short& value) {
    readScalar(value, IVShort);
    return *this;
}

LegacyBinaryIn& LegacyBinaryIn::operator>>(unsigned short& value) {
    readScalar(value, IVUShort);
    return *this;
}

LegacyBinaryIn& LegacyBinaryIn::operator>>(bool& value) {
    if (ready()) {
        char c = 0;
        m_source->get(c);
        if (m_source->getState() == 0) {
            value = c != 0;
        }
        takeState();
    }
    return *this;
}

LegacyBinaryIn& LegacyBinaryIn::operator>>(Time& value) {
    if (!ready()) {
        return *this;
    }
    String text;
    readText(text);
    // Day, month, year, hour, minute, second, each closed by "/"; the last "/" may be missing.
    struct Field {
        int low;
        int high;
    };
    static constexpr Field fields[] = {{1, 31}, {1, 12}, {1, 2100}, {0, 23}, {0, 59}, {0, 59}};
    int values[6] = {};
    unsigned int start = 0;
    for (int i = 0; i < 6; ++i) {
        unsigned int slash = text.find('/', start);
        if (slash == String::npos && i < 5) {
            return *this;
        }
        String field = text.substr(start, slash == String::npos ? String::npos : slash - start);
        ToInt32 number(field);
        if (field.empty() || !number.isValid() || number.getValue() < fields[i].low ||
            number.getValue() > fields[i].high) {
            return *this;
        }
        values[i] = number.getValue();
        start = slash == String::npos ? text.size() : slash + 1;
    }
    value = Time(unsigned(values[2]), unsigned(values[1]), unsigned(values[0]), unsigned(values[3]),
                 unsigned(values[4]), unsigned(values[5]));
    return *this;
}

} // namespace zelvane
