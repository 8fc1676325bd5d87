#include "Library/Parameter.h"

#include "Environment/Memory.h"

#include <cstring>

namespace zelvane {

Parameter::Parameter(std::size_t columns, bool isArray)
    : m_columns(columns > 1 ? columns : (isArray ? 1 : 0)) {}

Parameter::Parameter(const API_MDCLParameter& record)
    : m_name(record.name != nullptr ? record.name : ""), m_flags(record.modified != 0 ? 1 : 0),
      m_index(Int16(record.index)) {}

bool Parameter::getParameterData(API_MDCLParameter& record) const {
    record = API_MDCLParameter();
    record.type = getCommandTypeID();
    record.index = m_index;
    int size = int(std::strlen(m_name.data())) + 1;
    char* name = allocatePtr(size);
    copyMemory(name, m_name.data(), size);
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
