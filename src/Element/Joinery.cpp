#include "Element/Joinery.h"

#include "Attribute/Storey.h"
#include "Database/Drawing.h"
#include "Element/ElementQuantity.h"
#include "Element/Wall.h"
#include "Geometry/CadArc.h"
#include "Memo/ElementMemoStore.h"

#include <cmath>
#include <memory>

namespace zelvane {
namespace {

constexpr unsigned long long allMemoParts = 0x7FFFFFBFFFFFFFULL;

} // namespace

void Joinery::initialise() {
    const API_Elem_Head head = m_record.header;
    API_Element defaults;
    if (getDefaultData(&defaults, nullptr)) {
        m_record = defaults;
    }
    m_record.header = head;
    getLink().completeHeader(m_record.header, true);
    m_record.header.hasMemo = true;
    getOpeningData().libInd = getSourceLink().getIndex();
}

void Joinery::loadDefaults(bool withMemo, API_LibTypeID part) {
    API_Element defaults;
    ElementMemoStore store;
    const bool found = getDefaultData(&defaults, withMemo ? store.getTarget() : nullptr);
    const API_ElemTypeID type = m_record.header.typeID;
    m_record = found ? defaults : API_Element();
    m_record.header = API_Elem_Head();
    m_record.header.typeID = type;
    getLink().completeHeader(m_record.header, true);
    if (withMemo && found) {
        MemoStore* given = &store;
        getMemo(allMemoParts, given);
    }
    setSourceLink(ComponentLink(getOpeningData().libInd, part, nullptr), !withMemo, !withMemo);
}

ElementLink Joinery::getWallLink() const {
    ElementLink link(element_id(Wall::type), getSource(), 0);
    link.setUniqueID(Guid(joinery().owner));
    return link;
}

Wall* Joinery::getWall() const {
    Drawing* drawing = getSource();
    if (drawing == nullptr) {
        return nullptr;
    }
    std::unique_ptr<Element> element(drawing->load(getWallLink()));
    auto* wall = dynamic_cast<Wall*>(element.get());
    if (wall != nullptr) {
        element.release();
    }
    return wall;
}

bool Joinery::setPartSource(const ComponentLink& link, API_LibTypeID part, bool refetch, bool apply) {
    if (!acceptsPart(link, part)) {
        return false;
    }
    getOpeningData().libInd = link.getIndex();
    return ComponentElem::setSourceLink(ComponentLink(link.getIndex(), part, link.getLibrary()), refetch,
                                        apply);
}

void Joinery::setAnchor(Int32 kind, const Storey* storey) {
    joinery().anchorKind = kind;
    joinery().anchorStory =
        (kind == 1 || kind == 3) && storey != nullptr ? short(storey->getIndex()) : short(0);
}

Int32 Joinery::getAnchor(attribute_index* storey) const {
    const Int32 kind = joinery().anchorKind;
    if ((kind == 1 || kind == 3) && storey != nullptr) {
        *storey = attribute_index(joinery().anchorStory);
    }
    return kind;
}

bool Joinery::getCentreLine(PolyEdge& edge, double& thickness) const {
    std::unique_ptr<Wall> wall(getWall());
    if (wall == nullptr) {
        return false;
    }
    edge = wall->getCentreLine();
    thickness = wall->getThickness();
    const double width = getOpenWidth();
    if (std::fabs(edge.getSweep()) <= 1e-5) {
        edge.movePolar(getCentreOffset() - width / 2.0, edge.azimuthAngle());
        edge.extend(width - edge.length2D());
    } else {
        CadArc arc(wall->getOrigin(), wall->getEnd());
        double radius = arc.getRadius();
        const double angularOffset = getCentreOffset() / radius;
        double shift = 0.0;
        if (wall->getReferenceSide() != Wall::centre) {
            shift = thickness;
            if (wall->getReferenceSide() != Wall::outside) {
                shift = -shift;
            }
            if (arc.getSweep() > 0.0) {
                shift = -shift;
            }
        }
        if (isRightHand() == isRevealInside()) {
            radius += shift;
            shift = -shift;
        }
        // An opening wider than the arc's diameter, or a degenerate arc, has no span on the wall.
        if (!(radius > 0.0) || width > 2.0 * radius) {
            return false;
        }
        const double half = std::asin(width / (2.0 * radius));
        CadArc span(arc.centre(), radius + shift / 2.0, 2.0 * half,
                    arc.getStartAngle() + angularOffset - half);
        edge = PolyEdge(span.getOrigin(), PolyPoint(span.getEnd(), 2.0 * half, 0));
    }
    edge += CadPoint(0.0, 0.0, getOpenThreshold());
    return true;
}

CadPoint Joinery::getOrigin() const {
    PolyEdge edge;
    double thickness = 0.0;
    if (!getCentreLine(edge, thickness)) {
        return CadPoint(0.0, 0.0, 0.0);
    }
    edge.offset(-thickness / 2.0);
    return edge.origin();
}

double Joinery::getBaseLevel(bool absolute) const {
    std::unique_ptr<Wall> wall(getWall());
    if (wall != nullptr) {
        return getOpenThreshold() + wall->getBaseLevel(absolute);
    }
    const Storey* storey = absolute ? getStorey() : nullptr;
    return getOpenThreshold() + (storey != nullptr ? storey->getLevel() : 0.0);
}

API_Element* Joinery::getData() const {
    auto* record = new API_Element(m_record);
    getLink().completeHeader(record->header, true);
    return record;
}

double Joinery::measure(double API_WindowQuantity::*member) const {
    const bool door = m_record.header.typeID == API_DoorID;
    ElementQuantity quantity;
    API_ElementQuantity& mask = quantity.elementMask();
    API_WindowQuantity& part = door ? mask.door : mask.window;
    ElementQuantity::setMask(&(part.*member));
    if (!quantity.measure(getLink())) {
        return 0.0;
    }
    const API_ElementQuantity& measured = quantity.getElement();
    const API_WindowQuantity& value = door ? measured.door : measured.window;
    return value.*member;
}

Int32 Joinery::getRecordLibraryIndex(const API_Element& record) const {
    return (record.header.typeID == API_DoorID ? record.door : record.window).openingBase.libInd;
}

} // namespace zelvane
