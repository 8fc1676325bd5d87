#include "XML/XMLTypeProxy.h"

#include "Environment/ToString.h"

namespace zelvane {

template <>
bool XMLTypeProxy<String>::write(String& text) {
    text = *getValue();
    return true;
}

template <>
bool XMLTypeProxy<String>::read(String const& text) {
    setValue(text);
    return true;
}

template <>
bool XMLTypeProxy<bool>::write(String& text) {
    text = *getValue() ? "1" : "0";
    return true;
}

template <>
bool XMLTypeProxy<bool>::read(String const& text) {
    String word = text.toLowercase();
    if (word == "true" || word == "1") {
        setValue(true);
    } else if (word == "false" || word == "0") {
        setValue(false);
    } else {
        return false;
    }
    return true;
}

template <>
bool XMLTypeProxy<int>::write(String& text) {
    text = ToString(*getValue());
    return true;
}

// Numbers are stored whether or not the text parsed: what the conversion leaves is the value.
template <>
bool XMLTypeProxy<int>::read(String const& text) {
    setValue(ToInt32(text).getValue());
    return true;
}

template <>
bool XMLTypeProxy<unsigned int>::write(String& text) {
    text = ToString(*getValue());
    return true;
}

// Read as unsigned, so values from 2^31 up come back as written.
template <>
bool XMLTypeProxy<unsigned int>::read(String const& text) {
    setValue(ToUInt32(text).getValue());
    return true;
}

template <>
bool XMLTypeProxy<short>::write(String& text) {
    text = ToString(static_cast<int>(*getValue()));
    return true;
}

template <>
bool XMLTypeProxy<short>::read(String const& text) {
    setValue(static_cast<short>(static_cast<unsigned short>(ToInt32(text).getValue())));
    return true;
}

template <>
bool XMLTypeProxy<double>::write(String& text) {
    text = ToString(*getValue(), 0.0);
    return true;
}

template <>
bool XMLTypeProxy<double>::read(String const& text) {
    setValue(ToDouble(text).getValue());
    return true;
}

template <>
bool XMLTypeProxy<unsigned long long>::write(String& text) {
    text = ToString(*getValue());
    return true;
}

template <>
bool XMLTypeProxy<unsigned long long>::read(String const& text) {
    setValue(ToUInt64(text).getValue());
    return true;
}

template <>
bool XMLTypeProxy<Guid>::write(String& text) {
    text = getValue()->toString();
    return true;
}

template <>
bool XMLTypeProxy<Guid>::read(String const& text) {
    setValue(Guid(text));
    return true;
}

} // namespace zelvane
