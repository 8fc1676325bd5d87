#include "Library/ComponentDefaults.h"

#include "Library/Library.h"

#include <new>

namespace zelvane {

void ComponentDefaults::release() {
    m_parameters.deleteAllParameters();
    m_fetched = false;
    m_readable = false;
}

bool ComponentDefaults::fetch(const ComponentLink& link) {
    release();
    Library* library = link.getLibrary();
    if (library == nullptr) {
        return false;
    }
    Int32 count = 0;
    API_AddParType** records = library->getMemo(link, &count, &m_width, &m_depth);
    if (records == nullptr) {
        return false;
    }
    // Read once, for every element to take them from: the records themselves are not kept.
    try {
        m_readable = m_parameters.unpackParameter(records);
    } catch (const std::bad_alloc&) {
        // Without memory to read them, none are held: each element fetches its own.
        ACAPI_DisposeAddParHdl(&records);
        release();
        return false;
    }
    ACAPI_DisposeAddParHdl(&records);
    m_fetched = true;
    return true;
}

} // namespace zelvane
