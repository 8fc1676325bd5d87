#include "Interface/ConfirmAlert.h"
#include "Interface/CustomAlert.h"
#include "Interface/ErrorAlert.h"
#include "Interface/NameRequest.h"
#include "Interface/NotifyAlert.h"
#include "Interface/ProgressWindow.h"
#include "Interface/WarnAlert.h"
#include "PanelFixture.h"
#include "sim/Dialogs.h"
#include "sim/Sim.h"

#include <functional>

using namespace panel_testing;

namespace {

class Filter : public NameRequest::Filter {
public:
    explicit Filter(std::function<bool(const String&, String&)> check) : m_check(std::move(check)) {}
    bool validate(const String& name, String& message) override {
        names.push_back(name.data());
        return m_check(name, message);
    }
    std::vector<std::string> names;

private:
    std::function<bool(const String&, String&)> m_check;
};

} // namespace

TEST_F(FrameworkResourcesTest, AlertsWithLocalisedDefaults) {
    struct Case {
        std::function<Int16()> show;
        short type;
        const char* title;
        const char* buttons[3];
    };
    const Case cases[] = {
        {[] { return NotifyAlert().show("n"); }, -3, "Information", {"OK", "", ""}},
        {[] { return NotifyAlert("Mine").show("n"); }, -3, "Mine", {"OK", "", ""}},
        {[] { return WarnAlert().show("w"); }, -2, "Warning", {"OK", "", ""}},
        {[] { return ErrorAlert().show("e"); }, -1, "Error", {"OK", "", ""}},
        {[] { return ConfirmAlert().show("c"); }, -2, "Question", {"OK", "", ""}},
        {[] { return ConfirmAlert().show("c", "", ""); }, -2, "Question", {"OK", "Cancel", ""}},
        {[] { return ConfirmAlert("Sure?").show("c", "Yes", "No"); }, -2, "Sure?", {"Yes", "No", ""}},
        {[] { return CustomAlert("", "", "Two", "Three").show("big", "small"); },
         -2,
         "",
         {"OK", "Two", "Three"}},
        {[] { return CustomAlert("T", "One", "", "Three", 7).show("big", ""); },
         -2,
         "T",
         {"One", "", "Three"}},
    };
    std::size_t index = 0;
    for (const Case& c : cases) {
        sim::queueAlertAnswer(short(index % 2 + 1));
        EXPECT_EQ(c.show(), Int16(index % 2 + 1)) << index;
        ASSERT_EQ(sim::alerts().size(), index + 1);
        const sim::AlertRecord& alert = sim::alerts().back();
        EXPECT_EQ(alert.type, c.type) << index;
        EXPECT_EQ(alert.title, c.title) << index;
        for (int b = 0; b < 3; ++b) {
            EXPECT_EQ(alert.buttons[b], c.buttons[b]) << index << " button " << b;
        }
        ++index;
    }
    EXPECT_EQ(sim::alerts()[7].smallText, "small");
    EXPECT_EQ(sim::alerts()[7].largeText, "big");
}

TEST_F(FrameworkResourcesTest, NameRequestAccepted) {
    sim::queueDialogScript(NameRequest::dialogID,
                           {sim::userAction(sim::DialogAction::setText, 4, 0, 0, "Wall types"),
                            sim::userAction(sim::DialogAction::click, 1)});
    NameRequest request(nullptr, "", "", "initial");
    EXPECT_EQ(request.getName(), "Wall types");
    EXPECT_FALSE(request.isCancelled());
    ASSERT_EQ(sim::dialogs().size(), 1u);
    EXPECT_EQ(sim::dialogs()[0].title, "Name"); // the localised default title
    // Shown once only.
    EXPECT_EQ(request.getName(), "Wall types");
    EXPECT_EQ(sim::dialogs().size(), 1u);
}

TEST_F(FrameworkResourcesTest, NameRequestShowsItsTexts) {
    struct Case {
        const char* title;
        const char* prompt;
        const char* shownTitle;
        const char* shownPrompt;
    };
    const Case cases[] = {{"Rename", "New name:", "Rename", "New name:"}, {"", "", "Name", "Enter a name:"}};
    for (const Case& c : cases) {
        sim::queueDialogScript(NameRequest::dialogID, {sim::userAction(sim::DialogAction::closeCancel)});
        NameRequest request(nullptr, c.title, c.prompt, "old");
        EXPECT_EQ(request.getName(), "old");
        EXPECT_TRUE(request.isCancelled());
        const sim::DialogRecord& shown = sim::dialogs().back();
        EXPECT_EQ(shown.title, c.shownTitle);
        EXPECT_EQ(shown.texts.at(3), c.shownPrompt);
        EXPECT_EQ(shown.texts.at(4), "old");
        EXPECT_TRUE(shown.failures.empty());
    }
}

