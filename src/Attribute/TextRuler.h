// The paragraph format of a run of text: justification, indents, spacing and tab stops, carried
// between the host's paragraph record and styled text unchanged.
#pragma once

#include "ACAPI/ElementMemo.hpp"
#include "Attribute/Attribute.h"
#include "Environment/Vector.h"

#include <memory>

namespace zelvane {

class TextRuler : public Attribute {
public:
    class Tab {
    public:
        explicit Tab(Int32 type = 0, double position = 0.0) : m_type(type), m_position(position) {}
        explicit Tab(const API_TabType& tab) : m_type(tab.type), m_position(tab.pos) {}
        virtual ~Tab() = default;
        virtual Tab* clone() const { return new Tab(*this); }

        Int32 getType() const { return m_type; }
        double getPosition() const { return m_position; }
        void copyTo(API_TabType& tab) const;
        bool operator==(const Tab& other) const {
            return m_type == other.m_type && m_position == other.m_position;
        }

    private:
        Int32 m_type;
        double m_position;
    };
    using TabList = Vector<Tab>;

    TextRuler() = default;
    // The format and tabs of the paragraph (as many tabs as its tab block holds).
    explicit TextRuler(const API_ParagraphType& paragraph);
    TextRuler(const TextRuler& other);
    TextRuler& operator=(const TextRuler& other);
    ~TextRuler() override;

    TextRuler* clone() const override { return new TextRuler(*this); }
    attribute_id getType() const override { return ID; }
    API_Attr_Head& getHead() override { return m_head; }
    const API_Attr_Head& getHead() const override { return m_head; }
    API_Attribute* getData() const override { return nullptr; }

    // The format values into the paragraph, with a new block of the tabs (the paragraph's owner
    // frees it); std::bad_alloc when memory runs out.
    void copyTo(API_ParagraphType& paragraph) const;

    Int32 getJustification() const { return m_justification; }
    void setJustification(Int32 justification) { m_justification = justification; }
    double getFirstLineIndent() const { return m_firstLineIndent; }
    double getIndent() const { return m_indent; }
    double getRightIndent() const { return m_rightIndent; }
    double getSpacing() const { return m_spacing; }
    std::size_t getTabCount() const { return m_tabs != nullptr ? m_tabs->size() : 0; }
    const Tab* getTab(std::size_t i) const { return i < getTabCount() ? (*m_tabs)[i] : nullptr; }
    // Takes the tab.
    void addTab(Tab* tab);

    bool operator==(const TextRuler& other) const;
    bool operator!=(const TextRuler& other) const { return !(*this == other); }

protected:
    std::size_t getRecordSize() const override { return sizeof(API_Attr_Head); }

private:
    API_Attr_Head m_head;
    std::unique_ptr<TabList> m_tabs;
    Int32 m_justification = 0;
    double m_firstLineIndent = 0.0;
    double m_indent = 0.0;
    double m_rightIndent = 0.0;
    double m_spacing = 0.003;
};

} // namespace zelvane
