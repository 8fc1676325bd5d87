#include "ACAPI/Component3D.hpp"

#include "ACAPI/ElementMemo.hpp"
#include "ACAPI/LibraryParts.hpp"
#include "ACAPI/ProjectInfo.hpp"
#include "GSRoot/BM.hpp"
#include "sim/Attributes.h"
#include "sim/Component3D.h"
#include "sim/ElementBounds.h"
#include "sim/ElementMemos.h"
#include "sim/ElementTable.h"
#include "sim/GuidTable.h"
#include "sim/Library.h"
#include "sim/Project.h"
#include "sim/Sim.h"
#include "sim/Storeys.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <memory>
#include <unordered_set>

namespace {

// A body of the model: one given whole, or an object's box kept as its sizes and placement and
// made when read (every object without bodies of its own has one, so they are kept small).
struct Slot {
    std::unique_ptr<sim::Body3D> body; // null: a derived box
    double a = 0.0, b = 0.0, z = 0.0;
    API_Tranmat transformation{};
};

struct State {
    std::vector<Slot> all;                          // global index - 1
    sim::GuidTable<std::pair<Int32, Int32>> ranges; // from 1, inclusive
    Int32 current = 0;
    sim::Body3D currentBox; // the current body when it is a derived box, made when read
    sim::Body3D scratch;    // a derived box being measured
    // Looked up for every derived box: hashed, as a tree of many parts is a walk through memory.
    std::unordered_set<Int32> centredParts;
    std::unordered_set<Int32> ownSizeParts;
    // The slot of each element's derived body: made afresh on every request, it reuses its slot.
    sim::GuidTable<Int32> derivedSlots;
};

State& state() {
    static auto* instance = new State;
    return *instance;
}

API_VertType transformed(const sim::Body3D& body, const API_VertType& v) {
    const double* m = body.transformation.tmx;
    return API_VertType{m[0] * v.x + m[1] * v.y + m[2] * v.z + m[3],
                        m[4] * v.x + m[5] * v.y + m[6] * v.z + m[7],
                        m[8] * v.x + m[9] * v.y + m[10] * v.z + m[11]};
}

// The box of the body's placed vertices; false for a body without any.
bool boundsOf(const sim::Body3D& body, API_Box3D& box) {
    if (body.vertices.empty()) {
        return false;
    }
    API_VertType first = transformed(body, body.vertices.front());
    box = API_Box3D{first.x, first.y, first.z, first.x, first.y, first.z};
    for (auto v = body.vertices.begin() + 1; v != body.vertices.end(); ++v) {
        API_VertType p = transformed(body, *v);
        box.xMin = std::min(box.xMin, p.x);
        box.yMin = std::min(box.yMin, p.y);
        box.zMin = std::min(box.zMin, p.z);
        box.xMax = std::max(box.xMax, p.x);
        box.yMax = std::max(box.yMax, p.y);
        box.zMax = std::max(box.zMax, p.z);
    }
    return true;
}

// The box of an object or lamp without bodies of its own, its sizes and placement set in `box`;
// false, leaving `box` as it was, for other elements and for sizes that are not positive.
bool derivedBox(const GS::Guid& guid, Slot& box) {
    const API_Element* record = sim::findElement(guid);
    if (record == nullptr || (record->header.typeID != API_ObjectID && record->header.typeID != API_LampID)) {
        return false;
    }
    const API_ObjectType& object = record->header.typeID == API_ObjectID ? record->object : record->lamp;
    const sim::MemoSizes sizes = sim::memoSizes(guid);
    double a = sizes.a, b = sizes.b, z = sizes.z;
    if (state().ownSizeParts.count(object.libInd) != 0) {
        if (const sim::LibPartDef* part = sim::loadedLibPart(object.libInd)) {
            a = part->a;
            b = part->b;
        }
    }
    if (!(a > 0.0 && b > 0.0 && z > 0.0)) {
        return false;
    }
    double level = object.level;
    for (const sim::Storey& storey : sim::storeys()) {
        if (storey.index == record->header.floorInd) {
            level += storey.level;
        }
    }
    bool centred = state().centredParts.count(object.libInd) != 0;
    double ox = centred ? -a / 2 : 0.0, oy = centred ? -b / 2 : 0.0;
    double c = std::cos(object.angle), s = std::sin(object.angle), m = object.reflected ? -1.0 : 1.0;
    box.a = a;
    box.b = b;
    box.z = z;
    box.transformation = API_Tranmat{0,
                                     {c * m, -s, 0, c * m * ox - s * oy + object.posX, s * m, c, 0,
                                      s * m * ox + c * oy + object.posY, 0, 0, 1, level}};
    return true;
}

// The body of a derived box, made in `body`, whose storage it reuses. Only derived boxes are made
// in the bodies given here, so one that has a box's edges and faces already was made here before,
// and only its corners and placement are made anew.
void makeBox(const Slot& box, sim::Body3D& body) {
    static const sim::Body3D unit = sim::boxBody(1.0, 1.0, 1.0);
    if (body.edges.size() == unit.edges.size() && body.polygons.size() == unit.polygons.size()) {
        body.vertices = unit.vertices;
    } else {
        body = unit;
    }
    for (API_VertType& vertex : body.vertices) {
        vertex.x *= box.a;
        vertex.y *= box.b;
        vertex.z *= box.z;
    }
    body.transformation = box.transformation;
}

// The body at a global index (from 1, in range), a derived box made in `scratch`.
const sim::Body3D& bodyAt(Int32 index, sim::Body3D& scratch) {
    const Slot& slot = state().all[std::size_t(index - 1)];
    if (slot.body != nullptr) {
        return *slot.body;
    }
    makeBox(slot, scratch);
    return scratch;
}

// The range of the element's bodies: those set, or else its derived box made afresh in the
// element's own slot.
const std::pair<Int32, Int32>* rangeOf(const GS::Guid& guid) {
    if (const std::pair<Int32, Int32>* range = state().ranges.find(guid)) {
        return range;
    }
    static std::pair<Int32, Int32> derived;
    if (const Int32* slot = state().derivedSlots.find(guid)) {
        if (!derivedBox(guid, state().all[std::size_t(*slot - 1)])) {
            return nullptr;
        }
        derived = {*slot, *slot};
        return &derived;
    }
    Slot box;
    if (!derivedBox(guid, box)) {
        return nullptr;
    }
    Int32 index = Int32(state().all.size()) + 1;
    state().all.push_back(std::move(box));
    state().derivedSlots.emplace(guid, index);
    derived = {index, index};
    return &derived;
}

bool elementBounds(const GS::Guid& guid, API_Box3D& box) {
    const std::pair<Int32, Int32>* range = rangeOf(guid);
    if (range == nullptr) {
        return false;
    }
    bool found = false;
    for (Int32 i = range->first; i <= range->second; ++i) {
        API_Box3D one{};
        if (!boundsOf(bodyAt(i, state().scratch), one)) {
            continue;
        }
        if (!found) {
            box = one;
            found = true;
            continue;
        }
        box.xMin = std::min(box.xMin, one.xMin);
        box.yMin = std::min(box.yMin, one.yMin);
        box.zMin = std::min(box.zMin, one.zMin);
        box.xMax = std::max(box.xMax, one.xMax);
        box.yMax = std::max(box.yMax, one.yMax);
        box.zMax = std::max(box.zMax, one.zMax);
    }
    return found;
}

const bool registered = sim::registerReset([] {
                            state() = State();
                            sim::setBoundsProvider(elementBounds);
                        }) &&
                        sim::registerProjectClear([] { state() = State(); });

const sim::Body3D* currentBody() {
    Int32 i = state().current;
    if (i < 1 || std::size_t(i) > state().all.size()) {
        return nullptr;
    }
    const Slot& slot = state().all[std::size_t(i - 1)];
    return slot.body != nullptr ? slot.body.get() : &state().currentBox;
}

template <typename T>
bool inRange(Int32 index, const std::vector<T>& list) {
    return index >= 1 && std::size_t(index) <= list.size();
}

// The polygon edges of every polygon of the body, one after another.
std::vector<Int32> polygonEdges(const sim::Body3D& body) {
    std::vector<Int32> all;
    for (const auto& polygon : body.polygons) {
        all.insert(all.end(), polygon.pedges.begin(), polygon.pedges.end());
    }
    return all;
}

} // namespace

