#include "ACAPI/LibraryParts.hpp"

#include "ACAPI/Environment.hpp"
#include "GSRoot/BM.hpp"
#include "IO/Location.hpp"
#include "sim/Automate.h"
#include "sim/Environment.h"
#include "sim/Goodies.h"
#include "sim/Library.h"
#include "sim/Sim.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <optional>
#include <set>
#include <unordered_map>
#include <vector>

namespace {

struct Creation {
    API_LibPart record{};
    sim::LibPartDef part;
    Int32 replaces = 0; // the index of the loaded part this one overwrites, 0 for a new one
};

// Where the parts of each document name, file name and unique ID are (positions from 0, in
// library order), so that searches need not walk the library.
struct PartIndex {
    bool made = false;
    std::unordered_map<std::string, std::vector<std::size_t>> names;
    std::unordered_map<std::string, std::vector<std::size_t>> files;
    std::unordered_map<std::string, std::vector<std::size_t>> ownIDs;
    std::unordered_map<std::string, std::vector<std::size_t>> families; // of unique IDs
};

struct State {
    std::vector<sim::LibPartDef> parts;
    PartIndex index; // made again on the first search after the parts may have changed
    std::multimap<std::string, std::string> subtypes;
    std::map<Int32, std::string> builtins;
    bool overwrite = false;
    std::optional<Creation> creation;
    Int32 generated = 0;
    std::vector<std::string> folders;
    Int32 embedded = -1;
    int reloads = 0;
};

State& state() {
    static auto* instance = new State;
    return *instance;
}

std::u16string toUnits(const std::string& utf8) {
    GS::UniString text(utf8.c_str());
    return std::u16string(reinterpret_cast<const char16_t*>(text.ToUStr()), text.GetLength());
}

// The text of a fixed UTF-16 field, up to its 0 unit or the field's end.
std::string fromUnits(const GS::UniChar* units, std::size_t capacity) {
    std::size_t n = 0;
    while (n < capacity && units[n] != 0) {
        ++n;
    }
    return GS::UniString(units, GS::USize(n)).ToUTF8();
}

// The text of a fixed 8-bit field, up to its NUL or the field's end.
std::string fromField(const char* text, std::size_t capacity) {
    return std::string(text, strnlen(text, capacity));
}

// Copies text into a fixed field, cut to leave room for the terminator.
void toUnitsField(GS::UniChar* field, std::size_t capacity, const std::string& utf8) {
    // Text of 7-bit characters, as names mostly are, is its own units: each call of a library
    // search or read fills two of these fields. Like the conversion, the text ends at a NUL.
    const char* text = utf8.c_str();
    std::size_t length = std::strlen(text);
    if (std::all_of(text, text + length, [](char c) { return static_cast<unsigned char>(c) < 0x80; })) {
        std::size_t n = std::min(length, capacity - 1);
        std::copy_n(reinterpret_cast<const unsigned char*>(text), n, field);
        std::fill(field + n, field + capacity, GS::UniChar(0));
        return;
    }
    std::u16string units = toUnits(utf8);
    std::size_t n = std::min(units.size(), capacity - 1);
    if (n > 0 && n < units.size() && units[n - 1] >= 0xD800 && units[n - 1] < 0xDC00) {
        --n; // never a lone high surrogate
    }
    std::fill(field, field + capacity, GS::UniChar(0));
    std::copy_n(units.begin(), n, field);
}

void toField(char* field, std::size_t capacity, const std::string& text) {
    std::memset(field, 0, capacity);
    std::memcpy(field, text.data(), std::min(text.size(), capacity - 1));
}

std::string fileNameOf(const sim::LibPartDef& part) {
    return part.fileName.empty() ? part.name + ".gsm" : part.fileName;
}

void fillRecord(API_LibPart& record, const sim::LibPartDef& part, Int32 index) {
    record.typeID = part.type;
    record.index = index;
    toUnitsField(record.docu_UName, 256, part.name);
    toUnitsField(record.file_UName, 256, fileNameOf(part));
    record.missingDef = part.missing;
    record.isTemplate = part.isTemplate;
    record.isPlaceable = part.placeable;
    record.ownerID = part.ownerID;
    record.version = part.version;
    toField(record.ownUnID, 128, part.ownID);
    toField(record.parentUnID, 128, part.parentID);
    record.location = part.location.empty() ? nullptr : new IO::Location(part.location.c_str());
}

// The family part of a unique ID: its first GUID text, in upper case.
std::string familyOf(const std::string& id) {
    std::string family = id.substr(0, std::min<std::size_t>(id.size(), 38));
    std::transform(family.begin(), family.end(), family.begin(),
                   [](char c) { return c >= 'a' && c <= 'z' ? char(c - 'a' + 'A') : c; });
    return family;
}

void addToIndex(PartIndex& index, const sim::LibPartDef& part, std::size_t at) {
    index.names[part.name].push_back(at);
    index.files[fileNameOf(part)].push_back(at);
    index.ownIDs[part.ownID].push_back(at);
    index.families[familyOf(part.ownID)].push_back(at);
}

const PartIndex& partIndex() {
    PartIndex& index = state().index;
    if (!index.made) {
        index = PartIndex();
        const auto& parts = state().parts;
        for (std::size_t at = 0; at < parts.size(); ++at) {
            addToIndex(index, parts[at], at);
        }
        index.made = true;
    }
    return index;
}

// The positions of the parts with that key, in library order; null for none.
const std::vector<std::size_t>*
partsWith(const std::unordered_map<std::string, std::vector<std::size_t>>& map, const std::string& key) {
    auto found = map.find(key);
    return found != map.end() ? &found->second : nullptr;
}

bool derivesFrom(const std::string& id, const std::string& ancestor, int depth) {
    if (id.empty() || depth > 64) {
        return false;
    }
    if (familyOf(id) == familyOf(ancestor)) {
        return true;
    }
    auto range = state().subtypes.equal_range(familyOf(id));
    for (auto it = range.first; it != range.second; ++it) {
        if (derivesFrom(it->second, ancestor, depth + 1)) {
            return true;
        }
    }
    if (const std::vector<std::size_t>* children = partsWith(partIndex().families, familyOf(id))) {
        for (std::size_t at : *children) {
            const sim::LibPartDef& part = state().parts[at];
            if (!part.parentID.empty() && derivesFrom(part.parentID, ancestor, depth + 1)) {
                return true;
            }
        }
    }
    return false;
}

sim::LibPartDef* partAt(Int32 index) {
    auto& parts = state().parts;
    return index >= 1 && index <= Int32(parts.size()) ? &parts[std::size_t(index - 1)] : nullptr;
}

bool typeFits(API_LibTypeID wanted, const sim::LibPartDef& part) {
    return wanted == 0 || wanted == part.type;
}

// Parameter records in and out of handles.

// Copies the records of a handle into parameters; false for a handle that holds no whole records
// or an array without a live handle of its cells.
bool readParameters(API_AddParType** addPars, std::vector<sim::LibParameter>& out) {
    if (addPars == nullptr) {
        return false;
    }
    GSSize size = BMGetHandleSize(reinterpret_cast<GSConstHandle>(addPars));
    if (size % GSSize(sizeof(API_AddParType)) != 0) {
        return false;
    }
    std::size_t count = std::size_t(size) / sizeof(API_AddParType);
    out.clear();
    for (std::size_t i = 0; i < count; ++i) {
        sim::LibParameter parameter;
        parameter.record = (*addPars)[i];
        parameter.record.value.array = nullptr;
        if (parameter.record.typeMod == API_ParArray) {
            GSHandle cells = (*addPars)[i].value.array;
            if (cells == nullptr) {
                return false;
            }
            GSSize bytes = BMGetHandleSize(cells);
            if (bytes < 0) {
                return false;
            }
            parameter.arrayBytes.assign(*cells, *cells + bytes);
        }
        out.push_back(std::move(parameter));
    }
    return true;
}

void disposeRecords(API_AddParType** addPars, std::size_t filled) {
    for (std::size_t i = 0; i < filled; ++i) {
        if ((*addPars)[i].typeMod == API_ParArray && (*addPars)[i].value.array != nullptr) {
            BMKillHandle(&(*addPars)[i].value.array);
        }
    }
    GSHandle handle = reinterpret_cast<GSHandle>(addPars);
    BMKillHandle(&handle);
}

GSErrCode writeParameters(const std::vector<sim::LibParameter>& parameters, API_AddParType*** addPars) {
    // Not cleared: every record is written whole below.
    GSHandle handle = BMAllocateHandle(GSSize(parameters.size() * sizeof(API_AddParType)), 0, 0);
    if (handle == nullptr) {
        return APIERR_MEMFULL;
    }
    auto records = reinterpret_cast<API_AddParType**>(handle);
    for (std::size_t i = 0; i < parameters.size(); ++i) {
        (*records)[i] = parameters[i].record;
        (*records)[i].value.array = nullptr;
        if (parameters[i].record.typeMod == API_ParArray) {
            const std::vector<char>& bytes = parameters[i].arrayBytes;
            GSHandle cells = BMAllocateHandle(GSSize(bytes.size()), 0, 0);
            if (cells == nullptr) {
                disposeRecords(records, i);
                return APIERR_MEMFULL;
            }
            std::copy(bytes.begin(), bytes.end(), *cells);
            (*records)[i].value.array = cells;
        }
    }
    *addPars = records;
    return NoError;
}

// A parameter-definition section: the two sizes and the count, then each record followed by the
// byte count and bytes of its array cells.
std::string flattenParameters(const std::vector<sim::LibParameter>& parameters, double a, double b) {
    std::string bytes;
    auto put = [&bytes](const void* data, std::size_t size) {
        bytes.append(static_cast<const char*>(data), size);
    };
    UInt32 count = UInt32(parameters.size());
    put(&a, sizeof a);
    put(&b, sizeof b);
    put(&count, sizeof count);
    for (const sim::LibParameter& parameter : parameters) {
        put(&parameter.record, sizeof parameter.record);
        UInt32 size = UInt32(parameter.arrayBytes.size());
        put(&size, sizeof size);
        put(parameter.arrayBytes.data(), size);
    }
    return bytes;
}

GSHandle newHandle(const std::string& bytes) {
    GSHandle handle = BMAllocateHandle(GSSize(bytes.size()), 0, 0);
    if (handle != nullptr) {
        std::copy(bytes.begin(), bytes.end(), *handle);
    }
    return handle;
}

// A section's content into a part, from the text when given, else from the handle.
GSErrCode storeSection(sim::LibPartDef& part, const API_LibPartSection* section, GSConstHandle sectionHdl,
                       const GS::UniString* sectionText) {
    if (section == nullptr || section->sectType == 0) {
        return APIERR_BADPARS;
    }
    if (section->sectType == MakeGSType("PARD")) {
        std::vector<sim::LibParameter> parameters;
        if (!readParameters(reinterpret_cast<API_AddParType**>(const_cast<GSHandle>(sectionHdl)),
                            parameters)) {
            return APIERR_BADPARS;
        }
        part.parameters = std::move(parameters);
        return NoError;
    }
    if (sectionText != nullptr && sim::isTextSection(section->sectType)) {
        part.sections[section->sectType] = sectionText->ToUTF8();
        return NoError;
    }
    if (sectionHdl == nullptr) {
        return APIERR_BADPARS;
    }
    GSSize size = BMGetHandleSize(sectionHdl);
    part.sections[section->sectType] = std::string(*sectionHdl, std::size_t(std::max<GSSize>(size, 0)));
    return NoError;
}

std::string generatedID() {
    char text[80];
    Int32 n = ++state().generated;
    std::snprintf(text, sizeof text, "{5A5A0000-0000-4000-8000-%012X}-{5A5A0000-0000-4000-8000-%012X}",
                  unsigned(n), unsigned(n));
    return text;
}

GSErrCode checkSubtype(void* par1, void* par2, void*, void*) {
    auto* id = static_cast<const char*>(par1);
    auto* ancestor = static_cast<const char*>(par2);
    if (id == nullptr || ancestor == nullptr || *ancestor == '\0') {
        return APIERR_BADPARS;
    }
    return derivesFrom(fromField(id, 128), fromField(ancestor, 128), 0) ? NoError : APIERR_LIBPARTUNRELATED;
}

GSErrCode compareIDs(void* par1, void* par2, void*, void*) {
    auto* first = static_cast<const char*>(par1);
    auto* second = static_cast<const char*>(par2);
    if (first == nullptr || second == nullptr) {
        return APIERR_BADPARS;
    }
    std::string a = fromField(first, 128);
    std::string b = fromField(second, 128);
    if (a.empty() || b.empty()) {
        return APIERR_BADPARS;
    }
    if (a == b) {
        return NoError;
    }
    return familyOf(a) == familyOf(b) ? APIERR_LIBPARTOTHERVERSION : APIERR_LIBPARTUNRELATED;
}

GSErrCode builtinID(void* par1, void* par2, void*, void*) {
    auto resourceID = Int32(reinterpret_cast<std::intptr_t>(par1));
    auto* buffer = static_cast<char*>(par2);
    auto it = state().builtins.find(resourceID);
    if (buffer == nullptr) {
        return APIERR_BADPARS;
    }
    if (it == state().builtins.end()) {
        return APIERR_BADID;
    }
    toField(buffer, 128, it->second);
    return NoError;
}

GSErrCode allowOverwrite(void* par1, void*, void*) {
    state().overwrite = reinterpret_cast<std::intptr_t>(par1) != 0;
    return NoError;
}

GSErrCode getLibraries(void* par1, void* par2, void*) {
    auto* list = static_cast<GS::Array<API_LibraryInfo>*>(par1);
    if (list == nullptr) {
        return APIERR_BADPARS;
    }
    list->Clear();
    for (const std::string& folder : state().folders) {
        list->Push(API_LibraryInfo{IO::Location(folder.c_str())});
    }
    if (auto* embedded = static_cast<Int32*>(par2)) {
        *embedded = state().embedded;
    }
    return NoError;
}

std::vector<std::string> pathsOf(const GS::Array<API_LibraryInfo>& list) {
    std::vector<std::string> paths;
    for (UInt32 i = 0; i < list.GetSize(); ++i) {
        std::string path;
        if (list[i].location.ToPath(&path) == NoError) {
            paths.push_back(path);
        }
    }
    return paths;
}

GSErrCode setLibraries(void* par1, void*, void*) {
    auto* list = static_cast<const GS::Array<API_LibraryInfo>*>(par1);
    if (list == nullptr) {
        return APIERR_BADPARS;
    }
    state().folders = pathsOf(*list);
    state().embedded = -1;
    return NoError;
}

GSErrCode addLibrary(void* par1, void*, void*) {
    auto* location = static_cast<const IO::Location*>(par1);
    std::string path;
    if (location == nullptr || location->ToPath(&path) != NoError) {
        return APIERR_BADPARS;
    }
    state().folders.push_back(path);
    return NoError;
}

GSErrCode reloadLibraries(void* par1, void*, void*) {
    auto* list = static_cast<const GS::Array<API_LibraryInfo>*>(par1);
    if (list == nullptr) {
        return APIERR_BADPARS;
    }
    state().folders = pathsOf(*list);
    ++state().reloads;
    return NoError;
}

const bool registered = sim::registerReset([] { state() = State(); }) &&
                        sim::registerGoodies(APIAny_CheckLibPartSubtypeOfID, checkSubtype) &&
                        sim::registerGoodies(APIAny_CompareLibPartUnIdsID, compareIDs) &&
                        sim::registerGoodies(APIAny_GetLibPartUnIDByResID, builtinID) &&
                        sim::registerEnvironmentRequest(APIEnv_OverwriteLibPartID, allowOverwrite) &&
                        sim::registerEnvironmentRequest(APIEnv_GetLibrariesID, getLibraries) &&
                        sim::registerEnvironmentRequest(APIEnv_SetLibrariesID, setLibraries) &&
                        sim::registerEnvironmentRequest(APIEnv_AddLibrariesID, addLibrary) &&
                        sim::registerAutomateRequest(APIDo_ReloadLibrariesID, reloadLibraries);

} // namespace

