#include "Library/ComponentDefaults.h"

#include "Library/Library.h"

namespace zelvane {

ComponentDefaults::~ComponentDefaults() {
    if (m_records != nullptr) {
        ACAPI_DisposeAddParHdl(&m_records);
    }
}

bool ComponentDefaults::fetch(const ComponentLink& link) {
    if (m_records != nullptr) {
        ACAPI_DisposeAddParHdl(&m_records);
    }
    Library* library = link.getLibrary();
    if (library == nullptr) {
        return false;
    }
    Int32 count = 0;
    m_records = library->getMemo(link, &count, &m_width, &m_depth);
    return m_records != nullptr;
}

} // namespace zelvane
