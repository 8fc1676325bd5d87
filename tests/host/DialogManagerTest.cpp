#include "ACAPI/ProgressWindow.hpp"
#include "ACAPI/Resources.hpp"
#include "DG/DGAlert.hpp"
#include "DG/DGItems.hpp"
#include "DG/DGPanel.hpp"
#include "sim/Dialogs.h"
#include "sim/Resources.h"
#include "sim/Sim.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace {

const char* const templates = R"({
  "dialogs": {
    "500": {
      "title": "Test", "size": [300, 200], "minimumSize": [200, 150], "grow": 3,
      "items": [
        {"number": 1, "kind": "button", "rect": [200, 160, 280, 180], "text": "OK"},
        {"number": 2, "kind": "button", "rect": [100, 160, 180, 180], "text": "Cancel"},
        {"number": 3, "kind": "leftText", "rect": [10, 10, 290, 30], "text": "Label"},
        {"number": 4, "kind": "textEdit", "rect": [10, 40, 290, 60], "text": "start"},
        {"number": 5, "kind": "button", "rect": [10, 70, 90, 90], "text": "Off", "enabled": false},
        {"number": 6, "kind": "popup", "rect": [10, 100, 90, 120], "rows": ["a", "b", "c"]},
        {"number": 7, "kind": "tabControl", "rect": [100, 70, 290, 150], "pages": [501]}
      ]
    },
    "501": { "size": [180, 70], "items": [ {"number": 1, "kind": "textEdit", "rect": [0, 0, 100, 20]} ] }
  }
})";

// Records every notification it hears, and runs an optional reaction.
class Recorder : public DG::PanelObserver,
                 public DG::ButtonItemObserver,
                 public DG::TextEditBaseObserver,
                 public DG::PopUpObserver {
public:
    explicit Recorder(std::vector<std::string>& log, std::string name = "r")
        : m_log(log), m_name(std::move(name)) {}

    std::function<void(const std::string&)> react;
    bool refuseClose = false;
    bool denyChars = false;

    void PanelOpened(const DG::EventBase&) override { note("opened"); }
    void PanelCloseRequested(const DG::PanelCloseRequestEvent& ev, bool* accepted) override {
        note(ev.IsAccepted() ? "closeRequest OK" : "closeRequest Cancel");
        if (refuseClose) {
            *accepted = false;
        }
    }
    void PanelClosed(const DG::PanelCloseEvent&) override { note("closed"); }
    void PanelResized(const DG::PanelResizeEvent& ev) override {
        note("resized " + std::to_string(ev.GetHorizontalChange()) + "," +
             std::to_string(ev.GetVerticalChange()));
    }
    void PanelHotkeyPressed(const DG::PanelHotKeyEvent& ev, bool*) override {
        note("hotkey " + std::to_string(ev.GetKeyId()));
    }
    void ButtonClicked(const DG::ItemEvent& ev) override {
        note("clicked " + std::to_string(ev.GetItemId()));
    }
    void TextEditChanged(const DG::ItemEvent& ev) override {
        note("changed " + std::to_string(ev.GetItemId()));
    }
    void PopUpChanged(const DG::ItemEvent& ev) override { note("popup " + std::to_string(ev.GetItemId())); }
    void ItemCharEntered(const DG::ItemCharEnterEvent& ev, bool* deny) override {
        note("char " + std::to_string(ev.GetCharCode()));
        *deny = denyChars;
    }
    void ItemFocusLost(const DG::ItemEvent& ev) override {
        note("focusLost " + std::to_string(ev.GetItemId()));
    }

private:
    void note(const std::string& what) {
        m_log.push_back(m_name + ": " + what);
        if (react) {
            react(what);
        }
    }
    std::vector<std::string>& m_log;
    std::string m_name;
};

class DialogManagerTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(sim::loadResourcesText(sim::defaultAddOn, templates)); }
    GSResModule module() const { return ACAPI_GetOwnResModule(); }
};

