// One item of a dialog panel: a button, a text, a pop-up, a list. A publisher of the item's
// interface events, named by a control link and owned by its panel, with which it registers when
// made. Geometry, enabling, visibility, focus and fonts go to the host by dialog ID and item
// number whenever the panel is open, before any host item object exists; the control remembers,
// per cell (row), the last origin and size set through it and reports those before the host's.
#pragma once

#include "Addon/Publisher.h"
#include "Environment/String.h"
#include "Interface/ControlLink.h"
#include "Interface/Image.h"
#include "Interface/ScreenRect.h"

#include <vector>

namespace DG {
class Panel;
}

namespace zelvane {

class ControlObserver;
class Setting;
class TextStyle;

class DialogControl : public Publisher {
public:
    // Registers with the link's panel (which then owns the control) when the link names a panel
    // and an item other than -1.
    DialogControl(const ControlLink& link, Int16 rows = 1, Int16 columns = 1);
    // Copies the link, sizes and caches; the copy is not registered with the panel.
    DialogControl(const DialogControl& other);
    DialogControl& operator=(const DialogControl&) = delete;
    ~DialogControl() override = default;

    // An unregistered copy sharing the host item object (the caller deletes it).
    virtual DialogControl* clone() const = 0;
    virtual const ControlLink& getLink() const { return m_link; }
    // The panel's dialog ID; 0 without a panel or while it is not open.
    virtual Int16 getDialogID() const;
    // The host item number of a cell: the control's item.
    virtual Int16 getIndex(Int16 cell = 0) const;
    virtual bool isItem(Int16 item) const { return item == getIndex(0); }

    virtual ScreenRect getBounds(Int16 cell = 0) const;
    virtual ScreenPoint getOrigin(Int16 cell = 0) const;
    virtual ScreenPoint getSize(Int16 cell = 0) const;
    virtual Int16 getWidth(Int16 cell = 0) const;
    virtual Int16 getDepth(Int16 cell = 0) const;
    virtual bool isEnabled(Int16 cell = 0) const;
    virtual bool isVisible(Int16 cell = 0) const;
    virtual Int16 getSelectedRow(Int16 from = 0) const;
    virtual bool isSelected(Int16 row = 0, Int16 column = 0) const;
    virtual bool isValidCell(Int16 row, Int16 column) const;
    // A new setting holding the cell's value (the caller deletes it), or null.
    virtual Setting* getSetting(Int16 row = 0, Int16 column = 0) const = 0;
    virtual String getLabel(Int16 row = 0, Int16 column = 0) const;
    virtual Image getImage(Int16 row = 0, Int16 column = 0) const;
    virtual void redraw(Int16 cell = 0);
    // The drawing context of a user item; none for the controls of this library.
    virtual void* getRenderContext(Int16 cell = 0) const;

    // Places a control that is not placed yet; a placed one keeps its link.
    virtual void setLink(const ControlLink& link, Int16 cell = 0);
    // Only a control whose item is -1 takes the item, and registers with its panel.
    virtual void setIndex(Int16 item, Int16 cell = 0);
    virtual void setBounds(const ScreenRect& bounds, Int16 cell = 0);
    virtual void setOrigin(const ScreenPoint& origin, Int16 cell = 0);
    virtual void setSize(const ScreenPoint& size, Int16 cell = 0);
    virtual void setWidth(Int16 width, Int16 cell = 0);
    virtual void setDepth(Int16 depth, Int16 cell = 0);
    virtual void setVisible(bool visible, Int16 cell = 0);
    virtual void setEnabled(bool enabled, Int16 cell = 0);
    virtual void setContainer(bool container) { m_container = container; }
    virtual void takeFocus(Int16 cell = 0);
    virtual void offset(const ScreenPoint& delta, Int16 cell = 0);
    virtual void resize(const ScreenPoint& delta, Int16 cell = 0);
    virtual void resizeAndMove(const ScreenPoint& sizeDelta, const ScreenPoint& offset, Int16 cell = 0);
    virtual void setFont(Int16 font, Int16 cell = 0);
    // Stores the table size; the caches keep max(rows, 1) rows, new ones uncached.
    virtual bool setTableSize(Int16 rows, Int16 columns);
    virtual void setSetting(const Setting& setting, Int16 row = 0, Int16 column = 0) = 0;
    virtual void setLabel(const String& label, Int16 row = 0, Int16 column = 0);
    virtual void setImage(const Image& image, Int16 row = 0, Int16 column = 0);
    // Chooses the host font from the style's point size: small sizes get the smaller fonts.
    virtual void setStyle(const TextStyle& style, Int16 row = 0, Int16 column = 0);
    // A four-character code unique to the control's kind.
    virtual UInt32 getType() const = 0;
    // A new host observer for the control's kind (the panel owns it), or null.
    virtual ControlObserver* getObserver() const { return nullptr; }
    // Makes and drops the control's host item object.
    virtual void addReference(const DG::Panel& /*panel*/) {}
    virtual void removeReference() {}
    virtual bool isCachedOrigin(Int16 cell) const;
    virtual bool isCachedSize(Int16 cell) const;
    virtual void setLastOrigin(const ScreenPoint& origin, Int16 cell) const;
    virtual void setLastSize(const ScreenPoint& size, Int16 cell) const;

    Int16 getRows() const { return m_rows; }
    Int16 getColumns() const { return m_columns; }
    bool isContainer() const { return m_container; }

    // The host font codes chosen by setStyle.
    static constexpr Int16 largeFont = 0;
    static constexpr Int16 smallFont = 4;
    static constexpr Int16 extraSmallFont = 8;
    static Int16 fontForPoints(Int16 points);

private:
    bool inCache(Int16 cell) const { return cell >= 0 && std::size_t(cell) < m_origins.size(); }
    // The host's rectangle of the cell's item, or an empty one when the host has none.
    bool hostBounds(Int16 cell, ScreenRect& bounds) const;

    ControlLink m_link;
    Int16 m_rows = 0;
    Int16 m_columns = 0;
    bool m_container = false;
    mutable std::vector<ScreenPoint> m_sizes;
    mutable std::vector<ScreenPoint> m_origins;
    mutable std::vector<bool> m_sizeValid;
    mutable std::vector<bool> m_originValid;
};

} // namespace zelvane