namespace sim {

LibParameter scalarParameter(API_AddParID type, const std::string& name, double value, short flags) {
    LibParameter parameter;
    parameter.record.typeID = type;
    parameter.record.typeMod = API_ParSimple;
    toField(parameter.record.name, 32, name);
    parameter.record.flags = flags;
    parameter.record.value.real = value;
    return parameter;
}

LibParameter textParameter(const std::string& name, const std::string& text, short flags) {
    LibParameter parameter = scalarParameter(APIParT_CString, name, 0.0, flags);
    toUnitsField(parameter.record.value.uStr, 256, text);
    return parameter;
}

LibParameter numberArray(API_AddParID type, const std::string& name, Int32 dim1, Int32 dim2,
                         const std::vector<double>& cells) {
    LibParameter parameter = scalarParameter(type, name, 0.0);
    parameter.record.typeMod = API_ParArray;
    parameter.record.dim1 = dim1;
    parameter.record.dim2 = dim2;
    parameter.arrayBytes.resize(cells.size() * sizeof(double));
    if (!cells.empty())
        std::memcpy(parameter.arrayBytes.data(), cells.data(), parameter.arrayBytes.size());
    return parameter;
}

LibParameter textArray(const std::string& name, Int32 dim1, Int32 dim2,
                       const std::vector<std::string>& cells) {
    LibParameter parameter = numberArray(APIParT_CString, name, dim1, dim2, {});
    for (const std::string& cell : cells) {
        std::u16string units = toUnits(cell);
        units.push_back(0);
        const char* bytes = reinterpret_cast<const char*>(units.data());
        parameter.arrayBytes.insert(parameter.arrayBytes.end(), bytes, bytes + units.size() * 2);
    }
    return parameter;
}

Int32 addLibPart(const LibPartDef& part) {
    State& s = state();
    s.parts.push_back(part);
    if (s.index.made) {
        try {
            addToIndex(s.index, s.parts.back(), s.parts.size() - 1);
        } catch (...) {
            s.index.made = false;
            throw;
        }
    }
    return Int32(s.parts.size());
}

void clearLibrary() {
    state().parts.clear();
    state().index = PartIndex();
}

LibPartDef* libPart(Int32 index) {
    // The caller may rename the part.
    state().index.made = false;
    return partAt(index);
}

const LibPartDef* loadedLibPart(Int32 index) {
    return partAt(index);
}

Int32 libPartCount() {
    return Int32(state().parts.size());
}

bool isTextSection(GSType type) {
    static const std::set<GSType> texts = {
        MakeGSType("1DSC"), MakeGSType("2DSC"), MakeGSType("3DSC"), MakeGSType("PRSC"), MakeGSType("UISC"),
        MakeGSType("VLSC"), MakeGSType("FMSC"), MakeGSType("BMSC"), MakeGSType("CTXT"), MakeGSType("CPYR")};
    return texts.count(type) != 0;
}

void setSubtype(const std::string& ownID, const std::string& ancestorID) {
    state().subtypes.emplace(familyOf(ownID), ancestorID);
}

void setBuiltinPart(Int32 resourceID, const std::string& uniqueID) {
    state().builtins[resourceID] = uniqueID;
}

GSErrCode writeParameterRecords(const std::vector<LibParameter>& parameters, API_AddParType*** records) {
    return records == nullptr ? APIERR_BADPARS : writeParameters(parameters, records);
}

bool readParameterRecords(API_AddParType** records, std::vector<LibParameter>& parameters) {
    return readParameters(records, parameters);
}

void setLibraryFolders(const std::vector<std::string>& folders, Int32 embedded) {
    state().folders = folders;
    state().embedded = embedded;
}

const std::vector<std::string>& libraryFolders() {
    return state().folders;
}

int libraryReloads() {
    return state().reloads;
}

bool isLibPartOverwriteAllowed() {
    return state().overwrite;
}

bool isCreatingLibPart() {
    return state().creation.has_value();
}

} // namespace sim