TEST_F(FrameworkResourcesTest, NameRequestRefusedThenAccepted) {
    Filter filter([](const String& name, String& message) {
        if (name == "taken") {
            message = "\"taken\" exists already";
            return false;
        }
        if (name.empty()) {
            message = String();
            return false;
        }
        return true;
    });
    sim::queueDialogScript(NameRequest::dialogID,
                           {sim::userAction(sim::DialogAction::setText, 4, 0, 0, "taken"),
                            sim::userAction(sim::DialogAction::click, 1),
                            sim::userAction(sim::DialogAction::setText, 4, 0, 0, ""),
                            sim::userAction(sim::DialogAction::closeOK),
                            sim::userAction(sim::DialogAction::setText, 4, 0, 0, "free"),
                            sim::userAction(sim::DialogAction::click, 1)});
    NameRequest request(&filter, "Title", "Prompt", "");
    EXPECT_EQ(request.getName(), "free");
    EXPECT_FALSE(request.isCancelled());
    EXPECT_EQ(filter.names, (std::vector<std::string>{"taken", "", "free"}));
    // One alert, for the refusal with a message; the empty message shows none.
    ASSERT_EQ(sim::alerts().size(), 1u);
    EXPECT_EQ(sim::alerts()[0].type, -1);
    EXPECT_EQ(sim::alerts()[0].title, "Error");
    EXPECT_EQ(sim::alerts()[0].largeText, "\"taken\" exists already");
    EXPECT_EQ(sim::dialogs()[0].refusedCloses, 2);
    EXPECT_EQ(sim::dialogs()[0].result, 1);
}

TEST_F(FrameworkResourcesTest, NameRequestCancelled) {
    Filter filter([](const String&, String&) { return true; });
    sim::queueDialogScript(NameRequest::dialogID,
                           {sim::userAction(sim::DialogAction::setText, 4, 0, 0, "typed"),
                            sim::userAction(sim::DialogAction::click, 2)});
    NameRequest request(&filter, "", "", "kept");
    EXPECT_EQ(request.getName(), "kept");
    EXPECT_TRUE(request.isCancelled());
    EXPECT_TRUE(filter.names.empty());

    // A dialog without a script is cancelled by the host.
    NameRequest unscripted(nullptr, "", "", "kept too");
    EXPECT_EQ(unscripted.getName(), "kept too");
    EXPECT_TRUE(unscripted.isCancelled());
    EXPECT_TRUE(sim::dialogs().back().forcedCancel);
}

TEST_F(FrameworkResourcesTest, ProgressWindow) {
    std::shared_ptr<ProgressWindow> first = ProgressWindow::create("Remapping", 3);
    std::shared_ptr<ProgressWindow> second = ProgressWindow::create("Second", 1);
    EXPECT_TRUE(first->isLive());
    EXPECT_FALSE(second->isLive());
    // The inert window does nothing.
    *second = 5;
    ++*second;
    second->skip(2);
    EXPECT_FALSE(second->isCancelled());
    std::size_t requests = sim::progressRequests().size();
    EXPECT_EQ(requests, 1u);

    first->startNext("Scanning", 10);
    *first = 4;
    ++*first;
    *first += 2;
    first->skip(0);
    first->skip(2);
    *first = 7L; // long values are not reported
    sim::cancelProgressAtQuery(2);
    EXPECT_FALSE(first->isCancelled());
    EXPECT_TRUE(first->isCancelled());
    const auto& log = sim::progressRequests();
    ASSERT_EQ(log.size(), 9u);
    EXPECT_EQ(log[0].code, MakeGSType("IPWD"));
    EXPECT_EQ(log[0].text, "Remapping");
    EXPECT_EQ(log[0].value, 3);
    EXPECT_EQ(log[1].text, "Scanning");
    EXPECT_EQ(log[1].value, 10);
    EXPECT_EQ(log[2].code, MakeGSType("SPRV"));
    EXPECT_EQ(log[3].code, MakeGSType("IPRV"));
    EXPECT_EQ(log[3].value, 1);
    EXPECT_EQ(log[4].value, 2);
    EXPECT_EQ(log[5].code, MakeGSType("SPRP"));
    EXPECT_EQ(log[5].text, "");
    EXPECT_EQ(log[5].value, 1);
    EXPECT_EQ(log[6].code, MakeGSType("SPRP"));
    EXPECT_EQ(log[8].code, MakeGSType("CANC"));

    first.reset();
    EXPECT_FALSE(sim::isProgressWindowOpen());
    second.reset();
    std::shared_ptr<ProgressWindow> third = ProgressWindow::create("Third", 1);
    EXPECT_TRUE(third->isLive());
    third.reset();

    // A window the host refuses is inert and blocks no later one.
    sim::failCall("ACAPI_Interface:IPWD", APIERR_GENERAL);
    std::shared_ptr<ProgressWindow> refused = ProgressWindow::create("Refused", 1);
    EXPECT_FALSE(refused->isLive());
    EXPECT_FALSE(ProgressWindow::isActive());
    std::shared_ptr<ProgressWindow> fourth = ProgressWindow::create("Fourth", 1);
    EXPECT_TRUE(fourth->isLive());
}
