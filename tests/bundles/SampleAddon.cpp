// A small add-on of the tests' own: a menu whose items count in an undoable step, fail, write to
// the console and announce an event to the other add-ons of its supervisor.
#include "ACAPI/Output.hpp"
#include "Addon/MenuSubscriber.h"
#include "BundleEntry.h"
#include "SampleIDs.h"

#include <stdexcept>
#include <string>

namespace {

using namespace zelvane;

class SampleAddon;

class SampleMenu : public MenuSubscriber {
public:
    explicit SampleMenu(SampleAddon& owner)
        : MenuSubscriber(sample::menuID, 0, MenuCode_Tools), m_owner(owner) {}
    bool handleEvent(MenuEvent& event) override;

private:
    SampleAddon& m_owner;
};

class SampleAddon : public Addon {
public:
    SampleAddon() : m_menu(*this) { addSubscriber(&m_menu); }
    ~SampleAddon() override { removeSubscriber(&m_menu); }

    const ProductInfo& getProductInfo() const override { return m_info; }
    String getProductVersion() const override { return String("1.5"); }
    String getBuildNo() const override { return String("42"); }
    void reportUnexpectedFailure() override {
        host.writeReport(String("Sample Tool 2: unexpected failure\n"));
    }

    int count = 0;

private:
    ProductInfo m_info{String("Sample Tool 2")};
    SampleMenu m_menu;
};

bool SampleMenu::handleEvent(MenuEvent& event) {
    switch (event.getItemIndex()) {
    case 1: {
        GSErrCode err = ACAPI_CallUndoableCommand("Count", [this] {
            ++m_owner.count;
            return NoError;
        });
        String line("Counted ");
        line += std::to_string(m_owner.count).c_str();
        line += err == NoError ? "\n" : " (undo step refused)\n";
        host.writeReport(line);
        host.setMenuChecked(sample::menuID, 1, true);
        return true;
    }
    case 2:
        throw std::runtime_error("the second item always fails");
    case 3: {
        String line("Sample Tool 2 at depth ");
        line += std::to_string(addon->getEntryDepth()).c_str();
        line += "\n";
        host.writeToConsole(line);
        return true;
    }
    case 4: {
        Event announcement{EventSpec(sample::announcement, 0)};
        bool taken = addon->publishEvent(announcement);
        host.writeReport(String(taken ? "Announcement taken\n" : "Announcement not taken\n"));
        return true;
    }
    default:
        return false;
    }
}

} // namespace

ACAPI_ENTRY_POINT API_AddonType CheckEnvironment(API_EnvirParams* envir) {
    return bundle::checkEnvironment<SampleAddon>(envir, "Sample Tool 2", "Counts and announces.");
}

ACAPI_ENTRY_POINT GSErrCode RegisterInterface() {
    return bundle::registerInterface();
}

ACAPI_ENTRY_POINT GSErrCode Initialize() {
    return bundle::initialize();
}

ACAPI_ENTRY_POINT GSErrCode FreeData() {
    return bundle::freeData();
}
