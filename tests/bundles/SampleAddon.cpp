// A small add-on of the tests' own: a menu whose items count in an undoable step, fail, write to
// the console and announce an event to the other add-ons of its supervisor.
#include "ACAPI/Output.hpp"
#include "Addon/BundleEntry.h"
#include "Addon/MenuSubscriber.h"
#include "Database/Project.h"
#include "Interface/ErrorAlert.h"
#include "Interface/NameRequest.h"
#include "SampleIDs.h"
#include "XML/Package.h"
#include "XML/XMLTypeProxy.h"

#include <limits>
#include <stdexcept>
#include <string>

namespace {

using namespace zelvane;

class SampleAddon;

// A counter kept in the project (code 'SMPP') or in the user's preferences ('SMPU').
class Counter : public Package {
public:
    Counter(unsigned int code, const char* tag) : m_code(code), m_tag(tag) {}

    Package* clone() const override { return new Counter(*this); }
    unsigned int getID() const override { return m_code; }
    const char* getTag() const override { return m_tag; }
    void setDefault() override { count = 0; }
    std::size_t shippingSize() const override { return 1; }
    Shipping* getShipping(std::size_t index, bool) override {
        return index == 0 ? new XMLTypeProxy<int>(count, "count") : nullptr;
    }
    Shipping* getShipping(const String& tag, const String&) override {
        return tag == "count" ? getShipping(0, false) : nullptr;
    }

    // Counts one more; a count at the top of its type stays there rather than wrapping around.
    void increment() {
        if (count < std::numeric_limits<int>::max()) {
            ++count;
        }
    }

    int count = 0;

private:
    unsigned int m_code;
    const char* m_tag;
};

constexpr unsigned int projectCounter = MakeGSType("SMPP");
constexpr unsigned int userCounter = MakeGSType("SMPU");

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
    SampleAddon() : m_menu(*this) {
        addSubscriber(&m_menu);
        addPreference(Counter(projectCounter, "projectCount"), project);
        addPreference(Counter(userCounter, "userCount"), user);
    }
    ~SampleAddon() override { removeSubscriber(&m_menu); }

    const ProductInfo& getProductInfo() const override { return m_info; }
    String getProductVersion() const override { return String("1.5"); }
    String getBuildNo() const override { return String("42"); }
    void reportUnexpectedFailure() override {
        host.writeReport(String("Sample Tool 2: unexpected failure\n"));
        ErrorAlert().show(host.getLocalString(32528, 3));
    }

private:
    ProductInfo m_info{String("Sample Tool 2")};
    SampleMenu m_menu;
};

bool SampleMenu::handleEvent(MenuEvent& event) {
    switch (event.getItemIndex()) {
    case 1: {
        Project* project = host.getProject();
        auto* inProject =
            project != nullptr ? dynamic_cast<Counter*>(project->getPreference(projectCounter)) : nullptr;
        auto* forUser = dynamic_cast<Counter*>(m_owner.getPreference(userCounter, Addon::user));
        if (inProject == nullptr || forUser == nullptr) {
            host.writeReport(String("Nothing to count without a project\n"));
            return true;
        }
        GSErrCode err = ACAPI_CallUndoableCommand("Count", [inProject] {
            inProject->increment();
            return NoError;
        });
        forUser->increment();
        String line("Counted ");
        line += std::to_string(inProject->count).c_str();
        line += " in the project, ";
        line += std::to_string(forUser->count).c_str();
        line += " in all";
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
    case 5: {
        NameRequest request(nullptr, String("Name"), String("Name of the count:"), String("Count"));
        String name = request.getName();
        String line(request.isCancelled() ? "Naming cancelled\n" : "Named ");
        if (!request.isCancelled()) {
            line += name;
            line += "\n";
        }
        host.writeReport(line);
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

ZELVANE_BUNDLE(SampleAddon, "Sample Tool 2", "Counts and announces.")
