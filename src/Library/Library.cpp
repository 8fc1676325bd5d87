#include "Library/Library.h"

#include "ACAPI/Goodies.hpp"
#include "Database/ComponentLink.h"
#include "Environment/FileList.h"
#include "IO/Location.hpp"

#include <cstdint>

namespace zelvane {

namespace {

struct Subtype {
    const char* id;
    API_LibTypeID type;
};

// Tested in this order: the first the part derives from gives its type.
constexpr Subtype subtypes[] = {
    {"{11E85B84-8DD1-491B-A2FE-337454A91545}-{9CD857B9-18A7-4F56-80E4-3E80CF98C51C}", APILib_DoorID},
    {"{BDB8C3EE-4019-46C8-91D0-7A8DE0A5EC6D}-{1A63DAB2-6C58-40F5-A8CF-66C24221E66B}", APILib_LabelID},
    {"{51A838E5-0F40-4F6D-A658-CF2845581749}-{0FEEC221-485B-4E33-AB14-BEF539A03456}", APILib_LampID},
    {"{8F157ABA-E5C9-48B6-9DCE-68F0F02A808E}-{09EA47C2-E2A1-4805-94C8-B19BB097C5D7}", APILib_PropertyID},
    {"{4ABD0A6E-634B-4931-B3AA-9BEE01F35CDF}-{71F409AA-4D0A-4152-BF03-8E77782C8DD6}", APILib_WindowID},
    {"{A73622DE-E40A-4E63-ADB7-52D13422BD06}-{8BAE3C2B-6B64-4F5B-8144-851BE94F4F39}", APILib_RoomID},
};

// The record's location belongs to the caller of the host.
void dropLocation(API_LibPart& record) {
    delete record.location;
    record.location = nullptr;
}

// At most 255 UTF-16 units of whole characters and the terminating unit.
void copyName(const String& name, GS::UniChar (&field)[256]) {
    name.copyTo(field, sizeof field);
}

} // namespace

Library::Library(Project* project, int kind) : m_project(project), m_kind(kind) {}

Library::~Library() {
    delete m_directories;
}

void Library::reset() {
    delete m_directories;
    m_directories = nullptr;
    m_embedded = -1;
}

API_LibTypeID Library::getSubtypeID(const char* uniqueID, API_LibTypeID type) {
    if (uniqueID == nullptr || *uniqueID == '\0') {
        return type;
    }
    for (const Subtype& subtype : subtypes) {
        if (ACAPI_Goodies(APIAny_CheckLibPartSubtypeOfID, const_cast<char*>(uniqueID),
                          const_cast<char*>(subtype.id)) == NoError) {
            return subtype.type;
        }
    }
    return type;
}

template <typename Fill>
Int32 Library::search(API_LibTypeID& type, Fill fill) const {
    API_LibPart record{};
    fill(record);
    GSErrCode err = ACAPI_LibPart_Search(&record, false, false);
    dropLocation(record);
    if (err != NoError) {
        return 0;
    }
    type = getSubtypeID(record.ownUnID, record.typeID);
    return record.index;
}

Int32 Library::getIndexByName(const String& name, API_LibTypeID& type) const {
    if (Int32 index = search(type, [&](API_LibPart& record) {
            record.typeID = type;
            copyName(name, record.docu_UName);
        })) {
        return index;
    }
    if (Int32 index = search(type, [&](API_LibPart& record) { copyName(name, record.docu_UName); })) {
        return index;
    }
    String fileName = name;
    fileName += ".gsm";
    return search(type, [&](API_LibPart& record) { copyName(fileName, record.file_UName); });
}

Int32 Library::getIndexByID(const FamilyGuid& id, API_LibTypeID& type) const {
    return search(type, [&](API_LibPart& record) {
        record.typeID = type;
        id.copyTo(record.ownUnID, sizeof record.ownUnID);
    });
}

Int32 Library::getIndexByParentID(const FamilyGuid& parent, API_LibTypeID& type, Int32 start) const {
    return search(type, [&](API_LibPart& record) {
        record.typeID = type;
        record.index = start;
        parent.copyTo(record.parentUnID, sizeof record.parentUnID);
    });
}

Int32 Library::getCount(API_LibTypeID) const {
    Int32 count = 0;
    return ACAPI_LibPart_GetNum(&count) == NoError ? count : 0;
}

API_AddParType** Library::getMemo(const ComponentLink& link, Int32* count, double* a, double* b) const {
    if (count == nullptr) {
        return nullptr;
    }
    double width = 0.0;
    double depth = 0.0;
    API_AddParType** records = nullptr;
    if (ACAPI_LibPart_GetParams(link.getIndex(), &width, &depth, count, &records) != NoError) {
        ACAPI_DisposeAddParHdl(&records);
        return nullptr;
    }
    if (a != nullptr) {
        *a = width;
    }
    if (b != nullptr) {
        *b = depth;
    }
    return records;
}

FamilyGuid Library::getBuiltinComponentID(short resourceID) const {
    char buffer[128] = {};
    if (ACAPI_Goodies(APIAny_GetLibPartUnIDByResID, reinterpret_cast<void*>(std::intptr_t(resourceID)),
                      buffer) != NoError) {
        return FamilyGuid();
    }
    buffer[sizeof buffer - 1] = '\0';
    return FamilyGuid(buffer);
}

Int32 Library::getBuiltinComponentIndex(short resourceID) const {
    API_LibTypeID type = 0;
    FamilyGuid id = getBuiltinComponentID(resourceID);
    return id ? getIndexByID(id, type) : 0;
}

} // namespace zelvane
