// The table control of dialogs, over the host's multi-selection list box: rows and columns of text
// cells; per-row colour, status, user data and selection; per-cell images and styles; a column
// layout, a header, and in-place editing, in which other controls of the dialog are laid over the
// columns of the row being edited. Rows and columns count from 0; the host counts from 1.
#pragma once

#include "DG/DGListBox.hpp"
#include "Environment/Vector.h"
#include "Interface/ControlObserver.h"
#include "Interface/DialogControl.h"
#include "Interface/FieldProxy.h"
#include "Interface/ListColumnStyle.h"
#include "Interface/ViewIterator.h"

#include <memory>

namespace zelvane {

class CadColour;

class ListControl : public DialogControl {
public:
    static constexpr UInt32 type = MakeGSType("LSTC");
    // No row or column; all rows or columns.
    static constexpr Int16 npos = -1;

    using Status = Int16;
    enum HeaderArrowType : Int16 { noArrow = 0, upArrow = 1, downArrow = 2 };

    using ColumnList = Vector<ListColumnStyle>;

    // One proxy per column, each with a value store of the table's rows.
    class ProxyList : public Vector<FieldProxy> {
    public:
        ProxyList(Int16 columns, Int16 rows);
        ProxyList(const ProxyList& other) = default;
        ~ProxyList() override = default;
        virtual void deleteRow(Int16 row, Int16 count);
        virtual void insertRow(Int16 row, Int16 count);
        virtual void insertColumn(Int16 column, Int16 count);
        virtual void deleteColumn(Int16 column, Int16 count);

    private:
        Int16 m_rows;
    };

    // A row cursor; -1 is no row.
    class Node {
    public:
        explicit Node(ListControl* list = nullptr, Int16 row = -1) : m_list(list), m_row(row) {}

        ListControl* getList() const { return m_list; }
        Int16 getRow() const { return m_row; }
        bool hasControl() const { return m_list != nullptr; }
        // No list, no row, or a row outside the table.
        bool isEnded() const;
        // To the next row (with scope 2 the next selected one); true while on a row. Throw
        // std::out_of_range when the cursor is not on a row.
        bool moveForward(ViewScope scope);
        bool moveBackward(ViewScope scope);
        // A cursor on a row orders before an ended one; those on rows by row.
        static bool isLess(const Node* node, const Node* other);

        Setting* getSetting(Int16 column = 0) const;
        String getLabel(Int16 column = 0) const;
        CadColour getColour(Int16 column = 0) const;
        Status getStatus(Int16 column = 0) const;
        Image getImage(Int16 column = 0) const;
        bool isSelected() const;
        Int64 getUserData() const;
        void setSetting(const Setting& value, Int16 column = 0);
        void setLabel(const String& label, Int16 column = 0);
        void setColour(const CadColour& colour, Int16 column = 0);
        void setImage(const Image& image, Int16 column = 0);
        void setStatus(Status status, Int16 column = 0);
        void setStyle(const TextStyle& style, Int16 column = 0);
        void setSelected(bool selected);
        void setUserData(Int64 value);
        void setBackgroundColour(const CadColour& colour);
        void redraw();

    private:
        ListControl* m_list; // not owned
        Int16 m_row;
    };

    using iterator = ViewIterator<Node>;
    using const_iterator = ConstViewIterator<Node>;

