#include "Interface/Dialog.h"
#include "Interface/InterfacePanel.h"
#include "Interface/PopupMenu.h"
#include "Remap/ObjectMap.h"
#include "Remap/RemappingAddon.h"
#include "RemapFixture.h"
#include "sim/Lists.h"

#include <memory>
#include <string>
#include <vector>

using namespace zelvane;
using namespace zelvane::remap;
using remap_test::RemapTest;

namespace {

// The mapping dialog's template, open as a palette, with its source menu.
class SourceDialog : public Dialog {
public:
    SourceDialog() : Dialog(32510, false, false, false) {}
    void handleInitialise() override { menu = new PopupMenu(ControlLink(4, this)); }
    PopupMenu* menu = nullptr;
};

class SourceMenuTest : public RemapTest {
protected:
    void SetUp() override {
        RemapTest::SetUp();
        InterfacePanel::startup();
        addon = &m_addon;
        m_dialog = std::make_unique<SourceDialog>();
        m_dialog->show(false);
        ASSERT_TRUE(m_dialog->isStarted());
        for (const char* name : {"beta", "Alpha", "Gamma", "alpha"}) {
            map.addSource(String(name), ObjectMap::GSM);
        }
        map.addSource(String("Aardvark"), ObjectMap::IFC);
    }
    void TearDown() override {
        m_dialog.reset();
        addon = nullptr;
        InterfacePanel::shutdown();
        RemapTest::TearDown();
    }

    std::vector<std::string> labels() const {
        std::vector<std::string> all;
        for (Int16 row = 0; row < 20; ++row) {
            if (row == 3) {
                EXPECT_TRUE(sim::findRows(m_dialog->getDialogID(), 4)->rows[3].separator);
                all.push_back("-");
                continue;
            }
            String label = m_dialog->menu->getLabel(row);
            if (label.empty()) {
                break;
            }
            all.push_back(label.data());
        }
        return all;
    }

    ObjectMap map;
    std::unique_ptr<SourceDialog> m_dialog;

private:
    RemappingAddon m_addon;
};

} // namespace

TEST_F(SourceMenuTest, CommandsThenTheKindsSourcesInLetterOrder) {
    EXPECT_EQ(map.populateMenu(*m_dialog->menu, String("beta"), ObjectMap::GSM), "beta");
    EXPECT_EQ(labels(), (std::vector<std::string>{"New source...", "Rename \"beta\"...", "Delete \"beta\"",
                                                  "-", "Alpha", "alpha", "beta", "Gamma"}))
        << "names equal but for case keep their order";
    EXPECT_EQ(m_dialog->menu->getSelectedRow(), 6);
}

TEST_F(SourceMenuTest, SelectionFallsBackToTheFirstSource) {
    struct Case {
        const char* current;
        ObjectMap::Type kind;
        const char* selected;
        Int16 row;
    };
    for (const Case& c : {
             Case{"", ObjectMap::GSM, "Alpha", 4},
             Case{"Delta", ObjectMap::GSM, "Alpha", 4},
             Case{"alpha", ObjectMap::GSM, "alpha", 5}, // by exact label
             Case{"Aardvark", ObjectMap::IFC, "Aardvark", 4},
         }) {
        EXPECT_EQ(map.populateMenu(*m_dialog->menu, String(c.current), c.kind), c.selected) << c.current;
        EXPECT_EQ(m_dialog->menu->getSelectedRow(), c.row) << c.current;
    }
    // A kind without sources falls back to the last row, the separator, which names no source.
    EXPECT_EQ(map.populateMenu(*m_dialog->menu, String("x"), ObjectMap::legacy), "");
    EXPECT_EQ(labels().size(), 4u);
}
