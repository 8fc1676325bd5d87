#include "XML/XMLTypeProxy.h"

#include "XML/NumberText.h"

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
    writeNumber(text, static_cast<long long>(*getValue()));
    return true;
}

// Numbers are stored whether or not the text parsed: what the conversion leaves is the value.
template <>
bool XMLTypeProxy<int>::read(String const& text) {
    setValue(readInt32(text));
    return true;
}

template <>
bool XMLTypeProxy<unsigned int>::write(String& text) {
    writeNumber(text, static_cast<unsigned long long>(*getValue()));
    return true;
}

// Read as unsigned, so values from 2^31 up come back as written.
template <>
bool XMLTypeProxy<unsigned int>::read(String const& text) {
    setValue(readUInt32(text));
    return true;
}

template <>
bool XMLTypeProxy<short>::write(String& text) {
    writeNumber(text, static_cast<long long>(*getValue()));
    return true;
}

template <>
bool XMLTypeProxy<short>::read(String const& text) {
    setValue(static_cast<short>(static_cast<unsigned short>(readInt32(text))));
    return true;
}

template <>
bool XMLTypeProxy<double>::write(String& text) {
    writeNumber(text, *getValue());
    return true;
}

template <>
bool XMLTypeProxy<double>::read(String const& text) {
    setValue(readDouble(text));
    return true;
}

template <>
bool XMLTypeProxy<unsigned long long>::write(String& text) {
    writeNumber(text, *getValue());
    return true;
}

template <>
bool XMLTypeProxy<unsigned long long>::read(String const& text) {
    setValue(readUInt64(text));
    return true;
}

template <>
bool XMLTypeProxy<Guid>::write(String& text) {
    getValue()->copyTo(text);
    return true;
}

template <>
bool XMLTypeProxy<Guid>::read(String const& text) {
    setValue(Guid(text));
    return true;
}

} // namespace zelvane
