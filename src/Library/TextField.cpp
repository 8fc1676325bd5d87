#include "Library/TextField.h"

#include <locale>
#include <sstream>

namespace zelvane {

namespace {

template <typename T>
bool readValue(const String& text, T& value) {
    std::istringstream in(text.data());
    in.imbue(std::locale::classic());
    T read{};
    if (!(in >> read)) {
        return false;
    }
    value = read;
    return true;
}

template <typename T>
String writeValue(const T& value) {
    std::ostringstream out;
    out.imbue(std::locale::classic());
    out << value;
    return String(out.str().c_str());
}

} // namespace

bool TextField::getData(bool& value) const {
    return readValue(m_text, value);
}

bool TextField::getData(short& value) const {
    return readValue(m_text, value);
}

bool TextField::getData(int& value) const {
    return readValue(m_text, value);
}

bool TextField::getData(unsigned int& value) const {
    return readValue(m_text, value);
}

bool TextField::getData(double& value) const {
    return readValue(m_text, value);
}

bool TextField::getData(String& value) const {
    value = m_text;
    return true;
}

bool TextField::getData(unsigned short& value) const {
    return readValue(m_text, value);
}

void TextField::setData(bool value) {
    m_text = writeValue(value);
}

void TextField::setData(short value) {
    m_text = writeValue(value);
}

void TextField::setData(int value) {
    m_text = writeValue(value);
}

void TextField::setData(unsigned int value) {
    m_text = writeValue(value);
}

void TextField::setData(double value) {
    m_text = writeValue(value);
}

void TextField::setData(const String& value) {
    m_text = value;
}

} // namespace zelvane
