// A part's default parameters and own sizes, fetched from the host once and kept, for pointing many
// elements at the one part without asking the host again for each.
#pragma once

#include "ACAPI/LibraryParts.hpp"
#include "Database/ComponentLink.h"
#include "Library/ParameterList.h"

namespace zelvane {

class ComponentDefaults {
public:
    ComponentDefaults() = default;
    ComponentDefaults(const ComponentDefaults&) = delete;
    ComponentDefaults& operator=(const ComponentDefaults&) = delete;
    ~ComponentDefaults() = default;

    // Fetches the linked part's defaults through its library, in place of any held; false when
    // they cannot be had (none are then held).
    bool fetch(const ComponentLink& link);
    bool isFetched() const { return m_fetched; }
    // The records read once as parameters, for every element to take them from; null when not
    // fetched or when a record makes no parameter.
    const ParameterList* getParameters() const { return m_readable ? &m_parameters : nullptr; }
    double getWidth() const { return m_width; }
    double getDepth() const { return m_depth; }

private:
    void release();

    bool m_fetched = false;
    ParameterList m_parameters;
    bool m_readable = false;
    double m_width = 0.0;
    double m_depth = 0.0;
};

} // namespace zelvane
