#include "Remap/ObjectMapTransaction.h"

#include "ACAPI/ErrorCodes.hpp"
#include "Addon/Addon.h"
#include "Database/Drawing.h"
#include "Database/ElementLinkList.h"
#include "Database/Plan.h"
#include "Database/Project.h"
#include "Element/ComponentElem.h"
#include "Environment/Host.h"
#include "Environment/ToString.h"
#include "IFC/IFCMemo.h"
#include "IFC/IFCSingleValue.h"
#include "Interface/ConfirmAlert.h"
#include "Interface/NotifyAlert.h"
#include "Interface/ProgressWindow.h"
#include "Interface/WarnAlert.h"
#include "Library/ComponentSource.h"
#include "Library/Library.h"
#include "Library/StringParameter.h"
#include "Remap/MappingDialog.h"
#include "Remap/ObjectMapFile.h"
#include "Remap/OpenProjectHold.h"
#include "Remap/PartKey.h"
#include "Remap/RemapElements.h"
#include "Remap/RemappingPrefs.h"

#include <map>
#include <memory>
#include <unordered_map>

namespace zelvane::remap {

namespace {

// Host element types walked, in walking order: objects, then (except for DWG) doors, lamps and
// windows.
constexpr API_ElemTypeID objectType = 6;
constexpr API_ElemTypeID doorType = 5;
constexpr API_ElemTypeID lampType = 7;
constexpr API_ElemTypeID windowType = 4;
constexpr unsigned int collectFlags = 0x212;

std::vector<API_ElemTypeID> kindsOf(ObjectMap::Type kind) {
    if (kind == ObjectMap::DWG) {
        return {objectType};
    }
    return {objectType, doorType, lampType, windowType};
}

// The progress count of a pass: objects, and doors and windows unless DWG (lamps are walked but
// not counted).
Int32 countOf(Drawing& drawing, ObjectMap::Type kind) {
    std::size_t count = drawing.getCount(Drawing::Filter(collectFlags, element_id(objectType), false, true));
    if (kind != ObjectMap::DWG) {
        for (API_ElemTypeID type : {doorType, windowType}) {
            count += drawing.getCount(Drawing::Filter(collectFlags, element_id(type), false, true));
        }
    }
    return static_cast<Int32>(count);
}

// Switches the host's groups off for the time of a remapping, when they are on, and on again
// however the remapping ends: a grouped element would otherwise drag its group along. The normal
// end switches them on with restore(); an exception leaves it to the destructor, keeping the
// exception that ended the run.
class GroupSuspension {
public:
    GroupSuspension() : m_suspended(host.isGroupActive()) {
        if (!m_suspended) {
            return;
        }
        try {
            host.setGroupActive(false);
        } catch (...) {
            switchOn();
            throw;
        }
    }
    GroupSuspension(const GroupSuspension&) = delete;
    GroupSuspension& operator=(const GroupSuspension&) = delete;
    ~GroupSuspension() { switchOn(); }
    void restore() {
        if (m_suspended) {
            m_suspended = false;
            host.setGroupActive(true);
        }
    }

private:
    void switchOn() noexcept {
        try {
            restore();
        } catch (...) {
            // The exception that ended the run is the one reported.
        }
    }

    bool m_suspended;
};

// The name under which an element is collected for the source kind (getSourceName), with the
// part's name and presence told by missing (isMissing or one that answers the same).
template <typename Missing>
bool sourceNameOf(ObjectMap::Type kind, ComponentElem& element, String& name, Missing missing) {
    switch (kind) {
    case ObjectMap::IFC: {
        auto* memo = dynamic_cast<IFCMemo*>(&element);
        if (memo == nullptr) {
            return false;
        }
        auto* value = dynamic_cast<IFCSingleValue*>(memo->getProperty("Name", "AC_Pset_Name"));
        const Setting* setting = value != nullptr ? value->getSetting() : nullptr;
        if (setting == nullptr) {
            return false;
        }
        setting->getValue(name);
        return !name.empty();
    }
    case ObjectMap::DWG:
        name = element.getSourceName();
        return dynamic_cast<const StringParameter*>(element.getParameter(String("Derived_from_AutoCad"))) !=
               nullptr;
    case ObjectMap::GSM:
        return !missing(element, name);
    case ObjectMap::missing:
        return missing(element, name);
    case ObjectMap::legacy: {
        String partName;
        return !missing(element, partName) && ObjectMapTransaction::getLegacyName(partName, name);
    }
    case ObjectMap::none:
        break;
    }
    return false;
}

// Whether a kind collects an element under a name learnt from its part alone (when the part is in
// the library): its part's name, or the name's stem.
bool isNamedByPart(ObjectMap::Type kind) {
    return kind == ObjectMap::GSM || kind == ObjectMap::missing || kind == ObjectMap::legacy;
}

// What collecting learns of the elements' parts, looked up once a part: the library does not
// change while collecting. It answers as ObjectMapTransaction::isMissing does.
class PartNames {
public:
    bool isMissing(const ComponentElem& element, String& name) {
        const Part& part = partOf(element);
        if (!part.found) {
            // A part that is not in the library is named by the host for each element.
            return ObjectMapTransaction::isMissing(element, name);
        }
        name = part.name;
        return !part.exists;
    }

