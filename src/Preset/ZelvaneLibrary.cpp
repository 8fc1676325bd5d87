#include "Preset/ZelvaneLibrary.h"

#include "Addon/EditManager.h"
#include "Database/Drawing.h"
#include "Database/ElementLinkList.h"
#include "Database/Project.h"
#include "Element/ComponentElem.h"
#include "Environment/DataBufferIn.h"
#include "Environment/DataFile.h"
#include "Environment/Host.h"
#include "Library/ComponentSource.h"
#include "Library/Library.h"
#include "Library/ParameterList.h"
#include "Library/StringParameter.h"
#include "Preset/PresetDatabase.h"
#include "Preset/PresetRecord.h"
#include "XML/XMLArrayProxy.h"
#include "XML/XMLAssemblyProxy.h"
#include "XML/XMLReader.h"
#include "XML/XMLTypeProxy.h"

#include <map>
#include <memory>

namespace zelvane {

namespace {

constexpr char const* versionTag = "version";
constexpr char const* listTag = "presetList";

// A document whose root element must be the configuration's own: an empty document, or one of
// another root, is no configuration and must not replace the one in force.
class Document : public XMLAssembly {
public:
    explicit Document(ZelvaneLibrary& library) : m_library(&library) {}

    std::size_t shippingSize() const override { return 1; }
    Shipping* getShipping(std::size_t index, bool) override {
        return index == 0 ? new XMLAssemblyProxy(*m_library) : nullptr;
    }
    Shipping* getShipping(String const& tag, String const&) override {
        if (tag != ZelvaneLibrary::tag) {
            return nullptr;
        }
        m_found = true;
        return new XMLAssemblyProxy(*m_library);
    }
    void setDefault() override {}
    char const* getTag() const override { return ""; }

    // Reads the stream; true only when it held the configuration's element and read whole.
    bool readFrom(DataBufferIn& in) {
        XMLReader reader(&in);
        return reader.importTo(*this) && m_found;
    }

private:
    ZelvaneLibrary* m_library;
    bool m_found = false;
};

} // namespace

Shipping* ZelvaneLibrary::getShipping(std::size_t index, bool attributes) {
    switch (index) {
    case 0:
        return new XMLTypeProxy<unsigned int>(m_version, versionTag, true);
    case 1:
        return attributes ? nullptr : new XMLArrayProxy(m_presets, listTag);
    default:
        return nullptr;
    }
}

Shipping* ZelvaneLibrary::getShipping(String const& tag, String const&) {
    if (tag == versionTag) {
        return getShipping(0, true);
    }
    if (tag == listTag) {
        return getShipping(1, false);
    }
    return nullptr;
}

void ZelvaneLibrary::setDefault() {
    m_version = 0;
    m_readTime = Time();
}

Preset const* ZelvaneLibrary::findPresetByKey(String const& type, String const& keyParameterName) const {
    for (Preset const* preset : m_presets) {
        if (preset->getType() == type && preset->getKeyParameter().getName() == keyParameterName) {
            return preset;
        }
    }
    return nullptr;
}

Preset const* ZelvaneLibrary::findPresetByParameter(String const& name, PresetRecord const& record,
                                                    PresetDatabase const& database) const {
    String type = record.getTypeName();
    for (Preset const* preset : m_presets) {
        if (preset->getType() == type && preset->isParameterInHierarchy(name, record, database, this)) {
            return preset;
        }
    }
    return nullptr;
}

bool ZelvaneLibrary::applyPresetsTo(ParameterList& element, std::uint32_t subtype,
                                    PresetDatabase& database) const {
    std::map<String, Preset const*> byKey;
    for (Preset const* preset : m_presets) {
        if (preset->isClassSupported(subtype)) {
            byKey.emplace(preset->getKeyParameter().getName(), preset);
        }
    }
    bool changed = false;
    // The count is read anew each time: applying may change the list.
    for (std::size_t index = 0; index < element.size(); ++index) {
        auto const* parameter = dynamic_cast<StringParameter const*>(element.getParameter(index));
        if (parameter == nullptr) {
            continue;
        }
        auto preset = byKey.find(parameter->getName());
        if (preset != byKey.end()) {
            changed = preset->second->applyTo(element, database, this) || changed;
        }
    }
    return changed;
}

bool ZelvaneLibrary::applyPresetsTo(Element& element) const {
    Project* project = host.getProject();
    auto* component = dynamic_cast<ComponentElem*>(&element);
    if (project == nullptr || component == nullptr) {
        return false;
    }
    auto* database = dynamic_cast<PresetDatabase*>(project->getPreference(PresetDatabase::ID.getFamily()));
    if (database == nullptr) {
        return false;
    }
    return applyPresetsTo(component->getParameterList(), element.getClass(), *database);
}

void ZelvaneLibrary::applyPresetsToProject(bool apply) const {
    EditManager editing(true, true);
    // The editing ends on every path, a failure's too.
    struct End {
        EditManager& editing;
        ~End() { editing.restoreAll(true); }
    } end{editing};
    Drawing* drawing = editing.getDrawing();
    // The update applies to the user's selection: with nothing selected nothing changes.
    if (drawing == nullptr || !apply || drawing->getSelection() == nullptr) {
        return;
    }
    for (auto element = drawing->begin(false, Drawing::Filter(true, false)); !element.atEnd(); ++element) {
        if (applyPresetsTo(*element) && editing.enableEdit(*element, true, true, false)) {
            drawing->put(*element, false, true);
        }
    }
}

bool ZelvaneLibrary::load(Library const& library, String const& productName) {
    String name = productName;
    name += " Library Configuration";
    // Only a macro part is the configuration: a placeable part of the same name is not read.
    API_LibTypeID type = APILib_MacroID;
    Int32 index = library.getIndexByName(name, type);
    if (index == 0 || type != APILib_MacroID) {
        return false;
    }
    std::unique_ptr<ComponentSource> part(library.load(ComponentLink(index, type, &library), nullptr));
    std::unique_ptr<DataFile> file(part != nullptr ? part->getFile() : nullptr);
    return file != nullptr && readFrom(*file);
}

bool ZelvaneLibrary::readDocument(void const* data, std::size_t length) {
    if (length > std::size_t(0x7FFFFFFF)) {
        return false;
    }
    // Read into a fresh configuration, so that a document failing halfway leaves this one whole.
    ZelvaneLibrary fresh;
    DataBufferIn in(data, static_cast<int>(length), Encoding::utf8);
    if (!Document(fresh).readFrom(in)) {
        return false;
    }
    m_version = fresh.m_version;
    m_presets.swap(fresh.m_presets);
    return true;
}

bool ZelvaneLibrary::readFrom(DataFile& file) {
    Time modified = file.getModificationTime();
    if (modified == m_readTime && !(modified == Time())) {
        return true;
    }
    // The whole document is read from its start, and the file is closed again after it.
    ZelvaneLibrary fresh;
    bool read = false;
    if (file.setPosition(0)) {
        DataBufferIn in(&file, Encoding::utf8);
        read = Document(fresh).readFrom(in);
    }
    file.close();
    if (!read) {
        return false;
    }
    m_version = fresh.m_version;
    m_presets.swap(fresh.m_presets);
    m_readTime = modified;
    return true;
}

} // namespace zelvane