GSErrCode ACAPI_LibPart_GetNum(Int32* count) {
    if (GSErrCode err = sim::enter("ACAPI_LibPart_GetNum"); err != NoError) {
        return err;
    }
    if (count == nullptr) {
        return APIERR_BADPARS;
    }
    *count = sim::libPartCount();
    return NoError;
}

GSErrCode ACAPI_LibPart_Search(API_LibPart* ancestor, bool, bool onlyPlaceable) {
    if (GSErrCode err = sim::enter("ACAPI_LibPart_Search"); err != NoError) {
        return err;
    }
    if (ancestor == nullptr) {
        return APIERR_BADPARS;
    }
    std::string parentID = fromField(ancestor->parentUnID, 128);
    std::string ownID = fromField(ancestor->ownUnID, 128);
    std::string name = fromUnits(ancestor->docu_UName, 256);
    std::string fileName = fromUnits(ancestor->file_UName, 256);
    if (parentID.empty() && ownID.empty() && name.empty() && fileName.empty()) {
        return APIERR_BADPARS;
    }
    const auto& parts = state().parts;
    auto fits = [&](const sim::LibPartDef& part) {
        return typeFits(ancestor->typeID, part) && (!onlyPlaceable || part.placeable);
    };
    if (!parentID.empty()) {
        for (Int32 i = std::max<Int32>(ancestor->index, 0); i < Int32(parts.size()); ++i) {
            const sim::LibPartDef& part = parts[std::size_t(i)];
            if (fits(part) && !part.parentID.empty() && familyOf(part.parentID) == familyOf(parentID)) {
                fillRecord(*ancestor, part, i + 1);
                return NoError;
            }
        }
        return APIERR_LIBPARTNOTFOUND;
    }
    const PartIndex& index = partIndex();
    const std::vector<std::size_t>* candidates = !ownID.empty()  ? partsWith(index.ownIDs, ownID)
                                                 : !name.empty() ? partsWith(index.names, name)
                                                                 : partsWith(index.files, fileName);
    if (candidates != nullptr) {
        for (std::size_t at : *candidates) {
            if (fits(parts[at])) {
                fillRecord(*ancestor, parts[at], Int32(at + 1));
                return NoError;
            }
        }
    }
    return APIERR_LIBPARTNOTFOUND;
}

