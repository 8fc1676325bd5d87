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

    // The modeler's element.
    Element3D(const Element3DLink& link, const ModelerAPI::Element& element)
        : Element3DLink(link), m_element(std::make_shared<ModelerAPI::Element>(element)) {}
    // The element's bodies from the host, with the drawing (the floor plan when null) active;
    // empty when the host has none.
    Element3D(const ElementLink& link, Drawing* drawing);
    virtual ~Element3D() = default;

    virtual Element3D* clone() const { return new Element3D(*this); }
    const Element3DLink& getLink() const { return *this; }

    bool isEmpty() const { return bodySize() == 0; }
    std::size_t bodySize() const { return m_bodies != nullptr ? m_bodies->size() : 0; }
    // std::out_of_range past the end.
    Body body(std::size_t i) const;
    std::size_t vertexSize(std::size_t i) const;
    std::size_t edgeSize(std::size_t i) const;
    std::size_t faceSize(std::size_t i) const;
    const CadPoint& vertex(std::size_t b, std::size_t i) const;
    Edge edge(std::size_t b, std::size_t i) const { return body(b).edge(i); }
    Face face(std::size_t b, std::size_t i) const { return body(b).face(i); }
    Line edgeLine(std::size_t b, std::size_t i) const { return body(b).edgeLine(i); }

    const FinishLookup* getFinishLookup() const { return m_lookup; }
    void setFinishLookup(const FinishLookup* lookup) { m_lookup = lookup; }

    // A new box of every body (of the modeler element without bodies), or null.
    Cube* getBounds() const;
    // The points where the plane cuts the bodies' edges, each stamped with its body as contour.
    std::size_t intersectionWith(const Plane& plane, IntersectList& list, double tolerance) const;
    std::size_t getFacesAlong(const Plane& plane, PolyList& out, bool level, bool unused,
                              double tolerance) const;

private:
    // One size of body i, or summed over every body when i is allBodies.
    std::size_t count(std::size_t i, std::size_t (*sizeOf)(const Body&)) const;

    const FinishLookup* m_lookup = nullptr;
    std::shared_ptr<ModelerAPI::Element> m_element;
    std::shared_ptr<BodyDataList> m_bodies;
};

} // namespace zelvane
