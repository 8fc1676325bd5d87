#include "Element/ComponentElem.h"

#include "ACAPI/ComponentRequests.hpp"
#include "Database/Project.h"
#include "GSRoot/UniString.hpp"
#include "Library/ComponentSource.h"
#include "Library/Library.h"
#include "Memo/ElementMemoStore.h"
#include "Memo/ParameterListPopulator.h"

#include <cstring>
#include <memory>
#include <optional>

namespace zelvane {

namespace {

constexpr UInt64 gableBit = 2;
constexpr UInt64 parameterBit = 4;

} // namespace

ComponentElem::ComponentElem(const ElementLink& link, const ComponentLink& source)
    : Element(link), m_sourceLink(source) {}

ComponentElem::ComponentElem(const ComponentElem& other)
    : Element(other), ComponentParameterMemo(other), GableMemo(other), m_sourceLink(other.m_sourceLink) {}

ComponentElem& ComponentElem::operator=(const ComponentElem& other) {
    if (this != &other) {
        Element::operator=(other);
        ComponentParameterMemo::operator=(other);
        GableMemo::operator=(other);
        m_sourceLink = other.m_sourceLink;
        delete m_source;
        m_source = nullptr;
    }
    return *this;
}

ComponentElem::~ComponentElem() {
    delete m_source;
}

bool ComponentElem::setSourceLink(const ComponentLink& link, bool refetch, bool apply) {
    dropSource(link);
    return reload(refetch, apply, false);
}

bool ComponentElem::setSourceLink(const ComponentLink& link, const ComponentDefaults& defaults, bool refetch,
                                  bool apply) {
    dropSource(link);
    return reload(defaults, refetch, apply, false);
}

void ComponentElem::dropSource(const ComponentLink& link) {
    m_sourceLink = link;
    delete m_source;
    m_source = nullptr;
    clear3D();
}

void ComponentElem::copyDefaultParameters(bool same, bool skipSizes, bool allowRowChange,
                                          bool allowColumnChange) {
    API_Element record;
    ElementMemoStore store;
    if (!getDefaultData(&record, store.getTarget())) {
        return;
    }
    if (same && getRecordLibraryIndex(record) != m_sourceLink.getIndex()) {
        return;
    }
    ParameterListPopulator().copyTo(getParameterList(), store, skipSizes, allowRowChange, allowColumnChange);
}

void ComponentElem::getOwnerInfo(API_ParamOwnerType& owner, bool& defaults) const {
    owner.typeID = getType().getType();
    if (!exists()) {
        defaults = true;
    }
    if (!defaults) {
        owner.guid = getUniqueID();
        return;
    }
    owner.variationID = getClass();
}

ComponentSource* ComponentElem::getComponentSource() const {
    if (m_source == nullptr) {
        if (Library* library = m_sourceLink.getLibrary()) {
            m_source = library->load(m_sourceLink, nullptr);
        }
    }
    return m_source;
}

FamilyGuid ComponentElem::getFamilyID() const {
    ComponentSource* source = getComponentSource();
    return source != nullptr ? source->getUniqueID() : FamilyGuid();
}

FamilyGuid ComponentElem::getParentFamilyID() const {
    ComponentSource* source = getComponentSource();
    return source != nullptr ? source->getParentUniqueID() : FamilyGuid();
}

String ComponentElem::getSourceName() const {
    if (ComponentSource* source = getComponentSource()) {
        return source->getName();
    }
    API_Guid guid = getUniqueID();
    GS::UniString name;
    if (ACAPI_Goodies(APIAny_GetUnloadedLibpartNameID, &guid, &name) != NoError) {
        return String();
    }
    return String(name);
}

bool ComponentElem::refresh() {
    API_Elem_Head head;
    getLink().completeHeader(head, true);
    bool rebuild = false;
    return ACAPI_Database(APIDb_RefreshElementID, &head, &rebuild) == NoError;
}

void ComponentElem::applyDelta(const Element& edited, const Element& reference) {
    const auto* changed = dynamic_cast<const ComponentElem*>(&edited);
    const auto* base = dynamic_cast<const ComponentElem*>(&reference);
    if (changed != nullptr && base != nullptr && changed->m_sourceLink != base->m_sourceLink) {
        setSourceLink(changed->m_sourceLink, true, true);
    }
    Element::applyDelta(edited, reference);
    if (changed != nullptr && base != nullptr) {
        ComponentParameterMemo::applyDelta(static_cast<const ComponentParameterMemo&>(*changed),
                                           static_cast<const ComponentParameterMemo&>(*base));
        GableMemo::applyDelta(static_cast<const GableMemo&>(*changed), static_cast<const GableMemo&>(*base));
    }
}

void ComponentElem::getMemo(UInt64 mask, MemoStore*& store) const {
    getMemo(static_cast<unsigned long long>(mask), store);
}

void ComponentElem::getMemo(unsigned long long mask, MemoStore*& store) const {
    Element::getMemo(mask, store);
    if (!m_isMinData) {
        if (!GableMemo::isLoaded() || !GableMemo::isValid()) {
            mask |= gableBit;
        }
        if (!ComponentParameterMemo::isLoaded() || !ComponentParameterMemo::isValid()) {
            mask |= parameterBit;
        }
    }
    // The memo read here for want of a store, its handles disposed once its parts are taken.
    struct ReadMemo {
        ReadMemo() : store(&memo) { store.setKeep(true); }
        ReadMemo(const ReadMemo&) = delete;
        ReadMemo& operator=(const ReadMemo&) = delete;
        ~ReadMemo() { ACAPI_DisposeElemMemoHdls(&memo); }
        API_ElementMemo memo{};
        ElementMemoStore store;
    };
    std::optional<ReadMemo> read;
    if (store == nullptr) {
        if (Drawing* source = getSource()) {
            // Only the parts read below are asked for (a mask of neither goes as it is): the host
            // copies out no other.
            const unsigned long long parts = mask & (gableBit | parameterBit);
            read.emplace();
            if (!source->readMemo(getLink(), parts != 0 ? parts : mask, read->memo)) {
                return; // the parts stay unloaded
            }
        } else if ((mask & parameterBit) != 0) {
            // Not in the project yet: the part's defaults stand for the parameters.
            store = new ElementMemoStore();
            loadLibraryMemo(*store, false);
            if ((mask & gableBit) == 0) {
                ComponentParameterMemo::unpack(*store);
                return;
            }
        } else {
            if ((mask & gableBit) != 0) {
                GableMemo::setLoaded(true);
            }
            return;
        }
    }
    MemoStore& from = read ? read->store : *store;
    if ((mask & gableBit) != 0) {
        GableMemo::unpack(from);
    }
    if ((mask & parameterBit) != 0) {
        ComponentParameterMemo::unpack(from);
    }
}

API_ElementMemo* ComponentElem::getMemo(unsigned long long& mask) const {
    ElementMemoStore store;
    if (!packMemo(store, mask)) {
        return nullptr;
    }
    store.setKeep(true);
    return store.getTarget();
}

bool ComponentElem::fillMemo(API_ElementMemo& memo, unsigned long long& mask) const {
    ElementMemoStore store(&memo);
    store.setKeep(true); // memo is the caller's: what a failed pack made in it goes here
    bool packed = false;
    try {
        packed = packMemo(store, mask);
    } catch (...) {
        ACAPI_DisposeElemMemoHdls(&memo);
        throw;
    }
    if (!packed) {
        ACAPI_DisposeElemMemoHdls(&memo);
    }
    return packed;
}

bool ComponentElem::packMemo(ElementMemoStore& store, unsigned long long& mask) const {
    if (!GableMemo::pack(&store) || !ComponentParameterMemo::pack(&store)) {
        return false;
    }
    const API_ElementMemo* memo = store.getTarget();
    if (memo->params != nullptr) {
        mask |= parameterBit;
    }
    if (memo->gables != nullptr) {
        mask |= gableBit;
    }
    return true;
}

} // namespace zelvane