TEST_F(DialogManagerTest, ItemStateByIDBeforeAnyItemObject) {
    DG::ModalDialog dialog(module(), 500);
    ASSERT_TRUE(dialog.IsValid());
    short id = dialog.GetId();
    EXPECT_EQ(DGGetItemText(id, 4).ToUTF8(), "start");
    DGSetItemText(id, 4, GS::UniString("typed"));
    EXPECT_EQ(sim::findPanel(id)->findItem(4)->text, "typed");
    EXPECT_FALSE(DGIsItemEnabled(id, 5));
    DGEnableItem(id, 5);
    EXPECT_TRUE(DGIsItemEnabled(id, 5));
    short l = 0, t = 0, r = 0, b = 0;
    ASSERT_TRUE(DGGetItemRect(id, 3, &l, &t, &r, &b));
    DGMoveGrowItem(id, 3, 5, 6, 10, -400);
    ASSERT_TRUE(DGGetItemRect(id, 3, &l, &t, &r, &b));
    EXPECT_EQ(l, 15);
    EXPECT_EQ(t, 16);
    EXPECT_EQ(r, 305);
    EXPECT_EQ(b, t); // never inverted
    short h = 0, v = 0;
    ASSERT_TRUE(DGGetDialogSize(id, DG_FRAME, &h, &v));
    EXPECT_GT(h, 300);
    DGSetDialogSize(id, DG_CLIENT, 100, 100, DG_TOPLEFT); // below the minimum
    ASSERT_TRUE(DGGetDialogSize(id, DG_CLIENT, &h, &v));
    EXPECT_EQ(h, 200);
    EXPECT_EQ(v, 150);

    // Unknown panels and items: nothing happens.
    DGSetItemText(id, 99, GS::UniString("x"));
    DGSetItemText(short(id + 100), 4, GS::UniString("x"));
    EXPECT_TRUE(DGGetItemText(id, 99).IsEmpty());
    EXPECT_FALSE(DGGetItemRect(short(id + 100), 3, &l, &t, &r, &b));
    EXPECT_FALSE(DGGetDialogSize(short(id + 100), 0, &h, &v));

    DG::ModalDialog missing(module(), 999);
    EXPECT_FALSE(missing.IsValid());
    EXPECT_FALSE(missing.Invoke());
}

TEST_F(DialogManagerTest, ScriptActsAsTheUser) {
    std::vector<std::string> log;
    Recorder recorder(log);
    recorder.react = [&](const std::string& what) {
        if (what == "char 122") { // the program's own changes fire nothing
            DGSetItemText(sim::panelsOf(500).front(), 4, GS::UniString("prog"));
        }
    };
    DG::ModalDialog dialog(module(), 500);
    dialog.Attach(recorder);
    for (short item : {1, 4, 5, 6}) {
        DG::Item(dialog, item).Attach(recorder);
    }
    sim::DialogAction resize = sim::userAction(sim::DialogAction::resize);
    resize.h = -500; // clipped at the minimum width
    resize.v = 10;
    sim::queueDialogScript(
        500, {sim::userAction(sim::DialogAction::setText, 4, 0, 0, "abc"),
              sim::userAction(sim::DialogAction::typeCharacter, 4, 'z'),
              sim::userAction(sim::DialogAction::click, 5), sim::userAction(sim::DialogAction::click, 42),
              sim::userAction(sim::DialogAction::doubleClick, 1),
              sim::userAction(sim::DialogAction::selectRow, 6, 2),
              sim::userAction(sim::DialogAction::selectRow, 6, 3),
              sim::userAction(sim::DialogAction::leaveFocus, 4), resize,
              sim::userAction(sim::DialogAction::hotKey, 0, 1), sim::userAction(sim::DialogAction::click, 1),
              sim::userAction(sim::DialogAction::closeOK)});
    short id = dialog.GetId();
    short key = dialog.RegisterHotKey('K');
    EXPECT_EQ(key, 1);
    EXPECT_TRUE(dialog.Invoke());
    EXPECT_EQ(dialog.GetResult(), DG::ModalDialog::Accept);
    EXPECT_EQ(log,
              (std::vector<std::string>{"r: opened", "r: changed 4", "r: char 122", "r: changed 4",
                                        "r: popup 6", "r: focusLost 4", "r: resized -100,10", "r: hotkey 1",
                                        "r: clicked 1", "r: closeRequest OK", "r: closed"}));
    EXPECT_EQ(sim::findPanel(id)->findItem(4)->text, "progz");
    EXPECT_EQ(sim::findPanel(id)->findItem(6)->value, 3);
    ASSERT_EQ(sim::dialogs().size(), 1u);
    const sim::DialogRecord& record = sim::dialogs()[0];
    EXPECT_TRUE(record.scripted);
    EXPECT_EQ(record.result, 1);
    EXPECT_FALSE(record.forcedCancel);
    ASSERT_EQ(record.failures.size(), 4u);
    EXPECT_NE(record.failures[0].find("disabled"), std::string::npos);
    EXPECT_NE(record.failures[1].find("no such item"), std::string::npos);
    EXPECT_NE(record.failures[2].find("double-clicked"), std::string::npos);
    EXPECT_NE(record.failures[3].find("no row 3"), std::string::npos);
}