    // The element map's list that takes the element for a kind named by its part, or null when the
    // element is not collected. For a part in the library the list is looked up once a part.
    std::vector<ElementLink>* listOf(ObjectMap::Type kind, ComponentElem& element,
                                     ObjectMapTransaction::ElementMap& elements) {
        Part& part = partOf(element);
        auto listFor = [&]() -> std::vector<ElementLink>* {
            String name;
            auto missing = [this](const ComponentElem& named, String& text) {
                return isMissing(named, text);
            };
            if (!sourceNameOf(kind, element, name, missing)) {
                return nullptr;
            }
            return &elements[ObjectMap::Key(element.getSourceLink().getType(), name)];
        };
        if (!part.found) {
            return listFor();
        }
        if (!part.listed) {
            // The map's lists stay where they are as others are added.
            part.list = listFor();
            part.listed = true;
        }
        return part.list;
    }

private:
    struct Part {
        bool found = false;
        bool exists = false;
        String name;
        bool listed = false;
        std::vector<ElementLink>* list = nullptr;
    };

    Part& partOf(const ComponentElem& element) {
        const PartKey key(element.getSourceLink());
        auto found = m_parts.find(key);
        if (found == m_parts.end()) {
            Part part;
            if (const ComponentSource* source = element.getComponentSource()) {
                part.found = true;
                part.name = source->getName();
                part.exists = source->exists();
            }
            found = m_parts.emplace(key, part).first;
        }
        return found->second;
    }

