#include "Element/Wall.h"

#include "ACAPI/ElementMemo.hpp"
#include "ACAPI/ElementRelations.hpp"
#include "ACAPI/ElementTable.hpp"
#include "Attribute/Composite.h"
#include "Attribute/Storey.h"
#include "Database/ElementLinkList.h"
#include "Database/Plan.h"
#include "Element/ElementQuantity.h"
#include "Element/Joinery.h"
#include "Environment/Host.h"
#include "GSRoot/BM.hpp"
#include "Memo/ElementMemoStore.h"

#include <cmath>
#include <cstdlib>
#include <memory>
#include <stdexcept>

namespace zelvane {
namespace {

constexpr double pi = 3.14159265358979323846;
constexpr unsigned long long windowsMask = 0x40000;
constexpr unsigned long long doorsMask = 0x80000;
constexpr unsigned long long polygonBit = 0x1;
constexpr unsigned long long gablesBit = 0x2;

// How many entries the handle holds.
template <typename T>
std::size_t entriesOf(T** handle) {
    if (handle == nullptr) {
        return 0;
    }
    return std::size_t(BMGetHandleSize(reinterpret_cast<GSConstHandle>(handle))) / sizeof(T);
}

// Disposes the relation record's handles whatever happens while it is read.
struct RelationRecord {
    API_WallRelation record;
    ~RelationRecord() { ACAPI_DisposeWallRelationHdls(&record); }
};

struct MemoRecord {
    API_ElementMemo* record;
    ~MemoRecord() { ElementMemoStore::disposeRecord(record); }
};

CadPoint::Pos endOf(bool atStart) {
    return atStart ? CadPoint::Pos(2) : CadPoint::Pos(8);
}

} // namespace

Wall* Wall::Relation::getOtherWall() const {
    Drawing* plan = host.getFrontPlan();
    if (plan == nullptr) {
        return nullptr;
    }
    std::unique_ptr<Element> element(plan->load(m_other));
    auto* wall = dynamic_cast<Wall*>(element.get());
    if (wall != nullptr) {
        element.release();
    }
    return wall;
}

Wall::Wall() : Element(ElementLink(element_id(type), 0)) {
    initialise();
}

Wall::Wall(const API_Element& record, const ElementLink& link) : Element(link), m_record(record) {}

Wall::Wall(const Wall& other)
    : Element(other), GableMemo(other), PolygonMemo(other), IFCMemo(other), ConstructionProfile(other),
      m_record(other.m_record) {}

Wall& Wall::operator=(const Wall& other) {
    if (this != &other) {
        Element::operator=(other);
        GableMemo::operator=(other);
        PolygonMemo::operator=(other);
        IFCMemo::operator=(other);
        m_record = other.m_record;
        delete m_relations;
        m_relations = nullptr;
    }
    return *this;
}

Wall::~Wall() {
    delete m_relations;
}

Element* Wall::create(const API_Element& record, const ElementLink& link) {
    return record.header.typeID == type ? new Wall(record, link) : nullptr;
}

void Wall::initialise() {
    loadToolDefaults(m_record, type, true);
}

API_Element* Wall::getData() const {
    auto* record = new API_Element(m_record);
    getLink().completeHeader(record->header, true);
    // The record must describe the outline that is put with it.
    if (wall().type == polygonal && PolygonMemo::isLoaded()) {
        fillDescription(record->wall.poly);
    }
    return record;
}

API_ElementMemo* Wall::getMemo(unsigned long long& mask) const {
    mask = 0;
    ElementMemoStore store;
    if (!GableMemo::pack(&store)) {
        return nullptr;
    }
    if (wall().type == polygonal && !PolygonMemo::pack(&store)) {
        return nullptr;
    }
    store.setKeep(true);
    API_ElementMemo* record = store.getTarget();
    if (record->gables != nullptr) {
        mask |= gablesBit;
    }
    if (record->coords != nullptr) {
        mask |= polygonBit;
    }
    return record;
}

void Wall::getMemo(unsigned long long mask, MemoStore*& store) const {
    Element::getMemo(mask, store);
    const bool polygonal = wall().type == Wall::polygonal;
    if (!m_isMinData) {
        if (!GableMemo::isLoaded() || !GableMemo::isValid()) {
            mask |= gablesBit;
        }
        if (polygonal && (!PolygonMemo::isLoaded() || !PolygonMemo::isValid())) {
            mask |= polygonBit;
        }
    }
    if (!polygonal) {
        mask &= ~polygonBit;
    }
    if (store == nullptr) {
        Drawing* drawing = getSource();
        if (drawing == nullptr) {
            if ((mask & gablesBit) != 0) {
                GableMemo::setLoaded(true);
            }
            if ((mask & polygonBit) != 0) {
                PolygonMemo::setLoaded(true);
            }
            return;
        }
        API_ElementMemo* record = drawing->getMemo(getLink(), mask);
        if (record == nullptr) {
            return;
        }
        store = new ElementMemoStore(record);
    }
    if ((mask & gablesBit) != 0) {
        GableMemo::unpack(*store);
    }
    if ((mask & polygonBit) != 0) {
        PolygonMemo::unpack(*store);
    }
}

void Wall::getMemo(UInt64 mask, MemoStore*& store) const {
    getMemo((unsigned long long)mask, store);
}

const API_Polygon& Wall::getPolyData(const MemoStore&) const {
    return m_buildOutline != nullptr ? *m_buildOutline : wall().poly;
}

bool Wall::buildPolygon() const {
    RelationRecord relations;
    if (ACAPI_Element_GetRelations(GS::Guid(getUniqueID()), API_WallID, &relations.record) != NoError) {
        return false;
    }
    // The outline's handles stay the relation record's: the store only reads them.
    API_ElementMemo outline;
    outline.coords = relations.record.coords;
    outline.pends = relations.record.pends;
    outline.parcs = relations.record.parcs;
    ElementMemoStore store(nullptr, &outline);
    m_buildOutline = &relations.record.wallPolygon;
    bool unpacked = false;
    try {
        unpacked = PolygonMemo::unpack(store);
    } catch (...) {
        m_buildOutline = nullptr;
        throw;
    }
    m_buildOutline = nullptr;
    PolygonMemo::setLoaded(unpacked);
    return unpacked;
}

CadPolygon* Wall::getPolygon() {
    return const_cast<CadPolygon*>(static_cast<const Wall*>(this)->getPolygon());
}

const CadPolygon* Wall::getPolygon() const {
    if (PolygonMemo::isLoaded() && PolygonMemo::isValid()) {
        return PolygonMemo::getPolygon();
    }
    return buildPolygon() ? PolygonMemo::getPolygon() : nullptr;
}

CadPolygon* Wall::getBoundingPolygon() const {
    const CadPolygon* polygon = getPolygon();
    return polygon != nullptr ? new CadPolygon(*polygon) : nullptr;
}

Pen Wall::getPen(Pen::Use use) const {
    Material material{attribute_index(wall().buildingMaterial)};
    switch (UInt8(use)) {
    case 0:
    case 1:
        return Pen(attribute_index(wall().contPen));
    case 5:
        return Pen(attribute_index(wall().poly5Pen));
    case 10:
        return Pen(attribute_index(wall().sectContPen));
    case 11:
        return wall().useCompositePens ? Pen(attribute_index(wall().sectPen)) : material.getCutFillPen();
    case 12:
        return wall().useCompositePens ? Pen(attribute_index(wall().sectBGPen))
                                       : material.getCutBackgroundPen();
    default:
        return Pen(attribute_index(0));
    }
}

void Wall::setPen(const Pen& pen, Pen::Use use) {
    const short index = short(pen.getIndex());
    switch (UInt8(use)) {
    case 0:
        wall().sectContPen = index;
        wall().contPen = index;
        wall().sectBGPen = index;
        wall().sectPen = index;
        break;
    case 1:
        wall().contPen = index;
        break;
    case 5:
        wall().poly5Pen = index;
        break;
    case 6:
    case 11:
        wall().sectPen = index;
        break;
    case 8:
    case 12:
        wall().sectBGPen = index;
        break;
    case 10:
        wall().sectContPen = index;
        break;
    default:
        break;
    }
}

Pattern* Wall::getPattern(UInt8 use) const {
    if (use != 0 && use != 1 && use != 3) {
        return nullptr;
    }
    if (getStructureType() == composite) {
        const short index = short(std::abs(wall().composite));
        return index != 0 ? new Composite(attribute_index(index)) : nullptr;
    }
    const Fill fill = getMaterial().getCutFill();
    return short(fill.getIndex()) != 0 ? new Fill(fill) : nullptr;
}

void Wall::setPattern(const Pattern& pattern, UInt8 use) {
    const auto* composite = dynamic_cast<const Composite*>(&pattern);
    if ((use == 0 || use == 3) && composite != nullptr) {
        wall().modelElemStructureType = Element::composite;
        wall().composite = short(composite->getIndex());
    }
}

LineStyle Wall::getLineStyle(LineStyle::Use use) const {
    return LineStyle(attribute_index(UInt8(use) <= 1 ? wall().contLtype : short(0)));
}

void Wall::setLineStyle(const LineStyle& style, LineStyle::Use use) {
    if (UInt8(use) <= 1) {
        wall().contLtype = short(style.getIndex());
    }
}

API_OverriddenAttribute* Wall::finishOf(Finish::Use use) {
    return const_cast<API_OverriddenAttribute*>(static_cast<const Wall*>(this)->finishOf(use));
}

const API_OverriddenAttribute* Wall::finishOf(Finish::Use use) const {
    switch (UInt8(use)) {
    case 0:
    case 1:
    case 4:
        return &wall().refMat;
    case 2:
        return &wall().oppMat;
    case 3:
        return &wall().sidMat;
    default:
        return nullptr;
    }
}

Finish Wall::getFinish(Finish::Use use) const {
    const API_OverriddenAttribute* finish = finishOf(use);
    if (finish != nullptr && finish->overridden) {
        return Finish(attribute_index(finish->attributeIndex));
    }
    return Material(attribute_index(wall().buildingMaterial)).getSurface();
}

void Wall::setFinish(const Finish& finish, Finish::Use use) {
    if (API_OverriddenAttribute* member = finishOf(use)) {
        member->attributeIndex = short(finish.getIndex());
        member->overridden = true;
    }
}

ComplexProfile Wall::getComplexProfile() const {
    return getStructureType() == profiled ? ComplexProfile(attribute_index(wall().profileAttr))
                                          : ComplexProfile();
}

void Wall::setComplexProfile(const ComplexProfile& profile) {
    wall().profileAttr = short(profile.getIndex());
}

Material Wall::getMaterial() const {
    return getStructureType() == basic ? Material(attribute_index(wall().buildingMaterial)) : Material();
}

double Wall::measure(double API_WallQuantity::*member) const {
    ElementQuantity quantity;
    ElementQuantity::setMask(&(quantity.elementMask().wall.*member));
    return quantity.measure(getLink()) ? quantity.getElement().wall.*member : 0.0;
}

Int32 Wall::getColumnCount() const {
    ElementQuantity quantity;
    ElementQuantity::setMask(&quantity.elementMask().wall.columnsNumber);
    return quantity.measure(getLink()) ? quantity.getElement().wall.columnsNumber : 0;
}

int Wall::getHolesCount() const {
    std::unique_ptr<CadPolygon> outline(getBoundingPolygon());
    return outline != nullptr ? outline->getHoleCount() : 0;
}

double Wall::getHolesPerimeter() const {
    std::unique_ptr<CadPolygon> outline(getBoundingPolygon());
    double perimeter = 0.0;
    for (int i = 0; outline != nullptr && i < outline->getHoleCount(); ++i) {
        perimeter += static_cast<const CadPolygon&>(*outline).getHole(i).getPerimeter2D();
    }
    return perimeter;
}

double Wall::getMaterialArea(attribute_index material) const {
    switch (getStructureType()) {
    case basic:
        return getSurfaceRef();
    case composite:
        return Element::getMaterialArea(material);
    default:
        return 0.0;
    }
}

Int16 Wall::getJunctionOrder() const {
    return wall().sequence < 1 ? Int16(0) : Int16(wall().sequence / 100 - 42);
}

void Wall::setJunctionOrder(Int16 order) {
    wall().sequence = 100 * Int32(order) + 4200;
}

double Wall::getEndThickness() const {
    return wall().type == trapezoid ? wall().thickness1 : wall().thickness;
}

bool Wall::getStoreyLevel(double& level) const {
    const Storey* storey = getStorey();
    if (storey == nullptr) {
        return false;
    }
    level = storey->getLevel();
    return true;
}

Storey* Wall::getTopLinkedStorey() const {
    Plan* plan = host.getFrontPlan();
    if (wall().relativeTopStory == 0 || plan == nullptr) {
        return nullptr;
    }
    return plan->getStorey(short(m_record.header.floorInd + wall().relativeTopStory));
}

void Wall::setTopLinkedStorey(const Storey* storey) {
    Plan* plan = host.getFrontPlan();
    const short home = m_record.header.floorInd;
    if (storey != nullptr && plan != nullptr && short(storey->getIndex()) > home) {
        wall().relativeTopStory = short(short(storey->getIndex()) - home);
    } else {
        wall().relativeTopStory = 0;
    }
}

bool Wall::isWithinStorey(const Storey& storey, double tolerance) const {
    if (!wall().isAutoOnStoryVisibility) {
        const Storey* home = getStorey();
        return home != nullptr && short(home->getIndex()) == short(storey.getIndex());
    }
    const double base = getBaseLevel(true);
    const double top = base + getHeight();
    return top - storey.getLevel() > tolerance && storey.getLevel() + storey.getHeight() - base > tolerance;
}

double Wall::getBaseLevel(bool absolute) const {
    double storey = 0.0;
    return wall().bottomOffset + (absolute && getStoreyLevel(storey) ? storey : 0.0);
}

void Wall::setBaseLevel(double level, bool absolute) {
    double storey = 0.0;
    wall().bottomOffset = level - (absolute && getStoreyLevel(storey) ? storey : 0.0);
}

CadPoint Wall::getOrigin() const {
    return CadPoint(wall().begC, getBaseLevel(true));
}

PolyPoint Wall::getEnd() const {
    return PolyPoint(CadPoint(wall().endC, getBaseLevel(true)), wall().angle, 0);
}

void Wall::setOrigin(const CadPoint& origin) {
    wall().begC = API_Coord(origin);
    setBaseLevel(origin.z(), true);
}

void Wall::setEnd(const CadPoint& end) {
    wall().endC = API_Coord(end);
    setBaseLevel(end.z(), true);
}

double Wall::getLength() const {
    return PolyEdge(getOrigin(), getEnd()).length2D();
}

double Wall::getRotation2D() const {
    return getOrigin().azimuthAngleTo(getEnd());
}

void Wall::setRotation2D(double angle) {
    CadPoint origin = getOrigin();
    // The chord, not the arc length, keeps a curved wall's radius.
    double chord = origin.lengthTo2D(getEnd());
    origin.movePolar(chord, angle);
    setEnd(origin);
}

double Wall::getRadius() const {
    double sweep = std::fabs(wall().angle);
    if (sweep == 0.0) {
        return 0.0;
    }
    if (sweep > pi) {
        sweep = 2.0 * pi - sweep;
    }
    return getOrigin().lengthTo2D(getEnd()) / 2.0 / std::sin(sweep / 2.0);
}

PolyEdge Wall::getCentreLine() const {
    PolyEdge edge(getOrigin(), getEnd());
    double shift = wall().thickness / 2.0 - wall().offset;
    edge.offset(wall().flipped ? shift : -shift);
    return edge;
}

void Wall::stretchOrigin(const CadPoint& point, bool flag) {
    PolyEdge edge(getOrigin(), getEnd());
    edge.stretchOrigin(point, flag, 1e-5);
    edge.setBaseLevel(getBaseLevel(true));
    setOrigin(edge.origin());
    setEnd(edge.end());
    setSweep(edge.getSweep());
}

void Wall::stretchEnd(const CadPoint& point) {
    PolyEdge edge(getOrigin(), getEnd());
    edge.stretchEnd(point, 1e-5);
    edge.setBaseLevel(getBaseLevel(true));
    setOrigin(edge.origin());
    setEnd(edge.end());
    setSweep(edge.getSweep());
}

bool Wall::checkRelations() const {
    if (m_relations != nullptr) {
        return true;
    }
    Drawing* drawing = getSource();
    if (!host.isProjectOpen() || drawing == nullptr) {
        return false;
    }
    RelationRecord relations;
    if (ACAPI_Element_GetRelations(GS::Guid(getUniqueID()), API_WallID, &relations.record) != NoError) {
        return false;
    }
    const API_WallRelation& record = relations.record;
    struct Source {
        Int32 count;
        API_ConnectionGuidItem** items;
    };
    const Source sources[5] = {{record.nConBeg, record.conBeg},
                               {record.nConEnd, record.conEnd},
                               {record.nConRef, record.conRef},
                               {record.nConOther, record.conOther},
                               {record.nConCross, record.conCross}};
    for (const Source& source : sources) {
        if (source.count < 0 || std::size_t(source.count) > entriesOf(source.items)) {
            return false;
        }
    }
    std::unique_ptr<RelationList> found(new RelationList);
    for (std::size_t list = 0; list < 5; ++list) {
        for (Int32 i = sources[list].count; i-- > 0;) {
            const API_ConnectionGuidItem& item = (*sources[list].items)[i];
            ElementLink other(element_id(type), drawing, 0);
            other.setUniqueID(Guid(item.guid));
            const CadPoint::Pos along = CadPoint::Pos(4);
            switch (list) {
            case 0:
                found->emplace_back(other, endOf(true), endOf(item.conWithBeg));
                break;
            case 1:
                found->emplace_back(other, endOf(false), endOf(item.conWithBeg));
                break;
            case 2:
                found->emplace_back(other, endOf(item.conWithBeg), along);
                break;
            case 3:
                found->emplace_back(other, along, endOf(item.conWithBeg));
                break;
            default:
                found->emplace_back(other, along, along);
                break;
            }
        }
    }
    if (!found->empty()) {
        m_relations = found.release();
    }
    return true;
}

std::size_t Wall::getRelationCount() const {
    if (!checkRelations() || m_relations == nullptr) {
        return 0;
    }
    return m_relations->size();
}

const Wall::Relation* Wall::getRelation(std::size_t index) const {
    if (!checkRelations() || m_relations == nullptr) {
        return nullptr;
    }
    return &m_relations->at(index);
}

bool Wall::getOpeningList(ElementLinkList& list, bool doors) const {
    Drawing* drawing = getSource();
    if (drawing == nullptr || !host.isProjectOpen()) {
        return false;
    }
    MemoRecord memo{drawing->getMemo(getLink(), doors ? doorsMask : windowsMask)};
    if (memo.record == nullptr) {
        return false;
    }
    API_Guid** guids = doors ? memo.record->wallDoors : memo.record->wallWindows;
    const element_id kind(doors ? 5 : 4);
    for (std::size_t i = 0, count = entriesOf(guids); i < count; ++i) {
        auto* link = new ElementLink(kind, drawing, 0);
        link->setUniqueID(Guid((*guids)[i]));
        link->setStoreyIndex(m_record.header.floorInd); // an opening stands on its wall's storey
        list.push_back(link);
    }
    return true;
}

bool Wall::getWindowList(ElementLinkList& list) const {
    return getOpeningList(list, false);
}

bool Wall::getDoorList(ElementLinkList& list) const {
    return getOpeningList(list, true);
}

bool Wall::offsetJoinery(double distance) {
    Drawing* drawing = getSource();
    if (drawing == nullptr) {
        return false;
    }
    ElementLinkList openings;
    getWindowList(openings);
    getDoorList(openings);
    std::vector<std::unique_ptr<Joinery>> loaded;
    for (const ElementLink* link : openings) {
        std::unique_ptr<Element> element(drawing->load(*link));
        auto* joinery = dynamic_cast<Joinery*>(element.get());
        if (joinery == nullptr) {
            return false;
        }
        element.release();
        loaded.emplace_back(joinery);
    }
    bool put = true;
    for (const auto& joinery : loaded) {
        joinery->setCentreOffset(joinery->getCentreOffset() + distance);
        put = drawing->put(*joinery, false, true) && put;
    }
    return put;
}

std::size_t Wall::getWindowCount() const {
    ElementLinkList list;
    getWindowList(list);
    return list.size();
}

std::size_t Wall::getDoorCount() const {
    ElementLinkList list;
    getDoorList(list);
    return list.size();
}

} // namespace zelvane
