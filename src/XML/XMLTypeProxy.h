// Binds one member of type T as a leaf. The member is not owned; the tag and namespace are
// literals of the owner.
#pragma once

#include "Environment/Guid.h"
#include "Environment/String.h"
#include "XML/XMLUnit.h"

namespace zelvane {

template <typename T>
class XMLTypeProxy : public XMLUnit {
public:
    XMLTypeProxy(T& member, char const* tag, bool attribute = false, char const* nameSpace = nullptr)
        : XMLUnit(attribute), m_value(&member), m_tag(tag), m_nameSpace(nameSpace) {}

    bool write(String& text) override;
    virtual T* getValue() const { return m_value; }
    char const* getTag() const override { return m_tag; }
    char const* getNameSpace() const override { return m_nameSpace; }
    void setDefault() override;
    void setTag(char const* tag) override { m_tag = tag; }
    bool read(String const& text) override;
    virtual void setValue(T const& value) {
        if (&value != m_value) {
            *m_value = value;
        }
    }

protected:
    // For bindings that hold their own value: the member is set once that value exists.
    void rebind(T& member) { m_value = &member; }

private:
    T* m_value;
    char const* m_tag;
    char const* m_nameSpace;
};

// Types whose text form is not given below (the host's library-part type, the object map's source
// type) define write and read with their owners.
template <typename T>
void XMLTypeProxy<T>::setDefault() {
    setValue(T());
}

template <>
bool XMLTypeProxy<String>::write(String& text);
template <>
bool XMLTypeProxy<String>::read(String const& text);
template <>
bool XMLTypeProxy<bool>::write(String& text);
template <>
bool XMLTypeProxy<bool>::read(String const& text);
template <>
bool XMLTypeProxy<int>::write(String& text);
template <>
bool XMLTypeProxy<int>::read(String const& text);
template <>
bool XMLTypeProxy<unsigned int>::write(String& text);
template <>
bool XMLTypeProxy<unsigned int>::read(String const& text);
template <>
bool XMLTypeProxy<short>::write(String& text);
template <>
bool XMLTypeProxy<short>::read(String const& text);
template <>
bool XMLTypeProxy<double>::write(String& text);
template <>
bool XMLTypeProxy<double>::read(String const& text);
template <>
bool XMLTypeProxy<unsigned long long>::write(String& text);
template <>
bool XMLTypeProxy<unsigned long long>::read(String const& text);
template <>
bool XMLTypeProxy<Guid>::write(String& text);
template <>
bool XMLTypeProxy<Guid>::read(String const& text);

} // namespace zelvane
