#include "Attribute/TextStyle.h"
#include "DG/DGItems.hpp"
#include "Environment/Int32Setting.h"
#include "Environment/StringSetting.h"
#include "Interface/Button.h"
#include "Interface/Dialog.h"
#include "Interface/EditText.h"
#include "Interface/StaticText.h"
#include "PanelFixture.h"
#include "sim/Dialogs.h"

#include <cmath>
#include <memory>

using namespace panel_testing;

namespace {

// A palette of dialog 700 whose controls are made as it opens.
class ControlPalette : public Dialog {
public:
    ControlPalette() : Dialog(700, false) {}
    void handleInitialise() override {
        ok = new Button(ControlLink(1, this));
        label = new StaticText(ControlLink(3, this), StaticText::centre);
        edit = new EditText(ControlLink(4, this));
        more = new Button(ControlLink(5, this));
        // Written before the host item objects exist.
        label->setText("initial label");
        edit->setText("initial text");
    }
    Button* ok = nullptr;
    StaticText* label = nullptr;
    EditText* edit = nullptr;
    Button* more = nullptr;
};

sim::ItemState& item(const Dialog& dialog, short number) {
    return *sim::findPanel(dialog.getDialogID())->findItem(number);
}

} // namespace

TEST_F(PanelTest, ControlsRegisterOnce) {
    ControlPalette palette;
    StaticText* unplaced = new StaticText(ControlLink(-1, &palette));
    auto* noPanel = new StaticText(ControlLink(3));
    EXPECT_EQ(palette.getControl(-1), nullptr);
    unplaced->setIndex(3);
    EXPECT_EQ(palette.getControl(3), unplaced); // the panel owns it now
    unplaced->setIndex(4);
    EXPECT_EQ(unplaced->getIndex(), 3);
    EXPECT_EQ(palette.getControl(4), nullptr);
    noPanel->setLink(ControlLink(4, &palette));
    EXPECT_EQ(noPanel->getLink().getPanel(), &palette);
    EXPECT_EQ(noPanel->getIndex(), 4);
    EXPECT_EQ(palette.getControl(4), noPanel);
    palette.removeControl(4); // deletes it
    EXPECT_EQ(palette.getControl(4), nullptr);
}

TEST_F(PanelTest, ControlsWriteToTheHostBeforeTheirItemsExist) {
    ControlPalette palette;
    EXPECT_EQ(palette.show(), 0);
    ASSERT_TRUE(palette.isStarted());
    EXPECT_EQ(item(palette, 3).text, "initial label");
    EXPECT_EQ(item(palette, 4).text, "initial text");
    EXPECT_EQ(palette.edit->getText(), "initial text");
    ASSERT_NE(palette.label->getItem(), nullptr);
    ASSERT_NE(palette.edit->getItem(), nullptr);

    std::unique_ptr<Setting> setting(palette.edit->getSetting());
    ASSERT_NE(setting, nullptr);
    EXPECT_EQ(setting->getType(), Setting::stringType);
    palette.label->setSetting(*setting);
    EXPECT_EQ(palette.label->getText(), "initial text");
    palette.edit->setSetting(Int32Setting(42));
    EXPECT_EQ(item(palette, 4).text, "42");
    EXPECT_EQ(palette.edit->getSetting(1, 0), nullptr);

    EXPECT_EQ(palette.ok->getLabel(), "OK");
    palette.ok->setLabel("Go");
    EXPECT_EQ(item(palette, 1).text, "Go");
    EXPECT_EQ(palette.ok->getLabel(0, 1), "");
    EXPECT_EQ(palette.ok->getSetting(), nullptr);
    EXPECT_EQ(palette.more->getImage().getResourceId(), 12);
    EXPECT_TRUE(palette.ok->getImage().isEmpty());
    palette.ok->setImage(Image(Int16(33)));
    EXPECT_EQ(item(palette, 1).image, 33);
    palette.ok->setImage(Image());
    EXPECT_EQ(item(palette, 1).image, 33);

    palette.more->setEnabled(false);
    EXPECT_FALSE(palette.more->isEnabled());
    palette.more->setVisible(false);
    EXPECT_FALSE(item(palette, 5).visible);
    palette.edit->takeFocus();
    EXPECT_EQ(DGGetFocus(palette.getDialogID()), 4);
    palette.removeFocus();
    EXPECT_EQ(DGGetFocus(palette.getDialogID()), 0);
    palette.close();
    EXPECT_FALSE(palette.isStarted());
    EXPECT_EQ(palette.getControl(3), nullptr); // deleted at close
}

