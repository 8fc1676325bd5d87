#include "Attribute/TextRuler.h"

#include "Environment/Memory.h"

namespace zelvane {

void TextRuler::Tab::copyTo(API_TabType& tab) const {
    tab = API_TabType();
    tab.type = m_type;
    tab.pos = m_position;
}

TextRuler::TextRuler(const API_ParagraphType& paragraph)
    : m_justification(paragraph.just), m_firstLineIndent(paragraph.firstLineIndent),
      m_indent(paragraph.indent), m_rightIndent(paragraph.rightIndent), m_spacing(paragraph.spacing) {
    if (paragraph.tab == nullptr || paragraph.numOfTabs < 1) {
        return;
    }
    // The count is held to what the block holds.
    int held = getPtrSize(reinterpret_cast<const char*>(paragraph.tab)) / int(sizeof(API_TabType));
    int count = paragraph.numOfTabs < held ? paragraph.numOfTabs : held;
    for (int i = 0; i < count; ++i) {
        addTab(new Tab(paragraph.tab[i]));
    }
}

TextRuler::TextRuler(const TextRuler& other)
    : Attribute(other), m_head(other.m_head),
      m_tabs(other.m_tabs != nullptr ? other.m_tabs->clone() : nullptr),
      m_justification(other.m_justification), m_firstLineIndent(other.m_firstLineIndent),
      m_indent(other.m_indent), m_rightIndent(other.m_rightIndent), m_spacing(other.m_spacing) {}

TextRuler& TextRuler::operator=(const TextRuler& other) {
    if (this != &other) {
        TextRuler copy(other);
        Attribute::operator=(copy);
        m_head = copy.m_head;
        m_tabs = std::move(copy.m_tabs);
        m_justification = copy.m_justification;
        m_firstLineIndent = copy.m_firstLineIndent;
        m_indent = copy.m_indent;
        m_rightIndent = copy.m_rightIndent;
        m_spacing = copy.m_spacing;
    }
    return *this;
}

TextRuler::~TextRuler() = default;

void TextRuler::addTab(Tab* tab) {
    if (m_tabs == nullptr) {
        m_tabs.reset(new TabList);
    }
    m_tabs->push_back(tab);
}

void TextRuler::copyTo(API_ParagraphType& paragraph) const {
    paragraph.just = m_justification;
    paragraph.firstLineIndent = m_firstLineIndent;
    paragraph.indent = m_indent;
    paragraph.rightIndent = m_rightIndent;
    paragraph.spacing = m_spacing;
    paragraph.numOfTabs = Int32(getTabCount());
    paragraph.tab = nullptr;
    if (getTabCount() == 0) {
        return;
    }
    auto* tabs = reinterpret_cast<API_TabType*>(allocatePtr(int(getTabCount() * sizeof(API_TabType))));
    for (std::size_t i = 0; i < getTabCount(); ++i) {
        (*m_tabs)[i]->copyTo(tabs[i]);
    }
    paragraph.tab = tabs;
}

bool TextRuler::operator==(const TextRuler& other) const {
    if (getTabCount() != other.getTabCount()) {
        return false;
    }
    for (std::size_t i = 0; i < getTabCount(); ++i) {
        if (!(*getTab(i) == *other.getTab(i))) {
            return false;
        }
    }
    return m_justification == other.m_justification && m_firstLineIndent == other.m_firstLineIndent &&
           m_indent == other.m_indent && m_rightIndent == other.m_rightIndent && m_spacing == other.m_spacing;
}

} // namespace zelvane
