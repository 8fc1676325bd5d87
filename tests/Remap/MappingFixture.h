// Tests of the mapping dialog and the part chooser: a project with the remapping preferences, a
// library of placeable parts listed as the collecting step lists them, and the add-on's folder
// for the object-map file.
#pragma once

#include "Database/ComponentLink.h"
#include "Database/Drawing.h"
#include "Database/Project.h"
#include "Element/Door.h"
#include "Element/Lamp.h"
#include "Element/Window.h"
#include "Interface/InterfacePanel.h"
#include "Library/Library.h"
#include "Remap/ComponentLog.h"
#include "Remap/ObjectMap.h"
#include "Remap/ObjectMapTransaction.h"
#include "Remap/RemappingAddon.h"
#include "Remap/RemappingPrefs.h"
#include "RemapFixture.h"
#include "sim/Files.h"
#include "sim/Library.h"
#include "sim/Project.h"

#include <filesystem>
#include <string>
#include <vector>

namespace remap_test {

// A package of another kind under the remapping preferences' code: the project then has no
// remapping preferences.
class Foreign : public zelvane::Package {
public:
    zelvane::Package* clone() const override { return new Foreign(*this); }
    unsigned int getID() const override { return zelvane::remap::RemappingPrefs::ID; }
    char const* getTag() const override { return "foreign"; }
    zelvane::Shipping* getShipping(zelvane::String const&, zelvane::String const&) override {
        return nullptr;
    }
    zelvane::Shipping* getShipping(std::size_t, bool) override { return nullptr; }
    std::size_t shippingSize() const override { return 0; }
    void setDefault() override {}
};

class MappingFixture : public RemapTest {
protected:
    void SetUp() override {
        sim::openProject();
        RemapTest::SetUp();
        zelvane::InterfacePanel::startup();
        zelvane::Library::startup();
        zelvane::Drawing::startup();
        zelvane::Drawing::addAdapter(zelvane::element_id(API_LampID), zelvane::Lamp::create, false);
        zelvane::Drawing::addAdapter(zelvane::element_id(API_DoorID), zelvane::Door::create, false);
        zelvane::Drawing::addAdapter(zelvane::element_id(API_WindowID), zelvane::Window::create, false);
        zelvane::addon = &m_addon;
        zelvane::host.getProject()->setPreference(zelvane::remap::RemappingPrefs(), false);
        std::filesystem::remove(objectMapFile());
    }
    void TearDown() override {
        // The project outlives the test: its preferences' texts go now.
        zelvane::host.getProject()->setPreference(Foreign(), false);
        zelvane::addon = nullptr;
        zelvane::Drawing::shutdown();
        zelvane::Library::shutdown();
        zelvane::InterfacePanel::shutdown();
        RemapTest::TearDown();
    }

    // Adds a placeable part to the library and to the parts offered.
    zelvane::ComponentLink addPart(const std::string& name, API_LibTypeID type = APILib_ObjectID,
                                   std::vector<sim::LibParameter> parameters = {}) {
        sim::LibPartDef def;
        def.type = type;
        def.name = name;
        def.parameters = parameters.empty()
                             ? std::vector<sim::LibParameter>{sim::scalarParameter(APIParT_Length, "A", 1.0)}
                             : parameters;
        zelvane::ComponentLink link(sim::addLibPart(def), type, zelvane::host.getFrontLibrary());
        parts.emplace_back(zelvane::String(name.c_str()), link);
        return link;
    }
    // A collected key without elements.
    void addKey(const char* name, API_LibTypeID type = APILib_ObjectID) {
        elements[zelvane::remap::ObjectMap::Key(type, zelvane::String(name))];
    }
    zelvane::remap::RemappingPrefs& prefs() {
        return *dynamic_cast<zelvane::remap::RemappingPrefs*>(
            zelvane::host.getProject()->getPreference(zelvane::remap::RemappingPrefs::ID));
    }
    static std::filesystem::path objectMapFile() {
        return sim::specialFolder("Preferences") / "Library Part Remapping" / "Object Map.xml";
    }

    std::vector<zelvane::remap::ComponentLog> parts;
    zelvane::remap::ObjectMapTransaction::ElementMap elements;

private:
    zelvane::remap::RemappingAddon m_addon;
};

} // namespace remap_test
