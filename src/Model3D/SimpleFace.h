// A convex facet of a face of a 3D body: the body's vertex indexes around it, and the surface
// normal at each (the face's own when the source gives none per corner).
#pragma once

#include "GSRoot/GSRoot.hpp"
#include "Geometry/Vector3.h"

#include <memory>
#include <stdexcept>
#include <vector>

namespace zelvane {

class SimpleFace {
public:
    using Data = std::vector<Int32>;
    using Normals = std::vector<Vector3>;

    explicit SimpleFace(std::shared_ptr<const Data> data = nullptr, const Vector3& normal = Vector3(),
                        std::shared_ptr<const Normals> normals = nullptr)
        : m_data(std::move(data)), m_normals(std::move(normals)), m_normal(normal) {}

    std::size_t vertexSize() const { return m_data != nullptr ? m_data->size() : 0; }
    // The body's vertex index (from 0); std::out_of_range past the end.
    Int32 vertex(std::size_t i) const {
        if (m_data == nullptr) {
            throw std::out_of_range("no facet");
        }
        return m_data->at(i);
    }
    // The normal at corner i; std::out_of_range past the end.
    Vector3 getNormal(std::size_t i) const {
        if (i >= vertexSize()) {
            throw std::out_of_range("no such corner");
        }
        return m_normals != nullptr && i < m_normals->size() ? (*m_normals)[i] : m_normal;
    }

private:
    std::shared_ptr<const Data> m_data;
    std::shared_ptr<const Normals> m_normals;
    Vector3 m_normal;
};

} // namespace zelvane