namespace sim {

void setBodies(const GS::Guid& guid, const std::vector<Body3D>& bodies) {
    Int32 first = Int32(state().all.size()) + 1;
    for (const Body3D& body : bodies) {
        Slot slot;
        slot.body = std::make_unique<Body3D>(body);
        state().all.push_back(std::move(slot));
    }
    state().ranges[guid] = {first, first + Int32(bodies.size()) - 1};
}

std::vector<Body3D> elementBodies(const GS::Guid& guid) {
    std::vector<Body3D> bodies;
    if (const std::pair<Int32, Int32>* range = state().ranges.find(guid)) {
        for (Int32 i = range->first; i <= range->second; ++i) {
            bodies.push_back(*state().all[std::size_t(i - 1)].body);
        }
        return bodies;
    }
    Slot box;
    if (derivedBox(guid, box)) {
        Body3D body;
        makeBox(box, body);
        bodies.push_back(body);
    }
    return bodies;
}

API_VertType placedVertex(const Body3D& body, const API_VertType& vertex) {
    return transformed(body, vertex);
}

void setPartBoxCentred(Int32 libInd, bool centred) {
    if (centred) {
        state().centredParts.insert(libInd);
    } else {
        state().centredParts.erase(libInd);
    }
}

void setPartBoxOwnSize(Int32 libInd, bool own) {
    if (own) {
        state().ownSizeParts.insert(libInd);
    } else {
        state().ownSizeParts.erase(libInd);
    }
}

Body3D boxBody(double x, double y, double z) {
    Body3D body;
    body.vertices = {{0, 0, 0}, {x, 0, 0}, {x, y, 0}, {0, y, 0}, {0, 0, z}, {x, 0, z}, {x, y, z}, {0, y, z}};
    Int32 ends[12][2] = {{1, 2}, {2, 3}, {3, 4}, {4, 1}, {5, 6}, {6, 7},
                         {7, 8}, {8, 5}, {1, 5}, {2, 6}, {3, 7}, {4, 8}};
    for (const auto& end : ends) {
        body.edges.push_back(Body3D::Edge{end[0], end[1], 0, 1});
    }
    body.vectors = {{0, 0, 1}, {0, 1, 0}, {1, 0, 0}};
    body.polygons = {{{-4, -3, -2, -1}, -1, 0, 1, {}}, {{5, 6, 7, 8}, 1, 0, 1, {}},
                     {{1, 10, -5, -9}, -2, 0, 1, {}},  {{2, 11, -6, -10}, 3, 0, 1, {}},
                     {{3, 12, -7, -11}, 2, 0, 1, {}},  {{4, 9, -8, -12}, -3, 0, 1, {}}};
    return body;
}

Body3D squareWithHoleBody() {
    Body3D body;
    body.vertices = {{0, 0, 0}, {4, 0, 0}, {4, 4, 0}, {0, 4, 0}, {1, 1, 0}, {1, 3, 0}, {3, 3, 0}, {3, 1, 0}};
    for (auto [a, b] : std::vector<std::pair<Int32, Int32>>{
             {1, 2}, {2, 3}, {3, 4}, {4, 1}, {5, 6}, {6, 7}, {7, 8}, {8, 5}}) {
        body.edges.push_back(Body3D::Edge{a, b, 0, 2});
    }
    body.vectors = {{0, 0, 1}};
    body.polygons = {{{1, 2, 3, 4, 0, 5, 6, 7, 8}, 1, 0, 3, {}}};
    return body;
}

} // namespace sim

