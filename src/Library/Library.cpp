#include "Library/Library.h"

#include "ACAPI/Automate.hpp"
#include "ACAPI/Environment.hpp"
#include "ACAPI/Goodies.hpp"
#include "Database/ComponentLink.h"
#include "Environment/DataFile.h"
#include "Environment/Directory.h"
#include "Environment/FileList.h"
#include "Environment/Memory.h"
#include "IO/Location.hpp"
#include "Library/DoorSource.h"
#include "Library/LabelSource.h"
#include "Library/LampSource.h"
#include "Library/MacroSource.h"
#include "Library/ObjectSource.h"
#include "Library/PictureSource.h"
#include "Library/PropertySource.h"
#include "Library/SkylightSource.h"
#include "Library/WindowSource.h"
#include "Library/ZoneSource.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <memory>
#include <vector>

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

constexpr UInt32 parameterSection = MakeGSType("PARD");

// The section types a source writes: its sections, and its parameters even when they were never
// read from a part.
std::vector<UInt32> sectionTypesOf(const ParametricSource& source) {
    std::vector<UInt32> types;
    for (std::size_t i = 0; i < source.size(); ++i) {
        types.push_back(source.getSectionType(i));
    }
    if (std::find(types.begin(), types.end(), parameterSection) == types.end() &&
        source.sizeParameters() > 0) {
        types.insert(std::upper_bound(types.begin(), types.end(), parameterSection), parameterSection);
    }
    return types;
}

API_LibPartSection headerOf(UInt32 type) {
    API_LibPartSection header{};
    header.sectType = type;
    return header;
}

// A fresh handle of the source's parameter records, disposed with the guard.
struct ParameterSection {
    explicit ParameterSection(const ParametricSource& source)
        : records(reinterpret_cast<API_AddParType**>(source.getSection(parameterSection))) {}
    ~ParameterSection() { ACAPI_DisposeAddParHdl(&records); }
    API_AddParType** records;
};

} // namespace

Library::CreatorList* Library::m_creator_ = nullptr;
Library::CreatorList* Library::m_adapter_ = nullptr;

API_LibTypeID nextLibType(API_LibTypeID type) {
    return type >= APILib_ListSchemeID ? APILib_ZombieID : type + 1;
}

API_LibTypeID previousLibType(API_LibTypeID type) {
    return type <= APILib_ZombieID ? APILib_ListSchemeID : type - 1;
}

void Library::startup() {
    shutdown();
    m_creator_ = new CreatorList;
    const std::pair<API_LibTypeID, Factory> factories[] = {
        {DoorSource::typeID, DoorSource::create},         {LabelSource::typeID, LabelSource::create},
        {LampSource::typeID, LampSource::create},         {MacroSource::typeID, MacroSource::create},
        {PictureSource::typeID, PictureSource::create},   {ObjectSource::typeID, ObjectSource::create},
        {PropertySource::typeID, PropertySource::create}, {ZoneSource::typeID, ZoneSource::create},
        {WindowSource::typeID, WindowSource::create},     {SkylightSource::typeID, SkylightSource::create},
    };
    for (const auto& factory : factories) {
        m_creator_->insert(factory);
    }
}

void Library::shutdown() {
    delete m_creator_;
    m_creator_ = nullptr;
    delete m_adapter_;
    m_adapter_ = nullptr;
}

void Library::addAdapter(API_LibTypeID type, Factory factory) {
    if (m_adapter_ == nullptr) {
        m_adapter_ = new CreatorList;
    }
    m_adapter_->emplace(type, factory);
}

ComponentSource* Library::createComponent(API_LibPart& record, ComponentLink& link) {
    record.typeID = getSubtypeID(record.ownUnID, record.typeID);
    link.setType(record.typeID);
    std::unique_ptr<IO::Location> location(record.location);
    ComponentSource* source = nullptr;
    for (const CreatorList* registry : {m_adapter_, m_creator_}) {
        if (registry == nullptr) {
            continue;
        }
        auto range = registry->equal_range(record.typeID);
        for (auto it = range.first; it != range.second && source == nullptr; ++it) {
            source = it->second(record, link);
        }
        if (source != nullptr) {
            break;
        }
    }
    record.location = nullptr;
    return source;
}

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

bool Library::contains(const ComponentLink& link) const {
    std::unique_ptr<ComponentSource> part(load(link, nullptr));
    return part != nullptr;
}