    // Turns the list box's notifications into events broadcast through the list's panel.
    class Observer : public ControlObserver, public DG::ListBoxObserver {
    public:
        void attach(const DG::Panel& panel, const DialogControl& control) override;
        void ListBoxSelectionChanged(const DG::ListBoxSelectionEvent& event) override;
        void ListBoxClicked(const DG::ListBoxClickEvent& event) override;
        void ListBoxDoubleClicked(const DG::ListBoxDoubleClickEvent& event) override;
        void ListBoxTabFieldUpdate(const DG::ListBoxTabFieldUpdateEvent& event) override;
        void ListBoxHeaderItemClicked(const DG::ListBoxHeaderItemClickEvent& event) override;
        void ListBoxHeaderItemDragged(const DG::ListBoxHeaderItemDragEvent& event) override;
        void ListBoxHeaderItemResizeEntered(const DG::ListBoxHeaderItemResizeEvent& event) override;
        void ListBoxHeaderItemResized(const DG::ListBoxHeaderItemResizeEvent& event) override;
        void ListBoxHeaderItemResizeExited(const DG::ListBoxHeaderItemResizeEvent& event) override;
        void ListBoxDragStarting(const DG::ListBoxDragSourceEvent& event, bool* canStart) override;
        void ListBoxDragStarted(const DG::ListBoxDragSourceEvent& event, DG::DragDropEffect* effect) override;
        void ListBoxDragEntered(const DG::ListBoxDropTargetEvent& event, DG::DragDropEffect* effect,
                                bool* accept) override;
        void ListBoxDragEntered(const DG::ListBoxDropTargetEvent& event, DG::DragDropEffect* effect,
                                bool* accept, bool* frameItem) override;
        void ListBoxDragMoved(const DG::ListBoxDropTargetEvent& event, DG::DragDropEffect* effect) override;
        void ListBoxDragLeft(const DG::ListBoxDropTargetEvent& event) override;
        void ListBoxDropped(const DG::ListBoxDropTargetEvent& event, DG::DragDropEffect* effect) override;
        void ListBoxDragEnded(const DG::ListBoxDragSourceEvent& event, DG::DragDropEffect effect) override;

    private:
        void resize(const DG::ListBoxHeaderItemResizeEvent& event, Int16 phase);
    };

    ListControl(const ControlLink& link, Int16 rows = 0, Int16 columns = 1,
                const ListColumnStyle& style = ListColumnStyle(40, 0));
    ~ListControl() override = default;

    bool publishEvent(Event& event) override;
    ListControl* clone() const override { return new ListControl(*this); }
    Int16 getSelectedRow(Int16 from = 0) const override;
    bool isSelected(Int16 row = 0, Int16 column = 0) const override;
    // A new setting of the cell (the caller deletes it); null for an invalid cell.
    Setting* getSetting(Int16 row = 0, Int16 column = 0) const override;
    String getLabel(Int16 row = 0, Int16 column = 0) const override;
    Image getImage(Int16 row = 0, Int16 column = 0) const override;
    // One row, or the whole list for npos.
    void redraw(Int16 row = npos) override;
    bool setTableSize(Int16 rows, Int16 columns) override;
    void setSetting(const Setting& value, Int16 row = 0, Int16 column = 0) override;
    void setLabel(const String& text, Int16 row = 0, Int16 column = 0) override;
    void setImage(const Image& image, Int16 row = 0, Int16 column = 0) override;
    void setStyle(const TextStyle& style, Int16 row = 0, Int16 column = 0) override;
    UInt32 getType() const override { return type; }
    ControlObserver* getObserver() const override { return new Observer; }
    void addReference(const DG::Panel& panel) override;
    void removeReference() override {
        m_list.reset();
        m_unreferenced.reset();
    }