TEST_F(DialogManagerTest, DeniedCharacterIsDropped) {
    std::vector<std::string> log;
    Recorder recorder(log);
    recorder.denyChars = true;
    DG::ModalDialog dialog(module(), 500);
    DG::TextEdit(dialog, 4).Attach(recorder);
    sim::queueDialogScript(500, {sim::userAction(sim::DialogAction::typeCharacter, 4, 'q')});
    EXPECT_FALSE(dialog.Invoke());
    EXPECT_EQ(sim::findPanel(dialog.GetId())->findItem(4)->text, "start");
    EXPECT_EQ(log, (std::vector<std::string>{"r: char 113"}));
    EXPECT_TRUE(sim::dialogs()[0].forcedCancel);
}

TEST_F(DialogManagerTest, RefusedCloseKeepsTheDialogOpen) {
    std::vector<std::string> log;
    Recorder recorder(log);
    recorder.refuseClose = true;
    DG::ModalDialog dialog(module(), 500);
    dialog.Attach(recorder);
    recorder.react = [&](const std::string& what) {
        if (what == "clicked 1") {
            dialog.PostCloseRequest(DG::ModalDialog::Accept);
            // Not processed before this notification returns.
            EXPECT_FALSE(sim::findPanel(dialog.GetId())->closed);
        }
    };
    DG::Button(dialog, 1).Attach(recorder);
    sim::queueDialogScript(500, {sim::userAction(sim::DialogAction::click, 1),
                                 sim::userAction(sim::DialogAction::setText, 4, 0, 0, "again"),
                                 sim::userAction(sim::DialogAction::closeCancel)});
    EXPECT_FALSE(dialog.Invoke());
    ASSERT_EQ(sim::dialogs().size(), 1u);
    EXPECT_EQ(sim::dialogs()[0].refusedCloses, 2);
    EXPECT_TRUE(sim::dialogs()[0].forcedCancel);
    EXPECT_EQ(sim::findPanel(dialog.GetId())->findItem(4)->text, "again");
}

TEST_F(DialogManagerTest, ObserversDetachingDuringANotification) {
    std::vector<std::string> log;
    auto first = std::make_unique<Recorder>(log, "first");
    Recorder second(log, "second");
    Recorder third(log, "third");
    DG::ModalDialog dialog(module(), 500);
    dialog.Attach(*first);
    dialog.Attach(second);
    dialog.Attach(third);
    // The first destroys itself, the second detaches the third: neither is called again.
    first->react = [&](const std::string& what) {
        if (what == "opened") {
            first.reset();
        }
    };
    second.react = [&](const std::string& what) {
        if (what == "opened") {
            dialog.Detach(third);
            dialog.Abort();
        }
    };
    sim::queueDialogScript(500, {sim::userAction(sim::DialogAction::closeOK)});
    EXPECT_FALSE(dialog.Invoke());
    EXPECT_EQ(log, (std::vector<std::string>{"first: opened", "second: opened", "second: closed"}));
    EXPECT_FALSE(sim::dialogs()[0].forcedCancel);     // aborted, not left open
    EXPECT_FALSE(sim::dialogs()[0].failures.empty()); // the close request was never performed
}