ComponentSource* Library::load(const ComponentLink& link, const Filter* filter) const {
    if (link.getType() == 0 && link.getIndex() < 1) {
        return nullptr;
    }
    API_LibPart record{};
    record.typeID = link.getType();
    record.index = link.getIndex();
    if (ACAPI_LibPart_Get(&record) != NoError) {
        return nullptr;
    }
    // Held here until the record goes to the factories, so that nothing thrown loses it.
    std::unique_ptr<IO::Location> location(record.location);
    record.location = nullptr;
    if (filter != nullptr) {
        // The host answers a part whatever the type asked: the filter's type is checked against
        // the part's own.
        API_LibTypeID type = getSubtypeID(record.ownUnID, record.typeID);
        if (!filter->matches(String(record.docu_UName, unsigned(sizeof record.docu_UName))) ||
            (filter->getType() != 0 && filter->getType() != type)) {
            return nullptr;
        }
    }
    ComponentLink found(link);
    if (record.typeID == 0) {
        record.typeID = link.getType();
    } else {
        found.setType(record.typeID);
    }
    found.setLibrary(this);
    record.location = location.release();
    ComponentSource* part = createComponent(record, found);
    if (filter != nullptr && part != nullptr && !filter->isAccepted(*part)) {
        delete part;
        return nullptr;
    }
    return part;
}

ComponentSource* Library::seekNext(const ComponentLink& link, bool forward, const Filter& filter) const {
    ComponentLink at(link);
    at.setLibrary(this);
    if (filter.getType() != 0) {
        at.setType(filter.getType());
    }
    Int32 count = 0;
    if (forward) {
        count = filter.isCacheCount() && filter.getCachedCount() != 0 ? filter.getCachedCount()
                                                                      : getCount(at.getType());
    }
    for (;;) {
        Int32 index = at.getIndex();
        if (forward ? index >= count : index < 2) {
            return nullptr;
        }
        at.setIndex(forward ? index + 1 : index - 1);
        if (ComponentSource* part = load(at, &filter)) {
            filter.setCachedCount(forward ? count : 0);
            return part;
        }
    }
}

Library::iterator Library::begin(bool autoWrite, const Filter& filter) {
    ComponentLink start(0, filter.getType() != 0 ? filter.getType() : APILib_SpecID, this);
    iterator it(seekNext(start, true, filter), filter);
    it.setAutoWrite(autoWrite);
    return it;
}

Library::reverse_iterator Library::rbegin(const Filter& filter) {
    API_LibTypeID type = filter.getType() != 0 ? filter.getType() : APILib_ListSchemeID;
    ComponentLink start(getCount(type), type, this);
    return reverse_iterator(seekNext(start, false, filter), filter);
}

std::size_t Library::getChildrenOf(const ComponentLink& parent, ComponentRefList& children) const {
    std::unique_ptr<ComponentSource> part(load(parent, nullptr));
    if (part == nullptr) {
        return 0;
    }
    FamilyGuid id = part->getUniqueID();
    Int32 start = 0;
    for (;;) {
        API_LibTypeID type = parent.getType();
        Int32 index = getIndexByParentID(id, type, start);
        if (index < 1 || index <= start) {
            break;
        }
        children.push_back(new ComponentLink(index, 0, this));
        start = index;
    }
    return children.size();
}

ComponentSource* Library::add(API_LibTypeID type, const DataFile& file, Int32 ownerID) {
    if (!file.exists()) {
        return nullptr;
    }
    API_LibPart record{};
    record.typeID = type;
    record.ownerID = ownerID;
    record.location = new IO::Location(file.getLocation());
    if (ACAPI_LibPart_Register(&record) != NoError) {
        delete record.location;
        return nullptr;
    }
    ComponentLink link(record.index, type, this);
    return createComponent(record, link);
}

bool Library::put(ComponentSource& source) {
    auto* parametric = dynamic_cast<ParametricSource*>(&source);
    if (parametric == nullptr) {
        return false;
    }
    if (parametric->getIndex() == 0 || parametric->getLink().getLibrary() != this) {
        return create(*parametric);
    }
    return update(*parametric);
}

bool Library::create(ParametricSource& source) {
    API_LibPart record = source.getData();
    record.location = nullptr;
    ACAPI_Environment(APIEnv_OverwriteLibPartID, reinterpret_cast<void*>(std::intptr_t(1)));
    setLastError(ACAPI_LibPart_Create(&record));
    GSErrCode err = getLastError();
    ACAPI_Environment(APIEnv_OverwriteLibPartID, nullptr);
    if (err != NoError) {
        return false;
    }
    bool sectionsDone = true;
    try {
        for (UInt32 type : sectionTypesOf(source)) {
            API_LibPartSection header = headerOf(type);
            if (type == parameterSection) {
                ParameterSection parameters(source);
                if (parameters.records == nullptr) {
                    sectionsDone = false; // parameters that could not be read or packed
                    break;
                }
                API_LibPart copy = source.getData();
                copy.index = 0; // the part being made
                copy.location = nullptr;
                sectionsDone =
                    ACAPI_LibPart_SetDetails_ParamDef(&copy, parameters.records, &source.getDetails()) ==
                        NoError &&
                    ACAPI_LibPart_AddSection(&header, reinterpret_cast<GSConstHandle>(parameters.records),
                                             nullptr) == NoError;
            } else if (GSHandle handle = source.getSection(type)) {
                sectionsDone = ACAPI_LibPart_AddSection(&header, handle, nullptr) == NoError;
            }
            if (!sectionsDone) {
                break;
            }
        }
    } catch (...) {
        // The host has no way to drop a part being made: it is ended so that the next can start.
        ACAPI_LibPart_Save(&record);
        delete record.location;
        throw;
    }
    setLastError(ACAPI_LibPart_Save(&record));
    std::unique_ptr<IO::Location> location(record.location);
    record.location = nullptr;
    bool done = getLastError() == NoError && sectionsDone;
    if (done) {
        source.setLink(ComponentLink(record, this));
        source.setUniqueID(
            FamilyGuid(String(record.ownUnID, unsigned(strnlen(record.ownUnID, sizeof record.ownUnID)))));
        source.setParentUniqueID(FamilyGuid(
            String(record.parentUnID, unsigned(strnlen(record.parentUnID, sizeof record.parentUnID)))));
        source.setVersion(record.version);
    }
    return done;
}

