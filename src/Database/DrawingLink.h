// Names one drawing database of the project and, for the floor plan and the 3D model, a storey.
#pragma once

#include "ACAPI/Elements.hpp"
#include "Attribute/AttributeIndex.h"
#include "Environment/Guid.h"

namespace zelvane {

class Storey;

// The host's identifier of a drawing database; null for the floor plan and the 3D model.
using DatabaseGuid = Guid;

class DrawingLink {
public:
    DrawingLink(API_WindowTypeID type = 0, const DatabaseGuid& id = DatabaseGuid(),
                attribute_index storey = attribute_index())
        : m_type(type), m_id(id), m_storey(storey) {}

    API_WindowTypeID getType() const { return m_type; }
    const DatabaseGuid& getID() const { return m_id; }
    attribute_index getStoreyIndex() const { return m_storey; }

    // The same window type, and for a database with its own identifier the same identifier; the
    // storey is not compared.
    bool operator==(const DrawingLink& other) const;
    bool operator!=(const DrawingLink& other) const { return !(*this == other); }
    bool operator<(const DrawingLink& other) const;
    bool isValid() const;
    // The floor plan, the 3D model, no window, or a database without an identifier.
    bool hasStoreys() const;
    // The floor plan and the 3D model count as one database.
    bool isSameDatabaseAs(const DrawingLink& other) const;
    void clear(bool withStorey);
    void setStorey(attribute_index storey) { m_storey = storey; }
    void setStorey(const Storey& storey);
    // The floor plan's storey of a storey-bearing link (the plan keeps it), or null.
    Storey* getStorey() const;

private:
    API_WindowTypeID m_type;
    DatabaseGuid m_id;
    attribute_index m_storey;
};

} // namespace zelvane