GSErrCode ACAPI_LibPart_Get(API_LibPart* libPart) {
    if (GSErrCode err = sim::enter("ACAPI_LibPart_Get"); err != NoError) {
        return err;
    }
    if (libPart == nullptr) {
        return APIERR_BADPARS;
    }
    const sim::LibPartDef* part = partAt(libPart->index);
    if (part == nullptr) {
        return APIERR_BADINDEX;
    }
    fillRecord(*libPart, *part, libPart->index);
    return NoError;
}

GSErrCode ACAPI_LibPart_GetParams(Int32 libInd, double* a, double* b, Int32* addParNum,
                                  API_AddParType*** addPars) {
    if (GSErrCode err = sim::enter("ACAPI_LibPart_GetParams", libInd); err != NoError) {
        return err;
    }
    if (addPars == nullptr) {
        return APIERR_BADPARS;
    }
    const sim::LibPartDef* part = partAt(libInd);
    if (part == nullptr) {
        return APIERR_BADINDEX;
    }
    if (GSErrCode err = writeParameters(part->parameters, addPars); err != NoError) {
        return err;
    }
    if (a != nullptr) {
        *a = part->a;
    }
    if (b != nullptr) {
        *b = part->b;
    }
    if (addParNum != nullptr) {
        *addParNum = Int32(part->parameters.size());
    }
    return NoError;
}