GSErrCode ACAPI_Element_Get3DInfo(const API_Elem_Head& head, API_ElemInfo3D* info) {
    if (GSErrCode err = sim::enter("ACAPI_Element_Get3DInfo"); err != NoError) {
        return err;
    }
    if (info == nullptr) {
        return APIERR_BADPARS;
    }
    if (!sim::hasElement(head.guid)) {
        return APIERR_BADID;
    }
    const std::pair<Int32, Int32>* range = rangeOf(head.guid);
    if (range == nullptr || range->second < range->first) {
        return APIERR_GENERAL;
    }
    info->fbody = range->first;
    info->lbody = range->second;
    return NoError;
}

GSErrCode ACAPI_3D_GetComponent(API_Component3D* component) {
    if (GSErrCode err = sim::enter("ACAPI_3D_GetComponent", component != nullptr ? component->typeID : 0);
        err != NoError) {
        return err;
    }
    if (component == nullptr) {
        return APIERR_BADPARS;
    }
    Int32 index = component->index;
    if (component->typeID == API_UmatID) {
        if (!sim::isProjectOpen()) {
            return APIERR_NOPLAN;
        }
        const API_Attribute* material = sim::attribute(API_MaterialID, API_AttributeIndex(index));
        if (material == nullptr) {
            return APIERR_BADINDEX;
        }
        component->material = material->material;
        return NoError;
    }
    if (component->typeID == API_BodyID) {
        if (!inRange(index, state().all)) {
            return APIERR_BADINDEX;
        }
        state().current = index;
        const sim::Body3D& body = bodyAt(index, state().currentBox);
        API_BodyType& record = component->body;
        record = API_BodyType();
        record.status = body.status;
        record.iPen = body.pen;
        record.iMaterial = body.material;
        record.nPgon = Int32(body.polygons.size());
        record.nEdge = Int32(body.edges.size());
        record.nVert = Int32(body.vertices.size());
        record.tranmat = body.transformation;
        API_Box3D box{};
        if (boundsOf(body, box)) {
            float values[6] = {float(box.xMin), float(box.yMin), float(box.zMin),
                               float(box.xMax), float(box.yMax), float(box.zMax)};
            std::memcpy(record.bounds, values, sizeof values);
        }
        return NoError;
    }
    const sim::Body3D* body = currentBody();
    if (body == nullptr) {
        return APIERR_GENERAL;
    }
    switch (component->typeID) {
    case API_PgonID: {
        if (!inRange(index, body->polygons)) {
            return APIERR_BADINDEX;
        }
        Int32 first = 1;
        for (Int32 i = 1; i < index; ++i) {
            first += Int32(body->polygons[std::size_t(i - 1)].pedges.size());
        }
        const auto& polygon = body->polygons[std::size_t(index - 1)];
        component->pgon.fpedg = first;
        component->pgon.lpedg = first + Int32(polygon.pedges.size()) - 1;
        component->pgon.ivect = polygon.vector;
        component->pgon.status = polygon.status;
        component->pgon.iumat = polygon.material;
        return NoError;
    }
    case API_PedgID: {
        std::vector<Int32> all = polygonEdges(*body);
        if (!inRange(index, all)) {
            return APIERR_BADINDEX;
        }
        component->pedg.pedg = all[std::size_t(index - 1)];
        return NoError;
    }
    case API_EdgeID: {
        if (!inRange(index, body->edges)) {
            return APIERR_BADINDEX;
        }
        const auto& edge = body->edges[std::size_t(index - 1)];
        component->edge.vert1 = edge.vert1;
        component->edge.vert2 = edge.vert2;
        component->edge.status = edge.status;
        component->edge.color = edge.pen;
        return NoError;
    }
    case API_VertID:
        if (!inRange(index, body->vertices)) {
            return APIERR_BADINDEX;
        }
        component->vert = body->vertices[std::size_t(index - 1)];
        return NoError;
    case API_VectID:
        if (!inRange(index, body->vectors)) {
            return APIERR_BADINDEX;
        }
        component->vect = body->vectors[std::size_t(index - 1)];
        return NoError;
    default:
        return APIERR_BADPARS;
    }
}

GSErrCode ACAPI_3D_DecomposePgon(Int32 ipgon, Int32*** cpoly) {
    if (GSErrCode err = sim::enter("ACAPI_3D_DecomposePgon", ipgon); err != NoError) {
        return err;
    }
    const sim::Body3D* body = currentBody();
    if (cpoly == nullptr) {
        return APIERR_BADPARS;
    }
    if (body == nullptr || !inRange(ipgon, body->polygons)) {
        return APIERR_BADINDEX;
    }
    std::vector<Int32> values = body->polygons[std::size_t(ipgon - 1)].facets;
    if (values.empty()) {
        values.push_back(0);
    }
    GSHandle handle = BMAllocateHandle(GSSize(values.size() * sizeof(Int32)), 0, 0);
    if (handle == nullptr) {
        return APIERR_MEMFULL;
    }
    std::memcpy(*handle, values.data(), values.size() * sizeof(Int32));
    *cpoly = reinterpret_cast<Int32**>(handle);
    return NoError;
}
