#include "ACAPI/ElementTable.hpp"

#include "ACAPI/ProjectInfo.hpp"
#include "GSRoot/BM.hpp"
#include "sim/Attributes.h"
#include "sim/Databases.h"
#include "sim/ElementMemos.h"
#include "sim/ElementRequests.h"
#include "sim/ElementTable.h"
#include "sim/GuidTable.h"
#include "sim/Output.h"
#include "sim/PackedBytes.h"
#include "sim/Project.h"
#include "sim/Sim.h"
#include "sim/Teamwork.h"

#include <algorithm>
#include <cstring>
#include <iterator>
#include <map>
#include <memory>
#include <new>
#include <optional>
#include <set>
#include <stdexcept>
#include <unordered_map>
#include <unordered_set>

namespace {

using sim::GuidHash;

// What the table keeps of an element besides its record.
struct EntryData {
    GS::Guid database;
    UInt64 order = 0;
    bool hasUserData = false;
    sim::UserDataRecord userData;
    std::string elementInfo;
    std::string compoundInfo;
    std::map<UInt64, std::pair<GS::Guid, GSFlags>> links; // by the order they were made
    bool observed = false;
    std::vector<API_EditPars> edits;
    UInt64 journal = 0; // the last journal that remembered the element
    sim::ElementHint memoHint;
};

struct Entry : EntryData {
    API_Element record;
};

using ToolKey = std::pair<API_ElemTypeID, API_ElemVariationID>;

// An element as it was before an undoable command first touched it, its record packed: a command
// may touch every element.
struct Before {
    GS::Guid guid;
    std::optional<EntryData> entry; // none: the command made it
    sim::PackedBytes record;
    short owner = 0;
    sim::MemoCopy memo;
};

// The elements a command touched, in the order it touched them. They are kept in blocks of many,
// so that what is kept never moves (a command may touch every element) and an element takes no
// block of its own.
class Changes {
public:
    void push_back(Before&& before) {
        if (m_count % blockSize == 0) {
            m_blocks.push_back(std::make_unique<Before[]>(blockSize));
        }
        m_blocks.back()[m_count % blockSize] = std::move(before);
        ++m_count;
    }
    std::size_t size() const { return m_count; }
    Before& operator[](std::size_t i) { return m_blocks[i / blockSize][i % blockSize]; }

private:
    static constexpr std::size_t blockSize = 32;
    std::vector<std::unique_ptr<Before[]>> m_blocks;
    std::size_t m_count = 0;
};

struct Journal {
    UInt64 serial = 0; // told apart from every earlier journal
    bool open = false;
    bool kept = false;
    Changes changes;
    // Remembered while they did not exist (an element remembered while it exists is marked in it).
    std::unordered_set<GS::Guid, GuidHash> absent;
};

// The elements by GUID, with how many there are of each type, so that listing a type that has none
// takes no walk through them all; and the elements as they were made, one after another, so that a
// walk through them all visits them where they lie rather than by where their GUIDs fall in the
// table (which takes a wait on the memory for each of many elements).
class Elements {
public:
    struct Made {
        GS::Guid guid;
        const Entry* entry;
    };

    Entry* find(const GS::Guid& guid) { return m_entries.find(guid); }
    // The element of the GUID becomes this one, made or in place of the one it had.
    void put(const GS::Guid& guid, const Entry& entry) {
        std::size_t& count = m_types[entry.record.header.typeID]; // the one step that may fail first
        if (m_listed && m_made.size() == m_made.capacity()) {
            try {
                m_made.reserve(std::max<std::size_t>(16, 2 * m_made.capacity()));
            } catch (const std::bad_alloc&) {
                unlist(); // listed again when next asked for
            }
        }
        auto [held, made] = m_entries.emplace(guid, entry);
        if (!made) {
            uncount(held->record.header.typeID);
            *held = entry;
        } else if (m_listed) {
            m_made.push_back(Made{guid, held});
        }
        ++count;
    }
    void erase(const GS::Guid& guid) {
        if (const Entry* held = m_entries.find(guid)) {
            uncount(held->record.header.typeID);
            m_entries.erase(guid);
            unlist();
        }
    }
    void clear() {
        m_entries.clear();
        m_types.clear();
        m_made.clear();
        m_listed = true;
    }
    std::size_t size() const { return m_entries.size(); }
    std::size_t countOf(API_ElemTypeID type) const {
        auto it = m_types.find(type);
        return it == m_types.end() ? 0 : it->second;
    }
    auto begin() const { return m_entries.begin(); }
    auto end() const { return m_entries.end(); }
    // Every element, mostly in the order it was made (in that order exactly after an element went).
    const std::vector<Made>& all() {
        if (!m_listed) {
            std::vector<Made> made;
            made.reserve(m_entries.size());
            for (const auto& [guid, entry] : m_entries) {
                made.push_back(Made{guid, &entry});
            }
            std::sort(made.begin(), made.end(),
                      [](const Made& a, const Made& b) { return a.entry->order < b.entry->order; });
            m_made.swap(made);
            m_listed = true;
        }
        return m_made;
    }

private:
    void uncount(API_ElemTypeID type) { --m_types[type]; }
    void unlist() {
        m_listed = false;
        m_made = std::vector<Made>();
    }

