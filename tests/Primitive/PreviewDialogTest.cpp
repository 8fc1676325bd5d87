#include "Addon/PaintEvent.h"
#include "Addon/TestAddon.h"
#include "Database/Specification.h"
#include "Geometry/CadArc.h"
#include "Interface/Dialog.h"
#include "Interface/PanelFixture.h"
#include "Interface/UserItem.h"
#include "Primitive/PrimitiveArc.h"
#include "Primitive/PrimitiveLine.h"
#include "Primitive/PrimitiveList.h"
#include "Primitive/RenderContext.h"
#include "sim/Attributes.h"
#include "sim/Dialogs.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

using namespace panel_testing;

namespace {

const double pi = 3.141592653589793;

// Dialog 540: an OK button and a preview user item of 120 by 60 pixels.
const char* const resources = R"({
  "dialogs": {
    "540": {
      "title": "Preview", "size": [200, 120],
      "items": [
        {"number": 1, "kind": "button", "rect": [110, 90, 190, 110], "text": "OK"},
        {"number": 3, "kind": "userItem", "rect": [10, 10, 130, 70]}
      ]
    }
  }
})";

// Shows the primitives in its user item, zoomed to fit, on every update of the item.
class PreviewDialog : public Dialog {
public:
    explicit PreviewDialog(PrimitiveList primitives)
        : Dialog(540, true), m_primitives(std::move(primitives)),
          m_painter(EventSpec(InterfaceEvent::ID, PaintEvent::ID),
                    [this](Event& event) { return paint(static_cast<PaintEvent&>(event)); }) {
        addSubscriber(&m_painter);
    }
    void handleInitialise() override { new UserItem(ControlLink(3, this)); }

    int paints = 0;

private:
    bool paint(PaintEvent& event) {
        ++paints;
        EXPECT_EQ(event.getItem(), 3);
        RenderContext context(event.getNativeContext(), ScreenRect());
        context.clear();
        if (m_primitives.empty())
            return true;
        std::unique_ptr<Cube> box = m_primitives.front()->getBounds();
        for (auto const& primitive : m_primitives)
            if (std::unique_ptr<Cube> bounds = primitive->getBounds())
                box->merge(*bounds);
        context.zoomToFit(*box);
        for (auto const& primitive : m_primitives)
            primitive->renderIn(context, CadPoint());
        return true;
    }

    PrimitiveList m_primitives;
    Listener m_painter;
};

class PreviewDialogTest : public DialogResourcesTest {
protected:
    PreviewDialogTest() : DialogResourcesTest(resources) {}
    void SetUp() override {
        DialogResourcesTest::SetUp();
        Specification::startup();
        API_Attribute record = sim::makeAttribute(API_PenID, "red");
        record.pen.rgb.f_red = 1.0;
        record.pen.width = 0.35;
        m_pen = short(sim::addAttribute(record));
    }
    void TearDown() override {
        Specification::shutdown();
        DialogResourcesTest::TearDown();
    }
    short m_pen = 0;
};

std::vector<std::string> names(std::vector<NewDisplay::Call> const& calls) {
    std::vector<std::string> result;
    for (auto const& call : calls)
        result.push_back(call.name);
    return result;
}

} // namespace

// The scripted dialog sends its user item an update as it opens and on each redraw; the preview
// draws through the paint event's context into the item's recording.
TEST_F(PreviewDialogTest, DrawsIntoTheUserItem) {
    PrimitiveList shape;
    shape.push_back(
        std::make_shared<PrimitiveLine>(CadPoint(-2, -1), CadPoint(2, 1), 0, m_pen, 1, true, false));
    shape.push_back(
        std::make_shared<PrimitiveArc>(CadArc(CadPoint(0, 0), 1.0, pi, 0.0), 0, m_pen, 1, true, false));
    const std::vector<std::string> frame = {"Clear",  "SetForeColor", "SetLineWidth", "MoveTo",
                                            "LineTo", "MoveTo",       "ArcTo"};
    struct Case {
        const char* name;
        PrimitiveList primitives;
        sim::DialogScript script;
        int paints;
        std::vector<std::string> calls;
    };
    std::vector<std::string> twice = frame;
    twice.insert(twice.end(), frame.begin(), frame.end());
    std::vector<Case> cases = {
        {"opening", shape, {}, 1, frame},
        {"opening and a redraw", shape, {sim::userAction(sim::DialogAction::redraw, 3)}, 2, twice},
        {"nothing to show", {}, {sim::userAction(sim::DialogAction::redraw, 3)}, 2, {"Clear", "Clear"}},
    };
    for (Case const& c : cases) {
        PreviewDialog dialog(c.primitives);
        sim::DialogScript script = c.script;
        script.push_back(sim::userAction(sim::DialogAction::click, 1));
        sim::queueDialogScript(540, script);
        EXPECT_EQ(dialog.show(), 1) << c.name;
        EXPECT_EQ(dialog.paints, c.paints) << c.name;
        sim::DialogRecord const& record = sim::dialogs().back();
        EXPECT_TRUE(record.failures.empty()) << c.name;
        ASSERT_EQ(record.drawings.count(3), 1u) << c.name;
        std::vector<NewDisplay::Call> const& calls = record.drawings.at(3);
        EXPECT_EQ(names(calls), c.calls) << c.name;
        if (c.primitives.empty())
            continue;
        // 4 by 2 metres in 120 by 60 pixels: 30 pixels a metre, the origin in the middle.
        EXPECT_EQ(calls[1].arguments, (std::vector<double>{255, 0, 0, 255})) << c.name;
        EXPECT_NEAR(calls[2].arguments[0], 30 * 0.35 / 0.3527777777778, 1e-9) << c.name;
        EXPECT_EQ(calls[3].arguments, (std::vector<double>{0, 60})) << c.name;
        EXPECT_EQ(calls[4].arguments, (std::vector<double>{120, 0})) << c.name;
        EXPECT_EQ(calls[5].arguments, (std::vector<double>{90, 30})) << c.name;
        EXPECT_EQ(calls[6].arguments, (std::vector<double>{30, 0, 90, 60, 0, pi})) << c.name;
    }
}

// A paint handler that throws does not reach the host: the dialog goes on and closes, and each
// failure is reported.
TEST_F(PreviewDialogTest, AThrowingPainterStaysInside) {
    testing_addon::TestAddon theAddon;
    addon = &theAddon;
    PreviewDialog dialog({});
    Listener thrower(EventSpec(InterfaceEvent::ID, PaintEvent::ID),
                     [](Event&) -> bool { throw std::runtime_error("paint"); });
    // Offered the updates before the dialog's own painter, which takes them.
    thrower.setPriority(1);
    dialog.addSubscriber(&thrower);
    sim::queueDialogScript(
        540, {sim::userAction(sim::DialogAction::redraw, 3), sim::userAction(sim::DialogAction::click, 1)});
    EXPECT_EQ(dialog.show(), 1);
    EXPECT_TRUE(sim::dialogs().back().failures.empty());
    EXPECT_EQ(theAddon.failures, 2) << "the update as it opened, and the redraw";
    addon = nullptr;
}
