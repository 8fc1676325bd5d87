#include "Remap/RemappingPrefs.h"

#include "Environment/Host.h"
#include "XML/XMLTypeProxy.h"

#include <stdexcept>

namespace zelvane::remap {

namespace {

// The element names of the five kinds, in kind order. "legaceSource" is what stored projects hold.
constexpr char const* tags[RemappingPrefs::kindCount] = {"ifcSource", "dwgSource", "gsmSource",
                                                         "missingSource", "legaceSource"};

std::size_t indexOf(ObjectMap::Type type) {
    auto index = static_cast<std::size_t>(type);
    if (type < ObjectMap::IFC || index >= RemappingPrefs::kindCount) {
        throw std::out_of_range("no source kind");
    }
    return index;
}

} // namespace

RemappingPrefs::RemappingPrefs() {
    setDefault();
}

void RemappingPrefs::setDefault() {
    String name = ObjectMap::defaultSourceName();
    for (String& entry : m_names) {
        entry = name;
    }
}

Shipping* RemappingPrefs::getShipping(std::size_t index, bool) {
    if (index >= kindCount) {
        return nullptr;
    }
    return new XMLTypeProxy<String>(m_names[index], tags[index]);
}

Shipping* RemappingPrefs::getShipping(String const& tag, String const&) {
    for (std::size_t index = 0; index < kindCount; ++index) {
        if (tag == tags[index]) {
            return getShipping(index, false);
        }
    }
    return nullptr;
}

String const& RemappingPrefs::getSourceName(ObjectMap::Type type) const {
    return m_names[indexOf(type)];
}

void RemappingPrefs::setSourceName(String const& name, ObjectMap::Type type) {
    m_names[indexOf(type)] = name;
}

} // namespace zelvane::remap
