#include "Library/Parameter.h"

#include "Environment/Memory.h"

#include "GSRoot/CH.hpp"

#include <algorithm>
#include <cstring>
#include <iterator>
#include <string>
#include <unordered_map>

namespace zelvane {

namespace {

// The names read from host records, each shared while any parameter holds it: a part's defaults
// and every element placed from the part hold the same few names, read again for each element.
// The table holds no name itself; names no longer held are swept out as it grows.
class NameTable {
public:
    std::shared_ptr<const String> share(const char* text, std::size_t length) {
        std::string key(text, length);
        auto found = m_names.find(key);
        if (found != m_names.end()) {
            if (std::shared_ptr<const String> held = found->second.lock()) {
                return held;
            }
        }
        // Every byte of the name, a stray one at its end included, so that it is written back
        // the same: the key is the name terminated where its field ended.
        auto name = std::make_shared<const String>(key.c_str());
        if (found != m_names.end()) {
            found->second = name;
            return name;
        }
        if (m_names.size() >= m_sweepAt) {
            sweep();
        }
        m_names.emplace(std::move(key), name);
        return name;
    }

private:
    void sweep() {
        for (auto it = m_names.begin(); it != m_names.end();) {
            it = it->second.expired() ? m_names.erase(it) : std::next(it);
        }
        m_sweepAt = std::max<std::size_t>(2 * m_names.size(), 256);
    }

    std::unordered_map<std::string, std::weak_ptr<const String>> m_names;
    std::size_t m_sweepAt = 256;
};

thread_local NameTable names;

// The bytes of the name in a record's field: up to its terminator, or else the characters that end
// within the field with room for one. The field's last byte shows whether a lead byte before it
// begins a character cut there, left out, or is a stray byte, kept like any other.
std::size_t nameLength(const char (&field)[32]) {
    const std::size_t room = sizeof field - 1;
    std::size_t length = strnlen(field, room);
    if (length < room) {
        return length;
    }
    std::size_t at = 0;
    while (at < room) {
        Int32 n = CHGetByteSizeOfChar(field + at, GSSize(sizeof field - at), CC_UTF8);
        if (n <= 0 || at + std::size_t(n) > room) {
            break;
        }
        at += std::size_t(n);
    }
    return at;
}

} // namespace

Parameter::Parameter(std::size_t columns, bool isArray)
    : m_columns(columns > 1 ? columns : (isArray ? 1 : 0)) {}

Parameter::Parameter(const API_MDCLParameter& record)
    : m_name(std::make_shared<const String>(record.name != nullptr ? record.name : "")),
      m_flags(record.modified != 0 ? 1 : 0), m_index(Int16(record.index)) {}

// The name is read as at most what its field keeps with a terminator, so that it is written back
// the same.
Parameter::Parameter(const API_AddParType& record)
    : m_name(names.share(record.name, nameLength(record.name))),
      m_description(record.uDescname, unsigned(sizeof record.uDescname)),
      m_columns(record.typeMod == API_ParArray ? std::size_t(std::max<Int32>(record.dim2, 1)) : 0),
      m_flags(record.flags), m_index(record.index),
      m_oneDimensional(record.typeMod == API_ParArray && record.dim2 == 0) {}

const String& Parameter::noName() {
    static const String none;
    return none;
}

bool Parameter::rebase(const Parameter&, bool) {
    return false;
}

void Parameter::takeHeading(const Parameter& other, bool withColumns) {
    // Mostly the same text: compared first, so that nothing is copied.
    if (std::strcmp(m_description.data(), other.m_description.data()) != 0) {
        m_description = other.m_description;
    }
    m_flags = other.m_flags;
    m_index = other.m_index;
    m_oneDimensional = other.m_oneDimensional;
    if (withColumns) {
        m_columns = other.m_columns;
    }
}

bool Parameter::isReadable(const API_AddParType& record) {
    if (record.typeMod == API_ParSimple) {
        return true;
    }
    if (record.typeMod != API_ParArray || record.value.array == nullptr || record.dim1 < 0 ||
        record.dim2 < 0) {
        return false;
    }
    return std::size_t(std::max<Int32>(record.dim1, 1)) * std::size_t(std::max<Int32>(record.dim2, 1)) <=
           maxArrayCells;
}

bool Parameter::getParameterData(API_AddParType& record) const {
    std::memset(&record, 0, sizeof record);
    record.typeID = getTypeID();
    record.typeMod = m_columns != 0 ? API_ParArray : API_ParSimple;
    record.index = m_index;
    getName().copyTo(record.name, sizeof record.name);
    m_description.copyTo(record.uDescname, sizeof record.uDescname);
    record.dim1 = Int32(getRowCount());
    record.dim2 = isArray() ? getHostColumns() : Int32(getColumnCount());
    record.flags = m_flags;
    return pack(record);
}

bool Parameter::getParameterData(API_ChangeParamType& request, std::size_t row, std::size_t column) const {
    static GS::UniChar buffer[256];
    std::memset(&request, 0, sizeof request);
    buffer[0] = 0;
    request.uStrValue = buffer;
    getName().copyTo(request.name, sizeof request.name);
    request.index = m_index;
    request.ind1 = Int32(row);
    request.ind2 = Int32(column);
    if (!pack(request)) {
        return false;
    }
    if (isArray()) {
        ++request.ind1;
        ++request.ind2;
    }
    return true;
}

bool Parameter::getParameterData(API_MDCLParameter& record) const {
    record = API_MDCLParameter();
    record.type = getCommandTypeID();
    record.index = m_index;
    const char* text = getName().data();
    int size = int(std::strlen(text)) + 1;
    char* name = allocatePtr(size);
    copyMemory(name, text, size);
    record.name = name;
    record.modified = m_flags != 0 ? 1 : 0;
    if (!pack(record)) {
        disposeParameterData(record);
        return false;
    }
    return true;
}

void Parameter::disposeParameterData(API_MDCLParameter& record) {
    for (const char** text : {&record.name, &record.string_par}) {
        if (*text != nullptr) {
            char* block = const_cast<char*>(*text);
            disposePtr(&block);
            *text = nullptr;
        }
    }
}

} // namespace zelvane
