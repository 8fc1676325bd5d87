#include "ACAPI/Attributes.hpp"

#include "ACAPI/LibraryParts.hpp"
#include "GSRoot/BM.hpp"
#include "sim/Attributes.h"
#include "sim/Sim.h"

#include <cstring>
#include <map>
#include <memory>
#include <optional>
#include <vector>

namespace {

struct UserData {
    std::vector<char> bytes;
    short version = 0;
    UInt16 platformSign = 0;
};

struct Slot {
    API_Attribute record;
    sim::AttributeExtra extra;
    std::optional<UserData> userData;
};

// Each type's table: index i lives at i - 1; a deleted index holds nothing.
using Table = std::vector<std::optional<Slot>>;

std::map<API_AttrTypeID, Table>& tables() {
    static auto* instance = new std::map<API_AttrTypeID, Table>;
    return *instance;
}

const bool registered = sim::registerReset([] { tables().clear(); });

bool validType(API_AttrTypeID type) {
    return type >= 1 && type <= API_LastAttributeID;
}

Slot* slotOf(API_AttrTypeID type, Int32 index) {
    auto found = tables().find(type);
    if (found == tables().end() || index < 1 || std::size_t(index) > found->second.size()) {
        return nullptr;
    }
    std::optional<Slot>& slot = found->second[std::size_t(index - 1)];
    return slot ? &*slot : nullptr;
}

// The error of a look-up that found nothing: outside the table or deleted.
GSErrCode missingError(API_AttrTypeID type, Int32 index) {
    if (!validType(type)) {
        return APIERR_BADID;
    }
    auto found = tables().find(type);
    std::size_t size = found == tables().end() ? 0 : found->second.size();
    return index < 1 || std::size_t(index) > size ? APIERR_BADINDEX : APIERR_DELETED;
}

// Enters the call on the attribute the header names and finds its slot: the call's injected fault,
// APIERR_BADPARS without the header or the call's other argument, else the error of a look-up that
// found nothing.
GSErrCode enterOnSlot(const char* call, const API_Attr_Head* head, bool argumentGiven, Slot*& slot) {
    if (GSErrCode err = sim::enter(call, head != nullptr ? head->typeID : 0); err != NoError) {
        return err;
    }
    if (head == nullptr || !argumentGiven) {
        return APIERR_BADPARS;
    }
    slot = slotOf(head->typeID, head->index);
    return slot != nullptr ? NoError : missingError(head->typeID, head->index);
}

bool sameName(const API_Attr_Head& head, const char* name) {
    return std::strncmp(head.name, name, sizeof head.name) == 0;
}

Slot* findByName(API_AttrTypeID type, const char* name) {
    auto found = tables().find(type);
    if (found == tables().end()) {
        return nullptr;
    }
    for (std::optional<Slot>& slot : found->second) {
        if (slot && sameName(slot->record.header, name)) {
            return &*slot;
        }
    }
    return nullptr;
}

template <typename T>
std::vector<T> itemsOf(T** handle) {
    std::vector<T> items;
    if (handle != nullptr) {
        GSSize count = BMGetHandleSize(reinterpret_cast<GSConstHandle>(handle)) / GSSize(sizeof(T));
        items.assign(*handle, *handle + count);
    }
    return items;
}

// A new handle of the items, null when there are none; false when memory ran out.
template <typename T>
bool handleOf(const std::vector<T>& items, T**& handle) {
    handle = nullptr;
    if (items.empty()) {
        return true;
    }
    GSHandle made = BMAllocateHandle(GSSize(items.size() * sizeof(T)), 0, 0);
    if (made == nullptr) {
        return false;
    }
    std::memcpy(*made, items.data(), items.size() * sizeof(T));
    handle = reinterpret_cast<T**>(made);
    return true;
}

// The extra data the record carries; false when its stamp parameters are malformed.
bool extraOf(API_AttrTypeID type, const API_AttributeDefExt& defs, sim::AttributeExtra& extra) {
    extra.dashItems = itemsOf(defs.ltype_dashItems);
    extra.lineItems = itemsOf(defs.ltype_lineItems);
    extra.fillLines = itemsOf(defs.fill_lineItems);
    extra.fillLengths = itemsOf(defs.fill_lineLength);
    extra.skins = itemsOf(defs.cwall_compItems);
    extra.skinLines = itemsOf(defs.cwall_compLItems);
    extra.layerStats = itemsOf(defs.layer_statItems);
    if (type == API_ZoneCatID && defs.params != nullptr) {
        return sim::readParameterRecords(defs.params, extra.params);
    }
    return true;
}

// The record's kept extra data must agree with its counts.
bool consistent(const API_Attribute& record, const sim::AttributeExtra& extra) {
    if (record.header.typeID == API_LayerCombID) {
        return record.layerComb.lNumb >= 0 && std::size_t(record.layerComb.lNumb) == extra.layerStats.size();
    }
    if (record.header.typeID == API_CompWallID && !extra.skins.empty()) {
        return extra.skinLines.size() == extra.skins.size() + 1;
    }
    return true;
}

} // namespace

