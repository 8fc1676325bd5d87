#include "Library/ParameterList.h"

#include "Environment/Memory.h"
#include "Environment/Setting.h"
#include "Library/LongParameter.h"
#include "Library/MakeParameter.h"
#include "Library/ParameterLink.h"

#include <algorithm>
#include <cstring>
#include <map>
#include <memory>
#include <stdexcept>
#include <string>
#include <typeinfo>
#include <utility>
#include <vector>

namespace zelvane {

namespace {

// Fills a command record from the parameter and adds it to the handle.
bool addRecord(GSHandle handle, const Parameter& parameter) {
    API_MDCLParameter record;
    if (!parameter.getParameterData(record)) {
        return false;
    }
    GSErrCode err = ACAPI_Goodies(APIAny_AddMDCLParameterID, handle, &record);
    Parameter::disposeParameterData(record);
    return err == NoError;
}

// Positions by exact name; for names used twice the first position wins.
std::map<std::string, std::size_t> nameMap(const ParameterList& list) {
    std::map<std::string, std::size_t> names;
    for (std::size_t i = list.size(); i-- > 0;) {
        if (const Parameter* parameter = list.getParameter(i)) {
            names[parameter->getName().data()] = i;
        }
    }
    return names;
}

// Positions by exact name, as nameMap gives them, over the names the parameters hold: nothing is
// copied, so that a list copied into another for every element costs no allocation per name.
class NameIndex {
public:
    struct Entry {
        const char* name;
        std::size_t position;
        // The default that takes this parameter's place in takeDefaults; npos when none.
        std::size_t taker;
    };

    explicit NameIndex(const ParameterVector& parameters) {
        m_entries.reserve(parameters.size());
        for (std::size_t i = 0; i < parameters.size(); ++i) {
            if (const Parameter* parameter = parameters[i]) {
                m_entries.push_back(Entry{parameter->getName().data(), i, ParameterList::npos});
            }
        }
        // Of names used twice the first position comes first, and wins. (Ordered by position too,
        // so that no stable sort and its buffer are needed.)
        std::sort(m_entries.begin(), m_entries.end(), [](const Entry& a, const Entry& b) {
            int order = std::strcmp(a.name, b.name);
            return order < 0 || (order == 0 && a.position < b.position);
        });
    }
    std::size_t find(const String& name) const {
        std::size_t at = locate(name);
        return at != ParameterList::npos ? m_entries[at].position : ParameterList::npos;
    }
    // The entry of the first parameter of that exact name; null when none.
    Entry* entry(const String& name) {
        std::size_t at = locate(name);
        return at != ParameterList::npos ? &m_entries[at] : nullptr;
    }
    std::vector<Entry>& entries() { return m_entries; }

private:
    std::size_t locate(const String& name) const {
        const char* wanted = name.data();
        auto found = std::lower_bound(
            m_entries.begin(), m_entries.end(), wanted,
            [](const Entry& entry, const char* text) { return std::strcmp(entry.name, text) < 0; });
        return found != m_entries.end() && std::strcmp(found->name, wanted) == 0
                   ? std::size_t(found - m_entries.begin())
                   : ParameterList::npos;
    }