GSErrCode ACAPI_LibPart_GetDetails(Int32 libInd, API_LibPartDetails* details) {
    if (GSErrCode err = sim::enter("ACAPI_LibPart_GetDetails", libInd); err != NoError) {
        return err;
    }
    const sim::LibPartDef* part = partAt(libInd);
    if (details == nullptr) {
        return APIERR_BADPARS;
    }
    if (part == nullptr) {
        return APIERR_BADINDEX;
    }
    *details = part->details;
    return NoError;
}

GSErrCode ACAPI_LibPart_Register(API_LibPart* libPart) {
    if (GSErrCode err = sim::enter("ACAPI_LibPart_Register"); err != NoError) {
        return err;
    }
    std::string path;
    if (libPart == nullptr || libPart->location == nullptr || libPart->location->ToPath(&path) != NoError ||
        libPart->typeID < 1 || libPart->typeID > APILib_SkylightID) {
        return APIERR_BADPARS;
    }
    const auto& parts = state().parts;
    for (std::size_t i = 0; i < parts.size(); ++i) {
        if (parts[i].location == path) {
            IO::Location* location = libPart->location;
            fillRecord(*libPart, parts[i], Int32(i + 1));
            delete libPart->location;
            libPart->location = location;
            return NoError;
        }
    }
    sim::LibPartDef part;
    part.type = libPart->typeID;
    part.ownerID = libPart->ownerID;
    part.location = path;
    part.fileName = path.substr(path.find_last_of('/') + 1);
    part.name = part.fileName.substr(0, part.fileName.rfind('.'));
    part.ownID = generatedID();
    IO::Location* location = libPart->location;
    fillRecord(*libPart, part, sim::addLibPart(part));
    delete libPart->location;
    libPart->location = location;
    return NoError;
}

