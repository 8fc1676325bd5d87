// Lets a package store hand out only the packages registered for one preference context.
#pragma once

#include "Addon/Addon.h"
#include "XML/PackageStore.h"

#include <map>

namespace zelvane {

class ContextFilter : public PackageStore::Filter {
public:
    using ContextMap = std::map<unsigned int, Addon::Context>;

    // The map is not copied: it must outlive the filter.
    ContextFilter(Addon::Context context, const ContextMap& contexts)
        : m_context(context), m_contexts(&contexts) {}

    // True when the package's code is registered with exactly this context.
    bool accept(const Package& package) const override {
        auto it = m_contexts->find(package.getID());
        return it != m_contexts->end() && it->second == m_context;
    }

private:
    Addon::Context m_context;
    const ContextMap* m_contexts;
};

} // namespace zelvane
