#include "Database/Drawing.h"

#include "ACAPI/ElementRequests.hpp"
#include "ACAPI/ElementTable.hpp"
#include "Attribute/Layer.h"
#include "Attribute/Storey.h"
#include "Database/AttributeLink.h"
#include "Database/ElementLink.h"
#include "Database/ElementLinkList.h"
#include "Database/Plan.h"
#include "Database/Project.h"
#include "Element/Element.h"
#include "Environment/Host.h"
#include "Environment/MemoryBlock.h"
#include "GSRoot/UniString.hpp"
#include "Memo/ElementMemoStore.h"

#include <cstring>
#include <functional>
#include <map>
#include <memory>
#include <unordered_map>

namespace zelvane {

namespace {

// Keyed by element type alone: the factories of a type are tried in registration order.
using CreatorList = std::multimap<UInt8, Drawing::Factory>;

std::unique_ptr<CreatorList>& creators() {
    static std::unique_ptr<CreatorList> list;
    return list;
}

std::unique_ptr<CreatorList>& adapters() {
    static std::unique_ptr<CreatorList> list;
    return list;
}

Element* createFrom(const CreatorList* list, const API_Element& record, const ElementLink& link) {
    if (list == nullptr) {
        return nullptr;
    }
    auto range = list->equal_range(UInt8(record.header.typeID));
    for (auto it = range.first; it != range.second; ++it) {
        if (Element* element = it->second(record, link)) {
            return element;
        }
    }
    return nullptr;
}

bool isUserDataSuccess(GSErrCode err) {
    return err == NoError || err == APIERR_NOUSERDATA;
}

// A record whose every byte marks a member to change: made once, as every change passes it.
const API_Element& fullMask() {
    static const API_Element mask = [] {
        API_Element all;
        std::memset(static_cast<void*>(&all), 0xFF, sizeof(API_Element));
        return all;
    }();
    return mask;
}

struct MemoRecord {
    void operator()(API_ElementMemo* memo) const { ElementMemoStore::disposeRecord(memo); }
};
using MemoPtr = std::unique_ptr<API_ElementMemo, MemoRecord>;

// A memo record of the caller's own: only its handles are disposed.
struct MemoHandles {
    void operator()(API_ElementMemo* memo) const { ACAPI_DisposeElemMemoHdls(memo); }
};

// The element's listing ID goes to the host with its memo. A changed element that does not hold
// its ID would first ask the host for it: the memo goes without one, and the host keeps its own.
void stampListingID(API_ElementMemo& memo, const Element& element, bool change) {
    delete memo.elemInfoString;
    memo.elemInfoString = nullptr;
    if (!change || element.isListingIDHeld()) {
        memo.elemInfoString = new GS::UniString(element.getListingID(false));
    }
}

} // namespace

bool Drawing::m_isSelectionInfo = false;

Drawing::Filter::Filter(unsigned int flags, const element_id& kind, bool selectedOnly, bool unused,
                        bool userDataOnly)
    : m_flags(flags), m_kind(kind), m_unused(unused), m_selectedOnly(selectedOnly),
      m_userDataOnly(userDataOnly) {}

Drawing::Filter::Filter(const element_id& kind, bool selectedOnly, bool unused, bool userDataOnly)
    : Filter(0, kind, selectedOnly, unused, userDataOnly) {}

Drawing::Filter::Filter(bool selectedOnly, bool unused)
    : Filter(0, element_id(), selectedOnly, unused, false) {}

bool Drawing::Filter::isAccepted(const Element&) const {
    return true;
}

bool Drawing::Filter::isKindAccepted(const element_id& kind) const {
    return m_kind.getType() == 0 || m_kind.matches(kind);
}

struct Drawing::SelectionIndex {
    struct Hash {
        std::size_t operator()(const Guid& guid) const {
            return std::hash<std::uint64_t>()(guid.getHigh() ^ (guid.getLow() * 31));
        }
    };
    std::unordered_map<Guid, const ElementLink*, Hash> byGuid; // the first link of each GUID
};

Drawing::Drawing(Project* project, const DatabaseGuid& id) : m_project(project), m_id(id) {}

Drawing::~Drawing() {
    delete m_selection;
}

void Drawing::reset() {
    dropSelection();
}

void Drawing::dropSelection() {
    delete m_selection;
    m_selection = nullptr;
    m_selectionIndex.reset();
}

const ElementLink* Drawing::findSelected(const ElementLink& link) {
    if (m_selection == nullptr) {
        return nullptr;
    }
    if (!link.getUniqueID()) {
        for (const ElementLink* item : *m_selection) {
            if (*item == link) {
                return item;
            }
        }
        return nullptr;
    }
    if (m_selectionIndex == nullptr) {
        auto index = std::make_unique<SelectionIndex>();
        index->byGuid.reserve(m_selection->size());
        for (const ElementLink* item : *m_selection) {
            index->byGuid.emplace(item->getUniqueID(), item);
        }
        m_selectionIndex = std::move(index);
    }
    auto found = m_selectionIndex->byGuid.find(link.getUniqueID());
    return found != m_selectionIndex->byGuid.end() ? found->second : nullptr;
}

Library* Drawing::getLibrary() const {
    return m_project != nullptr ? m_project->getLibrary() : nullptr;
}

Specification* Drawing::getSpec() const {
    return m_project != nullptr ? m_project->getSpecification() : nullptr;
}

bool Drawing::activate() const {
    if (m_project == nullptr || !m_project->setActiveDrawing(this)) {
        m_lastError = APIERR_GENERAL;
        return false;
    }
    return true;
}

void Drawing::shutdown() {
    creators().reset();
    adapters().reset();
}

Drawing::Factory Drawing::addAdapter(const element_id& kind, Factory factory, bool adapter) {
    std::unique_ptr<CreatorList>& list = adapter ? adapters() : creators();
    if (!list) {
        list = std::make_unique<CreatorList>();
    }
    auto range = list->equal_range(kind.getType());
    for (auto it = range.first; it != range.second; ++it) {
        if (it->second == factory) {
            return factory;
        }
    }
    list->emplace(kind.getType(), factory); // after the entries of the same type
    return factory;
}

Element* Drawing::createElement(const API_Element& record, ElementLink& link, MemoStore* store) {
    link.setVariation(record.header.variationID);
    Element* made = createFrom(adapters().get(), record, link);
    if (made == nullptr) {
        made = createFrom(creators().get(), record, link);
    }
    if (made != nullptr && store != nullptr) {
        std::unique_ptr<Element> element(made);
        // The switch is module-wide: it comes back whatever getMemo throws.
        struct Restore {
            bool saved = Element::m_isMinData;
            ~Restore() { Element::m_isMinData = saved; }
        } restore;
        Element::m_isMinData = true;
        element->getMemo(allMemoParts, store);
        made = element.release();
    }
    return made;
}

Drawing::iterator Drawing::begin(bool autoWrite, const Filter& filter) {
    auto list = std::make_shared<ElementLinkList>(50);
    getLinksMatching(filter, list.get());
    iterator it(list, filter);
    it.setAutoWrite(autoWrite);
    return it;
}

Drawing::reverse_iterator Drawing::rbegin(bool autoWrite, const Filter& filter) {
    auto list = std::make_shared<ElementLinkList>(50);
    getLinksMatching(filter, list.get());
    reverse_iterator it(list, filter);
    it.setAutoWrite(autoWrite);
    return it;
}

Guid Drawing::phaseFilterOf(const Filter& filter) const {
    if ((filter.getFlags() & 0x400) == 0) {
        return Guid();
    }
    return filter.getPhaseFilter() ? filter.getPhaseFilter() : host.getActivePhaseFilter();
}

bool Drawing::isFlagsAccepted(const Guid& guid, const Filter& filter) const {
    return ACAPI_Element_Filter(GS::Guid(guid), filter.getFlags(), 0, GS::Guid(phaseFilterOf(filter)));
}

bool Drawing::listElements(API_ElemTypeID type, const Filter& filter, GS::Array<API_Guid>& guids) {
    GSErrCode err =
        ACAPI_Element_GetElemList(type, &guids, filter.getFlags(), 0, GS::Guid(phaseFilterOf(filter)));
    setLastError(err);
    return err == NoError;
}

std::size_t Drawing::getLinksMatching(const Filter& filter, ElementLinkList* list) {
    if (!activate()) {
        return 0;
    }
    // A link test needs the links, even to count them.
    ElementLinkList counted;
    if (list == nullptr && filter.hasLinkTest()) {
        list = &counted;
    }
    bool proxyMode = filter.isResolvingProxies() && isProxyView();
    std::size_t count = 0;
    std::size_t firstNew = list != nullptr ? list->size() : 0;
    if (filter.isSelectedOnly()) {
        if (!checkSelection()) {
            return 0;
        }
        if (list != nullptr) {
            list->reserve(list->size() + m_selection->size());
        }
        for (const ElementLink* link : *m_selection) {
            if (proxyMode && list != nullptr) {
                list->push_back(link->clone());
                continue;
            }
            if (!filter.isKindAccepted(link->getType()) ||
                (filter.getFlags() != 0 && !isFlagsAccepted(link->getUniqueID(), filter))) {
                continue;
            }
            ++count;
            if (list != nullptr) {
                list->push_back(link->clone());
            }
        }
    } else {
        GS::Array<API_Guid> guids;
        if (!listElements(proxyMode ? 0 : filter.getKind().getType(), filter, guids)) {
            return 0;
        }
        count = list != nullptr ? list->append(guids, *this) : guids.GetSize();
    }
    if (list != nullptr && (proxyMode || filter.hasLinkTest())) {
        // Links that do not pass are dropped in one sweep, keeping the order of the others.
        count = 0;
        std::size_t kept = firstNew;
        for (std::size_t i = firstNew; i < list->size(); ++i) {
            ElementLink actual = *(*list)[i];
            bool keep = (!proxyMode ||
                         (sourceActualElement(true, actual) && filter.isKindAccepted(actual.getType()) &&
                          (filter.getFlags() == 0 || isFlagsAccepted(actual.getUniqueID(), filter)))) &&
                        (!filter.hasLinkTest() || filter.isLinkAccepted(actual));
            if (keep) {
                std::swap((*list)[kept++], (*list)[i]);
                ++count;
            }
        }
        list->resize(kept);
        activate();
    }
    return count;
}

std::size_t Drawing::getLinksToLoad(const Filter& filter, ElementLinkList& list) {
    // Proxies, link tests and mixed kinds need each element's header to be listed; the selection
    // is listed from the links it holds.
    if (filter.isSelectedOnly() || filter.hasLinkTest() || filter.getKind().getType() == 0 ||
        (filter.isResolvingProxies() && isProxyView())) {
        return getLinksMatching(filter, &list);
    }
    if (!activate()) {
        return 0;
    }
    GS::Array<API_Guid> guids;
    if (!listElements(filter.getKind().getType(), filter, guids)) {
        return 0;
    }
    return list.appendOfKind(guids, *this, element_id(filter.getKind().getType(), 0));
}

std::size_t Drawing::getCount(const Filter& filter, bool) {
    if (!activate()) {
        return 0;
    }
    return getLinksMatching(filter, nullptr);
}

Element* Drawing::seekNext(const ElementLink&, bool, const Filter&) {
    return nullptr;
}

ElementLink Drawing::initSeekLink(const ElementLink& link, const Filter& filter) const {
    ElementLink copy(link);
    if (filter.getKind().getType() != 0) {
        copy.setType(filter.getKind());
    }
    return copy;
}

bool Drawing::makeProxyType(ElementLink& link) {
    if (link.getType().getType() == ElementLink::proxyType) {
        return false;
    }
    link.setType(element_id(ElementLink::proxyType, 0));
    link.setNeigID(0);
    return true;
}

ElementLink Drawing::proxySeekLink(const ElementLink& link, const Filter&) const {
    ElementLink copy(link);
    if (link.getProxySourceLink() == getLink() && link.getProxyKind().getType() != 0 &&
        bool(link.getProxyID())) {
        copy.setType(link.getProxyKind());
        copy.setSource(link.getProxySource());
    }
    return copy;
}

bool Drawing::sourceActualElement(bool resolve, ElementLink& link) {
    if (link.getSourceLink().getType() == 0) {
        link.setSource(this);
    }
    if (link.getType().getType() != ElementLink::proxyType) {
        link.setSource(m_project != nullptr ? m_project->getActiveDrawing() : nullptr);
        link.setProxyKind(element_id());
        link.setProxySource(nullptr);
        return true;
    }
    if (!activate()) {
        return false;
    }
    API_Element proxy;
    proxy.header.typeID = ElementLink::proxyType;
    proxy.header.guid = GS::Guid(link.getUniqueID());
    GSErrCode err = ACAPI_Element_Get(&proxy);
    setLastError(err);
    if (err != NoError) {
        return false;
    }
    if (resolve) {
        link.setProxyKind(element_id(ElementLink::proxyType, 0));
        link.setProxySource(this);
        link.setProxyID(Guid(proxy.header.guid));
        link.setType(element_id(UInt8(proxy.sectElem.parentID), 0));
        link.setNeigID(0);
        link.setUniqueID(Guid(proxy.sectElem.parentGuid));
        Plan* plan = m_project != nullptr ? m_project->getFloorPlan() : nullptr;
        link.setSource(plan);
        if (plan != nullptr) {
            m_project->setActiveDrawing(plan);
        }
    } else {
        link.setProxyKind(element_id(UInt8(proxy.sectElem.parentID), 0));
        link.setProxyID(Guid(proxy.sectElem.parentGuid));
        link.setProxySource(nullptr);
    }
    return true;
}

Element* Drawing::finishLoad(Element* made) const {
    std::unique_ptr<Element> element(made);
    if (element != nullptr && !Element::m_isMinData) {
        // The store is handed out before its parts are read: a read that throws must not lose it.
        MemoStore* store = nullptr;
        try {
            element->getMemo(allMemoParts, store);
        } catch (...) {
            delete store;
            throw;
        }
        delete store;
    }
    return element.release();
}

Element* Drawing::load(const ElementLink& link, const Filter* filter) {
    if (!activate()) {
        return nullptr;
    }
    ElementLink copy(link);
    const ElementLink* selected = nullptr;
    if ((filter != nullptr && filter->isSelectedOnly()) || m_isSelectionInfo) {
        if (checkSelection()) {
            selected = findSelected(link);
        }
        if (filter != nullptr && filter->isSelectedOnly()) {
            if (selected == nullptr) {
                return nullptr;
            }
            copy = *selected;
        }
    }
    if (!sourceActualElement(filter != nullptr && filter->isResolvingProxies(), copy)) {
        return nullptr;
    }
    if (filter != nullptr) {
        if (!filter->isKindAccepted(copy.getType()) ||
            (filter->hasLinkTest() && !filter->isLinkAccepted(copy))) {
            return nullptr;
        }
        if (filter->getFlags() != 0 && !isFlagsAccepted(copy.getUniqueID(), *filter)) {
            return nullptr;
        }
        if (filter->isUserDataOnly()) {
            API_Elem_Head head = copy.getHeader();
            API_ElementUserData data;
            ACAPI_Element_GetUserData(&head, &data);
            if (data.dataHdl == nullptr) {
                return nullptr;
            }
            MemoryBlock release(data.dataHdl);
        }
    }
    API_Element record;
    record.header.typeID = copy.getType().getType();
    record.header.guid = GS::Guid(copy.getUniqueID());
    GSErrCode err = ACAPI_Element_Get(&record);
    setLastError(err);
    if (err != NoError) {
        return nullptr;
    }
    copy.setHeader(record.header);
    if (selected != nullptr && selected->getUniqueID() == Guid(record.header.guid)) {
        copy.setSelection(*selected);
    }
    std::unique_ptr<Element> element(createElement(record, copy, nullptr));
    if (element == nullptr) {
        return nullptr;
    }
    if (filter != nullptr && !filter->isAccepted(*element)) {
        return nullptr;
    }
    return finishLoad(element.release());
}

Element* Drawing::operator[](const ElementLink& link) {
    ElementLink copy(link);
    if (sourceActualElement(false, copy) && bool(copy.getUniqueID())) {
        API_Element record;
        record.header.guid = GS::Guid(copy.getUniqueID());
        if (ACAPI_Database(APIDb_GetElementFromAnywhereID, &record) == NoError) {
            // The source is the drawing the link resolved to; the storey is the element's own.
            ElementLink made(record.header, copy.getSource());
            if (m_isSelectionInfo && checkSelection()) {
                const ElementLink* item = findSelected(link);
                if (item != nullptr && item->getUniqueID() == made.getUniqueID()) {
                    made.setSelection(*item);
                }
            }
            if (Element* element = createElement(record, made, nullptr)) {
                return finishLoad(element);
            }
        }
    }
    return load(link, nullptr);
}

bool Drawing::put(Element& element, bool forceNew, bool withMemo) {
    if (!activate()) {
        return false;
    }
    API_Element data;
    if (!element.fillData(data)) {
        return false;
    }
    API_Element* record = &data;
    bool change = !forceNew && !record->header.guid.IsNull() &&
                  element.getLink().getSourceLink().isSameDatabaseAs(getLink());
    if (!change) {
        element.setUserDataTouched(true);
        // A new element (its link names no drawing) goes onto the current storey; any other keeps
        // the storey of its header.
        Plan* plan = m_project != nullptr ? m_project->getFloorPlan() : nullptr;
        if (element.getLink().getSourceLink().getType() == 0 && getLink().hasStoreys() && plan != nullptr) {
            if (const Storey* current = plan->getCurrentStorey()) {
                record->header.floorInd = short(current->getIndex());
            }
        }
    }
    unsigned long long mask = 0;
    API_ElementMemo memoData;
    std::unique_ptr<API_ElementMemo, MemoHandles> memo;
    if (!change || withMemo) {
        std::memset(static_cast<void*>(&memoData), 0, sizeof memoData);
        if (element.fillMemo(memoData, mask)) {
            memo.reset(&memoData);
            stampListingID(*memo, element, change);
        } else if (record->header.hasMemo) {
            return false;
        }
    }
    GSErrCode err;
    if (change) {
        err = ACAPI_Element_Change(record, &fullMask(), memo.get(), memo != nullptr ? mask : 0, true);
    } else {
        err = ACAPI_Element_Create(record, memo.get());
    }
    setLastError(err);
    if (err != NoError) {
        return false;
    }
    element.getHead() = record->header;
    ElementLink link(element.getLink());
    link.setUniqueID(Guid(record->header.guid));
    link.setSource(this);
    link.setStoreyIndex(record->header.floorInd); // where the host has the element
    element.setLink(link, 0);
    return putUserData(element);
}

bool Drawing::putSetting(Element& element, Element* from, Element* mask) {
    if (!activate()) {
        return false;
    }
    const Element& source = from != nullptr ? *from : element;
    std::unique_ptr<API_Element> record(source.getData());
    if (record == nullptr) {
        return false;
    }
    // Settings taken from another element leave the element on its own storey.
    record->header.floorInd = element.getHead().floorInd;
    unsigned long long memoMask = 0;
    MemoPtr memo(source.getMemo(memoMask));
    if (memo == nullptr && record->header.hasMemo) {
        return false;
    }
    std::unique_ptr<API_Element> changeMask(mask != nullptr ? mask->getData() : new API_Element(fullMask()));
    if (changeMask == nullptr) {
        return false;
    }
    if (memo != nullptr) {
        stampListingID(*memo, element, false);
    }
    API_Elem_Head head = element.getHead();
    GSErrCode err = ACAPI_Element_ChangeParameters(&head, 1, record.get(), memo.get(), changeMask.get());
    setLastError(err);
    if (err != NoError) {
        return false;
    }
    API_Element changed;
    changed.header.guid = head.guid;
    if (ACAPI_Element_Get(&changed) == NoError) {
        element.getHead() = changed.header;
    }
    element.setLink(ElementLink(element.getHead(), this), 0);
    if (element.getTransformCount() < 1) {
        return true;
    }
    return transform(element);
}

bool Drawing::transformOne(Element& element, const Transformation& transformation) {
    ElementLink link(element.getLink());
    link.setSource(this);
    link.setStoreyIndex(short(element.getLink().getSourceLink().getStoreyIndex())); // its own storey
    if (!transform(link, transformation)) {
        return false;
    }
    element.setLink(link, 0);
    return true;
}

bool Drawing::transform(Element& element) {
    // The link goes back after each edit: an edit may renew the GUID even when a later one fails.
    while (element.getTransformCount() > 0) {
        std::unique_ptr<Transformation> next(element.popTransform());
        if (next == nullptr || !transformOne(element, *next)) {
            return false;
        }
    }
    return true;
}

bool Drawing::transform(Element& element, const Transformation& transformation) {
    return transformOne(element, transformation);
}

bool Drawing::transform(ElementLink& link, const Transformation& transformation) {
    Drawing* target = this;
    if (getType() == APIWind_3DModelID && m_project != nullptr) {
        target = m_project->getFloorPlan();
    }
    if (!target->activate()) {
        return false;
    }
    API_Neig neig = link.getSelectHeader(true);
    GSErrCode err = ACAPI_Element_Edit(&neig, 1, transformation.getEditPars());
    setLastError(err);
    if (err != NoError) {
        return false;
    }
    if (link.getProxySourceLink().getType() != 0 && link.getProxyKind().getType() == ElementLink::proxyType) {
        link.setProxyID(Guid(neig.guid));
    } else {
        link.setUniqueID(Guid(neig.guid));
    }
    return true;
}

bool Drawing::reloadHeader(ElementLink& link, API_Elem_Head* head) {
    if (!activate()) {
        return false;
    }
    API_Element record;
    record.header.typeID = link.getType().getType();
    record.header.guid = GS::Guid(link.getUniqueID());
    GSErrCode err = ACAPI_Element_Get(&record);
    setLastError(err);
    if (err != NoError) {
        return false;
    }
    link = ElementLink(record.header, this);
    if (head != nullptr) {
        *head = record.header;
    }
    return true;
}

bool Drawing::getElementSummary(const Guid& guid, ElementLink* link, Layer* layer, Storey** storey) {
    if (link != nullptr) {
        *link = ElementLink();
    }
    if (!activate()) {
        return false;
    }
    API_Elem_Head head;
    head.guid = GS::Guid(guid);
    GSErrCode err = ACAPI_Element_GetHeader(&head);
    setLastError(err);
    if (err != NoError) {
        return false;
    }
    if (link != nullptr) {
        *link = ElementLink(head, this);
    }
    if (layer != nullptr) {
        *layer = Layer(AttributeLink(attribute_index(head.layer), Layer::ID,
                                     m_project != nullptr ? m_project->getSpecification() : nullptr));
    }
    if (storey != nullptr) {
        *storey = nullptr;
        if ((getType() == APIWind_FloorPlanID || getType() == APIWind_3DModelID) && m_project != nullptr) {
            *storey = m_project->getFloorPlan()->getStorey(head.floorInd);
        }
    }
    return true;
}

bool Drawing::reassign(Element& element, const Layer* layer, const Storey* storey, const Guid* group) {
    if (!element.getLink().getSourceLink().isSameDatabaseAs(getLink())) {
        return false;
    }
    if (layer == nullptr && storey == nullptr && group == nullptr) {
        return true;
    }
    if (!activate()) {
        return false;
    }
    auto mask = std::make_unique<API_Element>();
    std::memset(static_cast<void*>(mask.get()), 0, sizeof(API_Element));
    if (layer != nullptr) {
        element.setLayer(*layer);
        std::memset(static_cast<void*>(&mask->header.layer), 0xFF, sizeof mask->header.layer);
    }
    if (storey != nullptr) {
        element.setStorey(*storey, true);
        std::memset(static_cast<void*>(&mask->header.floorInd), 0xFF, sizeof mask->header.floorInd);
    }
    if (group != nullptr) {
        element.setGroupID(*group);
        std::memset(static_cast<void*>(&mask->header.groupGuid), 0xFF, sizeof mask->header.groupGuid);
    }
    std::unique_ptr<API_Element> record(element.getData());
    if (record == nullptr) {
        return false;
    }
    GSErrCode err = ACAPI_Element_ChangeParameters(&record->header, 1, record.get(), nullptr, mask.get());
    setLastError(err);
    if (err != NoError) {
        return false;
    }
    API_Element changed;
    changed.header.guid = record->header.guid;
    if (ACAPI_Element_Get(&changed) == NoError) {
        element.getHead() = changed.header;
    }
    element.setLink(ElementLink(element.getHead(), this), 0);
    return true;
}

API_ElementMemo* Drawing::getMemo(const ElementLink& link, unsigned long long mask) {
    if (!activate()) {
        return nullptr;
    }
    MemoPtr memo(ElementMemoStore::makeRecord());
    GSErrCode err =
        ACAPI_Element_GetMemo(GS::Guid(link.getUniqueID()), memo.get(), mask != 0 ? mask : allMemoParts);
    setLastError(err);
    return err == NoError ? memo.release() : nullptr;
}

bool Drawing::readMemo(const ElementLink& link, unsigned long long mask, API_ElementMemo& memo) {
    if (!activate()) {
        return false;
    }
    GSErrCode err =
        ACAPI_Element_GetMemo(GS::Guid(link.getUniqueID()), &memo, mask != 0 ? mask : allMemoParts);
    setLastError(err);
    return err == NoError;
}

MemoryBlock* Drawing::getUserData(const ElementLink& link, Element::UserDataFlags* flags, int* version,
                                  Platform::Host* platform) {
    if (bool(link.getUniqueID()) && !activate()) {
        return nullptr;
    }
    API_Elem_Head head = link.getHeader();
    API_ElementUserData data;
    GSErrCode err = ACAPI_Element_GetUserData(&head, &data);
    setLastError(err);
    if (!isUserDataSuccess(err)) {
        return nullptr;
    }
    std::unique_ptr<MemoryBlock> block(data.dataHdl != nullptr ? new MemoryBlock(data.dataHdl) : nullptr);
    if (flags != nullptr) {
        *flags = data.flags;
    }
    if (version != nullptr) {
        *version = data.dataVersion;
    }
    if (platform != nullptr) {
        *platform = data.platformSign;
    }
    return block.release();
}

bool Drawing::putUserData(const ElementLink& link, const MemoryBlock* block, int keepEmpty,
                          Element::UserDataFlags flags, int version, Platform::Host platform) {
    if (bool(link.getUniqueID()) && !activate()) {
        return false;
    }
    GSErrCode err = writeUserData(link.getHeader(), block, keepEmpty, flags, version, platform);
    setLastError(err);
    return isUserDataSuccess(err);
}

GSErrCode Drawing::writeUserData(API_Elem_Head head, const MemoryBlock* block, int keepEmpty,
                                 Element::UserDataFlags flags, int version, Platform::Host platform) {
    if (block != nullptr && block->size() == 0 && keepEmpty == 0) {
        block = nullptr;
    }
    if (block == nullptr) {
        return ACAPI_Element_DeleteUserData(&head);
    }
    API_ElementUserData data;
    data.dataVersion = short(version);
    data.platformSign = UInt16(platform);
    data.flags = flags;
    data.dataHdl = block->getHandle();
    return ACAPI_Element_SetUserData(&head, &data);
}

bool Drawing::putUserData(Element& element) {
    if (!element.isUserDataTouched()) {
        return true;
    }
    std::unique_ptr<MemoryBlock> block(element.getUserData());
    if (!putUserData(element.getLink(), block.get(), 0, element.getUserDataFlags(),
                     element.getUserDataVersion(), element.getUserDataHost())) {
        return false;
    }
    element.setUserDataTouched(false);
    return true;
}

} // namespace zelvane