GSErrCode ACAPI_LibPart_Create(const API_LibPart* libPart) {
    if (GSErrCode err = sim::enter("ACAPI_LibPart_Create"); err != NoError) {
        return err;
    }
    State& s = state();
    if (libPart == nullptr || libPart->typeID < 1 || libPart->typeID > APILib_SkylightID) {
        return APIERR_BADPARS;
    }
    if (s.creation) {
        return APIERR_NOTCREATING;
    }
    Creation creation;
    creation.record = *libPart;
    creation.record.location = nullptr;
    creation.part.type = libPart->typeID;
    creation.part.name = fromUnits(libPart->docu_UName, 256);
    creation.part.fileName = fromUnits(libPart->file_UName, 256);
    creation.part.ownID = fromField(libPart->ownUnID, 128);
    creation.part.parentID = fromField(libPart->parentUnID, 128);
    creation.part.isTemplate = libPart->isTemplate;
    creation.part.placeable = libPart->isPlaceable;
    creation.part.ownerID = libPart->ownerID;
    creation.part.version = libPart->version;
    if (creation.part.name.empty()) {
        return APIERR_BADNAME;
    }
    for (std::size_t i = 0; i < s.parts.size(); ++i) {
        if (s.parts[i].name == creation.part.name) {
            if (!s.overwrite) {
                return APIERR_NAMEALREADYUSED;
            }
            creation.replaces = Int32(i + 1);
        }
    }
    if (creation.part.ownID.empty()) {
        creation.part.ownID = generatedID();
    }
    const std::filesystem::path library = sim::specialFolder("Library");
    if (library.empty()) {
        return APIERR_GENERAL; // a folder the host does not take as its own (sim::specialFolder)
    }
    creation.part.location = (library / fileNameOf(creation.part)).string();
    s.creation = std::move(creation);
    return NoError;
}