TEST_F(DialogManagerTest, NestedDialogsTakeTheNextScript) {
    std::vector<std::string> log;
    Recorder outer(log, "outer");
    DG::ModalDialog dialog(module(), 500);
    dialog.Attach(outer);
    DG::Button(dialog, 1).Attach(outer);
    bool innerResult = true;
    outer.react = [&](const std::string& what) {
        if (what == "clicked 1") {
            DG::ModalDialog inner(module(), 500);
            innerResult = inner.Invoke();
        }
    };
    sim::queueDialogScript(
        500, {sim::userAction(sim::DialogAction::click, 1), sim::userAction(sim::DialogAction::closeOK)});
    sim::queueDialogScript(500, {sim::userAction(sim::DialogAction::closeCancel)});
    EXPECT_TRUE(dialog.Invoke());
    EXPECT_FALSE(innerResult);
    ASSERT_EQ(sim::dialogs().size(), 2u);
    EXPECT_EQ(sim::dialogs()[1].result, 2);
    EXPECT_FALSE(sim::dialogs()[1].forcedCancel);
    EXPECT_EQ(sim::pendingDialogScripts(500), 0u);

    DG::ModalDialog unscripted(module(), 500);
    EXPECT_FALSE(unscripted.Invoke());
    EXPECT_FALSE(sim::dialogs()[2].scripted);
    EXPECT_TRUE(sim::dialogs()[2].forcedCancel);
}

TEST_F(DialogManagerTest, TabPagesAndPalettes) {
    std::vector<std::string> log;
    Recorder recorder(log);
    DG::Palette palette(module(), 500);
    DG::TabPage page(DG::TabControl(palette, 7), 1, module(), 501);
    ASSERT_TRUE(page.IsValid());
    EXPECT_EQ(page.GetParentId(), palette.GetId());
    DG::TextEdit(page, 1).Attach(recorder);
    palette.Attach(recorder);

    sim::DialogAction onPage = sim::userAction(sim::DialogAction::setText, 1, 0, 0, "page text");
    onPage.page = 501;
    EXPECT_FALSE(sim::actOnPalette(500, {onPage})); // not processing events yet
    palette.BeginEventProcessing();
    palette.Show();
    EXPECT_TRUE(palette.IsVisible());
    recorder.refuseClose = true;
    EXPECT_TRUE(sim::actOnPalette(500, {onPage, sim::userAction(sim::DialogAction::closeCancel)}));
    EXPECT_EQ(sim::findPanel(page.GetId())->findItem(1)->text, "page text");
    palette.EndEventProcessing();
    EXPECT_FALSE(palette.IsVisible());
    EXPECT_EQ(log,
              (std::vector<std::string>{"r: opened", "r: changed 1", "r: closeRequest Cancel", "r: closed"}));
    EXPECT_EQ(sim::dialogs().back().refusedCloses, 1);
}

TEST_F(DialogManagerTest, AlertsAnswerFromTheQueue) {
    sim::queueAlertAnswer(2);
    EXPECT_EQ(DGAlert(DG_WARNING, GS::UniString("Title"), GS::UniString("Large"), GS::UniString(),
                      GS::UniString("Yes"), GS::UniString("No")),
              2);
    EXPECT_EQ(DGAlert(DG_ERROR, GS::UniString(), GS::UniString("Oops"), GS::UniString("small")), 1);
    ASSERT_EQ(sim::alerts().size(), 2u);
    EXPECT_TRUE(sim::alerts()[0].scripted);
    EXPECT_EQ(sim::alerts()[0].buttons[1], "No");
    EXPECT_FALSE(sim::alerts()[1].scripted);
    EXPECT_EQ(sim::alerts()[1].buttons[0], "OK");
    EXPECT_EQ(sim::alerts()[1].smallText, "small");
    sim::failCall("DGAlert", APIERR_GENERAL);
    EXPECT_EQ(DGAlert(DG_ERROR, GS::UniString(), GS::UniString("x"), GS::UniString()), 0);
}