API_Attribute sim::makeAttribute(API_AttrTypeID type, const std::string& name, GSFlags flags) {
    API_Attribute record;
    record.header.typeID = type;
    record.header.flags = flags;
    std::strncpy(record.header.name, name.c_str(), sizeof record.header.name - 1);
    return record;
}

API_AttributeIndex sim::addAttribute(const API_Attribute& record, const AttributeExtra& extra) {
    Table& table = tables()[record.header.typeID];
    Slot slot{record, extra, std::nullopt};
    slot.record.header.index = API_AttributeIndex(table.size() + 1);
    if (slot.record.header.guid.IsNull()) {
        slot.record.header.guid.Generate();
    }
    table.emplace_back(std::move(slot));
    return API_AttributeIndex(table.size());
}

const API_Attribute* sim::attribute(API_AttrTypeID type, API_AttributeIndex index) {
    Slot* slot = slotOf(type, index);
    return slot == nullptr ? nullptr : &slot->record;
}

const sim::AttributeExtra* sim::attributeExtra(API_AttrTypeID type, API_AttributeIndex index) {
    Slot* slot = slotOf(type, index);
    return slot == nullptr ? nullptr : &slot->extra;
}

std::size_t sim::attributeSlots(API_AttrTypeID type) {
    auto found = tables().find(type);
    return found == tables().end() ? 0 : found->second.size();
}

std::size_t sim::liveAttributes(API_AttrTypeID type) {
    std::size_t live = 0;
    for (std::size_t i = 1; i <= attributeSlots(type); ++i) {
        live += slotOf(type, Int32(i)) != nullptr ? 1 : 0;
    }
    return live;
}

void sim::clearAttributes() {
    tables().clear();
}

void sim::deleteAttribute(API_AttrTypeID type, API_AttributeIndex index) {
    if (slotOf(type, index) != nullptr) {
        tables()[type][std::size_t(index - 1)].reset();
    }
}

void sim::setAttributeUserData(API_AttrTypeID type, API_AttributeIndex index, const std::vector<char>& data,
                               short version, UInt16 platformSign) {
    if (Slot* slot = slotOf(type, index)) {
        slot->userData = UserData{data, version, platformSign};
    }
}

GSErrCode ACAPI_Attribute_Search(API_Attr_Head* head) {
    if (GSErrCode err = sim::enter("ACAPI_Attribute_Search", head != nullptr ? head->typeID : 0);
        err != NoError) {
        return err;
    }
    if (head == nullptr || !validType(head->typeID)) {
        return APIERR_BADPARS;
    }
    if (std::memchr(head->name, 0, sizeof head->name) == nullptr) {
        return APIERR_BADNAME; // no terminated name to look for
    }
    Slot* slot = findByName(head->typeID, head->name);
    if (slot == nullptr) {
        return APIERR_BADNAME;
    }
    head->index = slot->record.header.index;
    return NoError;
}

GSErrCode ACAPI_Attribute_GetNum(API_AttrTypeID typeID, API_AttributeIndex* count) {
    if (GSErrCode err = sim::enter("ACAPI_Attribute_GetNum", typeID); err != NoError) {
        return err;
    }
    if (count == nullptr || !validType(typeID)) {
        return APIERR_BADID;
    }
    *count = API_AttributeIndex(sim::attributeSlots(typeID));
    return NoError;
}

