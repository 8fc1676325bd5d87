// The filters of a record list: a record is listed when every filter accepts it. With the
// selection filtered, the record asked to be selected is listed whatever the filters say.
#pragma once

#include <memory>
#include <vector>

namespace zelvane {

template <typename D>
class UserDataFilteredControl {
public:
    using Pair = typename D::Pair;
    using FilterPtr = std::shared_ptr<typename D::Filter>;

    virtual ~UserDataFilteredControl() = default;

    void addFilter(FilterPtr const& filter) {
        if (filter != nullptr) {
            m_filters.push_back(filter);
        }
    }
    void clearFilters() { m_filters.clear(); }
    typename D::FilterList const& getFilters() const { return m_filters; }
    // Every filter accepts the pair; no filter accepts everything.
    bool filterAccepts(Pair const& pair) const {
        for (auto const& filter : m_filters) {
            if (!filter->isAccepted(pair)) {
                return false;
            }
        }
        return true;
    }
    bool isSelectionFiltered() const { return m_selectionFiltered; }
    void setSelectionFiltered(bool filtered) { m_selectionFiltered = filtered; }

private:
    typename D::FilterList m_filters;
    bool m_selectionFiltered = false;
};

} // namespace zelvane
