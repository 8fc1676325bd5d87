// A face of a 3D body: its edges (outline, then holes), normal, status, material and, when read,
// its convex facets.
#pragma once

#include "Attribute/Finish.h"
#include "Geometry/CadPoint.h"
#include "Geometry/Vector3.h"
#include "Model3D/SimpleFace.h"
#include "Modeler/Body.hpp"

namespace zelvane {

class FinishLookup;

class Face {
public:
    // Between the outline and a hole, and between holes.
    static constexpr Int32 separator = 2147483647;
    // When set, faces read from the host bring their convex facets.
    static bool m_isFacetLoaded;

    struct Data {
        Vector3 normal;
        // ±(edge + 1), negative where the face runs along the edge backwards; separators between
        // contours.
        std::shared_ptr<std::vector<Int32>> edges = std::make_shared<std::vector<Int32>>();
        std::shared_ptr<std::vector<std::shared_ptr<SimpleFace::Data>>> facets;
        // The normals at each facet's corners, beside the facets; null when the source has none.
        std::shared_ptr<std::vector<std::shared_ptr<SimpleFace::Normals>>> facetNormals;
        // The modeler's polygon, which places textures; null for faces read from the host.
        std::shared_ptr<const ModelerAPI::Polygon> polygon;
        int polygonIndex = 0;
        Int32 status = 0; // 1 invisible, 2 curved, 16 and 32 complex
        short material = 0;

        // The raw entry when asked for it or a separator, else the edge index (from 0).
        Int32 edge(std::size_t j, bool isSigned) const;
        void reverse();
    };

    explicit Face(std::shared_ptr<const Data> data = nullptr, const FinishLookup* lookup = nullptr)
        : m_data(std::move(data)), m_lookup(lookup) {}

    bool isInvisible() const { return (getStatus() & 1) != 0; }
    bool isCurved() const { return (getStatus() & 2) != 0; }
    bool isComplex() const { return (getStatus() & 48) != 0; }
    Int32 getStatus() const { return m_data != nullptr ? m_data->status : 0; }
    short getFinishIndex() const { return m_data != nullptr ? m_data->material : 0; }
    Finish getFinish() const;
    Vector3 getNormal() const { return m_data != nullptr ? m_data->normal : Vector3(); }
    // Where a point of the face lies on its texture (u, v, 0), in tiles of the texture of the
    // face's finish when the lookup gives one, else in model units; the zero point for a face read
    // from the host or when the modeler cannot place it.
    CadPoint textureCoordinates(const CadPoint& point) const;
    std::size_t edgeSize() const { return m_data != nullptr ? m_data->edges->size() : 0; }
    Int32 edge(std::size_t j, bool isSigned) const;
    std::size_t facetSize() const { return m_data != nullptr && m_data->facets ? m_data->facets->size() : 0; }
    SimpleFace facet(std::size_t i) const;
    // The number of separators: the face's holes.
    std::size_t holeSize() const;

private:
    const Data& data() const;

    std::shared_ptr<const Data> m_data;
    const FinishLookup* m_lookup;
};

} // namespace zelvane
