// The memo part of a composite's structure: its skins (cores) and the lines between them (edges),
// a line before each skin and one after the last.
#pragma once

#include "ACAPI/Attributes.hpp"
#include "Attribute/Fill.h"
#include "Attribute/Material.h"
#include "Environment/Vector.h"
#include "Memo/Memo.h"

#include <memory>

namespace zelvane {

class ConstructionMemo : public Memo {
public:
    class Core {
    public:
        explicit Core(const API_CWallComponent& record = API_CWallComponent()) : m_record(record) {}
        virtual ~Core() = default;
        virtual Core* clone() const { return new Core(*this); }

        const API_CWallComponent& getRecord() const { return m_record; }
        API_CWallComponent& getRecord() { return m_record; }
        // The skin's building material and its cut fill, in the front attribute set.
        Material getMaterial() const { return Material(attribute_index(m_record.buildingMaterial)); }
        Fill getFill() const { return getMaterial().getCutFill(); }

    private:
        API_CWallComponent m_record;
    };

    class Edge {
    public:
        explicit Edge(const API_CWallLineComponent& record = API_CWallLineComponent()) : m_record(record) {}
        virtual ~Edge() = default;
        virtual Edge* clone() const { return new Edge(*this); }

        const API_CWallLineComponent& getRecord() const { return m_record; }
        API_CWallLineComponent& getRecord() { return m_record; }

    private:
        API_CWallLineComponent m_record;
    };

    ConstructionMemo() = default;
    ConstructionMemo(const ConstructionMemo& other);
    ConstructionMemo& operator=(const ConstructionMemo& other);
    ~ConstructionMemo() override;

    bool isValid() const override { return m_cores != nullptr && m_edges != nullptr; }
    UInt64 getFilter() const override { return APIMemoMask_All; }
    bool pack(MemoStore* store) const override;
    bool unpack(const MemoStore& store) const override;

    // Fetched first; 0 when missing.
    int getCoreCount() const;
    int getEdgeCount() const;
    // Null when missing or outside.
    Core* getCore(int i) const;
    Edge* getEdge(int i) const;
    // Takes the core in place of the one at i; outside the list it is not taken (false) and the
    // caller keeps it.
    bool setCore(Core* core, int i);

private:
    mutable std::unique_ptr<Vector<Core>> m_cores;
    mutable std::unique_ptr<Vector<Edge>> m_edges;
};

} // namespace zelvane
