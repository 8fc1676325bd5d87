// An add-on of the tests' own that works with presets: the preset types of the preset tests, a
// version of digits only, and a menu whose items open the preset manager and update the project's
// presets through the add-on events that the preset module answers.
#include "Addon/BundleEntry.h"
#include "Addon/HostEvent.h"
#include "Addon/MenuSubscriber.h"
#include "Interface/ErrorAlert.h"
#include "Preset/PresetEditor.h"
#include "Preset/PresetUpdater.h"
#include "Preset/TestPresets.h"

namespace {

using namespace zelvane;

constexpr short menuID = 32500;

class PresetMenu : public MenuSubscriber {
public:
    PresetMenu() : MenuSubscriber(menuID, 0, MenuCode_Tools) {}
    bool handleEvent(MenuEvent& event) override {
        EventSpec spec;
        switch (event.getItemIndex()) {
        case 1:
            spec = PresetEditor::spec;
            break;
        case 2:
            spec = PresetUpdater::spec;
            break;
        default:
            return false;
        }
        HostEvent published(spec.getKind(), 0);
        addon->publishEvent(published);
        return true;
    }
};

class PresetAddon : public Addon {
public:
    PresetAddon() { addSubscriber(&m_menu); }
    ~PresetAddon() override { removeSubscriber(&m_menu); }

    // The preset types register the project's preset database with the running add-on, so they
    // wait until the add-on object is the bundle's.
    API_AddonType checkAddonEnvironment(const String& name, const String& description,
                                        API_EnvirParams* environment) override {
        PresetDatabase::addTemplate(new testing_preset::WallRecord, "Walls", "Walls",
                                    PresetDatabase::uniqueInDatabase);
        PresetDatabase::addTemplate(new testing_preset::FinishRecord, "Finishes", "Finishes",
                                    PresetDatabase::uniqueInType);
        return Addon::checkAddonEnvironment(name, description, environment);
    }

    const ProductInfo& getProductInfo() const override { return m_info; }
    String getProductVersion() const override { return String("3"); }
    String getBuildNo() const override { return String("7"); }
    bool isPresetsUsed() const override { return true; }
    void reportUnexpectedFailure() override {
        host.writeReport(String("Preset Tool: unexpected failure\n"));
        ErrorAlert().show(host.getLocalString(32528, 3));
    }

private:
    ProductInfo m_info{String("Preset Tool")};
    PresetMenu m_menu;
};

} // namespace

ZELVANE_BUNDLE(PresetAddon, "Preset Tool", "Keeps presets.")
