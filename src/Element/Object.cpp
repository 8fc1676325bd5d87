#include "Element/Object.h"

#include "ACAPI/ElementMemo.hpp"
#include "ACAPI/ObjectSettings.hpp"
#include "Attribute/Fill.h"
#include "Attribute/Storey.h"
#include "Element/ElementQuantity.h"
#include "Environment/Host.h"
#include "Geometry/CadPolygon.h"
#include "Geometry/Cube.h"
#include "Library/Library.h"
#include "Library/ObjectSource.h"
#include "Memo/ElementMemoStore.h"

#include <cmath>
#include <cstring>
#include <memory>

namespace zelvane {

namespace {

constexpr double pi = 3.14159265358979323846;
constexpr double twoPi = 2.0 * pi;
constexpr double tolerance = 1e-5;
// Every memo part but the ones an object never has.
constexpr unsigned long long defaultMemoParts = 0x7FFFFFBFFFFFFFULL;

// Reduced into [0, 2π), with values within the tolerance of a whole turn snapped to 0.
double reduce(double angle) {
    double reduced = std::fmod(angle, twoPi);
    if (reduced < 0.0) {
        reduced += twoPi;
    }
    if (std::fabs(reduced - twoPi) <= tolerance || std::fabs(reduced) <= tolerance) {
        return 0.0;
    }
    return reduced;
}

bool differs(double a, double b) {
    return std::isnan(a) || std::isnan(b) || a != b;
}

// Frees the memo record handed out by a pack.
struct MemoRecord {
    API_ElementMemo* memo = nullptr;
    ~MemoRecord() { ElementMemoStore::disposeRecord(memo); }
};

} // namespace

Object::Object(bool withMemo, API_ElemVariationID variation) : Object(objectKind, withMemo, variation) {}

Object::Object(const ComponentLink& source, API_ElemVariationID variation)
    : Object(objectKind, ElementLink(element_id(objectKind.type), variation), source) {}

Object::Object(const String& name, const Library* library, API_ElemVariationID variation)
    : Object(ComponentLink(name, objectKind.part, library), variation) {}

Object::Object(const char* name, const Library* library, API_ElemVariationID variation)
    : Object(String(name), library, variation) {}

Object::Object(const ElementLink& link, const ComponentLink& source) : Object(objectKind, link, source) {}

Object::Object(const API_Element& record, const ElementLink& link)
    : Object(objectKind, record, link, nullptr) {}

Object::Object(const API_Element& record, const ElementLink& link, const ComponentLink& source)
    : Object(objectKind, record, link, &source) {}

Object::Object(const Kind& kind, bool withMemo, API_ElemVariationID variation)
    : ComponentElem(ElementLink(element_id(kind.type), variation), ComponentLink()), m_partKind(kind.part) {
    loadDefaults(withMemo);
}

Object::Object(const Kind& kind, const ElementLink& link, const ComponentLink& source)
    : ComponentElem(link, source), m_partKind(kind.part) {
    this->link().setType(element_id(kind.type));
    initialise();
}

Object::Object(const Kind& kind, const API_Element& record, const ElementLink& link,
               const ComponentLink* source)
    : ComponentElem(link, source != nullptr
                              ? *source
                              : ComponentLink(recordOf(record).libInd, kind.part, link.getLibrary())),
      m_partKind(kind.part), m_head(record.header), m_record(recordOf(record)) {}

Element* Object::create(const API_Element& record, const ElementLink& link) {
    return record.header.typeID == API_ObjectID ? new Object(record, link) : nullptr;
}

API_ObjectType& Object::memberOf(API_Element& record) const {
    return record.header.typeID == API_LampID || m_partKind == APILib_LampID ? record.lamp : record.object;
}

const API_ObjectType& Object::memberOf(const API_Element& record) const {
    return recordOf(record);
}

const API_ObjectType& Object::recordOf(const API_Element& record) {
    return record.header.typeID == API_LampID ? record.lamp : record.object;
}

void Object::loadDefaults(bool withMemo) {
    API_Element defaults;
    ElementMemoStore store;
    bool found = getDefaultData(&defaults, withMemo ? store.getTarget() : nullptr);
    m_head = API_Elem_Head();
    getLink().completeHeader(m_head, true);
    m_record = found ? memberOf(defaults) : API_ObjectType();
    std::memset(static_cast<void*>(&m_record), 0, found ? 0 : sizeof(m_record));
    if (withMemo && found) {
        MemoStore* given = &store;
        getMemo(defaultMemoParts, given);
    }
    Object::setSourceLink(ComponentLink(m_record.libInd, m_partKind, nullptr), !withMemo, !withMemo);
}

void Object::initialise() {
    API_Element defaults;
    if (getDefaultData(&defaults, nullptr)) {
        m_record = memberOf(defaults);
    }
    getLink().completeHeader(m_head, true);
    m_head.hasMemo = true;
    ComponentLink source = getSourceLink();
    m_record.libInd = source.getIndex();
    m_record.offsetX = 0.0;
    m_record.offsetY = 0.0;
    m_record.fixedSize = true;
    if (source.isValid()) {
        API_LibPartDetails details{};
        if (ACAPI_LibPart_GetDetails(source.getIndex(), &details) == NoError) {
            m_record.fixedSize = details.fixSize;
        }
    }
    setAxialWidth(getSourceWidth());
    setAxialDepth(getSourceDepth());
}

API_Element* Object::getData() const {
    auto* element = new API_Element();
    Object::fillData(*element);
    return element;
}

bool Object::fillData(API_Element& record) const {
    std::memset(static_cast<void*>(&record), 0, sizeof(API_Element));
    record.header = m_head;
    memberOf(record) = m_record;
    getLink().completeHeader(record.header, true);
    return true;
}

ElementLink Object::getOwnerLink() const {
    ElementLink owner;
    if (!m_record.ownerGuid.IsNull()) {
        owner.setUniqueID(Guid(m_record.ownerGuid), getSource());
    }
    return owner;
}

StoreyLink Object::getStoreyLink(Part) const {
    API_StoryVisibility visibility;
    visibility.showOnHome = m_record.showOnHome;
    visibility.showAllAbove = m_record.showAllAbove;
    visibility.showAllBelow = m_record.showAllBelow;
    visibility.showRelAbove = m_record.showRelAbove;
    visibility.showRelBelow = m_record.showRelBelow;
    API_LinkToSettings linkTo;
    linkTo.homeStoryOffset = m_record.linkValue;
    linkTo.fixedHomeStory = m_record.linkToStory[0];
    return StoreyLink(visibility, linkTo);
}

void Object::setStoreyLink(const StoreyLink& link, Part) {
    API_StoryVisibility visibility = link;
    API_LinkToSettings linkTo = link;
    m_record.showOnHome = visibility.showOnHome;
    m_record.showAllAbove = visibility.showAllAbove;
    m_record.showAllBelow = visibility.showAllBelow;
    m_record.showRelAbove = visibility.showRelAbove;
    m_record.showRelBelow = visibility.showRelBelow;
    m_record.linkValue = linkTo.homeStoryOffset;
    m_record.linkToStory[0] = linkTo.fixedHomeStory;
}

bool Object::isShownAll(Part) const {
    return m_record.showOnHome && m_record.showAllAbove && m_record.showAllBelow;
}

void Object::setShownAll(bool shown, Part part) {
    if (part == 0) {
        m_record.showOnHome = m_record.showAllAbove = m_record.showAllBelow = shown;
    }
}

void Object::setShownUp(bool shown, Part part) {
    if (part == 0) {
        m_record.showAllAbove = shown;
    }
}

void Object::setShownDown(bool shown, Part part) {
    if (part == 0) {
        m_record.showAllBelow = shown;
    }
}

double Object::getAxialWidth() const {
    return m_record.fixedSize ? m_record.xRatio : m_record.xRatio * getSourceWidth();
}

double Object::getAxialDepth() const {
    return m_record.fixedSize ? m_record.yRatio : m_record.yRatio * getSourceDepth();
}

void Object::setAxialWidth(double width) {
    if (m_record.fixedSize) {
        m_record.xRatio = width;
    } else if (double source = getSourceWidth(); source > tolerance) {
        m_record.xRatio = width / source;
    }
    ComponentParameterMemo::setAxialWidth(width);
}

void Object::setAxialDepth(double depth) {
    if (m_record.fixedSize) {
        m_record.yRatio = depth;
    } else if (double source = getSourceDepth(); source > tolerance) {
        m_record.yRatio = depth / source;
    }
    ComponentParameterMemo::setAxialDepth(depth);
}

double Object::getRotation2D() const {
    return m_record.reflected ? reduce(m_record.angle + pi) : m_record.angle;
}

void Object::setRotation2D(double angle) {
    double stored = reduce(angle);
    if (m_record.reflected) {
        stored = reduce(stored + pi);
    }
    m_record.angle = stored;
}

void Object::setOffset(const CadPoint& offset) {
    m_record.offsetX = offset.x();
    m_record.offsetY = offset.y();
}

void Object::resetOriginOffset() {
    m_record.originIndex = 0;
    m_record.offsetX = 0.0;
    m_record.offsetY = 0.0;
}

namespace {

// The object-like part a link names, loaded from its library (else the loaded one), with that
// library; null for another kind or a part that is not there.
std::unique_ptr<ObjectSource> objectSourceOf(const ComponentLink& link, Library*& library) {
    API_LibTypeID kind = link.getType() == 0 ? APILib_ObjectID : link.getType();
    library = link.getLibrary() != nullptr ? link.getLibrary() : host.getFrontLibrary();
    if ((kind != APILib_ObjectID && kind != APILib_LampID) || library == nullptr) {
        return nullptr;
    }
    std::unique_ptr<ComponentSource> source(library->load(link, nullptr));
    if (dynamic_cast<ObjectSource*>(source.get()) == nullptr) {
        return nullptr;
    }
    return std::unique_ptr<ObjectSource>(static_cast<ObjectSource*>(source.release()));
}

} // namespace

bool Object::acceptsSource(const ComponentLink& link) const {
    Library* library = nullptr;
    return objectSourceOf(link, library) != nullptr;
}

ObjectSource* Object::loadSource(const ComponentLink& link) {
    Library* library = nullptr;
    return objectSourceOf(link, library).release();
}

bool Object::setSourceLink(const ComponentLink& link, bool refetch, bool apply) {
    Library* library = nullptr;
    std::unique_ptr<ObjectSource> object = objectSourceOf(link, library);
    if (object == nullptr) {
        return false;
    }
    return setSourceLink(link, *object, refetch, apply);
}

bool Object::setSourceLink(const ComponentLink& link, const ObjectSource& part, bool refetch, bool apply) {
    return repoint(link, part, nullptr, refetch, apply);
}

bool Object::setSourceLink(const ComponentLink& link, const ObjectSource& part,
                           const ComponentDefaults& defaults, bool refetch, bool apply) {
    return repoint(link, part, &defaults, refetch, apply);
}

bool Object::repoint(const ComponentLink& link, const ObjectSource& part, const ComponentDefaults* defaults,
                     bool refetch, bool apply) {
    // The part was loaded through its library, which it names.
    Library* library = part.getLink().getLibrary();
    API_LibTypeID kind = link.getType() == 0 ? APILib_ObjectID : link.getType();
    m_record.libInd = link.getIndex();
    m_record.fixedSize = part.isFixedSize();
    const ComponentLink named(link.getIndex(), kind, library);
    bool fetched = defaults != nullptr ? ComponentElem::setSourceLink(named, *defaults, refetch, apply)
                                       : ComponentElem::setSourceLink(named, refetch, apply);
    if (refetch && fetched) {
        setAxialWidth(getSourceWidth());
        setAxialDepth(getSourceDepth());
    }
    return fetched;
}

bool Object::userEdit() {
    unsigned long long mask = 0;
    MemoRecord memo;
    memo.memo = getMemo(mask);
    if (memo.memo == nullptr) {
        return false;
    }
    API_Element element;
    std::memset(static_cast<void*>(&element), 0, sizeof(element));
    element.header = m_head;
    getLink().completeHeader(element.header, true);
    memberOf(element) = m_record;
    API_Element all;
    std::memset(static_cast<void*>(&all), 0xFF, sizeof(all));
    if (ACAPI_Interface(APIIo_ObjectSettingsID, &element, memo.memo, &all) != NoError) {
        return false;
    }
    m_record = memberOf(element);
    const bool noParameters = memo.memo->params == nullptr;
    if (!noParameters) {
        ElementMemoStore store(memo.memo);
        memo.memo = nullptr; // the store frees it
        MemoStore* given = &store;
        ComponentElem::getMemo(static_cast<unsigned long long>(parameterMask), given);
    }
    // Without parameters from the dialog there are none to keep: the part's defaults and own size
    // are taken, as when the object is first pointed at it.
    Object::setSourceLink(ComponentLink(m_record.libInd, m_partKind, nullptr), noParameters, noParameters);
    return true;
}

void Object::applyDelta(const Element& edited, const Element& reference) {
    const auto* changed = dynamic_cast<const Object*>(&edited);
    const auto* base = dynamic_cast<const Object*>(&reference);
    if (changed != nullptr && base != nullptr) {
        const API_ObjectType& to = changed->m_record;
        const API_ObjectType& was = base->m_record;
        API_ObjectType& mine = m_record;
        auto take = [](auto& into, const auto& now, const auto& before) {
            if (now != before) {
                into = now;
            }
        };
        auto takeReal = [](double& into, double now, double before) {
            if (differs(now, before)) {
                into = now;
            }
        };
        take(mine.pen, to.pen, was.pen);
        take(mine.ltypeInd, to.ltypeInd, was.ltypeInd);
        take(mine.mat, to.mat, was.mat);
        take(mine.sectFill, to.sectFill, was.sectFill);
        take(mine.sectFillPen, to.sectFillPen, was.sectFillPen);
        take(mine.sectBGPen, to.sectBGPen, was.sectBGPen);
        take(mine.sectContPen, to.sectContPen, was.sectContPen);
        take(mine.useObjPens, to.useObjPens, was.useObjPens);
        take(mine.useObjLtypes, to.useObjLtypes, was.useObjLtypes);
        take(mine.useObjMaterials, to.useObjMaterials, was.useObjMaterials);
        take(mine.reflected, to.reflected, was.reflected);
        take(mine.fixedSize, to.fixedSize, was.fixedSize);
        take(mine.useObjSectAttrs, to.useObjSectAttrs, was.useObjSectAttrs);
        take(mine.originIndex, to.originIndex, was.originIndex);
        takeReal(mine.angle, to.angle, was.angle);
        takeReal(mine.level, to.level, was.level);
        takeReal(mine.xRatio, to.xRatio, was.xRatio);
        takeReal(mine.yRatio, to.yRatio, was.yRatio);
        if (std::memcmp(to.colour, was.colour, sizeof to.colour) != 0) {
            std::memcpy(mine.colour, to.colour, sizeof mine.colour);
        }
        take(mine.showOnHome, to.showOnHome, was.showOnHome);
        take(mine.showAllAbove, to.showAllAbove, was.showAllAbove);
        take(mine.showAllBelow, to.showAllBelow, was.showAllBelow);
        take(mine.showRelAbove, to.showRelAbove, was.showRelAbove);
        take(mine.showRelBelow, to.showRelBelow, was.showRelBelow);
        take(mine.linkValue, to.linkValue, was.linkValue);
        for (int i = 0; i < 3; ++i) {
            take(mine.linkToStory[i], to.linkToStory[i], was.linkToStory[i]);
        }
        take(mine.libInd, to.libInd, was.libInd);
    }
    ComponentElem::applyDelta(edited, reference);
    IFCMemo::applyDelta(edited, reference);
}

Pen Object::getPen(Pen::Use use) const {
    switch (UInt8(use)) {
    case 0:
    case 1:
        return Pen(attribute_index(m_record.pen));
    case 10:
        return Pen(attribute_index(m_record.sectContPen));
    case 11:
        return Pen(attribute_index(m_record.sectFillPen));
    case 12:
        return Pen(attribute_index(m_record.sectBGPen));
    default:
        return Pen(attribute_index(0));
    }
}

void Object::setPen(const Pen& pen, Pen::Use use) {
    short index = pen.getIndex().getIndex();
    switch (UInt8(use)) {
    case 0:
        m_record.pen = m_record.sectContPen = m_record.sectFillPen = m_record.sectBGPen = index;
        break;
    case 1:
        m_record.pen = index;
        break;
    case 6:
    case 11:
        m_record.sectFillPen = index;
        break;
    case 8:
    case 12:
        m_record.sectBGPen = index;
        break;
    case 10:
        m_record.sectContPen = index;
        break;
    default:
        break;
    }
}

Pattern* Object::getPattern(UInt8 use) const {
    if ((use == 0 || use == 1 || use == 3) && m_record.sectFill != 0) {
        return new Fill(attribute_index(m_record.sectFill));
    }
    return nullptr;
}

void Object::setPattern(const Pattern& pattern, UInt8 use) {
    if ((use == 0 || use == 3) && pattern.getIndex().getIndex() >= 1) {
        m_record.sectFill = pattern.getIndex().getIndex();
    }
}

LineStyle Object::getLineStyle(LineStyle::Use use) const {
    return LineStyle(attribute_index(UInt8(use) <= 1 ? m_record.ltypeInd : 0));
}

void Object::setLineStyle(const LineStyle& style, LineStyle::Use use) {
    if (UInt8(use) <= 1) {
        m_record.ltypeInd = style.getIndex().getIndex();
    }
}

Finish Object::getFinish(Finish::Use use) const {
    return Finish(attribute_index(UInt8(use) <= 1 ? m_record.mat : 0));
}

void Object::setFinish(const Finish& finish, Finish::Use use) {
    if (UInt8(use) <= 1) {
        m_record.mat = finish.getIndex().getIndex();
    }
}

double Object::getSurfaceC() const {
    ElementQuantity quantity;
    ElementQuantity::setMask(&quantity.elementMask().surface);
    return quantity.measure(getLink()) ? quantity.getElement().surface : 0.0;
}

double Object::getVolume() const {
    ElementQuantity quantity;
    ElementQuantity::setMask(&quantity.elementMask().volume);
    return quantity.measure(getLink()) ? quantity.getElement().volume : 0.0;
}

double Object::getStoreyLevel() const {
    const DrawingLink& drawing = getLink().getSourceLink();
    if (!drawing.hasStoreys() || drawing.getType() == 0) {
        return 0.0;
    }
    // The floor plan keeps the storeys it read for the rest of the host's entry.
    const Storey* storey = drawing.getStorey();
    return storey != nullptr ? storey->getLevel() : 0.0;
}

double Object::getBaseLevel(bool absolute) const {
    return absolute ? m_record.level + getStoreyLevel() : m_record.level;
}

void Object::setBaseLevel(double level, bool absolute) {
    m_record.level = absolute ? level - getStoreyLevel() : level;
}

CadPoint Object::getOrigin() const {
    return CadPoint(m_record.posX, m_record.posY, getBaseLevel(true));
}

void Object::setOrigin(const CadPoint& origin) {
    m_record.posX = origin.x();
    m_record.posY = origin.y();
    setBaseLevel(origin.z(), true);
}

CadPolygon* Object::getBoundingPolygon() const {
    std::unique_ptr<Cube> box(getBoundingCube(false));
    if (box == nullptr) {
        return nullptr;
    }
    double width = getAxialWidth();
    double depth = getAxialDepth();
    auto* outline = new CadPolygon(Cube(-width / 2, -depth / 2, 0.0, width / 2, depth / 2, 0.0));
    *outline += box->getCentre();
    return outline;
}

} // namespace zelvane
