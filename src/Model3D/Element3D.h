// One element of the 3D model: its bodies read through the host's 3D component service (once,
// shared by copies), or the host's modeler element with its box.
#pragma once

#include "Model3D/Body.h"
#include "Model3D/Element3DLink.h"
#include "Modeler/Model.hpp"

#include <memory>
#include <vector>

namespace zelvane {

class Cube;
class Drawing;
class FinishLookup;
class IntersectList;
class Plane;
class PolyList;

class Element3D : public Element3DLink {
public:
    using BodyDataList = std::vector<std::shared_ptr<Body::Data>>;
    // Every body, for the size accessors.
    static constexpr std::size_t allBodies = 2147483647;

    // The modeler's element and those of its bodies the modeler gives whole.
    Element3D(const Element3DLink& link, const ModelerAPI::Element& element);
    // The model's element at the link's index, which names it by its GUID; empty when the model
    // has none there.
    Element3D(const Element3DLink& link, ModelerAPI::Model& model);
    // Bodies the caller made; the link names every body and no model.
    explicit Element3D(std::shared_ptr<BodyList> bodies);
    // The element's bodies from the host, with the drawing (the floor plan when null) active;
    // empty when the host has none.
    Element3D(const ElementLink& link, Drawing* drawing);
    virtual ~Element3D() = default;

    virtual Element3D* clone() const { return new Element3D(*this); }
    const Element3DLink& getLink() const { return *this; }

    bool isEmpty() const { return bodySize() == 0; }
    std::size_t bodySize() const;
    // std::out_of_range past the end.
    Body body(std::size_t i) const;
    std::size_t vertexSize(std::size_t i) const;
    std::size_t edgeSize(std::size_t i) const;
    std::size_t faceSize(std::size_t i) const;
    const CadPoint& vertex(std::size_t b, std::size_t i) const;
    Edge edge(std::size_t b, std::size_t i) const { return body(b).edge(i); }
    Face face(std::size_t b, std::size_t i) const { return body(b).face(i); }
    Line edgeLine(std::size_t b, std::size_t i) const { return body(b).edgeLine(i); }
    Line edgeLine(std::size_t b, const Edge& edge) const { return body(b).edgeLine(edge); }

    // The lookup set here; else the surface materials of the attribute set of the model's project,
    // else of the project of the element's drawing, else of the host's current project (null
    // without any).
    const FinishLookup* getFinishLookup() const;
    void setFinishLookup(const FinishLookup* lookup) { m_lookup = lookup; }

    // A new box of every body (of the modeler element without bodies), or null.
    Cube* getBounds() const;
    // The box getBounds gives for the element's bodies read from the host with the drawing (the
    // floor plan when null) active, taken from the bodies' records without reading their faces,
    // edges and vertices: a new box, or null when the host has no body.
    static Cube* readBounds(const ElementLink& link, Drawing* drawing);
    // The same box written into box, with no new one made; false when the host has no body (box
    // then unchanged).
    static bool readBounds(const ElementLink& link, Drawing* drawing, Cube& box);
    // The points where the plane cuts the bodies' edges, each stamped with its body as contour.
    std::size_t intersectionWith(const Plane& plane, IntersectList& list, double tolerance) const;
    std::size_t getFacesAlong(const Plane& plane, PolyList& out, bool level, bool unused,
                              double tolerance) const;

private:
    // Makes the drawing, or the floor plan when null, the project's active drawing; false when it
    // cannot be.
    static bool activate(Drawing* drawing);
    // One size of body i, or summed over every body when i is allBodies.
    std::size_t count(std::size_t i, std::size_t (*sizeOf)(const Body&)) const;
    void readBodies(const ModelerAPI::Element& element);

    const FinishLookup* m_lookup = nullptr;
    std::shared_ptr<ModelerAPI::Element> m_element;
    std::shared_ptr<BodyDataList> m_bodies;
    std::shared_ptr<BodyList> m_list;
};

} // namespace zelvane
