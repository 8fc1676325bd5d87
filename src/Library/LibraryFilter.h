// Which parts a walk through the library yields: a name pattern ("*" the wildcard), a part type
// (0: any) and, in derived filters, a test of the loaded part. The filter keeps the part count of
// the last forward walk when asked to.
#pragma once

#include "ACAPI/LibraryParts.hpp"
#include "Environment/SearchString.h"

namespace zelvane {

class ComponentSource;

class LibraryFilter {
public:
    explicit LibraryFilter(const String& pattern = "*", API_LibTypeID type = 0, bool cacheCount = false,
                           bool flag = false)
        : m_pattern(pattern, "*"), m_type(type), m_cacheCount(cacheCount), m_flag(flag) {}
    LibraryFilter(const LibraryFilter&) = default;
    virtual ~LibraryFilter() = default;

    virtual LibraryFilter* clone() const { return new LibraryFilter(*this); }
    // Whether a loaded part passes; every part in this base class.
    virtual bool isAccepted(const ComponentSource&) const { return true; }

    bool matches(const String& name) const { return m_pattern == name; }
    API_LibTypeID getType() const { return m_type; }
    bool isCacheCount() const { return m_cacheCount; }
    bool getFlag() const { return m_flag; }
    Int32 getCachedCount() const { return m_count; }
    void setCachedCount(Int32 count) const { m_count = count; }

private:
    SearchString m_pattern;
    API_LibTypeID m_type;
    bool m_cacheCount;
    bool m_flag;
    mutable Int32 m_count = 0;
};

} // namespace zelvane