TEST_F(DialogManagerTest, ProgressWindowRequests) {
    GS::UniString title("Working");
    short phases = 2;
    Int32 value = 5;
    EXPECT_EQ(ACAPI_Interface(APIIo_SetProcessValueID, &value), APIERR_GENERAL); // no window
    EXPECT_EQ(ACAPI_Interface(APIIo_InitProcessWindowID, &title, &phases), NoError);
    EXPECT_EQ(ACAPI_Interface(APIIo_InitProcessWindowID, &title, &phases), APIERR_GENERAL);
    EXPECT_EQ(ACAPI_Interface(APIIo_InitProcessWindowID, &title), APIERR_BADPARS);
    sim::cancelProgressAtQuery(2);
    EXPECT_EQ(ACAPI_Interface(APIIo_IsProcessCanceledID), NoError);
    EXPECT_EQ(ACAPI_Interface(APIIo_IsProcessCanceledID), APIERR_CANCEL);
    EXPECT_EQ(ACAPI_Interface(APIIo_IsProcessCanceledID), APIERR_CANCEL);
    EXPECT_EQ(ACAPI_Interface(APIIo_SetProcessValueID, &value), NoError);
    EXPECT_TRUE(sim::isProgressWindowOpen());
    EXPECT_EQ(ACAPI_Interface(APIIo_CloseProcessWindowID), NoError);
    EXPECT_FALSE(sim::isProgressWindowOpen());
    ASSERT_GE(sim::progressRequests().size(), 2u);
    EXPECT_EQ(sim::progressRequests()[1].text, "Working");
    EXPECT_EQ(sim::progressRequests()[1].value, 2);
}

TEST_F(DialogManagerTest, ProgressWindowsShowWhatTheirRequestsSetHoweverManyThereWere) {
    GS::UniString title("Working"), first("First"), second("Second");
    short phases = 2;
    Int32 count = 10, one = 1, five = 5;
    ASSERT_EQ(ACAPI_Interface(APIIo_InitProcessWindowID, &title, &phases), NoError);
    EXPECT_EQ(ACAPI_Interface(APIIo_InitProcessWindowID, &title, &phases), APIERR_GENERAL); // shows nothing
    ACAPI_Interface(APIIo_SetNextProcessPhaseID, &first, &count);
    const std::size_t many = 3 * sim::progressRequestsKept + 5;
    for (std::size_t i = 0; i < many; ++i) {
        ACAPI_Interface(APIIo_IncProcessValueID, &one);
        ACAPI_Interface(APIIo_IsProcessCanceledID);
    }
    EXPECT_EQ(ACAPI_Interface(APIIo_IncProcessValueID), APIERR_BADPARS); // shows nothing
    ACAPI_Interface(APIIo_SetNextProcessPhaseID, &second, &count);
    ACAPI_Interface(APIIo_SetProcessValueID, &five);
    sim::cancelProgressAtQuery(int(many) + 1);
    EXPECT_EQ(ACAPI_Interface(APIIo_IsProcessCanceledID), APIERR_CANCEL);
    EXPECT_EQ(ACAPI_Interface(APIIo_IsProcessCanceledID), APIERR_CANCEL); // shown once
    ACAPI_Interface(APIIo_IncProcessValueID, &one); // after the cancel: not the phase's any more
    ACAPI_Interface(APIIo_CloseProcessWindowID);
    ACAPI_Interface(APIIo_CloseProcessWindowID); // refused: no window

    auto line = [](const sim::ProgressEvent& e) {
        return std::to_string(int(e.kind)) + " " + e.text + " " + std::to_string(e.value) + " " +
               std::to_string(e.reached);
    };
    std::vector<std::string> shown;
    for (const sim::ProgressEvent& event : sim::progressEvents()) {
        shown.push_back(line(event));
    }
    const std::string queries = std::to_string(many + 1);
    EXPECT_EQ(shown, (std::vector<std::string>{"0 Working 2 0", "1 First 10 " + std::to_string(many),
                                               "1 Second 10 5", "2  " + queries + " 0", "3  0 0"}));
    // The requests are the latest ones only.
    const std::vector<sim::ProgressRequest>& requests = sim::progressRequests();
    EXPECT_GE(requests.size(), sim::progressRequestsKept);
    EXPECT_LT(requests.size(), 2 * sim::progressRequestsKept);
    EXPECT_EQ(requests.back().code, APIIo_CloseProcessWindowID);
    EXPECT_EQ(requests.back().answer, APIERR_GENERAL);
}

} // namespace

