#include "Environment/PlatformSignature.h"

#include "XML/XMLTypeProxy.h"
#include "XML/XMLUnitProxy.h"

#include <string>

namespace zelvane {

bool PlatformSignature::operator<(const PlatformSignature& other) const {
    Int32 host = Int32(m_host.getID());
    Int32 otherHost = Int32(other.m_host.getID());
    return host != otherHost ? host < otherHost : m_version < other.m_version;
}

String PlatformSignature::getName() const {
    String name = m_host.getName();
    name += " ";
    name += std::to_string(m_version).c_str();
    return name;
}

void PlatformSignature::setDefault() {
    m_host = HostType::allID;
    m_version = 0;
}

Shipping* PlatformSignature::getShipping(std::size_t index, bool) {
    switch (index) {
    case 0: {
        auto* host = new XMLUnitProxy(m_host);
        host->setEssential(m_host.getID() != HostType::allID);
        return host;
    }
    case 1: {
        auto* version = new XMLTypeProxy<short>(m_version, "version", true);
        version->setEssential(m_version != 0);
        return version;
    }
    default:
        return nullptr;
    }
}

Shipping* PlatformSignature::getShipping(const String& tag, const String&) {
    if (tag == "host") {
        return getShipping(0, false);
    }
    if (tag == "version") {
        return getShipping(1, true);
    }
    return nullptr;
}

} // namespace zelvane