GSErrCode ACAPI_LibPart_AddSection(const API_LibPartSection* section, GSConstHandle sectionHdl,
                                   const GS::UniString* sectionText) {
    if (GSErrCode err = sim::enter("ACAPI_LibPart_AddSection", section != nullptr ? section->sectType : 0);
        err != NoError) {
        return err;
    }
    if (!state().creation) {
        return APIERR_NOTCREATING;
    }
    return storeSection(state().creation->part, section, sectionHdl, sectionText);
}

GSErrCode ACAPI_LibPart_Save(API_LibPart* libPart) {
    if (GSErrCode err = sim::enter("ACAPI_LibPart_Save"); err != NoError) {
        return err;
    }
    State& s = state();
    if (!s.creation) {
        return APIERR_NOTCREATING;
    }
    if (libPart == nullptr) {
        return APIERR_BADPARS;
    }
    Creation creation = std::move(*s.creation);
    s.creation.reset();
    Int32 index = creation.replaces;
    if (index != 0) {
        s.parts[std::size_t(index - 1)] = creation.part;
        s.index.made = false;
    } else {
        index = sim::addLibPart(creation.part);
    }
    fillRecord(*libPart, creation.part, index);
    return NoError;
}

GSErrCode ACAPI_LibPart_UpdateSection(Int32 libInd, const API_LibPartSection* section,
                                      GSConstHandle sectionHdl, const GS::UniString* sectionText) {
    if (GSErrCode err = sim::enter("ACAPI_LibPart_UpdateSection", section != nullptr ? section->sectType : 0);
        err != NoError) {
        return err;
    }
    sim::LibPartDef* part = partAt(libInd);
    if (part == nullptr) {
        return APIERR_BADINDEX;
    }
    return storeSection(*part, section, sectionHdl, sectionText);
}