namespace {

TEST_F(DialogManagerTest, ScenarioAnswers) {
    std::string error;
    ASSERT_TRUE(sim::queueScriptedAnswers(R"({
        "dialogs": {"500": [[{"do": "setText", "item": 4, "text": "from the scenario"},
                             {"do": "typeCharacter", "item": 4, "value": "!"},
                             {"do": "closeOK"}],
                            [{"do": "closeCancel"}]]},
        "alerts": [2, 3],
        "progressCancelAt": 1})",
                                          &error))
        << error;
    EXPECT_EQ(sim::pendingDialogScripts(500), 2u);
    EXPECT_EQ(sim::pendingAlertAnswers(), 2u);
    DG::ModalDialog dialog(module(), 500);
    EXPECT_TRUE(dialog.Invoke());
    EXPECT_EQ(sim::dialogs()[0].texts.at(4), "from the scenario!");

    const char* const bad[] = {
        "[]",
        R"({"dialog": {}})",
        R"({"dialogs": {"x": []}})",
        R"({"dialogs": {"500": [{"do": "click"}]}})",
        R"({"dialogs": {"500": [[{"do": "press"}]]}})",
        R"({"dialogs": {"500": [[{"do": "click", "item": 70000}]]}})",
        R"({"dialogs": {"500": [[{"do": "click", "colour": 1}]]}})",
        R"({"dialogs": {"500": [[{"do": "setText", "text": 4}]]}})",
        R"({"alerts": [4]})",
        R"({"progressCancelAt": -1})",
        R"({"dialogs": {"500": [[{"do": "closeOK"}]]}, "alerts": ["yes"]})",
        // The largest integers must not wrap round to small negative ones.
        R"({"dialogs": {"500": [[{"do": "click", "item": 18446744073709551615}]]}})",
        R"({"dialogs": {"500": [[{"do": "typeCharacter", "item": 4, "value": 18446744073709551615}]]}})",
    };
    for (const char* text : bad) {
        EXPECT_FALSE(sim::queueScriptedAnswers(text, &error)) << text;
        EXPECT_FALSE(error.empty());
    }
    // Nothing of a refused scenario was queued.
    EXPECT_EQ(sim::pendingDialogScripts(500), 1u);
    EXPECT_EQ(sim::pendingAlertAnswers(), 2u);

    // List box actions are scripted too.
    EXPECT_TRUE(sim::queueScriptedAnswers(R"({"dialogs": {"501": [[
        {"do": "clickRow", "item": 2, "value": 1, "h": 0, "text": "command"},
        {"do": "editCell", "item": 2, "value": 1, "h": 1, "text": "x"},
        {"do": "dragRows", "item": 2, "value": 0, "h": 3}]]}})",
                                          &error))
        << error;
    EXPECT_EQ(sim::pendingDialogScripts(501), 1u);
}

} // namespace

TEST_F(DialogManagerTest, ProgressWindowsTakeTheirQueuedCancelInTurn) {
    GS::UniString title("Working");
    short phases = 1;
    sim::queueProgressCancel(0);
    sim::queueProgressCancel(2);
    std::vector<GSErrCode> answers;
    for (int window = 0; window < 3; ++window) {
        ASSERT_EQ(ACAPI_Interface(APIIo_InitProcessWindowID, &title, &phases), NoError);
        for (int query = 0; query < 3; ++query) {
            answers.push_back(ACAPI_Interface(APIIo_IsProcessCanceledID));
        }
        ACAPI_Interface(APIIo_CloseProcessWindowID);
    }
    EXPECT_EQ(answers, (std::vector<GSErrCode>{NoError, NoError, NoError, NoError, APIERR_CANCEL,
                                               APIERR_CANCEL, NoError, NoError, NoError}));
}