GSErrCode ACAPI_Attribute_Get(API_Attribute* attribute) {
    if (GSErrCode err =
            sim::enter("ACAPI_Attribute_Get", attribute != nullptr ? attribute->header.typeID : 0);
        err != NoError) {
        return err;
    }
    if (attribute == nullptr) {
        return APIERR_BADPARS;
    }
    Slot* slot = slotOf(attribute->header.typeID, attribute->header.index);
    if (slot == nullptr) {
        return missingError(attribute->header.typeID, attribute->header.index);
    }
    *attribute = slot->record;
    return NoError;
}

GSErrCode ACAPI_Attribute_GetDefExt(API_AttrTypeID typeID, API_AttributeIndex index,
                                    API_AttributeDefExt* defs) {
    if (GSErrCode err = sim::enter("ACAPI_Attribute_GetDefExt", typeID); err != NoError) {
        return err;
    }
    if (defs == nullptr) {
        return APIERR_BADPARS;
    }
    Slot* slot = slotOf(typeID, index);
    if (slot == nullptr) {
        return missingError(typeID, index);
    }
    *defs = API_AttributeDefExt();
    const sim::AttributeExtra& extra = slot->extra;
    bool made =
        handleOf(extra.dashItems, defs->ltype_dashItems) &&
        handleOf(extra.lineItems, defs->ltype_lineItems) && handleOf(extra.fillLines, defs->fill_lineItems) &&
        handleOf(extra.fillLengths, defs->fill_lineLength) && handleOf(extra.skins, defs->cwall_compItems) &&
        handleOf(extra.skinLines, defs->cwall_compLItems) &&
        handleOf(extra.layerStats, defs->layer_statItems) &&
        (extra.params.empty() || sim::writeParameterRecords(extra.params, &defs->params) == NoError);
    if (!made) {
        ACAPI_DisposeAttrDefsHdlsExt(defs);
        return APIERR_MEMFULL;
    }
    return NoError;
}

GSErrCode ACAPI_Attribute_CreateExt(API_Attribute* attribute, API_AttributeDefExt* defs) {
    if (GSErrCode err =
            sim::enter("ACAPI_Attribute_CreateExt", attribute != nullptr ? attribute->header.typeID : 0);
        err != NoError) {
        return err;
    }
    if (attribute == nullptr || !validType(attribute->header.typeID)) {
        return APIERR_BADPARS;
    }
    API_Attr_Head& head = attribute->header;
    if (head.name[0] == '\0' || std::memchr(head.name, 0, sizeof head.name) == nullptr) {
        return APIERR_BADNAME;
    }
    if (findByName(head.typeID, head.name) != nullptr) {
        return APIERR_NAMEALREADYUSED;
    }
    sim::AttributeExtra extra;
    if (defs != nullptr && !extraOf(head.typeID, *defs, extra)) {
        return APIERR_BADPARS;
    }
    if (!consistent(*attribute, extra)) {
        return APIERR_BADPARS;
    }
    head.guid.Generate();
    head.index = sim::addAttribute(*attribute, extra);
    return NoError;
}

GSErrCode ACAPI_Attribute_ModifyExt(API_Attribute* attribute, API_AttributeDefExt* defs) {
    if (GSErrCode err =
            sim::enter("ACAPI_Attribute_ModifyExt", attribute != nullptr ? attribute->header.typeID : 0);
        err != NoError) {
        return err;
    }
    if (attribute == nullptr) {
        return APIERR_BADPARS;
    }
    API_Attr_Head& head = attribute->header;
    Slot* slot = slotOf(head.typeID, head.index);
    if (slot == nullptr) {
        return missingError(head.typeID, head.index);
    }
    if (head.name[0] == '\0' || std::memchr(head.name, 0, sizeof head.name) == nullptr) {
        return APIERR_BADNAME;
    }
    Slot* named = findByName(head.typeID, head.name);
    if (named != nullptr && named != slot) {
        return APIERR_NAMEALREADYUSED;
    }
    sim::AttributeExtra extra;
    if (defs == nullptr) {
        extra = slot->extra;
    } else if (!extraOf(head.typeID, *defs, extra)) {
        return APIERR_BADPARS;
    }
    if (!consistent(*attribute, extra)) {
        return APIERR_BADPARS;
    }
    head.guid = slot->record.header.guid;
    slot->record = *attribute;
    slot->extra = std::move(extra);
    return NoError;
}