GSErrCode ACAPI_LibPart_SetDetails_ParamDef(const API_LibPart* libPart, API_AddParType** addPars,
                                            const API_LibPartDetails* details) {
    if (GSErrCode err = sim::enter("ACAPI_LibPart_SetDetails_ParamDef"); err != NoError) {
        return err;
    }
    std::vector<sim::LibParameter> parameters;
    if (libPart == nullptr || details == nullptr || !readParameters(addPars, parameters)) {
        return APIERR_BADPARS;
    }
    sim::LibPartDef* part =
        libPart->index == 0 && state().creation ? &state().creation->part : partAt(libPart->index);
    if (part == nullptr) {
        return APIERR_BADINDEX;
    }
    part->details = *details;
    return NoError;
}

GSErrCode ACAPI_LibPart_GetSect_ParamDef(const API_LibPart* libPart, API_AddParType** addPars, double a,
                                         double b, GSHandle* sectionHdl) {
    if (GSErrCode err = sim::enter("ACAPI_LibPart_GetSect_ParamDef"); err != NoError) {
        return err;
    }
    std::vector<sim::LibParameter> parameters;
    if (libPart == nullptr || sectionHdl == nullptr || !readParameters(addPars, parameters)) {
        return APIERR_BADPARS;
    }
    *sectionHdl = newHandle(flattenParameters(parameters, a, b));
    return *sectionHdl == nullptr ? APIERR_MEMFULL : NoError;
}

GSErrCode ACAPI_LibPart_GetSectionList(Int32 libInd, Int32* count, API_LibPartSection*** sections) {
    if (GSErrCode err = sim::enter("ACAPI_LibPart_GetSectionList", libInd); err != NoError) {
        return err;
    }
    if (count == nullptr || sections == nullptr) {
        return APIERR_BADPARS;
    }
    const sim::LibPartDef* part = partAt(libInd);
    if (part == nullptr) {
        return APIERR_BADINDEX;
    }
    std::set<GSType> types;
    for (const auto& section : part->sections) {
        types.insert(section.first);
    }
    if (!part->parameters.empty()) {
        types.insert(MakeGSType("PARD"));
    }
    GSHandle handle = BMAllocateHandle(GSSize(types.size() * sizeof(API_LibPartSection)), ALLOCATE_CLEAR, 0);
    if (handle == nullptr) {
        return APIERR_MEMFULL;
    }
    auto records = reinterpret_cast<API_LibPartSection**>(handle);
    std::size_t i = 0;
    for (GSType type : types) {
        (*records)[i++].sectType = type;
    }
    *count = Int32(types.size());
    *sections = records;
    return NoError;
}

GSErrCode ACAPI_LibPart_GetSection(Int32 libInd, const API_LibPartSection* section, GSHandle* sectionHdl,
                                   GS::UniString* sectionText) {
    if (GSErrCode err = sim::enter("ACAPI_LibPart_GetSection", section != nullptr ? section->sectType : 0);
        err != NoError) {
        return err;
    }
    if (section == nullptr || sectionHdl == nullptr) {
        return APIERR_BADPARS;
    }
    const sim::LibPartDef* part = partAt(libInd);
    if (part == nullptr) {
        return APIERR_BADINDEX;
    }
    std::string bytes;
    if (section->sectType == MakeGSType("PARD") && !part->parameters.empty()) {
        bytes = flattenParameters(part->parameters, part->a, part->b);
    } else {
        auto it = part->sections.find(section->sectType);
        if (it == part->sections.end()) {
            return APIERR_NOLIBSECT;
        }
        bytes = it->second;
        if (sectionText != nullptr && sim::isTextSection(section->sectType)) {
            *sectionText = GS::UniString(bytes.c_str(), GS::USize(bytes.size()));
        }
    }
    *sectionHdl = newHandle(bytes);
    return *sectionHdl == nullptr ? APIERR_MEMFULL : NoError;
}

GSErrCode ACAPI_DisposeAddParHdl(API_AddParType*** addPars) {
    if (addPars == nullptr) {
        return APIERR_BADPARS;
    }
    if (*addPars != nullptr) {
        GSSize size = BMGetHandleSize(reinterpret_cast<GSConstHandle>(*addPars));
        disposeRecords(*addPars, std::size_t(std::max<GSSize>(size, 0)) / sizeof(API_AddParType));
        *addPars = nullptr;
    }
    return NoError;
}