    virtual iterator begin(ViewScope scope = allRows);
    virtual const_iterator begin(ViewScope scope = allRows) const;
    virtual iterator end();
    virtual const_iterator end() const;
    virtual iterator last(ViewScope scope = allRows);
    virtual const_iterator last(ViewScope scope = allRows) const;
    virtual CadColour getColour(Int16 row = 0, Int16 column = 0) const;
    virtual Status getStatus(Int16 row = 0, Int16 column = 0) const;
    virtual Int64 getUserData(Int16 row) const;
    virtual Int16 getScrollHorizontal() const;
    virtual Int16 getScrollVertical() const;
    virtual ScreenPoint getMousePosition() const { return m_mouse; }
    virtual Int16 getColumnIndex(const ScreenPoint& point, bool local) const;
    virtual Int16 getRowIndex(const ScreenPoint& point, bool local) const;
    virtual void setSelected(bool selected, Int16 row, Int16 column = 0);
    virtual void selectAll();
    virtual void deselectAll();
    virtual void setColour(const CadColour& colour, Int16 row = 0, Int16 column = 0);
    virtual void setStatus(Status status, Int16 row = 0, Int16 column = 0);
    virtual void setUserData(Int64 value, Int16 row);
    virtual void setScrollHorizontal(Int16 position);
    virtual void setScrollVertical(Int16 position);
    virtual void setBackgroundColour(const CadColour& colour, Int16 row);
    virtual bool addRow(Int16 count = 1);
    // Rows outside the table and counts below 1 delete nothing (0 answers true).
    virtual bool deleteRow(Int16 row, Int16 count = 1);
    // A row outside the table appends; a negative count, or a table that would pass 32767 rows,
    // answers false.
    virtual bool insertRow(Int16 row, Int16 count = 1);
    virtual bool addColumn(const ListColumnStyle& style, Int16 count = 1);
    virtual bool insertColumn(Int16 column, const ListColumnStyle& style, Int16 count = 1);
    virtual bool deleteColumn(Int16 column, Int16 count = 1);
    // Throw std::out_of_range for a column outside the list.
    virtual const ListColumnStyle& getColumnStyle(Int16 column) const;
    virtual ListColumnStyle& getColumnStyle(Int16 column);
    virtual Int16 getColumnGap() const { return m_gap; }
    virtual Int16 getRowHeight() const;
    virtual void setColumnStyle(const ListColumnStyle& style, Int16 column);
    virtual void setColumnGap(Int16 gap);
    virtual void getHeaderFlags(bool& first, bool& second, bool& third) const;
    virtual Int16 getHeaderHeight() const;
    virtual Int16 getHeaderColumnCount() const;
    virtual String getHeaderLabel(Int16 column) const;
    virtual Int16 getHeaderColumnSize(Int16 column) const;
    virtual HeaderArrowType getHeaderArrowType(Int16 column) const;
    virtual void setHeaderFlags(bool first, bool second, bool third);
    virtual void setHeaderColumnCount(Int16 count);
    virtual void setHeaderLabel(const String& label, Int16 column);
    virtual void setHeaderStyle(const TextStyle& style, Int16 column);
    virtual void setHeaderColumnFlags(Int16 flags, bool on, Int16 column);
    virtual void setHeaderColumnSize(Int16 size, Int16 column);
    virtual void setHeaderColumnMinSize(Int16 size, Int16 column);
    virtual void setHeaderArrowType(HeaderArrowType arrow, Int16 column);
    // Makes the control the column's editor (null removes it); see the .cpp for refusals.
    virtual bool addProxy(DialogControl* editor, Int16 column);
    virtual String getText(Int16 row, Int16 column) const;
    virtual void setText(const String& text, Int16 row, Int16 column);
    virtual void applyTableStyle();

    void setAutoRedraw(bool on);
    DialogControl* getProxyControl(Int16 column) const;
    void setProxyVisible(bool visible, Int16 column);
    bool isProxyVisible(Int16 column) const;
    // Moves the editors to the row; see the .cpp.
    void setProxyRow(Int16 row);
    Int16 getProxyRow() const { return m_proxyRow; }

protected:
    ListControl(const ListControl& other);

private:
    // The bound host list box, or one made for the item of the open panel; null while it is closed.
    std::shared_ptr<DG::ListBox> host() const;
    const DG::Panel* hostPanel() const;
    // The editor is drawn over the list: it is numbered before the list, or it lies within the
    // list's rectangle as its in-place editor.
    bool isDrawnOver(const DialogControl& editor) const;
    bool isValidRow(Int16 row) const { return isValidCell(row, 0); }
    Int16 headerColumn(Int16 column) const;

    std::shared_ptr<DG::MultiSelListBox> m_list;
    // The host list made while the control is not yet referenced (a list filled as its panel
    // opens), kept for its panel: one for every cell would cost a host lookup each.
    mutable std::shared_ptr<DG::MultiSelListBox> m_unreferenced;
    ColumnList m_columns;
    std::unique_ptr<ProxyList> m_proxies;
    Int16 m_proxyRow = npos;
    ScreenPoint m_mouse;
    Int16 m_gap = 0;
    bool m_proxiesEnabled = true;
};

} // namespace zelvane
