#include "Element/Element.h"
#include "Primitive/ShapeExtraction.h"

#include "ACAPI/ElementBounds.hpp"
#include "ACAPI/ElementGroups.hpp"
#include "ACAPI/ElementMemo.hpp"
#include "ACAPI/ElementRequests.hpp"
#include "ACAPI/ElementTable.hpp"
#include "ACAPI/ElementTrims.hpp"
#include "ACAPI/SolidLinks.hpp"
#include "Attribute/Composite.h"
#include "Attribute/Fill.h"
#include "Attribute/Layer.h"
#include "Attribute/Storey.h"
#include "Database/AttributeLink.h"
#include "Database/Drawing.h"
#include "Database/ElementLinkList.h"
#include "Database/Plan.h"
#include "Database/Project.h"
#include "Database/Specification.h"
#include "Database/User.h"
#include "Element/ElementQuantity.h"
#include "Element/Group.h"
#include "Environment/Host.h"
#include "Environment/MemoryBlock.h"
#include "GSRoot/BM.hpp"
#include "GSRoot/UniString.hpp"
#include "Geometry/CadPolygon.h"
#include "Geometry/Cube.h"
#include "Geometry/Leveller.h"
#include "Memo/ElementMemoStore.h"
#include "Model3D/Element3D.h"

#include <algorithm>
#include <cstring>
#include <memory>