bool Library::update(ParametricSource& source) {
    Int32 index = source.getIndex();
    for (UInt32 type : sectionTypesOf(source)) {
        API_LibPartSection header = headerOf(type);
        if (type == parameterSection) {
            ParameterSection parameters(source);
            if (parameters.records == nullptr) {
                setLastError(APIERR_GENERAL); // parameters that could not be read or packed
                return false;
            }
            API_LibPart copy = source.getData();
            copy.location = nullptr;
            setLastError(ACAPI_LibPart_SetDetails_ParamDef(&copy, parameters.records, &source.getDetails()));
            if (getLastError() != NoError) {
                return false;
            }
            setLastError(ACAPI_LibPart_UpdateSection(
                index, &header, reinterpret_cast<GSConstHandle>(parameters.records), nullptr));
        } else if (GSHandle handle = source.getSection(type)) {
            if (ComponentResourceMemo::isTextSection(type)) {
                GS::UniString text = String(*handle, unsigned(getHandleSize(handle)));
                setLastError(ACAPI_LibPart_UpdateSection(index, &header, handle, &text));
            } else {
                setLastError(ACAPI_LibPart_UpdateSection(index, &header, handle, nullptr));
            }
        } else {
            continue;
        }
        if (getLastError() != NoError) {
            return false;
        }
    }
    API_LibPart record{};
    record.typeID = source.getLink().getType();
    record.index = index;
    if (ACAPI_LibPart_Get(&record) == NoError) {
        std::unique_ptr<IO::Location> location(record.location);
        record.location = nullptr;
        source.setVersion(record.version);
        source.setUniqueID(
            FamilyGuid(String(record.ownUnID, unsigned(strnlen(record.ownUnID, sizeof record.ownUnID)))));
        source.setParentUniqueID(FamilyGuid(
            String(record.parentUnID, unsigned(strnlen(record.parentUnID, sizeof record.parentUnID)))));
    }
    return true;
}

const FileList& Library::getDirectories() const {
    if (m_directories != nullptr) {
        return *m_directories;
    }
    m_directories = new FileList;
    m_embedded = -1;
    GS::Array<API_LibraryInfo> folders;
    Int32 embedded = -1;
    if (ACAPI_Environment(APIEnv_GetLibrariesID, &folders, &embedded) == NoError) {
        for (UInt32 i = 0; i < folders.GetSize(); ++i) {
            auto directory = std::make_unique<Directory>(folders[i].location, false);
            if (!directory->exists() || !directory->isFolder()) {
                continue;
            }
            if (Int32(i) == embedded) {
                m_embedded = Int64(m_directories->size());
            }
            m_directories->push_back(directory.release());
        }
    }
    return *m_directories;
}

Directory* Library::getEmbeddedDirectory() const {
    const FileList& directories = getDirectories();
    if (m_embedded < 0 || std::size_t(m_embedded) >= directories.size()) {
        return nullptr;
    }
    const File* entry = directories[std::size_t(m_embedded)];
    return entry != nullptr && entry->exists() && entry->isFolder()
               ? new Directory(entry->getLocation(), false)
               : nullptr;
}

bool Library::contains(const File& file) const {
    return getDirectories().contains(file);
}

bool Library::isMyDirectory(const File& file) const {
    return getDirectories().contains(file);
}

bool Library::setDirectories(const FileList& directories) {
    reset();
    GS::Array<API_LibraryInfo> folders;
    for (const File* entry : directories) {
        if (entry != nullptr) {
            folders.Push(API_LibraryInfo{entry->getLocation()});
        }
    }
    return ACAPI_Environment(APIEnv_SetLibrariesID, &folders) == NoError;
}

bool Library::addDirectory(const Directory& directory) {
    if (!directory.exists()) {
        return false;
    }
    reset();
    IO::Location location = directory.getLocation();
    return ACAPI_Environment(APIEnv_AddLibrariesID, &location) == NoError;
}

bool Library::reload() {
    GS::Array<API_LibraryInfo> folders;
    return ACAPI_Environment(APIEnv_GetLibrariesID, &folders, nullptr) == NoError &&
           ACAPI_Automate(APIDo_ReloadLibrariesID, &folders) == NoError;
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
