// A push button: a click publishes an action event.
#pragma once

#include "DG/DGPanel.hpp"
#include "Interface/ControlObserver.h"
#include "Interface/DialogControl.h"

#include <memory>

namespace zelvane {

class Button : public DialogControl {
public:
    static constexpr UInt32 type = MakeGSType("BTTN");

    class Observer : public ControlObserver, public DG::ButtonItemObserver {
    public:
        void attach(const DG::Panel& panel, const DialogControl& control) override;
        void ButtonClicked(const DG::ItemEvent& event) override;
    };

    explicit Button(const ControlLink& link) : DialogControl(link) {}

    Button* clone() const override { return new Button(*this); }
    // A button holds no value.
    Setting* getSetting(Int16 row = 0, Int16 column = 0) const override;
    void setSetting(const Setting& setting, Int16 row = 0, Int16 column = 0) override;
    String getLabel(Int16 row = 0, Int16 column = 0) const override;
    void setLabel(const String& label, Int16 row = 0, Int16 column = 0) override;
    Image getImage(Int16 row = 0, Int16 column = 0) const override;
    // An empty image changes nothing.
    void setImage(const Image& image, Int16 row = 0, Int16 column = 0) override;
    UInt32 getType() const override { return type; }
    ControlObserver* getObserver() const override { return new Observer; }
    void addReference(const DG::Panel& panel) override;
    void removeReference() override { m_item.reset(); }

    const DG::Button* getItem() const { return m_item.get(); }

private:
    Button(const Button&) = default;

    std::shared_ptr<DG::Button> m_item;
};

} // namespace zelvane