    std::vector<Entry> m_entries;
};

// The exact names of the size parameters, compared byte for byte.
bool isSizeName(const String& name) {
    const char* text = name.data();
    return std::strcmp(text, "A") == 0 || std::strcmp(text, "B") == 0 || std::strcmp(text, "ZZYZX") == 0;
}

bool isAscii(const char* text) {
    for (const char* p = text; *p != 0; ++p) {
        if ((unsigned char)*p >= 0x80) {
            return false;
        }
    }
    return true;
}

char asciiLower(char c) {
    return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c;
}

// An ASCII name against a held one in any letter case, in one pass: 1 when equal, 0 when not, -1
// when the held name is not ASCII (the caller then compares lower-case copies).
int compareAsciiName(const char* ascii, const char* held) {
    while (*held != 0 && (unsigned char)*held < 0x80 && asciiLower(*ascii) == asciiLower(*held)) {
        ++ascii;
        ++held;
    }
    if (*held == 0) {
        return *ascii == 0 ? 1 : 0;
    }
    return isAscii(held) ? 0 : -1;
}

} // namespace

std::size_t ParameterList::indexOf(const String& name) const {
    return indexOf(name.data());
}

std::size_t ParameterList::indexOf(const char* name) const {
    // Parameter names are ASCII as a rule: two such names compare without lower-case copies.
    const bool ascii = isAscii(name);
    String wanted;
    bool lowered = false;
    for (std::size_t i = 0; i < m_parameters.size(); ++i) {
        const Parameter* parameter = m_parameters[i];
        if (parameter == nullptr) {
            continue;
        }
        if (ascii) {
            int same = compareAsciiName(name, parameter->getName().data());
            if (same == 1) {
                return i;
            }
            if (same == 0) {
                continue;
            }
        }
        if (!lowered) {
            wanted = String(name).toLowercase();
            lowered = true;
        }
        if (parameter->getName().toLowercase() == wanted) {
            return i;
        }
    }
    return npos;
}

std::size_t ParameterList::getParameterIndex(const String& name) const {
    return indexOf(name);
}

Parameter* ParameterList::getParameter(const String& name) {
    std::size_t position = getParameterIndex(name);
    return position == npos ? nullptr : m_parameters[position];
}

const Parameter* ParameterList::getParameter(const String& name) const {
    std::size_t position = getParameterIndex(name);
    return position == npos ? nullptr : m_parameters[position];
}

Parameter* ParameterList::getParameter(std::size_t position) {
    return position < m_parameters.size() ? m_parameters[position] : nullptr;
}

const Parameter* ParameterList::getParameter(std::size_t position) const {
    return position < m_parameters.size() ? m_parameters[position] : nullptr;
}

Parameter* ParameterList::operator[](std::size_t position) const {
    if (position >= m_parameters.size()) {
        throw std::out_of_range("");
    }
    return m_parameters[position];
}

Parameter* ParameterList::operator[](const ParameterLink& link) const {
    if (!link.getName().empty()) {
        std::size_t position = getParameterIndex(link.getName());
        return position == npos ? nullptr : m_parameters[position];
    }
    std::size_t position = link.getPosition();
    return position != 0 && position < m_parameters.size() ? m_parameters[position] : nullptr;
}

Setting* ParameterList::getSetting(const String& name, std::size_t row, std::size_t column) const {
    std::size_t position = indexOf(name);
    return position == npos ? nullptr : m_parameters[position]->getSetting(row, column);
}

bool ParameterList::setSetting(const Setting& setting, const String& name, std::size_t row,
                               std::size_t column) {
    std::size_t position = indexOf(name);
    if (position == npos) {
        return false;
    }
    Parameter* parameter = m_parameters[position];
    return parameter->setSetting(setting, row, column);
}

void ParameterList::copyFrom(const ParameterList& other, bool skipSizes, bool allowRowChange,
                             bool allowColumnChange) {
    const NameIndex names(other.m_parameters);
    for (std::size_t i = m_parameters.size(); i-- > 0;) {
        Parameter* parameter = m_parameters[i];
        if (parameter == nullptr || (skipSizes && isSizeName(parameter->getName()))) {
            continue;
        }
        std::size_t found = names.find(parameter->getName());
        if (found != npos) {
            parameter->copyFrom(*other.m_parameters[found], allowRowChange, allowColumnChange);
        }
    }
}

void ParameterList::copyFrom(const ParameterList& other, const String& name, std::size_t rows,
                             std::size_t columns, bool allowRowChange, bool allowColumnChange) {
    Parameter* target = getParameter(name);
    const Parameter* source = other.getParameter(name);
    if (target == nullptr || source == nullptr || !allowRowChange || !allowColumnChange) {
        return;
    }
    target->setColumnCount(source->getColumnCount());
    target->setRowCount(source->getRowCount());
    if (rows == npos && columns == npos) {
        target->copyFrom(*source, true, true);
        return;
    }
    if (columns != npos || rows < 1) {
        return;
    }
    std::size_t sourceRows = source->getRowCount();
    for (std::size_t r = 0; r < rows; ++r) {
        for (std::size_t c = 0; c < source->getColumnCount(); ++c) {
            // Rows past the source's read its zero setting, the kind's default.
            std::unique_ptr<Setting> setting(source->getSetting(r, c));
            if (setting == nullptr) {
                continue;
            }
            if (r >= sourceRows) {
                setting->setDefault();
            }
            target->setSetting(*setting, r, c);
        }
    }
}

void ParameterList::applyDelta(const ParameterList& changed, const ParameterList& base) {
    std::map<std::string, std::size_t> changedNames = nameMap(changed);
    for (std::size_t b = base.size(); b-- > 0;) {
        const Parameter* before = base.getParameter(b);
        if (before == nullptr) {
            continue;
        }
        std::size_t i = getParameterIndex(before->getName());
        auto found = changedNames.find(before->getName().data());
        if (found == changedNames.end()) {
            deleteParameter(i);
            continue;
        }
        const Parameter* after = changed.getParameter(found->second);
        Parameter* current = getParameter(i);
        if (current == nullptr) {
            addParameter(after->clone());
        } else if (current->getTypeID() == after->getTypeID()) {
            current->applyDelta(*after, *before);
        } else {
            setParameter(after->clone(), i);
        }
    }
    std::map<std::string, std::size_t> baseNames = nameMap(base);
    for (std::size_t q = changed.size(); q-- > 0;) {
        const Parameter* after = changed.getParameter(q);
        if (after != nullptr && baseNames.count(after->getName().data()) == 0) {
            addParameter(after->clone());
        }
    }
}

void ParameterList::takeDefaults(const ParameterList& defaults, bool skipSizes) {
    if (&defaults == this) {
        ParameterList copy(defaults);
        takeDefaults(copy.m_parameters, &copy.m_parameters, skipSizes);
        return;
    }
    takeDefaults(defaults.m_parameters, nullptr, skipSizes);
}

void ParameterList::takeDefaults(ParameterList&& defaults, bool skipSizes) {
    if (&defaults == this) {
        takeDefaults(static_cast<const ParameterList&>(defaults), skipSizes);
        return;
    }
    takeDefaults(defaults.m_parameters, &defaults.m_parameters, skipSizes);
}

void ParameterList::takeDefaults(const ParameterVector& defaults, ParameterVector* given, bool skipSizes) {
    if (rebaseInPlace(defaults, skipSizes)) {
        return;
    }
    NameIndex names(m_parameters);
    ParameterVector result;
    result.resize(defaults.size());
    auto keepsValues = [skipSizes](const Parameter& parameter) {
        return !(skipSizes && isSizeName(parameter.getName()));
    };
    // A default that is copied takes the values of its counterpart here, if any.
    auto copy = [&](std::size_t i, const Parameter* counterpart) {
        result[i] = given != nullptr ? std::exchange((*given)[i], nullptr) : defaults[i]->clone();
        if (counterpart != nullptr && keepsValues(*result[i])) {
            result[i]->copyFrom(*counterpart, true, false);
        }
    };
    // First the defaults copied, while every parameter here is as it was: those without a
    // counterpart of their class, and those whose counterpart another default took first.
    for (std::size_t i = 0; i < defaults.size(); ++i) {
        const Parameter* wanted = defaults[i];
        if (wanted == nullptr) {
            continue;
        }
        NameIndex::Entry* counterpart = names.entry(wanted->getName());
        const Parameter* current = counterpart != nullptr ? m_parameters[counterpart->position] : nullptr;
        if (current != nullptr && counterpart->taker == npos && typeid(*current) == typeid(*wanted)) {
            counterpart->taker = i;
        } else {
            copy(i, current);
        }
    }
    // Then the counterparts reused, each turned into its default before any leaves this list.
    for (NameIndex::Entry& entry : names.entries()) {
        if (entry.taker != npos) {
            Parameter* current = m_parameters[entry.position];
            const Parameter& wanted = *defaults[entry.taker];
            if (!current->rebase(wanted, keepsValues(wanted))) {
                copy(entry.taker, current);
                entry.taker = npos;
            }
        }
    }
    for (const NameIndex::Entry& entry : names.entries()) {
        if (entry.taker != npos) {
            result[entry.taker] = std::exchange(m_parameters[entry.position], nullptr);
        }
    }
    m_parameters.swap(result);
}

bool ParameterList::rebaseInPlace(const ParameterVector& defaults, bool skipSizes) {
    // Beyond a few parameters, telling that no name is held twice costs more than the index.
    constexpr std::size_t most = 16;
    const std::size_t count = m_parameters.size();
    if (count != defaults.size() || count > most) {
        return false;
    }
    for (std::size_t i = 0; i < count; ++i) {
        const Parameter* current = m_parameters[i];
        const Parameter* wanted = defaults[i];
        if (current == nullptr || wanted == nullptr || typeid(*current) != typeid(*wanted)) {
            return false;
        }
        const char* name = current->getName().data();
        if (std::strcmp(name, wanted->getName().data()) != 0) {
            return false;
        }
        // A name held before would be the first of its name here, and taken by this default.
        for (std::size_t j = 0; j < i; ++j) {
            if (std::strcmp(m_parameters[j]->getName().data(), name) == 0) {
                return false;
            }
        }
    }
    for (std::size_t i = 0; i < count; ++i) {
        const Parameter& wanted = *defaults[i];
        if (!m_parameters[i]->rebase(wanted, !(skipSizes && isSizeName(wanted.getName())))) {
            // Not for this class: those before are their defaults already, which takeDefaults
            // finds as such (they hold the values they would take, or the defaults' own).
            return false;
        }
    }
    return true;
}

bool ParameterList::unpackParameter(API_AddParType** records) {
    deleteAllParameters();
    if (records == nullptr) {
        return true;
    }
    std::size_t count =
        std::size_t(std::max(getHandleSize(reinterpret_cast<char**>(records)), 0)) / sizeof(API_AddParType);
    m_parameters.reserve(count);
    for (std::size_t i = 0; i < count; ++i) {
        Parameter* parameter = MakeParameter()((*records)[i]);
        if (parameter == nullptr) {
            deleteAllParameters();
            return false;
        }
        addParameter(parameter);
    }
    return true;
}

bool ParameterList::packParameter(API_AddParType**& records) const {
    // Not cleared when made: filling a record clears it first, so that what a parameter does not
    // write is 0. Should filling stop, the records never reached are cleared before the handle
    // goes, for freeing it reads every record.
    const std::size_t count = m_parameters.size();
    records = reinterpret_cast<API_AddParType**>(allocateHandle(int(count * sizeof(API_AddParType)), false));
    std::size_t reached = 0;
    auto release = [&records, &reached, count] {
        clearMemory(*records + reached, int((count - reached) * sizeof(API_AddParType)));
        ACAPI_DisposeAddParHdl(&records);
    };
    bool done = true;
    try {
        for (std::size_t i = 0; done && i < count; ++i) {
            done = m_parameters[i] != nullptr;
            if (done) {
                reached = i + 1;
                done = m_parameters[i]->getParameterData((*records)[i]);
            }
        }
    } catch (...) {
        release();
        throw;
    }
    if (!done) {
        release();
    }
    return done;
}

void ParameterList::deleteParameter(std::size_t position) {
    if (position < m_parameters.size()) {
        m_parameters.erase(m_parameters.begin() + std::ptrdiff_t(position));
    }
}

void ParameterList::deleteAllParameters() {
    m_parameters.clear();
}

void ParameterList::setParameter(Parameter* parameter, std::size_t position) {
    if (position >= m_parameters.size()) {
        m_parameters.push_back(parameter);
        return;
    }
    std::unique_ptr<Parameter> old(m_parameters[position]);
    m_parameters[position] = parameter;
}

void ParameterList::insertParameter(Parameter* parameter, std::size_t position) {
    if (position >= m_parameters.size()) {
        m_parameters.push_back(parameter);
    } else {
        m_parameters.insert(m_parameters.begin() + std::ptrdiff_t(position), parameter);
    }
}

void ParameterList::addParameter(Parameter* parameter) {
    m_parameters.push_back(parameter);
}

void ParameterList::setDefault() {
    clear();
}

void ParameterList::clear() {
    for (Parameter* parameter : m_parameters) {
        if (parameter != nullptr) {
            parameter->clear();
        }
    }
}

bool ParameterList::unpackParameter(GSHandle commandParameters) {
    deleteAllParameters();
    if (commandParameters == nullptr) {
        return true;
    }
    Int32 count = 0;
    if (ACAPI_Goodies(APIAny_GetMDCLParameterNumID, commandParameters, &count) != NoError) {
        return false;
    }
    for (Int32 index = count; index >= 1; --index) {
        API_MDCLParameter record;
        record.index = index;
        if (ACAPI_Goodies(APIAny_GetMDCLParameterID, commandParameters, &record) != NoError) {
            continue;
        }
        Parameter* parameter = MakeParameter()(record);
        if (parameter == nullptr) {
            deleteAllParameters();
            return false;
        }
        addParameter(parameter);
    }
    return true;
}

bool ParameterList::packParameter(GSHandle& commandParameters, bool initialise, UInt32 commandID,
                                  Int32 version) const {
    auto release = [&commandParameters] {
        ACAPI_Goodies(APIAny_FreeMDCLParameterListID, &commandParameters);
        commandParameters = nullptr;
    };
    bool done = !initialise || ACAPI_Goodies(APIAny_InitMDCLParameterListID, &commandParameters) == NoError;
    try {
        for (std::size_t i = 0; done && i < m_parameters.size(); ++i) {
            done = m_parameters[i] != nullptr && addRecord(commandParameters, *m_parameters[i]);
        }
        if (done && commandID != 0) {
            done = addRecord(commandParameters, LongParameter("command_id", "", Int32(commandID))) &&
                   addRecord(commandParameters, LongParameter("command_version", "", version));
        }
    } catch (...) {
        // Out of memory for a record's texts: the half-filled list goes too.
        release();
        throw;
    }
    if (!done) {
        release();
    }
    return done;
}

} // namespace zelvane
