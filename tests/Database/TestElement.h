// An element kind for tests: it keeps its host record and, when loaded with memo parts, the
// polygon coordinates of its memo.
#pragma once

#include "ACAPI/ElementMemo.hpp"
#include "Database/Drawing.h"
#include "Element/Element.h"
#include "GSRoot/BM.hpp"
#include "Memo/ElementMemoStore.h"

#include <cstring>
#include <vector>

namespace zelvane {

class TestElement : public Element {
public:
    TestElement(const API_Element& record, const ElementLink& link) : Element(link), m_record(record) {}

    static Element* create(const API_Element& record, const ElementLink& link) {
        return new TestElement(record, link);
    }

    Element* clone() const override { return new TestElement(*this); }
    API_Element* getData() const override { return new API_Element(m_record); }
    // A memo of the coordinates when the element holds any.
    API_ElementMemo* getMemo(unsigned long long& mask) const override {
        mask = 0;
        if (m_coords.empty()) {
            return nullptr;
        }
        API_ElementMemo* memo = ElementMemoStore::makeRecord();
        GSHandle h = BMAllocateHandle(GSSize(m_coords.size() * sizeof(API_Coord)), 0, 0);
        std::memcpy(*h, m_coords.data(), m_coords.size() * sizeof(API_Coord));
        memo->coords = reinterpret_cast<API_Coord**>(h);
        mask = APIMemoMask_Polygon;
        return memo;
    }
    // Takes the coordinates from the store's record, or reads them from the host.
    void getMemo(unsigned long long mask, MemoStore*& store) const override {
        Element::getMemo(mask, store);
        ++memoLoads;
        const API_ElementMemo* memo = nullptr;
        API_ElementMemo* read = nullptr;
        if (auto* given = dynamic_cast<ElementMemoStore*>(store)) {
            memo = given->getSource();
        } else if (Drawing* source = getSource()) {
            read = source->getMemo(getLink(), mask);
            memo = read;
        }
        if (memo != nullptr && memo->coords != nullptr) {
            std::size_t n = std::size_t(BMGetHandleSize(reinterpret_cast<GSConstHandle>(memo->coords))) /
                            sizeof(API_Coord);
            m_coords.assign(*memo->coords, *memo->coords + n);
        }
        ElementMemoStore::disposeRecord(read);
    }
    API_Elem_Head& getHead() override { return m_record.header; }
    const API_Elem_Head& getHead() const override { return m_record.header; }

    std::vector<API_Coord>& coords() const { return m_coords; }
    static inline int memoLoads = 0;

private:
    API_Element m_record;
    mutable std::vector<API_Coord> m_coords;
};

} // namespace zelvane
