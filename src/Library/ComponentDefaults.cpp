#include "Library/ComponentDefaults.h"

#include "Library/Library.h"

#include <new>

namespace zelvane {

ComponentDefaults::~ComponentDefaults() {
    release();
}

void ComponentDefaults::release() {
    if (m_records != nullptr) {
        ACAPI_DisposeAddParHdl(&m_records);
    }
    m_parameters.deleteAllParameters();
    m_readable = false;
}

bool ComponentDefaults::fetch(const ComponentLink& link) {
    release();
    Library* library = link.getLibrary();
    if (library == nullptr) {
        return false;
    }
    Int32 count = 0;
    m_records = library->getMemo(link, &count, &m_width, &m_depth);
    if (m_records == nullptr) {
        return false;
    }
    try {
        m_readable = m_parameters.unpackParameter(m_records);
    } catch (const std::bad_alloc&) {
        // Without memory to read them, none are held: each element fetches its own.
        release();
        return false;
    }
    return true;
}

} // namespace zelvane
