#include "Attribute/StyledString.h"

#include <algorithm>

namespace zelvane {

StyledString::StyledString(const String& text)
    : String(text), m_styles(new StyleMap), m_rulers(new RulerMap) {
    m_styles->initialise();
    m_rulers->initialise();
}

StyledString::StyledString(const StyledString& other, unsigned int pos, unsigned int count)
    : String(other.String::substr(pos, count)), m_styles(new StyleMap(*other.m_styles)),
      m_rulers(new RulerMap(*other.m_rulers)) {}

StyledString::StyledString(const StyledString& other)
    : String(other), m_styles(new StyleMap(*other.m_styles)), m_rulers(new RulerMap(*other.m_rulers)) {}

StyledString& StyledString::operator=(const StyledString& other) {
    if (this != &other) {
        std::unique_ptr<StyleMap> styles(new StyleMap(*other.m_styles));
        std::unique_ptr<RulerMap> rulers(new RulerMap(*other.m_rulers));
        String::operator=(other);
        m_styles = std::move(styles);
        m_rulers = std::move(rulers);
    }
    return *this;
}

StyledString::~StyledString() = default;

void StyledString::setTextStyle(const TextStyle& style, unsigned int start, unsigned int length) {
    m_styles->setApplication(style, start, length, size());
}

void StyledString::setTextRuler(const TextRuler& ruler, unsigned int start, unsigned int length) {
    m_rulers->setApplication(ruler, start, length, size());
}

void StyledString::clear() {
    String::clear();
    // Called by String's own constructors too, before the maps exist.
    if (m_styles != nullptr) {
        m_styles->initialise();
        m_rulers->initialise();
    }
}

StyledString& StyledString::assign(const char* text, unsigned int length) {
    String::assign(text, length);
    if (m_styles != nullptr) {
        m_styles->initialise();
        m_rulers->initialise();
    }
    return *this;
}

void StyledString::resize(unsigned int n) {
    // Only a cut can leave runs past the text; a text grown by String's own operations is not
    // filled in yet, and its runs all lie before the old end.
    const bool cuts = n < dataLength();
    String::resize(n);
    if (cuts && m_styles != nullptr) {
        // Stripping from 1 keeps the run at 0: String's operations that cut and then append
        // (replace, erase) must leave the text a run.
        unsigned int length = std::max(size(), 1u);
        m_styles->stripTrailing(length);
        m_rulers->stripTrailing(length);
    }
}

void StyledString::resizeText(unsigned int length) {
    if (length < size()) {
        resize(dataLength(length));
    }
}

unsigned int StyledString::nextParagraph(unsigned int position) const {
    unsigned int ending = findFirstOf("\r\n", position);
    if (ending == npos) {
        return npos;
    }
    // A carriage return and line feed end one line.
    if ((*this)[ending] == '\r' && ending + 1 < size() && (*this)[ending + 1] == '\n') {
        ++ending;
    }
    return ending + 1;
}

StyledString& StyledString::append(const StyledString& other) {
    if (other.empty()) {
        return *this;
    }
    if (empty()) {
        return *this = other;
    }
    const unsigned int oldLength = size();
    String::append(other);
    for (const auto& entry : *other.m_styles) {
        m_styles->set(entry.first + oldLength, cloneAs<TextStyle>(entry.second));
    }
    unsigned int paragraph = nextParagraph(oldLength - 1);
    for (const auto& entry : *other.m_rulers) {
        if (paragraph == npos || paragraph >= size()) {
            break;
        }
        if (entry.first + oldLength < paragraph) {
            continue;
        }
        m_rulers->set(paragraph, cloneAs<TextRuler>(entry.second));
        paragraph = nextParagraph(paragraph);
    }
    return *this;
}

StyledString StyledString::substr(unsigned int position, unsigned int count) const {
    StyledString piece(String::substr(position, count));
    if (!piece.empty()) {
        piece.m_styles->replaceApplicationWith(*m_styles, position, piece.size());
        piece.m_rulers->replaceApplicationWith(*m_rulers, position, piece.size());
    }
    return piece;
}

StyledString& StyledString::replace(unsigned int position, unsigned int length, const StyledString& text,
                                    unsigned int from, unsigned int count) {
    StyledString piece(text.String::substr(from, count));
    if (position < size() && position != npos) {
        if (length == npos || std::uint64_t(position) + length > size()) {
            length = size() - position;
        }
        StyledString tail = substr(position + length);
        resizeText(position);
        append(piece);
        append(tail);
    } else {
        append(piece);
    }
    return *this;
}

StyledString StyledString::toUppercase() const {
    StyledString result(String::toUppercase());
    *result.m_styles = *m_styles;
    *result.m_rulers = *m_rulers;
    return result;
}

StyledString StyledString::toLowercase() const {
    StyledString result(String::toLowercase());
    *result.m_styles = *m_styles;
    *result.m_rulers = *m_rulers;
    return result;
}

} // namespace zelvane