namespace zelvane {

namespace {

// One quantity of a composite element's skins of the given material, summed; 0 when the host
// cannot measure the element.
double sumOfSkins(const ElementLink& link, attribute_index material, double API_CompositeQuantity::*field) {
    ElementQuantity quantity;
    ElementQuantity::setMask(&(quantity.compositeMask().*field));
    ElementQuantity::setMask(&quantity.compositeMask().buildMatIndices);
    if (!quantity.measure(link)) {
        return 0.0;
    }
    double sum = 0.0;
    for (const API_CompositeQuantity& skin : quantity.getComposites()) {
        if (skin.buildMatIndices == material.getIndex()) {
            sum += skin.*field;
        }
    }
    return sum;
}

// The host's answer when an element has no user data: success for these calls.
bool isUserDataDone(GSErrCode err) {
    return err == NoError || err == APIERR_NOUSERDATA;
}

// Makes the drawing the project's active one; false when that fails.
bool makeActive(const Drawing* drawing) {
    if (drawing == nullptr) {
        return true;
    }
    Project* project = drawing->getProject();
    return project == nullptr || project->setActiveDrawing(drawing);
}

// Disposes the operator list the host handed out.
struct OperatorList {
    GS::Array<API_Guid>* list = nullptr;
    ~OperatorList() { delete list; }
};

} // namespace

bool Element::m_isMinData = true;

Element::Element(const ElementLink& link) : m_link(link), m_userDataHost(platform.getHost()) {}

Element::Element(const Element& other)
    : m_link(other.m_link), m_model(other.m_model), m_userDataFlags(other.m_userDataFlags),
      m_userDataVersion(other.m_userDataVersion), m_userDataHost(other.m_userDataHost),
      m_isLoaded(other.m_isLoaded), m_isTouched(other.m_isTouched) {
    std::unique_ptr<TransformList> transforms(
        other.m_transforms != nullptr ? new TransformList(*other.m_transforms) : nullptr);
    m_userData = other.m_userData != nullptr ? other.m_userData->clone() : nullptr;
    m_transforms = transforms.release();
}

Element& Element::operator=(const Element& other) {
    if (this == &other) {
        return *this;
    }
    std::unique_ptr<TransformList> transforms(
        other.m_transforms != nullptr ? new TransformList(*other.m_transforms) : nullptr);
    std::unique_ptr<MemoryBlock> block(other.m_userData != nullptr ? other.m_userData->clone() : nullptr);
    delete m_transforms;
    m_transforms = transforms.release();
    delete m_userData;
    m_userData = block.release();
    m_userDataFlags = other.m_userDataFlags;
    m_userDataVersion = other.m_userDataVersion;
    m_userDataHost = other.m_userDataHost;
    m_isLoaded = other.m_isLoaded;
    m_isTouched = other.m_isTouched;
    m_link = other.m_link;
    m_model = other.m_model;
    // The listing strings are the other element's: read this one's afresh, as a copy does.
    m_elementID.clear();
    m_masterID.clear();
    m_listingRead = false;
    return *this;
}

Element::~Element() {
    delete m_transforms;
    delete m_userData;
}

bool Element::exists() const {
    return bool(m_link.getUniqueID()) && m_link.isValid();
}

void Element::setLink(const ElementLink& link, unsigned int) {
    element_id kind = m_link.getType();
    m_link = link;
    m_link.setType(kind);
    m_link.completeHeader(getHead(), true);
}

void Element::clearLink() {
    m_link.clearIdentity();
    if (m_userData != nullptr) {
        m_isTouched = true;
    }
}

bool Element::isListingIDHeld() const {
    return !m_elementID.empty() || (m_listingRead && m_listingOf == m_link.getUniqueID());
}

String Element::getListingID(bool master) const {
    if (!isListingIDHeld()) {
        GS::Guid guid(m_link.getUniqueID());
        GS::UniString compound, element;
        bool hasCompound = ACAPI_Database(APIDb_GetCompoundInfoStringID, &guid, &compound) == NoError;
        if (ACAPI_Database(APIDb_GetElementInfoStringID, &guid, &element) == NoError) {
            m_elementID = String(element);
            m_listingRead = true;
            m_listingOf = m_link.getUniqueID();
            // The compound string is the master prefix followed by the element's own ID; one that
            // is shorter (or missing) has no prefix.
            m_masterID.clear();
            if (hasCompound && compound.GetLength() >= element.GetLength()) {
                m_masterID = String(compound.GetSubstring(0, compound.GetLength() - element.GetLength()));
            }
        }
    }
    if (!master) {
        return m_elementID;
    }
    String whole = m_masterID;
    whole += m_elementID;
    return whole;
}

String Element::getMasterID() const {
    getListingID(true);
    return m_masterID;
}

Drawing* Element::getSource() const {
    return m_link.getSource();
}

MemoryBlock* Element::getUserData() const {
    loadUserData(false);
    return m_userData != nullptr ? m_userData->clone() : nullptr;
}

void Element::loadUserData(bool force) const {
    if ((m_isLoaded && !force) || !m_link.isValid()) {
        return;
    }
    m_isLoaded = true;
    Drawing* source = getSource();
    if (source == nullptr) {
        return;
    }
    std::unique_ptr<MemoryBlock> block(source->getUserData(m_link, nullptr, nullptr, nullptr));
    if (block != nullptr) {
        delete m_userData;
        m_userData = block.release();
        m_isTouched = false;
    }
}

void Element::setUserData(MemoryBlock* block) {
    if (block != m_userData) {
        delete m_userData;
        m_userData = block;
    }
    m_isLoaded = true;
    m_isTouched = true;
}

void Element::pushTransform(Transformation* transform) {
    std::unique_ptr<Transformation> held(transform);
    if (m_transforms == nullptr) {
        m_transforms = new TransformList;
    }
    m_transforms->push_back(held.release());
}

Transformation* Element::popTransform() {
    if (m_transforms == nullptr || m_transforms->empty()) {
        return nullptr;
    }
    Transformation* last = m_transforms->back();
    m_transforms->back() = nullptr; // handed to the caller, not deleted with the slot
    m_transforms->pop_back();
    if (m_transforms->empty()) {
        clearTransform();
    }
    return last;
}

void Element::clearTransform() {
    delete m_transforms;
    m_transforms = nullptr;
}

bool Element::fillData(API_Element& record) const {
    std::unique_ptr<API_Element> made(getData());
    if (made == nullptr) {
        return false;
    }
    record = *made;
    return true;
}

bool Element::fillMemo(API_ElementMemo& memo, unsigned long long& mask) const {
    API_ElementMemo* made = getMemo(mask);
    if (made == nullptr) {
        return false;
    }
    // The handles move to memo: the emptied record is freed alone.
    memo = *made;
    std::memset(static_cast<void*>(made), 0, sizeof(API_ElementMemo));
    ElementMemoStore::disposeRecord(made);
    return true;
}

void Element::getMemo(unsigned long long, MemoStore*&) const {
    if (!m_isMinData) {
        loadUserData(false);
    }
}

void Element::setLocked(bool locked) {
    Project* project = host.getProject();
    if (project != nullptr && project->isShared()) {
        return;
    }
    getHead().locked = locked;
}

bool Element::isEditableOnOpenLayer() const {
    if (!getHead().hotlinkGuid.IsNull()) {
        return false;
    }
    Project* project = host.getProject();
    if (project != nullptr && project->isShared()) {
        const User* user = host.getUser();
        return user != nullptr && getOwnerID() == user->getID();
    }
    return !isLocked();
}

bool Element::isEditable() const {
    if (!isEditableOnOpenLayer()) {
        return false;
    }
    Specification* specification = host.getFrontSpec();
    if (specification == nullptr) {
        return true;
    }
    std::unique_ptr<Attribute> attribute(
        specification->load(AttributeLink(int(getLayerIndex()), Layer::ID, specification)));
    const auto* layer = dynamic_cast<const Layer*>(attribute.get());
    return layer == nullptr || (!layer->isLocked() && !layer->isHidden());
}

bool Element::isGrouped() const {
    return !getHead().groupGuid.IsNull() || !getHead().hotlinkGuid.IsNull();
}

void Element::setStorey(const Storey& storey, bool reapply) {
    setStoreyIndex(short(storey.getIndex()));
    if (reapply) {
        StoreyLink main = getStoreyLink(0);
        main.setOnAllAbove(false);
        main.setOnAllBelow(false);
        setStoreyLink(main, 0);
    }
}

Storey* Element::getStorey() const {
    return m_link.getSourceLink().getStorey();
}

void Element::setStoreyIndex(short index) {
    m_link.setStoreyIndex(index);
    m_link.completeHeader(getHead(), true);
}

MemoryBlock* Element::getOwnerData(int* version, Platform::Endianness* order) const {
    if (m_userData != nullptr) {
        return m_userData->clone();
    }
    if (!makeActive(getSource())) {
        return nullptr;
    }
    API_Elem_Head head = m_link.getHeader();
    API_ElementUserData data;
    GSErrCode err = ACAPI_Element_GetUserData(&head, &data);
    if (err != NoError) {
        if (data.dataHdl != nullptr) {
            BMKillHandle(&data.dataHdl);
        }
        if (version != nullptr) {
            *version = 0;
        }
        if (order != nullptr) {
            *order = Platform::Endianness(0);
        }
        return nullptr;
    }
    if (version != nullptr) {
        *version = data.dataVersion;
    }
    if (order != nullptr) {
        *order = data.platformSign == 19789 ? Platform::bigEndian : Platform::littleEndian;
    }
    return new MemoryBlock(data.dataHdl);
}

bool Element::setOwnerData(const MemoryBlock& block, int, bool observe, UserDataFlags flags) {
    if (m_userData != &block) {
        delete m_userData;
        m_userData = nullptr;
    }
    if (block.getHandle() == nullptr || block.size() == 0) {
        return false;
    }
    API_Elem_Head head = m_link.getHeader();
    API_ElementUserData data;
    data.dataVersion = 1;
    data.platformSign = platform.getHost();
    data.flags = flags;
    data.dataHdl = block.getHandle();
    GSErrCode err = ACAPI_Element_SetUserData(&head, &data);
    if (observe) {
        setObserved(true);
    }
    return isUserDataDone(err);
}

bool Element::setObserved(bool observed) {
    API_Elem_Head head = m_link.getHeader();
    return (observed ? ACAPI_Element_AttachObserver(&head, 0) : ACAPI_Element_DetachObserver(&head)) ==
           NoError;
}

Pen Element::getPen(Pen::Use) const {
    return Pen(attribute_index(0));
}

LineStyle Element::getLineStyle(LineStyle::Use) const {
    return LineStyle();
}

Finish Element::getFinish(Finish::Use) const {
    return Finish();
}

Pattern* Element::getPattern(UInt8) const {
    return nullptr;
}

double Element::getMaterialVolume(attribute_index material) const {
    switch (getStructureType()) {
    case basic:
        return getMaterial().getIndex() == material ? getVolume() : 0.0;
    case composite:
        return sumOfSkins(m_link, material, &API_CompositeQuantity::volumes);
    default:
        return 0.0;
    }
}

double Element::getMaterialArea(attribute_index material) const {
    if (getStructureType() != composite) {
        return 0.0;
    }
    std::unique_ptr<Pattern> pattern(getPattern(1));
    if (dynamic_cast<const Composite*>(pattern.get()) == nullptr) {
        return 0.0;
    }
    return sumOfSkins(m_link, material, &API_CompositeQuantity::projectedArea);
}

void Element::loadToolDefaults(API_Element& record, API_ElemTypeID type, bool hasMemo) const {
    API_Element defaults;
    defaults.header.typeID = type;
    defaults.header.variationID = getClass();
    if (ACAPI_Element_GetDefaults(&defaults, nullptr) == NoError) {
        record = defaults;
    }
    record.header.typeID = type;
    record.header.hasMemo = hasMemo;
}

double Element::getBaseLevel(bool) const {
    return 0.0;
}

double Element::getHeight() const {
    std::unique_ptr<Cube> box(getBoundingCube(false));
    return box != nullptr ? box->getHeight() : 0.0;
}

double Element::getWidth() const {
    std::unique_ptr<Cube> box(getBoundingCube(false));
    return box != nullptr ? box->getWidth() : 0.0;
}

double Element::getDepth() const {
    std::unique_ptr<Cube> box(getBoundingCube(false));
    return box != nullptr ? box->getDepth() : 0.0;
}

double Element::getPerimeter() const {
    std::unique_ptr<CadPolygon> outline(getBoundingPolygon());
    return outline != nullptr ? outline->getPerimeter2D() : 0.0;
}

double Element::getArea() const {
    std::unique_ptr<CadPolygon> outline(getBoundingPolygon());
    return outline != nullptr ? outline->getArea(true, false) : 0.0;
}

std::shared_ptr<Element3D> Element::getPrimitives3D() const {
    if (m_model == nullptr) {
        m_model.reset(getElement3D());
    }
    return m_model;
}

Element3D* Element::getElement3D() const {
    if (!m_link.isValid()) {
        return nullptr;
    }
    auto model = std::make_unique<Element3D>(m_link, getSource());
    return model->isEmpty() ? nullptr : model.release();
}

double Element::getTotalSurfaceArea() const {
    std::shared_ptr<Element3D> model = getPrimitives3D();
    if (model == nullptr) {
        return 0.0;
    }
    double sum = 0.0;
    for (std::size_t b = 0; b < model->bodySize(); ++b) {
        Body body = model->body(b);
        for (std::size_t f = 0; f < body.faceSize(); ++f) {
            CadPolygon polygon(5, 0, true);
            body.extractFacePolygon(f, polygon);
            if (!polygon.isValid(false, 1e-5)) {
                continue;
            }
            Vector3 normal = body.face(f).getNormal();
            Leveller(normal, 0.0, 1e-5).transform(polygon);
            sum += polygon.getArea(true, false);
        }
    }
    return sum;
}

Cube* Element::getBoundingCube(bool fresh) const {
    Cube box;
    return measureBoundingCube(box, fresh) ? new Cube(box) : nullptr;
}

bool Element::measureBoundingCube(Cube& box, bool fresh) const {
    if (!fresh) {
        // The model's box is that of its bodies' records: until the model is asked for, the records
        // alone give it, without reading the faces.
        if (m_model != nullptr) {
            if (std::unique_ptr<Cube> bounds(m_model->getBounds()); bounds != nullptr) {
                box = *bounds;
                return true;
            }
        } else if (m_link.isValid() && Element3D::readBounds(m_link, getSource(), box)) {
            return true;
        }
    }
    if (!makeActive(getSource())) {
        return false;
    }
    API_Elem_Head head = m_link.getHeader();
    API_Box3D bounds{};
    if (ACAPI_Database(APIDb_CalcBoundsID, &head, &bounds) != NoError) {
        return false;
    }
    Cube cube(bounds);
    double level = getBaseLevel(true);
    CadPoint origin = cube.getOrigin();
    CadPoint end = cube.getEnd();
    origin.z() = level;
    end.z() = level;
    cube.setOrigin(origin);
    cube.setEnd(end);
    cube.sort();
    box = cube;
    return true;
}

bool Element::getPrimitives2D(PrimitiveList& list, bool acceptHatching) const {
    // The host draws the shape as seen on the floor plan.
    if (Plan* plan = host.getFrontPlan()) {
        if (Project* project = host.getProject())
            project->setActiveDrawing(plan);
    }
    return extractShape(getHead(), list, acceptHatching);
}

bool Element::isWithinStorey(const Storey& storey, double) const {
    const Storey* mine = getStorey();
    return mine != nullptr && mine->getIndex().getIndex() == storey.getIndex().getIndex();
}

void Element::applyDelta(const Element& edited, const Element& reference) {
    const DrawingLink& mine = m_link.getSourceLink();
    const DrawingLink& theirs = edited.getLink().getSourceLink();
    const DrawingLink& base = reference.getLink().getSourceLink();
    if (mine.hasStoreys() && theirs.hasStoreys() && base.hasStoreys()) {
        const Storey* moved = theirs.getStorey();
        if (moved != nullptr && moved != base.getStorey()) {
            setStorey(*moved, true);
        }
    }
    const API_Elem_Head& changed = edited.getHead();
    const API_Elem_Head& was = reference.getHead();
    API_Elem_Head& head = getHead();
    if (changed.layer != was.layer) {
        head.layer = changed.layer;
    }
    if (changed.renovationStatus != was.renovationStatus) {
        head.renovationStatus = changed.renovationStatus;
    }
    if (changed.groupGuid != was.groupGuid) {
        head.groupGuid = changed.groupGuid;
    }
}

bool Element::userEdit() {
    return host.showToolSettings(m_link);
}

bool Element::copyTrim(const Element& source) const {
    ElementLinkList trimming;
    source.getTrimmingElements(trimming);
    for (const ElementLink* other : trimming) {
        API_TrimTypeID type = APITrim_No;
        if (ACAPI_Element_Trim_GetTrimType(source.getUniqueID(), other->getUniqueID(), &type) != NoError) {
            return false;
        }
        if (type != APITrim_No &&
            ACAPI_Element_Trim_ElementsWith(m_link.getUniqueID(), other->getUniqueID(), type) != NoError) {
            return false;
        }
    }
    return true;
}

bool Element::copySEO(const ElementLink& source, bool replace) const {
    OperatorList theirs, mine;
    if (ACAPI_Element_SolidLink_GetOperators(source.getUniqueID(), &theirs.list) != NoError ||
        ACAPI_Element_SolidLink_GetOperators(m_link.getUniqueID(), &mine.list) != NoError) {
        return false;
    }
    if (theirs.list == nullptr || theirs.list->IsEmpty()) {
        return true;
    }
    if (replace && mine.list != nullptr) {
        for (const API_Guid& op : *mine.list) {
            ACAPI_Element_SolidLink_Remove(m_link.getUniqueID(), op);
        }
    }
    // Every operation is tried; the answer tells whether all were made.
    bool made = true;
    for (const API_Guid& op : *theirs.list) {
        API_SolidOperationID operation = 0;
        GSFlags flags = 0;
        if (ACAPI_Element_SolidLink_GetOperation(source.getUniqueID(), op, &operation) != NoError ||
            ACAPI_Element_SolidLink_GetFlags(source.getUniqueID(), op, &flags) != NoError ||
            ACAPI_Element_SolidLink_Create(m_link.getUniqueID(), op, operation, flags) != NoError) {
            made = false;
        }
    }
    return made;
}

bool Element::addSEO(const ElementLink& op, Operation operation, unsigned int flags) const {
    return ACAPI_Element_SolidLink_Create(m_link.getUniqueID(), op.getUniqueID(), operation, flags) ==
           NoError;
}

bool Element::getDefaultData(API_Element* element, API_ElementMemo* memo) {
    if (element == nullptr) {
        return false;
    }
    *element = API_Element();
    API_ElementMemo local;
    API_ElementMemo* target = memo != nullptr ? memo : &local;
    std::memset(static_cast<void*>(target), 0, sizeof(API_ElementMemo));
    m_link.completeHeader(element->header, false);
    element->header.variationID = m_link.getVariation();
    GSErrCode err = ACAPI_Element_GetDefaults(element, memo);
    if (memo == nullptr) {
        ACAPI_DisposeElemMemoHdls(&local);
    }
    return err == NoError;
}

Group* Element::getGroup() const {
    return new Group(getGroupID());
}

Group* Element::getGroup(const Guid& id) const {
    return new Group(id);
}

void Element::setGroup(const Group& group) {
    setGroupID(group.getID());
}

Guid Element::getMainGroupID() const {
    API_Guid root;
    if (ACAPI_ElementGroup_GetRootGroup(getHead().groupGuid, &root) != NoError) {
        return Guid();
    }
    return Guid(root);
}

Group* Element::getMainGroup() const {
    return new Group(getMainGroupID());
}

Layer Element::getLayer() const {
    return Layer(attribute_index(getLayerIndex()));
}

void Element::setLayer(const Layer& layer) {
    setLayerIndex(layer.getIndex().getIndex());
}

void Element::getLinks(ElementLinkList& list) const {
    if (Drawing* source = getSource()) {
        source->getLinksFrom(m_link, list);
    }
}

UInt32 Element::getLinkUserData(const ElementLink& to) const {
    GSFlags flags = 0;
    if (ACAPI_Element_GetLinkFlags(m_link.getUniqueID(), to.getUniqueID(), &flags) != NoError) {
        return 0;
    }
    return flags;
}

bool Element::addLinkTo(const ElementLink& to, unsigned int flags) {
    return ACAPI_Element_Link(m_link.getUniqueID(), to.getUniqueID(), flags) == NoError;
}

bool Element::removeLinkTo(const ElementLink& to) {
    return ACAPI_Element_Unlink(m_link.getUniqueID(), to.getUniqueID()) == NoError;
}

void Element::getTrimmingElements(ElementLinkList& list) const {
    Drawing* source = getSource();
    if (source == nullptr) {
        return;
    }
    GS::Array<API_Guid> trimming;
    trimming.SetCapacity(50);
    if (ACAPI_Element_Trim_GetTrimmingElements(m_link.getUniqueID(), &trimming) != NoError) {
        return;
    }
    for (const API_Guid& guid : trimming) {
        list.push_back(new ElementLink(Guid(guid), source));
    }
}

bool Element::makeDefault() const {
    std::unique_ptr<API_Element> record(getData());
    if (record == nullptr) {
        return false;
    }
    unsigned long long mask = 0;
    API_ElementMemo* memo = getMemo(mask);
    record->header.variationID = m_link.getVariation();
    API_Element all;
    std::memset(static_cast<void*>(&all), 0xFF, sizeof(all));
    GSErrCode err = ACAPI_Element_ChangeDefaults(record.get(), memo, &all);
    ElementMemoStore::disposeRecord(memo);
    if (err != NoError) {
        return false;
    }
    if (!m_isLoaded) {
        return true;
    }
    Project* project = m_link.getProject() != nullptr ? m_link.getProject() : host.getProject();
    Drawing* active = project != nullptr ? project->getActiveDrawing() : nullptr;
    Plan* plan = host.getFrontPlan();
    if (plan == nullptr) {
        return true;
    }
    ElementLink tool(element_id(m_link.getType().getType(), m_link.getType().getSubtype()),
                     m_link.getVariation());
    std::unique_ptr<MemoryBlock> block(getUserData());
    bool stored = plan->putUserData(tool, block.get(), 0, m_userDataFlags, m_userDataVersion, m_userDataHost);
    if (active != nullptr && project != nullptr) {
        project->setActiveDrawing(active);
    }
    return stored;
}

void Element::forceLoad() const {
    bool was = m_isMinData;
    m_isMinData = false;
    MemoStore* store = nullptr;
    try {
        getMemo(0, store);
    } catch (...) {
        delete store;
        m_isMinData = was;
        throw;
    }
    delete store;
    m_isMinData = was;
}

} // namespace zelvane