GSErrCode ACAPI_Attribute_Delete(const API_Attr_Head* head) {
    Slot* slot = nullptr;
    if (GSErrCode err = enterOnSlot("ACAPI_Attribute_Delete", head, true, slot); err != NoError) {
        return err;
    }
    sim::deleteAttribute(head->typeID, head->index);
    return NoError;
}

GSErrCode ACAPI_Attribute_DeleteMore(const API_Attr_Head* head, const API_AttributeIndex* indexes,
                                     Int32 count) {
    if (GSErrCode err = sim::enter("ACAPI_Attribute_DeleteMore", head != nullptr ? head->typeID : 0);
        err != NoError) {
        return err;
    }
    if (head == nullptr || count < 0 || (count > 0 && indexes == nullptr)) {
        return APIERR_BADPARS;
    }
    for (Int32 i = 0; i < count; ++i) {
        if (slotOf(head->typeID, indexes[i]) == nullptr) {
            return missingError(head->typeID, indexes[i]);
        }
    }
    for (Int32 i = 0; i < count; ++i) {
        sim::deleteAttribute(head->typeID, indexes[i]);
    }
    return NoError;
}

GSErrCode ACAPI_Attribute_GetUserData(const API_Attr_Head* head, API_AttributeUserData* userData) {
    Slot* slot = nullptr;
    if (GSErrCode err = enterOnSlot("ACAPI_Attribute_GetUserData", head, userData != nullptr, slot);
        err != NoError) {
        return err;
    }
    *userData = API_AttributeUserData();
    if (!slot->userData) {
        return APIERR_NOUSERDATA;
    }
    GSHandle handle = BMAllocateHandle(GSSize(slot->userData->bytes.size()), 0, 0);
    if (handle == nullptr) {
        return APIERR_MEMFULL;
    }
    if (!slot->userData->bytes.empty()) {
        std::memcpy(*handle, slot->userData->bytes.data(), slot->userData->bytes.size());
    }
    userData->dataVersion = slot->userData->version;
    userData->platformSign = slot->userData->platformSign;
    userData->dataHdl = handle;
    return NoError;
}

GSErrCode ACAPI_Attribute_SetUserData(const API_Attr_Head* head, const API_AttributeUserData* userData) {
    Slot* slot = nullptr;
    if (GSErrCode err = enterOnSlot("ACAPI_Attribute_SetUserData", head, userData != nullptr, slot);
        err != NoError) {
        return err;
    }
    UserData data{{}, userData->dataVersion, userData->platformSign};
    if (userData->dataHdl != nullptr) {
        data.bytes.assign(*userData->dataHdl, *userData->dataHdl + BMGetHandleSize(userData->dataHdl));
    }
    slot->userData = std::move(data);
    return NoError;
}

GSErrCode ACAPI_DisposeAttrDefsHdlsExt(API_AttributeDefExt* defs) {
    sim::log("ACAPI_DisposeAttrDefsHdlsExt");
    if (defs == nullptr) {
        return APIERR_BADPARS;
    }
    auto kill = [](auto*& handle) {
        auto* h = reinterpret_cast<GSHandle>(handle);
        BMKillHandle(&h);
        handle = nullptr;
    };
    kill(defs->ltype_dashItems);
    kill(defs->ltype_lineItems);
    kill(defs->fill_lineItems);
    kill(defs->fill_lineLength);
    kill(defs->cwall_compItems);
    kill(defs->cwall_compLItems);
    kill(defs->layer_statItems);
    ACAPI_DisposeAddParHdl(&defs->params);
    defs->params = nullptr;
    return NoError;
}