    // Its parts stay where they are as others are added.
    std::unordered_map<PartKey, Part, PartKeyHash> m_parts;
};

} // namespace

ObjectMapTransaction::ObjectMapTransaction(ObjectMap::Type kind)
    : Transaction(host.getLocalString(32526, 1)), m_sourceKind(kind) {}

bool ObjectMapTransaction::isMissing(const ComponentElem& element, String& name) {
    name = element.getSourceName();
    ComponentSource* source = element.getComponentSource();
    return source == nullptr || !source->exists();
}

bool ObjectMapTransaction::getLegacyName(const String& partName, String& name) {
    static const char* const digits = "0123456789";
    unsigned int last = partName.findLastNotOf(digits);
    if (last == String::npos || last + 1 >= partName.size()) {
        return false;
    }
    String suffix = partName.substr(last + 1);
    // A version has at most two significant digits; longer runs are refused before converting.
    unsigned int significant = suffix.findFirstNotOf("0");
    if (significant != String::npos && suffix.size() - significant > 2) {
        return false;
    }
    ToUInt32 number(suffix);
    if (!number.isValid()) {
        return false;
    }
    unsigned int version = number.getValue();
    if (version < 8 || version > 99) {
        return false;
    }
    if (version >= 40) {
        version /= 10;
    }
    if (version >= static_cast<unsigned int>(Host::version)) {
        return false;
    }
    String stem = partName.substr(0, last + 1);
    unsigned int end = stem.findLastNotOf(" \t\r\n");
    name = end == String::npos ? String() : stem.substr(0, end + 1);
    return true;
}

bool ObjectMapTransaction::getSourceName(ObjectMap::Type kind, ComponentElem& element, String& name) {
    return sourceNameOf(kind, element, name, &ObjectMapTransaction::isMissing);
}

bool ObjectMapTransaction::scanLibrary(Library& library, ProgressMonitor& progress,
                                       std::vector<ComponentLog>& parts) {
    progress.startNext(host.getLocalString(32522, 5), library.getCount(0));
    for (auto part = library.begin(false, Library::Filter("", 0, true, false)); !part.atEnd();
         part.moveForward()) {
        if (progress.isCancelled()) {
            break;
        }
        const ComponentSource& source = part.getReference();
        if (source.isPlaceable()) {
            parts.emplace_back(source.getName(), source.getLink());
        }
        ++progress;
    }
    return !progress.isCancelled();
}

bool ObjectMapTransaction::collect(Drawing& drawing, ProgressMonitor& progress) {
    const std::vector<API_ElemTypeID> kinds = kindsOf(m_sourceKind);
    OpenProjectHold openProject;
    PartNames parts;
    // Both passes show the count of the whole drawing, which collecting does not change: it is
    // counted once.
    Int32 count = -1;
    for (int pass = 0; pass < 2; ++pass) {
        if (!m_elementMap.empty() || progress.isCancelled()) {
            break;
        }
        if (count < 0) {
            count = countOf(drawing, m_sourceKind);
        }
        progress.startNext(host.getLocalString(32522, pass == 0 ? 14 : 12), count);
        for (API_ElemTypeID type : kinds) {
            Drawing::Filter filter(collectFlags, element_id(type), pass == 0, true, false);
            auto links = std::make_shared<ElementLinkList>(50);
            drawing.getLinksToLoad(filter, *links);
            // The listed elements passed the flags, and collecting changes none of them: they are
            // loaded without the host being asked about the flags again.
            Drawing::Filter listed(filter);
            listed.setFlags(0);
            Drawing::iterator element(links, listed);
            element.setAutoWrite(false);
            for (; !element.atEnd(); ++element) {
                if (progress.isCancelled()) {
                    break;
                }
                auto* component = dynamic_cast<ComponentElem*>(&*element);
                if (component == nullptr) {
                    continue;
                }
                std::vector<ElementLink>* list = nullptr;
                if (isNamedByPart(m_sourceKind)) {
                    list = parts.listOf(m_sourceKind, *component, m_elementMap);
                } else if (String name; getSourceName(m_sourceKind, *component, name)) {
                    list = &m_elementMap[ObjectMap::Key(component->getSourceLink().getType(), name)];
                }
                if (list != nullptr) {
                    list->push_back(component->getLink());
                }
                ++progress;
            }
        }
    }
    return !progress.isCancelled();
}

bool ObjectMapTransaction::findTargets() {
    Project* project = host.getProject();
    if (project == nullptr) {
        return false;
    }
    m_drawing = project->getActiveDrawing();
    if (m_drawing == nullptr) {
        m_drawing = project->getFloorPlan();
    }
    m_specification = host.getFrontSpec();
    m_preferences = dynamic_cast<RemappingPrefs*>(project->getPreference(RemappingPrefs::ID));
    return m_drawing != nullptr && m_specification != nullptr && m_preferences != nullptr;
}

bool ObjectMapTransaction::initialise() {
    if (m_sourceKind == ObjectMap::none) {
        return false;
    }
    if (!findTargets()) {
        return false;
    }
    m_elementMap.clear();
    bool completed = false;
    std::vector<ComponentLog> parts;
    {
        // The collecting window closes as soon as collecting ends.
        std::shared_ptr<ProgressWindow> progress = ProgressWindow::create(host.getLocalString(32520, 1), 3);
        if (progress == nullptr || !progress->isLive()) {
            return false;
        }
        Library* library = host.getFrontLibrary();
        if (library == nullptr || !scanLibrary(*library, *progress, parts) || parts.empty()) {
            if (!progress->isCancelled()) {
                progress.reset();
                WarnAlert().show(host.getLocalString(32523, 1));
            }
            return false;
        }
        completed = collect(*m_drawing, *progress);
    }
    if (!completed) {
        return false;
    }
    if (m_elementMap.empty()) {
        NotifyAlert().show(host.getLocalString(32522, 1));
        return false;
    }
    if (!loadObjectMap()) {
        return false;
    }
    MappingDialog dialog(m_objectMap, m_elementMap, parts, m_sourceKind, m_mapMustBeNew);
    if (dialog.show() != 1) {
        return false;
    }
    // The choice is kept in the open project, so a failed write (told on the console, as at a
    // save) leaves the remapping to go on; the save tries again.
    if (addon != nullptr) {
        addon->savePrefs(Addon::project);
    }
    return ConfirmAlert().show(host.getLocalString(32523, 2), String(), String()) == 1;
}

bool ObjectMapTransaction::loadObjectMap() {
    DataFile::Identity read;
    const ObjectMapFile found = readObjectMap(m_objectMap, &read);
    switch (found) {
    case ObjectMapFile::noFolder:
    case ObjectMapFile::refused:
    case ObjectMapFile::failed:
        // Without its folder the map can be neither read nor kept: the command cannot go on. A map
        // refused, or one that could not be read, is no unreadable map to replace: the player's may
        // be whole, or stand there again.
        NotifyAlert().show(host.getLocalString(32522, 6));
        return false;
    case ObjectMapFile::read:
        return true;
    case ObjectMapFile::unreadable:
        if (ConfirmAlert().show(host.getLocalString(32524, 3), String(), String()) != 1) {
            NotifyAlert().show(host.getLocalString(32522, 6));
            return false;
        }
        // Only the file read is replaced: where another stands there now, or it was changed since,
        // it may be the player's map, and the command stops as if it had been declined.
        m_objectMap.initialise();
        if (!replaceObjectMap(m_objectMap, read)) {
            NotifyAlert().show(host.getLocalString(32522, 6));
            return false;
        }
        m_mapMustBeNew = false;
        return true;
    case ObjectMapFile::absent:
        break;
    }
    // A failed write has been shown; the map in memory still serves this command. Where there was
    // no file, one made meanwhile is not written over, neither now nor when the dialog saves.
    m_objectMap.initialise();
    m_mapMustBeNew = !writeObjectMap(m_objectMap, true);
    return true;
}

GSErrCode ObjectMapTransaction::run() {
    if (m_drawing == nullptr || m_preferences == nullptr || m_sourceKind == ObjectMap::none) {
        return NoError;
    }
    GroupSuspension groups;
    remapElements(m_sourceKind, *m_drawing, m_elementMap, m_objectMap,
                  m_preferences->getSourceName(m_sourceKind));
    groups.restore();
    return NoError;
}

void ObjectMapTransaction::postProcess(bool success) {
    if (success && m_drawing != nullptr) {
        m_drawing->refresh();
    }
}

} // namespace zelvane::remap
