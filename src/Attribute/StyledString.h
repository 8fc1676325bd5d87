// Text with runs of styles and of paragraph rulers that stay consistent under every edit.
// Positions and lengths count characters.
#pragma once

#include "Attribute/TextRuler.h"
#include "Attribute/TextStyle.h"
#include "Environment/ApplicationMap.h"
#include "Environment/String.h"

#include <cstddef>
#include <memory>

namespace zelvane {

class StyledString : public String {
public:
    class StyleMap : public ApplicationMap<TextStyle> {};
    class RulerMap : public ApplicationMap<TextRuler> {};
    using StyleRun = ApplicationMap<TextStyle>::Run;
    using RulerRun = ApplicationMap<TextRuler>::Run;

    // The text with one default style and one default ruler.
    StyledString() : StyledString(String()) {}
    explicit StyledString(const String& text);
    // Characters from pos, count of them, with the other's runs whole (they are not cut).
    StyledString(const StyledString& other, unsigned int pos, unsigned int count = npos);
    StyledString(const StyledString& other);
    StyledString& operator=(const StyledString& other);
    ~StyledString() override;

    StyledString* clone() const override { return new StyledString(*this); }

    std::size_t getStyleCount() const { return m_styles->size(); }
    std::size_t getRulerCount() const { return m_rulers->size(); }
    StyleRun getTextStyle(std::size_t i) const { return m_styles->getRun(i, size()); }
    RulerRun getTextRuler(std::size_t i) const { return m_rulers->getRun(i, size()); }
    StyleRun getTextStyleAt(unsigned int position) const { return m_styles->getRunAt(position, size()); }
    RulerRun getTextRulerAt(unsigned int position) const { return m_rulers->getRunAt(position, size()); }
    void setTextStyle(const TextStyle& style, unsigned int start, unsigned int length);
    void setTextRuler(const TextRuler& ruler, unsigned int start, unsigned int length);
    void resetTextStyle() { m_styles->initialise(); }
    void resetTextRuler() { m_rulers->initialise(); }

    // The text and both maps start again.
    void clear() override;
    StyledString& assign(const char* text, unsigned int length = npos) override;
    // String's byte-level resize: when it cuts the text, the runs that start at or after the
    // characters kept go, but for the first run, which an empty text keeps too.
    void resize(unsigned int n) override;
    using String::resize;
    // Keeps the first length characters, with their runs as resize leaves them.
    void resizeText(unsigned int length);
    // The other's text and style runs follow this text; its rulers start at the paragraphs that
    // begin after this text's last line ending.
    StyledString& append(const StyledString& other);
    StyledString& operator+=(const StyledString& other) { return append(other); }
    // The characters with the runs over them, shifted to start at 0.
    StyledString substr(unsigned int position, unsigned int count = npos) const;
    // Replaces length characters at position (npos: to the end) by count characters of text
    // from `from`, in default runs; a position at or past the end appends.
    StyledString& replace(unsigned int position, unsigned int length, const StyledString& text,
                          unsigned int from = 0, unsigned int count = npos);
    using String::replace;
    StyledString toUppercase() const;
    StyledString toLowercase() const;

private:
    // The position just after the first line ending at or after position; npos when none.
    unsigned int nextParagraph(unsigned int position) const;

    std::unique_ptr<StyleMap> m_styles;
    std::unique_ptr<RulerMap> m_rulers;
};

} // namespace zelvane