TEST_F(PanelTest, GeometryCache) {
    ControlPalette palette;
    palette.show();
    EditText& edit = *palette.edit;
    EXPECT_FALSE(edit.isCachedOrigin(0));
    ScreenRect bounds = edit.getBounds();
    EXPECT_EQ(bounds, ScreenRect(ScreenPoint(10, 40), ScreenPoint(290, 60)));
    EXPECT_TRUE(edit.isCachedOrigin(0));
    EXPECT_TRUE(edit.isCachedSize(0));
    EXPECT_FALSE(edit.isCachedOrigin(1)); // beyond the cache

    edit.setOrigin(ScreenPoint(20, 50));
    EXPECT_EQ(item(palette, 4).left, 20);
    EXPECT_EQ(item(palette, 4).top, 50);
    // The cache wins over what the host says.
    DGMoveItem(palette.getDialogID(), 4, 100, 100);
    EXPECT_EQ(edit.getOrigin().getX(), 20);
    EXPECT_EQ(edit.getOrigin().getY(), 50);
    edit.setSize(ScreenPoint(100, 30));
    EXPECT_EQ(edit.getWidth(), 100);
    EXPECT_EQ(edit.getDepth(), 30);
    edit.offset(ScreenPoint(5, -5));
    EXPECT_EQ(edit.getOrigin().getX(), 25);
    EXPECT_EQ(edit.getOrigin().getY(), 45);
    edit.resize(ScreenPoint(10, 10));
    EXPECT_EQ(edit.getSize().getX(), 110);
    edit.resizeAndMove(ScreenPoint(-10, 0), ScreenPoint(1, 1));
    EXPECT_EQ(edit.getBounds(), ScreenRect(ScreenPoint(26, 46), ScreenPoint(126, 86)));
    edit.setBounds(ScreenRect(ScreenPoint(0, 0), ScreenPoint(50, 20)));
    EXPECT_EQ(edit.getBounds(), ScreenRect(ScreenPoint(0, 0), ScreenPoint(50, 20)));
    edit.setWidth(70);
    EXPECT_EQ(edit.getSize().getX(), 70);
    EXPECT_EQ(edit.getSize().getY(), 20);

    // Rows 0 still give one cache entry; growing the table leaves new rows uncached.
    EXPECT_TRUE(edit.setTableSize(0, 1));
    edit.setLastOrigin(ScreenPoint(1, 2), 0);
    EXPECT_TRUE(edit.isCachedOrigin(0));
    edit.setTableSize(3, 1);
    EXPECT_TRUE(edit.isCachedOrigin(0));
    EXPECT_FALSE(edit.isCachedOrigin(2));
    edit.setLastOrigin(ScreenPoint(1, 2), 5); // ignored
    EXPECT_FALSE(edit.isCachedOrigin(5));
}

