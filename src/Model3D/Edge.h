// An edge of a 3D body: its two vertices, the faces it bounds, its status and pen.
#pragma once

#include "Attribute/AttributeIndex.h"
#include "GSRoot/GSRoot.hpp"

#include <memory>

namespace zelvane {

class Edge {
public:
    // No face, no vertex.
    static constexpr Int32 none = 2147483647;

    struct Data {
        Int32 status = 0; // 1 invisible, 2 curved
        Int32 vertex1 = none;
        Int32 vertex2 = none;
        Int32 face1 = none;
        Int32 face2 = none;
        attribute_index pen;
    };

    explicit Edge(std::shared_ptr<const Data> data = nullptr) : m_data(std::move(data)) {}

    explicit operator bool() const { return m_data != nullptr; }
    bool operator!() const { return m_data == nullptr; }
    bool isInvisible() const { return (getStatus() & 1) != 0; }
    bool isCurved() const { return (getStatus() & 2) != 0; }
    Int32 getStatus() const { return m_data != nullptr ? m_data->status : 0; }
    // The vertex indexes of its ends (from 0).
    Int32 getOrigin() const { return m_data != nullptr ? m_data->vertex1 : none; }
    Int32 getEnd() const { return m_data != nullptr ? m_data->vertex2 : none; }
    Int32 getFirstFace() const { return m_data != nullptr ? m_data->face1 : none; }
    Int32 getSecondFace() const { return m_data != nullptr ? m_data->face2 : none; }
    attribute_index getPen() const { return m_data != nullptr ? m_data->pen : attribute_index(); }

private:
    std::shared_ptr<const Data> m_data;
};

} // namespace zelvane
