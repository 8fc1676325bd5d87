// An add-on built on the framework: one menu command that counts the floor plan's walls and tells
// the user in an alert. Its menu and texts are in its resource file, wall_count.json.
#include "Addon/BundleEntry.h"
#include "Addon/MenuSubscriber.h"
#include "Database/Plan.h"
#include "Element/ElementID.h"
#include "Environment/StringUtilities.h"
#include "Environment/ToString.h"
#include "Interface/ErrorAlert.h"
#include "Interface/NotifyAlert.h"

namespace {

using namespace zelvane;

// The IDs of its resources, apart from those the framework's resource file takes.
constexpr short menuID = 32100;
constexpr short textsID = 32101;

class WallCountMenu : public MenuSubscriber {
public:
    WallCountMenu() : MenuSubscriber(menuID, 0, MenuCode_Tools) {}

    bool handleEvent(MenuEvent& event) override {
        if (event.getItemIndex() != 1) {
            return false;
        }
        Plan* plan = host.getFrontPlan();
        int walls = plan != nullptr ? int(plan->getCount(Drawing::Filter(element_id(API_WallID), false))) : 0;
        String text = host.getLocalString(textsID, 1);
        replaceAll(text, String("$1"), ToString(walls));
        NotifyAlert().show(text);
        return true;
    }
};

class WallCountAddon : public Addon {
public:
    WallCountAddon() { addSubscriber(&m_menu); }
    ~WallCountAddon() override { removeSubscriber(&m_menu); }

    const ProductInfo& getProductInfo() const override { return m_info; }
    String getProductVersion() const override { return String("1.0"); }
    String getBuildNo() const override { return String("1"); }
    void reportUnexpectedFailure() override { ErrorAlert().show(host.getLocalString(textsID, 2)); }

private:
    ProductInfo m_info{String("Wall Count")};
    WallCountMenu m_menu;
};

} // namespace

ZELVANE_BUNDLE(WallCountAddon, "Wall Count", "Counts the walls of the floor plan.")
