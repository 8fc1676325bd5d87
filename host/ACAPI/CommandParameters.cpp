#include "ACAPI/CommandParameters.hpp"

#include "GSRoot/BM.hpp"
#include "sim/Goodies.h"

#include <cstring>
#include <string>

// The list is kept in its handle: a header (tag, record count) followed by the records back to
// back, each its fixed part and then its name and string texts with their terminating NULs.
namespace {

constexpr UInt32 listTag = MakeGSType("MDCL");

struct ListHeader {
    UInt32 tag;
    Int32 count;
};

struct RecordHead {
    Int32 type;
    Int32 modified;
    Int32 intPar;
    Int32 boolPar;
    double floatPar;
    UInt64 ptrPar;
    UInt32 nameSize; // bytes with the NUL
    UInt32 stringSize;
};

// The smallest record a list can hold: its fixed part, a one-byte name and an empty string.
constexpr GSSize smallestRecord = GSSize(sizeof(RecordHead)) + 3;

bool readHeader(GSHandle list, ListHeader& header) {
    GSSize size = BMGetHandleSize(list);
    if (list == nullptr || *list == nullptr || size < GSSize(sizeof(ListHeader))) {
        return false;
    }
    std::memcpy(&header, *list, sizeof header);
    // A count that the bytes cannot hold marks a damaged list; a caller walking it index by index
    // would otherwise run through billions of absent records.
    return header.tag == listTag && header.count >= 0 &&
           GSSize(header.count) <= (size - GSSize(sizeof(ListHeader))) / smallestRecord;
}

// A record as addParameter writes it: a name of 1 to 255 bytes and a string, each ending in its
// NUL inside the record, so that no reader of the texts runs past them.
bool isWhole(const char* texts, const RecordHead& head) {
    return head.nameSize >= 2 && head.nameSize <= 256 && head.stringSize >= 1 && texts[0] != '\0' &&
           texts[head.nameSize - 1] == '\0' && texts[head.nameSize + head.stringSize - 1] == '\0';
}

// Finds the record of a 1-based index; false when the list does not hold it whole.
bool findRecord(GSHandle list, Int32 index, GSSize& offset, RecordHead& head) {
    ListHeader header;
    if (!readHeader(list, header) || index < 1 || index > header.count) {
        return false;
    }
    GSSize size = BMGetHandleSize(list);
    offset = sizeof(ListHeader);
    for (Int32 i = 1;; ++i) {
        if (size - offset < GSSize(sizeof(RecordHead))) {
            return false;
        }
        std::memcpy(&head, *list + offset, sizeof head);
        GSSize texts = GSSize(head.nameSize) + GSSize(head.stringSize);
        if (size - offset - GSSize(sizeof(RecordHead)) < texts ||
            !isWhole(*list + offset + sizeof(RecordHead), head)) {
            return false;
        }
        if (i == index) {
            return true;
        }
        offset += GSSize(sizeof(RecordHead)) + texts;
    }
}

GSErrCode initList(void* par1, void*, void*, void*) {
    auto* list = static_cast<GSHandle*>(par1);
    if (list == nullptr) {
        return APIERR_BADPARS;
    }
    GSHandle handle = BMAllocateHandle(sizeof(ListHeader), ALLOCATE_CLEAR, 0);
    if (handle == nullptr) {
        return APIERR_MEMFULL;
    }
    ListHeader header{listTag, 0};
    std::memcpy(*handle, &header, sizeof header);
    *list = handle;
    return NoError;
}

GSErrCode addParameter(void* par1, void* par2, void*, void*) {
    auto list = static_cast<GSHandle>(par1);
    auto* record = static_cast<const API_MDCLParameter*>(par2);
    ListHeader header;
    if (record == nullptr || !readHeader(list, header)) {
        return APIERR_BADPARS;
    }
    std::string name = record->name != nullptr ? record->name : "";
    std::string text = record->string_par != nullptr ? record->string_par : "";
    if (name.empty() || name.size() > 255) {
        return APIERR_BADNAME;
    }
    RecordHead head{record->type,
                    record->modified,
                    record->int_par,
                    record->bool_par ? 1 : 0,
                    record->float_par,
                    UInt64(reinterpret_cast<std::uintptr_t>(record->ptr_par)),
                    UInt32(name.size() + 1),
                    UInt32(text.size() + 1)};
    GSSize oldSize = BMGetHandleSize(list);
    GSSize newSize = oldSize + GSSize(sizeof head) + head.nameSize + head.stringSize;
    if (BMReallocHandle(list, newSize, 0, 0) == nullptr) {
        return APIERR_MEMFULL;
    }
    char* at = *list + oldSize;
    std::memcpy(at, &head, sizeof head);
    std::memcpy(at + sizeof head, name.c_str(), head.nameSize);
    std::memcpy(at + sizeof head + head.nameSize, text.c_str(), head.stringSize);
    ++header.count;
    std::memcpy(*list, &header, sizeof header);
    return NoError;
}

GSErrCode countParameters(void* par1, void* par2, void*, void*) {
    auto* count = static_cast<Int32*>(par2);
    ListHeader header;
    if (count == nullptr || !readHeader(static_cast<GSHandle>(par1), header)) {
        return APIERR_BADPARS;
    }
    *count = header.count;
    return NoError;
}

GSErrCode getParameter(void* par1, void* par2, void*, void*) {
    auto list = static_cast<GSHandle>(par1);
    auto* record = static_cast<API_MDCLParameter*>(par2);
    if (record == nullptr) {
        return APIERR_BADPARS;
    }
    GSSize offset = 0;
    RecordHead head;
    if (!findRecord(list, record->index, offset, head)) {
        // An index outside the list, or a list that does not hold the record whole.
        ListHeader header;
        bool inRange = readHeader(list, header) && record->index >= 1 && record->index <= header.count;
        return readHeader(list, header) && !inRange ? APIERR_BADINDEX : APIERR_BADPARS;
    }
    const char* texts = *list + offset + sizeof head;
    record->type = head.type;
    record->modified = head.modified;
    record->int_par = head.intPar;
    record->bool_par = head.boolPar != 0;
    record->float_par = head.floatPar;
    record->ptr_par = reinterpret_cast<void*>(std::uintptr_t(head.ptrPar));
    record->name = texts;
    record->string_par = texts + head.nameSize;
    return NoError;
}

GSErrCode freeList(void* par1, void*, void*, void*) {
    auto* list = static_cast<GSHandle*>(par1);
    if (list == nullptr) {
        return APIERR_BADPARS;
    }
    if (*list != nullptr) {
        BMKillHandle(list);
    }
    return NoError;
}

const bool registered = sim::registerGoodies(APIAny_InitMDCLParameterListID, initList) &&
                        sim::registerGoodies(APIAny_AddMDCLParameterID, addParameter) &&
                        sim::registerGoodies(APIAny_GetMDCLParameterNumID, countParameters) &&
                        sim::registerGoodies(APIAny_GetMDCLParameterID, getParameter) &&
                        sim::registerGoodies(APIAny_FreeMDCLParameterListID, freeList);

} // namespace
