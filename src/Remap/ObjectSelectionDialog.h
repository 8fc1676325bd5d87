// The part chooser: lets the user pick one library part among several whose names match a typed
// text. The candidates are sorted by name, letter case aside, when it opens; the first is chosen
// until the user picks another, and a cancelled chooser chooses nothing.
#pragma once

#include "Addon/ItemSubscriber.h"
#include "Addon/ResizeSubscriber.h"
#include "Interface/Dialog.h"
#include "Remap/ComponentLog.h"

#include <vector>

namespace zelvane {
class Button;
class ListControl;
} // namespace zelvane

namespace zelvane::remap {

class ObjectSelectionDialog : public Dialog {
public:
    static constexpr Int16 resourceID = 32511;
    enum Item : Int16 { okItem = 1, cancelItem = 2, listItem = 4 };

    class Handler {
    public:
        explicit Handler(ObjectSelectionDialog& dialog) : m_dialog(dialog) {}

    protected:
        ObjectSelectionDialog& m_dialog;
    };
    // Keeps the list and the buttons in place as the dialog grows: the width stays 300 and the
    // height moves in whole rows of 17 pixels.
    class ResizePalette : public ResizeSubscriber, Handler {
    public:
        using Handler::Handler;
        bool handleEvent(ResizeEvent& event) override;
    };
    // OK is enabled exactly while a row is selected.
    class ChangeSelection : public ItemSubscriber, Handler {
    public:
        using Handler::Handler;
        bool handleEvent(ItemEvent& event) override;
    };

    // The candidates are the caller's; the chooser sorts them in place when it opens.
    explicit ObjectSelectionDialog(std::vector<ComponentLog>& candidates);
    ObjectSelectionDialog(ObjectSelectionDialog const&) = delete;
    ObjectSelectionDialog& operator=(ObjectSelectionDialog const&) = delete;
    ~ObjectSelectionDialog() override;

    void handleInitialise() override;
    // The selected row's candidate becomes the chosen one; with none selected it stays.
    void handleAccept(ActionEvent& event) override;
    void handleCancel(ActionEvent& event) override;
    void handleClose() override;

    // The chosen candidate, or null before the chooser opened and after a cancel.
    ComponentLog const* getChosen() const;
    std::vector<ComponentLog> const& getCandidates() const { return m_candidates; }
    ListControl* getList() const { return m_list; }

private:
    std::vector<ComponentLog>& m_candidates;
    std::size_t m_chosen;
    ListControl* m_list = nullptr; // owned by the panel while it is open
    ResizePalette m_resize;
    ChangeSelection m_changeSelection;
};

} // namespace zelvane::remap
