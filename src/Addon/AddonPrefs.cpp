#include "Addon/AddonPrefs.h"

#include "Addon/Addon.h"
#include "Environment/Host.h"
#include "Environment/StringUtilities.h"
#include "Environment/ToString.h"
#include "Interface/ErrorAlert.h"
#include "XML/XMLTypeProxy.h"

namespace zelvane {

AddonPrefs::AddonPrefs() {
    setDefault();
}

double AddonPrefs::runningVersion() {
    return addon != nullptr ? double(ToDouble(addon->getProductVersion())) : 0.0;
}

void AddonPrefs::setDefault() {
    m_version = runningVersion();
}

void AddonPrefs::merge(const Package& other) {
    auto* prefs = dynamic_cast<const AddonPrefs*>(&other);
    if (prefs != nullptr && prefs->m_version - m_version > tolerance) {
        m_version = prefs->m_version;
    }
}

bool AddonPrefs::validate() {
    double running = runningVersion();
    if (m_version - running > tolerance) {
        // Saved by a newer version: the user is told, and its version stays recorded.
        if (addon != nullptr) {
            String message = host.getLocalString(32700, 28);
            replaceAll(message, String("$1"), addon->getProductInfo().name);
            replaceAll(message, String("$2"), addon->getProductVersion());
            replaceAll(message, String("$3"), getVersionString(m_version));
            ErrorAlert().show(message);
        }
        return true;
    }
    m_version = running;
    return true;
}

Shipping* AddonPrefs::getShipping(std::size_t index, bool) {
    return index == 0 ? new XMLTypeProxy<double>(m_version, "version") : nullptr;
}

Shipping* AddonPrefs::getShipping(const String& tag, const String&) {
    return tag == "version" ? getShipping(0, false) : nullptr;
}

} // namespace zelvane
