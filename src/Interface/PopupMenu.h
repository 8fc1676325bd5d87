// A pop-up item: the dialog library's pop-up, or the user-control pop-up that shows the chosen
// row's text and/or icon on a button. Rows carry a label, an icon, user data and a style, with
// separators between them; the choice is read and set by row or by label, and as a setting.
#pragma once

#include "DG/DGPopUp.hpp"
#include "Interface/ControlObserver.h"
#include "Interface/DialogControl.h"
#include "Interface/ViewIterator.h"
#include "UC/UCPopupMenu.hpp"

#include <memory>

namespace zelvane {

class CadColour;

class PopupMenu : public DialogControl {
public:
    static constexpr UInt32 standardType = MakeGSType("POPM");
    static constexpr UInt32 userControlType = MakeGSType("UCPM");

    // -1: the dialog library's pop-up; 0 to 2: the user-control pop-up showing the chosen row's
    // text and icon, its icon only, or its text only.
    enum Type : Int32 { standard = -1, textAndIcon = 0, iconOnly = 1, textOnly = 2 };

    // A row cursor; -1 is no row.
    class Node {
    public:
        explicit Node(PopupMenu* menu = nullptr, Int16 row = -1) : m_menu(menu), m_row(row) {}

        PopupMenu* getMenu() const { return m_menu; }
        Int16 getRow() const { return m_row; }
        bool hasControl() const { return m_menu != nullptr; }
        // No menu, no row, or a row outside the menu.
        bool isEnded() const;
        // To the next row (with scope 2 the next selected one); true while on a row. Throw
        // std::out_of_range when the cursor is not on a row.
        bool moveForward(ViewScope scope);
        bool moveBackward(ViewScope scope);
        // An ended cursor orders before every one on a row; those on rows by row.
        static bool isLess(const Node* node, const Node* other);

        Setting* getSetting(Int16 column = 0) const;
        Image getImage(Int16 column = 0) const;
        String getLabel(Int16 column = 0) const;
        // Opaque black.
        CadColour getColour(Int16 column = 0) const;
        bool isSelected(Int16 column = 0) const;
        Int64 getUserData() const;
        void redraw();
        void setImage(const Image& image, Int16 column = 0);
        void setSetting(const Setting& setting, Int16 column = 0);
        void setLabel(const String& label, Int16 column = 0);
        void setColour(const CadColour& colour, Int16 column = 0);
        void setStyle(const TextStyle& style, Int16 column = 0);
        void setSelected(bool selected, Int16 column = 0);
        void setUserData(Int64 value);

    private:
        PopupMenu* m_menu; // not owned
        Int16 m_row;
    };

    using iterator = ViewIterator<Node>;
    using const_iterator = ConstViewIterator<Node>;

    class DGObserver : public ControlObserver, public DG::PopUpObserver {
    public:
        void attach(const DG::Panel& panel, const DialogControl& control) override;
        void PopUpChanged(const DG::ItemEvent& event) override;
    };

    class UCObserver : public ControlObserver, public DG::UserControlObserver {
    public:
        void attach(const DG::Panel& panel, const DialogControl& control) override;
        void UserControlChanged(const DG::ItemEvent& event) override;
    };

    // A pop-up of the host item's current rows, one column, nothing chosen; rows of 1 or more
    // resize it to that many rows.
    PopupMenu(const ControlLink& link, Int16 rows = 0, Type type = standard);
    ~PopupMenu() override = default;

    bool publishEvent(Event& event) override;
    PopupMenu* clone() const override { return new PopupMenu(*this); }
    Int16 getSelectedRow(Int16 from = 0) const override;
    bool isSelected(Int16 row = 0, Int16 column = 0) const override;
    // A new menu setting of the chosen row's label and row (the caller deletes it).
    Setting* getSetting(Int16 row = 0, Int16 column = 0) const override;
    String getLabel(Int16 row = 0, Int16 column = 0) const override;
    Image getImage(Int16 row = 0, Int16 column = 0) const override;
    // Row -1 the whole control; a row's status otherwise.
    void setEnabled(bool enabled, Int16 row = 0) override;
    bool setTableSize(Int16 rows, Int16 columns) override;
    // An integer setting chooses the row of its value, any other the row of its text.
    void setSetting(const Setting& setting, Int16 row = 0, Int16 column = 0) override;
    void setLabel(const String& label, Int16 row = 0, Int16 column = 0) override;
    void setImage(const Image& image, Int16 row = 0, Int16 column = 0) override;
    // Row -1 the font of the whole control; a row's text style from the style's face otherwise.
    void setStyle(const TextStyle& style, Int16 row = 0, Int16 column = 0) override;
    UInt32 getType() const override { return isStandard() ? standardType : userControlType; }
    ControlObserver* getObserver() const override;
    void addReference(const DG::Panel& panel) override;
    void removeReference() override;

    virtual iterator begin(ViewScope scope = allRows);
    virtual const_iterator begin(ViewScope scope = allRows) const;
    virtual iterator end();
    virtual const_iterator end() const;
    virtual iterator last(ViewScope scope = allRows);
    virtual const_iterator last(ViewScope scope = allRows) const;
    virtual Type getMenuType() const { return m_type; }
    virtual bool isStandard() const { return m_type == standard; }
    virtual String getSelectedLabel() const;
    // Opaque black for every row.
    virtual CadColour getColour(Int16 row = 0, Int16 column = 0) const;
    virtual Int64 getUserData(Int16 row) const;
    // Chooses the row (the flag is not used).
    virtual void setSelected(bool selected, Int16 row, Int16 column = 0);
    // Chooses the row of the label, else the fallback row, else the last row; answers the label
    // chosen.
    virtual String setSelected(const String& label, Int16 fallback);
    // Rows have no colour of their own.
    virtual void setColour(const CadColour& colour, Int16 row = 0, Int16 column = 0);
    virtual void setUserData(Int64 value, Int16 row);
    virtual bool addRow(Int16 count = 1);
    // One row at the end with the label, the image of the resource ID (above 0) and the user data
    // (not 0).
    virtual bool addRow(const String& label, Int16 imageID = 0, Int64 userData = 0);
    // Rows outside the menu and counts below 1 delete nothing (0 answers true, a negative count or
    // a row outside false).
    virtual bool deleteRow(Int16 row, Int16 count = 1);
    // Row -1 appends.
    virtual bool insertRow(Int16 row, Int16 count = 1);

    // The last row with exactly that label; -1 none.
    Int16 findLabel(const String& label) const;
    bool insertSeparator(Int16 row);

protected:
    PopupMenu(const PopupMenu& other) = default;

private:
    // The bound host object, or one made for the item of the open panel; null while it is closed.
    std::shared_ptr<DG::PopUp> standardHost() const;
    std::shared_ptr<UC::PopupMenu> userHost() const;
    const DG::Panel* hostPanel() const;
    // Runs the call on the host pop-up of either kind.
    template <class Call>
    void onHost(Call call) const;
    // The host's chosen row (0-based); -1 none.
    Int16 hostSelection() const;

    std::shared_ptr<DG::PopUp> m_standard;
    std::shared_ptr<UC::PopupMenu> m_userControl;
    Type m_type;
    Int16 m_selection = -1;
};

} // namespace zelvane