TEST_F(PanelTest, StylesAndColours) {
    struct Case {
        double points;
        Int16 font;
    };
    const Case cases[] = {{9, DialogControl::extraSmallFont}, {1, DialogControl::extraSmallFont},
                          {10, DialogControl::smallFont},     {11, DialogControl::smallFont},
                          {12, DialogControl::largeFont},     {0, DialogControl::largeFont},
                          {-3, DialogControl::largeFont}};
    ControlPalette palette;
    palette.show();
    for (const Case& c : cases) {
        TextStyle style(TextStyle::plain, c.points * TextStyle::millimetresPerPoint);
        palette.edit->setStyle(style);
        EXPECT_EQ(item(palette, 4).font, c.font) << c.points;
    }
    TextStyle red(TextStyle::bold, 9 * TextStyle::millimetresPerPoint);
    red.setColour(CadColour(1.0, 0.5, 0.0));
    palette.label->setStyle(red);
    EXPECT_EQ(item(palette, 3).font, DialogControl::extraSmallFont);
    ASSERT_TRUE(item(palette, 3).textColourSet);
    EXPECT_EQ(item(palette, 3).textColour[0], 65535);
    EXPECT_EQ(item(palette, 3).textColour[1], 32768);
    EXPECT_EQ(item(palette, 3).textColour[2], 0);
    palette.label->setBackgroundColour(CadColour(UInt16(1), UInt16(2), UInt16(3), UInt16(65535)));
    EXPECT_EQ(item(palette, 3).background[2], 3);
    palette.label->setColour(CadColour(0.0, 0.0, 1.0), 1, 0); // not a valid cell
    EXPECT_EQ(item(palette, 3).textColour[2], 0);
}

TEST_F(PanelTest, StaticTextAlignments) {
    struct Case {
        Int32 alignment;
        bool item;
    };
    const Case cases[] = {
        {StaticText::left, true}, {StaticText::centre, true}, {StaticText::right, true}, {1, false}};
    for (const Case& c : cases) {
        class Page : public Dialog {
        public:
            explicit Page(Int32 alignment) : Dialog(702, false), m_alignment(alignment) {}
            void handleInitialise() override { text = new StaticText(ControlLink(3, this), m_alignment); }
            StaticText* text = nullptr;

        private:
            Int32 m_alignment;
        } page(c.alignment);
        page.show();
        ASSERT_NE(page.text, nullptr);
        EXPECT_EQ(page.text->getItem() != nullptr, c.item) << c.alignment;
    }
}

TEST(CadColourTest, Channels) {
    CadColour colour(UInt16(65535), UInt16(0), UInt16(32768), UInt16(65535));
    EXPECT_DOUBLE_EQ(colour.getRed(), 1.0);
    EXPECT_NEAR(colour.getBlue(), 0.5, 1e-5);
    UInt16 r = 0, g = 0, b = 0;
    colour.rgb(r, g, b);
    EXPECT_EQ(r, 65535);
    EXPECT_EQ(g, 0);
    EXPECT_EQ(b, 32768);
    // Out-of-range channels are taken at the nearer end rather than wrapping.
    CadColour(2.0, -1.0, std::nan(""), 1.0).rgb(r, g, b);
    EXPECT_EQ(r, 65535);
    EXPECT_EQ(g, 0);
    EXPECT_EQ(b, 0);
    EXPECT_EQ(CadColour(0.5, 0.5, 0.5), CadColour(0.500009, 0.5, 0.5));
    EXPECT_NE(CadColour(0.5, 0.5, 0.5), CadColour(0.50002, 0.5, 0.5));
    EXPECT_DOUBLE_EQ(CadColour().getAlpha(), 1.0);
}

TEST(TextStyleTest, FaceAndPoints) {
    TextStyle style;
    EXPECT_EQ(style.getPointSize(), 12);
    style.setBold(true);
    style.setUnderline(true);
    EXPECT_EQ(style.getFace(), TextStyle::bold | TextStyle::underline);
    style.setBold(false);
    EXPECT_EQ(style.getFace(), TextStyle::underline);
    style.setSize(3.35); // 9.496 points
    EXPECT_EQ(style.getPointSize(), 9);
    style.setSize(3.36); // 9.524 points
    EXPECT_EQ(style.getPointSize(), 10);
    style.setSize(1e9);
    EXPECT_EQ(style.getPointSize(), 32767);
}
