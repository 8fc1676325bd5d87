// A text shown on a panel, aligned left, centred or right; clicks publish action events.
#pragma once

#include "DG/DGPanel.hpp"
#include "Interface/ControlObserver.h"
#include "Interface/SingleText.h"

#include <memory>

namespace zelvane {

class CadColour;

class StaticText : public SingleText {
public:
    static constexpr UInt32 type = MakeGSType("STTX");
    static constexpr Int32 left = 0;
    static constexpr Int32 centre = 256;
    static constexpr Int32 right = 512;

    class Observer : public ControlObserver, public DG::StaticTextObserver {
    public:
        void attach(const DG::Panel& panel, const DialogControl& control) override;
        // An action event; a double click carries message 5.
        void StaticTextClicked(const DG::ItemEvent& event) override;
        void StaticTextDoubleClicked(const DG::ItemEvent& event) override;
    };

    explicit StaticText(const ControlLink& link, Int32 alignment = left)
        : SingleText(link), m_alignment(alignment) {}

    StaticText* clone() const override { return new StaticText(*this); }
    Int32 getAlignment() const { return m_alignment; }
    void setColour(const CadColour& colour, Int16 row = 0, Int16 column = 0);
    void setBackgroundColour(const CadColour& colour, Int16 row = 0, Int16 column = 0);
    // The font chosen from the style's size, and the style's colour.
    void setStyle(const TextStyle& style, Int16 row = 0, Int16 column = 0) override;
    UInt32 getType() const override { return type; }
    ControlObserver* getObserver() const override { return new Observer; }
    // No host item for an alignment other than left, centre or right.
    void addReference(const DG::Panel& panel) override;
    void removeReference() override { m_text.reset(); }

    const DG::StaticText* getItem() const { return m_text.get(); }

private:
    StaticText(const StaticText&) = default;

    Int32 m_alignment;
    std::shared_ptr<DG::StaticText> m_text;
};

} // namespace zelvane
