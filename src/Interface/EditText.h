// A text the user edits: every change publishes an item event.
#pragma once

#include "DG/DGPanel.hpp"
#include "Interface/ControlObserver.h"
#include "Interface/SingleText.h"

#include <memory>

namespace zelvane {

class EditText : public SingleText {
public:
    static constexpr UInt32 type = MakeGSType("EDTT");

    class Observer : public ControlObserver, public DG::TextEditBaseObserver {
    public:
        void attach(const DG::Panel& panel, const DialogControl& control) override;
        void TextEditChanged(const DG::ItemEvent& event) override;
    };

    explicit EditText(const ControlLink& link) : SingleText(link) {}

    EditText* clone() const override { return new EditText(*this); }
    UInt32 getType() const override { return type; }
    ControlObserver* getObserver() const override { return new Observer; }
    void addReference(const DG::Panel& panel) override;
    void removeReference() override { m_item.reset(); }

    const DG::TextEdit* getItem() const { return m_item.get(); }

private:
    EditText(const EditText&) = default;

    std::shared_ptr<DG::TextEdit> m_item;
};

} // namespace zelvane