    sim::GuidTable<Entry> m_entries;
    std::unordered_map<API_ElemTypeID, std::size_t> m_types;
    std::vector<Made> m_made; // every element while m_listed; else listed again when asked for
    bool m_listed = true;
};

struct State {
    Elements elements;
    UInt64 nextOrder = 1;
    std::map<ToolKey, API_Element> defaults;
    std::map<ToolKey, sim::UserDataRecord> defaultUserData;
    std::map<std::string, std::set<Int32>> renovationHides; // by the filter's text form
    bool editRenewsGuid = false;
    Journal journal;
    UInt64 journals = 0; // journals begun
};

State& state() {
    static auto* instance = new State;
    return *instance;
}

const bool registered = sim::registerReset([] { state() = State(); }) &&
                        sim::registerProjectClear([] { state().elements.clear(); });

std::string key(const GS::Guid& guid) {
    char text[GS::Guid::TextLength + 1];
    guid.ConvertToString(text);
    return text;
}

Entry* find(const GS::Guid& guid) {
    return state().elements.find(guid);
}

GS::Guid newGuid() {
    GS::Guid guid;
    do {
        guid.Generate();
    } while (find(guid) != nullptr);
    return guid;
}

// Remembers the element as it is, the first time the running command touches it.
void remember(const GS::Guid& guid) {
    Journal& journal = state().journal;
    if (!journal.open) {
        return;
    }
    Entry* entry = find(guid);
    if (entry != nullptr ? entry->journal == journal.serial : !journal.absent.insert(guid).second) {
        return;
    }
    Before before;
    before.guid = guid;
    if (entry != nullptr) {
        entry->journal = journal.serial;
        before.entry = static_cast<const EntryData&>(*entry);
        before.record = sim::PackedBytes(reinterpret_cast<const char*>(&entry->record), sizeof entry->record);
        before.owner = sim::elementOwner(guid);
        before.memo = sim::memoCopy(guid);
    }
    journal.changes.push_back(std::move(before));
}

// An element made under the GUID remembered while it did not exist is remembered already.
void markMade(Entry& entry) {
    const Journal& journal = state().journal;
    if (journal.open && journal.absent.count(entry.record.header.guid) != 0) {
        entry.journal = journal.serial;
    }
}

void dropJournal() {
    state().journal = Journal();
}

// Creating, changing and deleting elements needs an undoable command when the host asks for one.
bool outsideUndoScope() {
    return sim::isUndoScopeRequired() && !sim::isUndoableCommandRunning();
}

// The elements of the floor plan are those of the 3D model too.
bool inCurrentDatabase(const Entry& entry) {
    return entry.database == sim::currentDatabase();
}

// Who holds an element is team work's to say.
bool isOthers(const API_Elem_Head& head) {
    return sim::isTeamwork() && sim::elementOwner(head.guid) != sim::currentUserId();
}

API_Element withOwner(API_Element record) {
    record.header.userId = sim::elementOwner(record.header.guid);
    return record;
}

constexpr API_ElemFilterFlags knownFlags = APIFilt_IsEditable | APIFilt_OnVisLayer | APIFilt_OnActFloor |
                                           APIFilt_InMyWorkspace | APIFilt_IsIndependent |
                                           APIFilt_FromFloorplan | APIFilt_IsVisibleByRenovation;

bool isOnHiddenLayer(const API_Elem_Head& head) {
    const API_Attribute* layer = sim::attribute(API_LayerID, head.layer);
    return layer != nullptr && (layer->header.flags & APILay_Hidden) != 0;
}

bool passes(const Entry& entry, API_ElemFilterFlags flags, API_ElemVariationID variation,
            const GS::Guid& renovationFilter) {
    const API_Elem_Head& head = entry.record.header;
    if (variation != 0 && head.variationID != variation) {
        return false;
    }
    if ((flags & APIFilt_IsEditable) != 0 && (head.locked || !head.hotlinkGuid.IsNull() || isOthers(head))) {
        return false;
    }
    if ((flags & APIFilt_OnVisLayer) != 0 && isOnHiddenLayer(head)) {
        return false;
    }
    if ((flags & APIFilt_FromFloorplan) != 0 && !entry.database.IsNull()) {
        return false;
    }
    if ((flags & APIFilt_OnActFloor) != 0 &&
        (!entry.database.IsNull() || head.floorInd != sim::currentStorey())) {
        return false;
    }
    if ((flags & APIFilt_InMyWorkspace) != 0 && isOthers(head)) {
        return false;
    }
    if ((flags & APIFilt_IsIndependent) != 0 && (!head.groupGuid.IsNull() || !head.hotlinkGuid.IsNull())) {
        return false;
    }
    if ((flags & APIFilt_IsVisibleByRenovation) != 0) {
        auto it = state().renovationHides.find(key(renovationFilter));
        if (it != state().renovationHides.end() && it->second.count(head.renovationStatus) != 0) {
            return false;
        }
    }
    return true;
}

// Copies the bytes of `from` that the mask marks (any byte other than 0), eight at a time: a word
// of the mask marked whole or not at all, as callers mostly give, takes no byte-by-byte work, a run
// of words marked whole is copied at once, and runs of words marked whole or not at all are passed
// over four words a step.
void applyMask(API_Element& to, const API_Element& from, const API_Element& mask) {
    auto* target = reinterpret_cast<unsigned char*>(&to);
    const auto* source = reinterpret_cast<const unsigned char*>(&from);
    const auto* marks = reinterpret_cast<const unsigned char*>(&mask);
    constexpr UInt64 high = 0x8080808080808080ull;
    constexpr std::size_t word = sizeof(UInt64);
    constexpr std::size_t words = sizeof(API_Element) - sizeof(API_Element) % word;
    auto markAt = [marks](std::size_t at) {
        UInt64 value = 0;
        std::memcpy(&value, marks + at, sizeof value);
        return value;
    };
    std::size_t run = 0; // where the run of words marked whole that ends at i begins
    std::size_t i = 0;
    while (i < words) {
        UInt64 marked = markAt(i);
        if (marked == ~UInt64(0)) {
            i += word;
            while (i + 4 * word <= words && (markAt(i) & markAt(i + word) & markAt(i + 2 * word) &
                                             markAt(i + 3 * word)) == ~UInt64(0)) {
                i += 4 * word;
            }
            continue;
        }
        // A set high bit for each byte that is 0 (no false ones: the carry chain is cut by the
        // masking of the bytes' own high bits); none: the word is marked whole.
        UInt64 zeros = ~(((marked & ~high) + ~high) | marked) & high;
        if (zeros == 0) {
            i += word;
            continue;
        }
        std::memcpy(target + run, source + run, i - run);
        if (marked == 0) {
            i += word;
            while (i + 4 * word <= words &&
                   (markAt(i) | markAt(i + word) | markAt(i + 2 * word) | markAt(i + 3 * word)) == 0) {
                i += 4 * word;
            }
            while (i < words && markAt(i) == 0) {
                i += word;
            }
            run = i;
            continue;
        }
        for (std::size_t j = i; j < i + word; ++j) {
            target[j] = marks[j] != 0 ? source[j] : target[j];
        }
        i += word;
        run = i;
    }
    std::memcpy(target + run, source + run, i - run);
    for (; i < sizeof(API_Element); ++i) {
        target[i] = marks[i] != 0 ? source[i] : target[i];
    }
}

// What an add-on may not change of an element: its identity and owner.
void change(Entry& entry, const API_Element& values, const API_Element& mask) {
    API_Elem_Head kept = entry.record.header;
    applyMask(entry.record, values, mask);
    API_Elem_Head& head = entry.record.header;
    head.typeID = kept.typeID;
    head.guid = kept.guid;
    head.userId = kept.userId;
    head.modiStamp = kept.modiStamp + 1;
}

GSHandle copyToHandle(const std::vector<char>& bytes) {
    GSHandle handle = BMAllocateHandle(GSSize(bytes.size()), 0, 0);
    if (handle != nullptr && !bytes.empty()) {
        std::memcpy(*handle, bytes.data(), bytes.size());
    }
    return handle;
}

API_ElementUserData toHost(const sim::UserDataRecord& record, GSHandle handle) {
    API_ElementUserData data;
    data.dataVersion = record.version;
    data.platformSign = record.platformSign;
    data.flags = record.flags;
    data.dataHdl = handle;
    return data;
}

sim::UserDataRecord fromHost(const API_ElementUserData& data) {
    sim::UserDataRecord record;
    record.version = data.dataVersion;
    record.platformSign = data.platformSign;
    record.flags = data.flags;
    if (data.dataHdl != nullptr) {
        GSSize size = BMGetHandleSize(data.dataHdl);
        record.bytes.assign(*data.dataHdl, *data.dataHdl + size);
    }
    return record;
}

// Every head names an element of the table that the current member may change.
GSErrCode checkOwnHeads(const API_Elem_Head* heads, Int32 count) {
    for (Int32 i = 0; i < count; ++i) {
        const Entry* entry = find(heads[i].guid);
        if (entry == nullptr) {
            return APIERR_BADID;
        }
        if (isOthers(entry->record.header)) {
            return APIERR_NOTMINE;
        }
    }
    return NoError;
}

} // namespace

