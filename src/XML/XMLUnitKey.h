// A leaf that holds its own value of type T: the key object of a map entry.
#pragma once

#include "XML/XMLTypeProxy.h"

namespace zelvane {

template <typename T>
class XMLUnitKey : public XMLTypeProxy<T> {
public:
    XMLUnitKey(char const* tag, bool attribute = false, char const* nameSpace = nullptr)
        : XMLTypeProxy<T>(m_key, tag, attribute, nameSpace), m_key() {
        this->rebind(m_key);
    }
    XMLUnitKey(T const& key, char const* tag, bool attribute = false, char const* nameSpace = nullptr)
        : XMLTypeProxy<T>(m_key, tag, attribute, nameSpace), m_key(key) {
        this->rebind(m_key);
    }
    // A copy points at its own value, never at the original's.
    XMLUnitKey(XMLUnitKey const& other) : XMLTypeProxy<T>(other), m_key(other.m_key) { this->rebind(m_key); }
    XMLUnitKey& operator=(XMLUnitKey const&) = delete;

    T const& getKey() const { return m_key; }

private:
    T m_key;
};

} // namespace zelvane
