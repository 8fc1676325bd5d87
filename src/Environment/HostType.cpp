#include "Environment/HostType.h"

namespace zelvane {
namespace {

constexpr const char* names[] = {"All", "ArchiCAD", "Vectorworks", "Revit"};
constexpr UInt32 nameCount = sizeof names / sizeof names[0];

} // namespace

String HostType::getName() const {
    return m_id < nameCount ? String(names[m_id]) : String();
}

void HostType::setDefault() {
    m_id = defaultID;
    m_tag = nullptr;
}

bool HostType::write(String& text) {
    text = getName();
    return !text.empty();
}

bool HostType::read(const String& text) {
    m_read = true;
    for (UInt32 id = 0; id < nameCount; ++id) {
        if (text == names[id]) {
            m_id = id;
            return true;
        }
    }
    return false;
}

} // namespace zelvane