namespace sim {

GS::Guid addElement(const API_Element& element, const GS::Guid& database) {
    Entry entry;
    entry.record = element;
    if (entry.record.header.guid.IsNull()) {
        entry.record.header.guid = newGuid();
    }
    entry.database = database;
    entry.order = state().nextOrder++;
    markMade(entry);
    GS::Guid guid = entry.record.header.guid;
    state().elements.put(guid, entry);
    setElementOwner(guid, element.header.userId);
    return guid;
}

bool hasElement(const GS::Guid& guid) {
    return find(guid) != nullptr;
}

static Entry& existing(const GS::Guid& guid) {
    Entry* entry = find(guid);
    if (entry == nullptr) {
        throw std::out_of_range("no element of that GUID");
    }
    return *entry;
}

API_Element element(const GS::Guid& guid) {
    return withOwner(existing(guid).record);
}

const API_Element* findElement(const GS::Guid& guid) {
    const Entry* entry = find(guid);
    return entry != nullptr ? &entry->record : nullptr;
}

GS::Guid elementDatabase(const GS::Guid& guid) {
    return existing(guid).database;
}

void removeElement(const GS::Guid& guid) {
    state().elements.erase(guid);
    forgetMemo(guid);
}

std::size_t elementCount() {
    return state().elements.size();
}

ElementHint* memoHint(const GS::Guid& guid) {
    Entry* entry = find(guid);
    return entry != nullptr ? &entry->memoHint : nullptr;
}

std::vector<GS::Guid> elementsOf(const GS::Guid& database) {
    std::vector<std::pair<UInt64, GS::Guid>> found;
    for (const auto& [guid, entry] : state().elements) {
        if (entry.database == database) {
            found.emplace_back(entry.order, guid);
        }
    }
    std::sort(found.begin(), found.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    std::vector<GS::Guid> guids;
    guids.reserve(found.size());
    for (const auto& item : found) {
        guids.push_back(item.second);
    }
    return guids;
}

void setElementInfo(const GS::Guid& guid, const std::string& element, const std::string& compound) {
    Entry& entry = existing(guid);
    entry.elementInfo = element;
    entry.compoundInfo = compound;
}

std::string elementInfo(const GS::Guid& guid) {
    return existing(guid).elementInfo;
}

bool elementInfoStrings(const GS::Guid& guid, std::string& element, std::string& compound) {
    Entry* entry = find(guid);
    if (entry == nullptr) {
        return false;
    }
    element = entry->elementInfo;
    compound = entry->compoundInfo;
    return true;
}

void setElementInfoString(const GS::Guid& guid, const std::string& element) {
    if (Entry* entry = find(guid)) {
        entry->elementInfo = element;
    }
}

void setUserData(const GS::Guid& guid, const UserDataRecord& record) {
    Entry& entry = existing(guid);
    entry.hasUserData = true;
    entry.userData = record;
}

bool hasUserData(const GS::Guid& guid) {
    return existing(guid).hasUserData;
}

UserDataRecord userData(const GS::Guid& guid) {
    return existing(guid).userData;
}

bool hasDefaultUserData(API_ElemTypeID type, API_ElemVariationID variation) {
    return state().defaultUserData.count({type, variation}) != 0;
}

UserDataRecord defaultUserData(API_ElemTypeID type, API_ElemVariationID variation) {
    return state().defaultUserData.at({type, variation});
}

void setDefaults(const API_Element& element) {
    state().defaults[{element.header.typeID, element.header.variationID}] = element;
}

API_Element defaults(API_ElemTypeID type, API_ElemVariationID variation) {
    auto it = state().defaults.find({type, variation});
    if (it != state().defaults.end()) {
        return it->second;
    }
    API_Element element;
    element.header.typeID = type;
    element.header.variationID = variation;
    return element;
}

std::vector<std::pair<API_ElemTypeID, API_ElemVariationID>> defaultTools() {
    std::vector<std::pair<API_ElemTypeID, API_ElemVariationID>> tools;
    for (const auto& entry : state().defaults) {
        tools.push_back(entry.first);
    }
    return tools;
}

std::vector<GS::Guid> linksFrom(const GS::Guid& guid) {
    std::vector<GS::Guid> to;
    for (const auto& link : existing(guid).links) {
        to.push_back(link.second.first);
    }
    return to;
}

bool isObserved(const GS::Guid& guid) {
    return existing(guid).observed;
}

void setEditRenewsGuid(bool renew) {
    state().editRenewsGuid = renew;
}

std::vector<API_EditPars> editsOf(const GS::Guid& guid) {
    return existing(guid).edits;
}

void setElementLocked(const GS::Guid& guid, bool locked) {
    Entry& entry = existing(guid);
    remember(guid); // a lock changed inside a command is undone with it
    entry.record.header.locked = locked;
}

GSErrCode applyElementTool(GSType command, const API_Elem_Head* heads, Int32 count) {
    static const GSType known[] = {MakeGSType("GRUP"), MakeGSType("UGRP"), MakeGSType("OFR1"),
                                   MakeGSType("OFR0"), MakeGSType("OBA1"), MakeGSType("OBA0")};
    if (std::find(std::begin(known), std::end(known), command) == std::end(known)) {
        return APIERR_BADID;
    }
    if (count < 1) {
        return APIERR_BADPARS;
    }
    if (GSErrCode err = checkOwnHeads(heads, count); err != NoError) {
        return err;
    }
    GS::Guid group;
    group.Generate();
    for (Int32 i = 0; i < count; ++i) {
        remember(heads[i].guid);
        API_Elem_Head& head = find(heads[i].guid)->record.header;
        if (command == MakeGSType("GRUP")) {
            head.groupGuid = group;
        } else if (command == MakeGSType("UGRP")) {
            head.groupGuid.Clear();
        } else if (command == MakeGSType("OFR1")) {
            head.drwIndex = std::min(head.drwIndex + 1, 9);
        } else if (command == MakeGSType("OFR0")) {
            head.drwIndex = 9;
        } else if (command == MakeGSType("OBA1")) {
            head.drwIndex = std::max(head.drwIndex - 1, 1);
        } else {
            head.drwIndex = 1;
        }
        ++head.modiStamp;
    }
    return NoError;
}

void beginElementJournal() {
    dropJournal();
    state().journal.open = true;
    state().journal.serial = ++state().journals;
}

void endElementJournal(bool keep) {
    state().journal.open = false;
    state().journal.kept = true;
    if (!keep) {
        // A command that fails leaves the project as it found it.
        revertElementJournal();
    }
}

bool revertElementJournal() {
    Journal& journal = state().journal;
    if (journal.open || !journal.kept) {
        return false;
    }
    for (std::size_t i = journal.changes.size(); i-- > 0;) {
        Before* it = &journal.changes[i];
        state().elements.erase(it->guid);
        restoreMemo(it->guid, it->memo);
        if (it->entry) {
            Entry entry;
            static_cast<EntryData&>(entry) = *it->entry;
            it->record.copyTo(reinterpret_cast<char*>(&entry.record));
            state().elements.put(it->guid, entry);
            setElementOwner(it->guid, it->owner);
        }
    }
    state().journal = Journal();
    return true;
}

void setRenovationFilterHides(const GS::Guid& filter, const std::vector<Int32>& statuses) {
    state().renovationHides[key(filter)] = std::set<Int32>(statuses.begin(), statuses.end());
}

} // namespace sim

namespace {

// Sorts the elements found by the order they were made. Orders come from one counter, so those
// of a long list mostly lie close together: they are then placed by counting instead of compared.
void sortByOrder(std::vector<std::pair<UInt64, GS::Guid>>& found) {
    auto byOrder = [](const auto& a, const auto& b) { return a.first < b.first; };
    if (found.size() < 64) {
        std::sort(found.begin(), found.end(), byOrder);
        return;
    }
    auto [low, high] = std::minmax_element(found.begin(), found.end(), byOrder);
    const UInt64 first = low->first;
    const UInt64 range = high->first - first + 1;
    if (range / 4 > found.size()) {
        std::sort(found.begin(), found.end(), byOrder);
        return;
    }
    std::vector<std::size_t> starts(std::size_t(range) + 1, 0);
    for (const auto& item : found) {
        ++starts[std::size_t(item.first - first) + 1];
    }
    for (std::size_t i = 1; i < starts.size(); ++i) {
        starts[i] += starts[i - 1];
    }
    std::vector<std::pair<UInt64, GS::Guid>> sorted(found.size());
    for (const auto& item : found) {
        sorted[starts[std::size_t(item.first - first)]++] = item;
    }
    found.swap(sorted);
}

} // namespace

GSErrCode ACAPI_Element_GetElemList(API_ElemTypeID typeID, GS::Array<API_Guid>* elemList,
                                    API_ElemFilterFlags filterBits, API_ElemVariationID variationID,
                                    const API_Guid& renovationFilterGuid) {
    if (GSErrCode err = sim::enter("ACAPI_Element_GetElemList", typeID); err != NoError) {
        return err;
    }
    if (elemList == nullptr || (filterBits & ~knownFlags) != 0 || typeID < 0) {
        return APIERR_BADPARS;
    }
    if (!sim::isProjectOpen()) {
        return APIERR_NOPLAN;
    }
    std::vector<std::pair<UInt64, GS::Guid>> found;
    if (typeID == 0 || state().elements.countOf(typeID) != 0) {
        const std::vector<Elements::Made>& all = state().elements.all();
        // The elements a few places ahead are asked of the memory while these are looked at.
        constexpr std::size_t ahead = 16;
        for (std::size_t i = 0; i < all.size(); ++i) {
            if (i + ahead < all.size()) {
                __builtin_prefetch(all[i + ahead].entry);
                __builtin_prefetch(&all[i + ahead].entry->record.header);
            }
            const Entry& entry = *all[i].entry;
            if (inCurrentDatabase(entry) && (typeID == 0 || entry.record.header.typeID == typeID) &&
                passes(entry, filterBits, variationID, renovationFilterGuid)) {
                found.emplace_back(entry.order, all[i].guid);
            }
        }
    }
    sortByOrder(found);
    elemList->Clear();
    elemList->SetCapacity(UInt32(found.size()));
    for (const auto& item : found) {
        elemList->Push(item.second);
    }
    return NoError;
}

bool ACAPI_Element_Filter(const API_Guid& guid, API_ElemFilterFlags filterBits,
                          API_ElemVariationID variationID, const API_Guid& renovationFilterGuid) {
    if (sim::enter("ACAPI_Element_Filter", filterBits) != NoError) {
        return false;
    }
    const Entry* entry = find(guid);
    return entry != nullptr && (filterBits & ~knownFlags) == 0 &&
           passes(*entry, filterBits, variationID, renovationFilterGuid);
}

GSErrCode ACAPI_Element_Get(API_Element* element) {
    if (GSErrCode err = sim::enter("ACAPI_Element_Get", element != nullptr ? element->header.typeID : 0);
        err != NoError) {
        return err;
    }
    if (element == nullptr) {
        return APIERR_BADPARS;
    }
    const Entry* entry = find(element->header.guid);
    if (entry == nullptr ||
        (element->header.typeID != 0 && element->header.typeID != entry->record.header.typeID)) {
        return APIERR_BADID;
    }
    *element = entry->record;
    element->header.userId = sim::elementOwner(element->header.guid);
    return NoError;
}

GSErrCode ACAPI_Element_GetHeader(API_Elem_Head* header) {
    if (GSErrCode err = sim::enter("ACAPI_Element_GetHeader"); err != NoError) {
        return err;
    }
    if (header == nullptr) {
        return APIERR_BADPARS;
    }
    const Entry* entry = find(header->guid);
    if (entry == nullptr) {
        return APIERR_BADID;
    }
    *header = entry->record.header;
    header->userId = sim::elementOwner(header->guid);
    return NoError;
}

GSErrCode ACAPI_Element_GetMemo(const API_Guid& guid, API_ElementMemo* memo, UInt64 mask) {
    if (GSErrCode err = sim::enter("ACAPI_Element_GetMemo", Int64(mask)); err != NoError) {
        return err;
    }
    if (memo == nullptr) {
        return APIERR_BADPARS;
    }
    if (find(guid) == nullptr) {
        return APIERR_BADID;
    }
    return sim::copyMemoOut(guid, memo, mask);
}

GSErrCode ACAPI_Element_Change(API_Element* element, const API_Element* mask, const API_ElementMemo* memo,
                               UInt64 memoMask, bool) {
    if (GSErrCode err = sim::enter("ACAPI_Element_Change", element != nullptr ? element->header.typeID : 0);
        err != NoError) {
        return err;
    }
    if (element == nullptr || mask == nullptr) {
        return APIERR_BADPARS;
    }
    if (outsideUndoScope()) {
        return APIERR_NEEDSUNDOSCOPE;
    }
    Entry* entry = find(element->header.guid);
    if (entry == nullptr || element->header.typeID != entry->record.header.typeID) {
        return APIERR_BADID;
    }
    if (isOthers(entry->record.header)) {
        return APIERR_NOTMINE;
    }
    remember(element->header.guid);
    if (memo != nullptr && memoMask != 0) {
        if (GSErrCode err = sim::storeMemo(entry->record.header.guid, memo, memoMask); err != NoError) {
            return err;
        }
    }
    change(*entry, *element, *mask);
    *element = entry->record;
    element->header.userId = sim::elementOwner(element->header.guid);
    return NoError;
}

GSErrCode ACAPI_Element_Create(API_Element* element, const API_ElementMemo* memo) {
    if (GSErrCode err = sim::enter("ACAPI_Element_Create", element != nullptr ? element->header.typeID : 0);
        err != NoError) {
        return err;
    }
    if (element == nullptr || element->header.typeID <= 0) {
        return APIERR_BADPARS;
    }
    if (!sim::isProjectOpen()) {
        return APIERR_NOPLAN;
    }
    if (outsideUndoScope()) {
        return APIERR_NEEDSUNDOSCOPE;
    }
    API_Element record = *element;
    record.header.guid = newGuid();
    remember(record.header.guid);
    record.header.userId = sim::isTeamwork() ? sim::currentUserId() : 0;
    record.header.modiStamp = 1;
    sim::addElement(record, sim::currentDatabase());
    if (memo != nullptr) {
        if (GSErrCode err = sim::storeMemo(record.header.guid, memo, ~UInt64(0)); err != NoError) {
            sim::removeElement(record.header.guid);
            return err;
        }
    }
    *element = record;
    return NoError;
}

GSErrCode ACAPI_Element_ChangeParameters(const API_Elem_Head* heads, Int32 count, const API_Element* defPars,
                                         const API_ElementMemo* memo, const API_Element* mask) {
    if (GSErrCode err = sim::enter("ACAPI_Element_ChangeParameters", count); err != NoError) {
        return err;
    }
    if (count < 1 || heads == nullptr || defPars == nullptr || mask == nullptr) {
        return APIERR_BADPARS;
    }
    if (outsideUndoScope()) {
        return APIERR_NEEDSUNDOSCOPE;
    }
    if (GSErrCode err = checkOwnHeads(heads, count); err != NoError) {
        return err;
    }
    for (Int32 i = 0; i < count; ++i) {
        remember(heads[i].guid);
        Entry& entry = *find(heads[i].guid);
        if (memo != nullptr) {
            if (GSErrCode err = sim::storeMemo(heads[i].guid, memo, ~UInt64(0)); err != NoError) {
                return err;
            }
        }
        change(entry, *defPars, *mask);
    }
    return NoError;
}

GSErrCode ACAPI_Element_Edit(API_Neig* neigs, Int32 count, const API_EditPars& pars) {
    if (GSErrCode err = sim::enter("ACAPI_Element_Edit", pars.typeID); err != NoError) {
        return err;
    }
    if (count < 1 || neigs == nullptr) {
        return APIERR_BADPARS;
    }
    if (outsideUndoScope()) {
        return APIERR_NEEDSUNDOSCOPE;
    }
    for (Int32 i = 0; i < count; ++i) {
        const Entry* entry = find(neigs[i].guid);
        if (entry == nullptr) {
            return APIERR_BADID;
        }
        if (isOthers(entry->record.header) && pars.withDelete) {
            return APIERR_NOTMINE;
        }
    }
    for (Int32 i = 0; i < count; ++i) {
        Entry entry = *find(neigs[i].guid);
        GS::Guid old = neigs[i].guid;
        bool renew = !pars.withDelete || state().editRenewsGuid;
        remember(old);
        if (pars.withDelete) {
            state().elements.erase(old);
        }
        if (renew) {
            GS::Guid fresh = newGuid();
            remember(fresh);
            entry.record.header.guid = fresh;
            if (pars.withDelete) {
                sim::moveMemo(old, fresh);
            } else {
                sim::copyMemo(old, fresh);
                entry.order = state().nextOrder++;
                entry.links.clear();
                entry.observed = false;
            }
        }
        if (state().journal.open) {
            entry.journal = state().journal.serial; // remembered under both GUIDs by now
        }
        ++entry.record.header.modiStamp;
        entry.edits.push_back(pars);
        neigs[i].guid = entry.record.header.guid;
        state().elements.put(entry.record.header.guid, entry);
        sim::setElementOwner(entry.record.header.guid,
                             renew && !pars.withDelete ? sim::currentUserId() : sim::elementOwner(old));
    }
    return NoError;
}

GSErrCode ACAPI_Element_Delete(const API_Elem_Head* heads, Int32 count) {
    if (GSErrCode err = sim::enter("ACAPI_Element_Delete", count); err != NoError) {
        return err;
    }
    if (count < 1 || heads == nullptr) {
        return APIERR_BADPARS;
    }
    if (outsideUndoScope()) {
        return APIERR_NEEDSUNDOSCOPE;
    }
    if (GSErrCode err = checkOwnHeads(heads, count); err != NoError) {
        return err;
    }
    for (Int32 i = 0; i < count; ++i) {
        remember(heads[i].guid);
        sim::removeElement(heads[i].guid);
    }
    return NoError;
}

GSErrCode ACAPI_Element_GetUserData(const API_Elem_Head* header, API_ElementUserData* userData) {
    if (GSErrCode err = sim::enter("ACAPI_Element_GetUserData"); err != NoError) {
        return err;
    }
    if (header == nullptr || userData == nullptr) {
        return APIERR_BADPARS;
    }
    *userData = API_ElementUserData();
    const sim::UserDataRecord* record = nullptr;
    if (header->guid.IsNull()) {
        auto it = state().defaultUserData.find({header->typeID, header->variationID});
        if (it != state().defaultUserData.end()) {
            record = &it->second;
        }
    } else {
        const Entry* entry = find(header->guid);
        if (entry == nullptr) {
            return APIERR_BADID;
        }
        if (entry->hasUserData) {
            record = &entry->userData;
        }
    }
    if (record == nullptr) {
        return APIERR_NOUSERDATA;
    }
    GSHandle handle = copyToHandle(record->bytes);
    if (handle == nullptr) {
        return APIERR_MEMFULL;
    }
    *userData = toHost(*record, handle);
    return NoError;
}

GSErrCode ACAPI_Element_SetUserData(const API_Elem_Head* header, const API_ElementUserData* userData) {
    if (GSErrCode err = sim::enter("ACAPI_Element_SetUserData"); err != NoError) {
        return err;
    }
    if (header == nullptr || userData == nullptr) {
        return APIERR_BADPARS;
    }
    if (header->guid.IsNull()) {
        state().defaultUserData[{header->typeID, header->variationID}] = fromHost(*userData);
        return NoError;
    }
    Entry* entry = find(header->guid);
    if (entry == nullptr) {
        return APIERR_BADID;
    }
    remember(header->guid);
    entry->hasUserData = true;
    entry->userData = fromHost(*userData);
    return NoError;
}

GSErrCode ACAPI_Element_DeleteUserData(const API_Elem_Head* header) {
    if (GSErrCode err = sim::enter("ACAPI_Element_DeleteUserData"); err != NoError) {
        return err;
    }
    if (header == nullptr) {
        return APIERR_BADPARS;
    }
    if (header->guid.IsNull()) {
        return state().defaultUserData.erase({header->typeID, header->variationID}) != 0 ? NoError
                                                                                         : APIERR_NOUSERDATA;
    }
    Entry* entry = find(header->guid);
    if (entry == nullptr) {
        return APIERR_BADID;
    }
    remember(header->guid);
    bool had = entry->hasUserData;
    entry->hasUserData = false;
    entry->userData = sim::UserDataRecord();
    return had ? NoError : APIERR_NOUSERDATA;
}

GSErrCode ACAPI_Element_Link(const API_Guid& from, const API_Guid& to, GSFlags flags) {
    if (GSErrCode err = sim::enter("ACAPI_Element_Link", flags); err != NoError) {
        return err;
    }
    Entry* entry = find(from);
    if (entry == nullptr || find(to) == nullptr || from == to) {
        return APIERR_BADID;
    }
    for (auto& link : entry->links) {
        if (link.second.first == to) {
            link.second.second = flags;
            return NoError;
        }
    }
    entry->links[state().nextOrder++] = {to, flags};
    return NoError;
}

GSErrCode ACAPI_Element_Unlink(const API_Guid& from, const API_Guid& to) {
    if (GSErrCode err = sim::enter("ACAPI_Element_Unlink"); err != NoError) {
        return err;
    }
    Entry* entry = find(from);
    if (entry == nullptr) {
        return APIERR_BADID;
    }
    for (auto it = entry->links.begin(); it != entry->links.end(); ++it) {
        if (it->second.first == to) {
            entry->links.erase(it);
            return NoError;
        }
    }
    return APIERR_BADID;
}

GSErrCode ACAPI_Element_GetLinks(const API_Guid& from, GS::Array<API_Guid>* to) {
    if (GSErrCode err = sim::enter("ACAPI_Element_GetLinks"); err != NoError) {
        return err;
    }
    const Entry* entry = find(from);
    if (to == nullptr) {
        return APIERR_BADPARS;
    }
    if (entry == nullptr) {
        return APIERR_BADID;
    }
    to->Clear();
    for (const auto& link : entry->links) {
        if (find(link.second.first) != nullptr) {
            to->Push(link.second.first);
        }
    }
    return NoError;
}

GSErrCode ACAPI_Element_GetLinkFlags(const API_Guid& from, const API_Guid& to, GSFlags* flags) {
    if (GSErrCode err = sim::enter("ACAPI_Element_GetLinkFlags"); err != NoError) {
        return err;
    }
    const Entry* entry = find(from);
    if (flags == nullptr) {
        return APIERR_BADPARS;
    }
    if (entry != nullptr) {
        for (const auto& link : entry->links) {
            if (link.second.first == to) {
                *flags = link.second.second;
                return NoError;
            }
        }
    }
    return APIERR_BADID;
}

GSErrCode ACAPI_Element_AttachObserver(const API_Elem_Head* header, GSFlags) {
    if (GSErrCode err = sim::enter("ACAPI_Element_AttachObserver"); err != NoError) {
        return err;
    }
    Entry* entry = header != nullptr ? find(header->guid) : nullptr;
    if (entry == nullptr) {
        return APIERR_BADID;
    }
    entry->observed = true;
    return NoError;
}

GSErrCode ACAPI_Element_DetachObserver(const API_Elem_Head* header) {
    if (GSErrCode err = sim::enter("ACAPI_Element_DetachObserver"); err != NoError) {
        return err;
    }
    Entry* entry = header != nullptr ? find(header->guid) : nullptr;
    if (entry == nullptr || !entry->observed) {
        return APIERR_BADID;
    }
    entry->observed = false;
    return NoError;
}

GSErrCode ACAPI_Element_GetDefaults(API_Element* element, API_ElementMemo* memo) {
    if (GSErrCode err =
            sim::enter("ACAPI_Element_GetDefaults", element != nullptr ? element->header.typeID : 0);
        err != NoError) {
        return err;
    }
    if (element == nullptr || element->header.typeID <= 0) {
        return APIERR_BADPARS;
    }
    *element = sim::defaults(element->header.typeID, element->header.variationID);
    if (memo != nullptr) {
        return sim::copyDefaultMemoOut(element->header.typeID, element->header.variationID, memo);
    }
    return NoError;
}

GSErrCode ACAPI_Element_ChangeDefaults(API_Element* element, const API_ElementMemo* memo,
                                       const API_Element* mask) {
    if (GSErrCode err =
            sim::enter("ACAPI_Element_ChangeDefaults", element != nullptr ? element->header.typeID : 0);
        err != NoError) {
        return err;
    }
    if (element == nullptr || mask == nullptr || element->header.typeID <= 0) {
        return APIERR_BADPARS;
    }
    API_Element current = sim::defaults(element->header.typeID, element->header.variationID);
    applyMask(current, *element, *mask);
    current.header.guid.Clear();
    current.header.typeID = element->header.typeID;
    current.header.variationID = element->header.variationID;
    if (memo != nullptr) {
        if (GSErrCode err = sim::storeDefaultMemo(element->header.typeID, element->header.variationID, memo);
            err != NoError) {
            return err;
        }
    }
    sim::setDefaults(current);
    return NoError;
}
