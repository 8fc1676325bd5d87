#include "Memo/TextMemo.h"

#include "Environment/Memory.h"
#include "Memo/MemoStore.h"

#include <cstring>
#include <vector>

namespace zelvane {
namespace {

bool isLineEnd(char c) {
    return c == '\n' || c == '\r';
}

struct Line {
    unsigned int start;
    unsigned int length; // without its line ending
};

// The lines of the characters from..until - 1, split at line endings (a carriage return and line
// feed end one line); nothing after a final line ending counts as a line.
std::vector<Line> linesOf(const String& text, unsigned int from, unsigned int until) {
    std::vector<Line> lines;
    unsigned int start = from;
    for (unsigned int i = from; i < until; ++i) {
        char c = text[i];
        if (!isLineEnd(c)) {
            continue;
        }
        lines.push_back(Line{start, i - start});
        if (c == '\r' && i + 1 < until && text[i + 1] == '\n') {
            ++i;
        }
        start = i + 1;
    }
    if (start < until || lines.empty()) {
        lines.push_back(Line{start, until - start});
    }
    return lines;
}

template <typename T>
T* newBlock(std::size_t count) {
    return reinterpret_cast<T*>(allocatePtr(int(count * sizeof(T))));
}

// Fills one paragraph from a ruler run; false when a style run has no value.
bool fillParagraph(API_ParagraphType& paragraph, const StyledString& text,
                   const StyledString::RulerRun& rulerRun) {
    rulerRun.value->copyTo(paragraph);
    const unsigned int start = rulerRun.start;
    unsigned int range = rulerRun.length;
    for (unsigned int i = start + rulerRun.length; i > start; --i) {
        if (!isLineEnd(text[i - 1])) {
            range = i - start;
            break;
        }
    }
    paragraph.from = Int32(start);
    paragraph.range = Int32(range);

    std::vector<Line> lines = linesOf(text, start, start + rulerRun.length);
    paragraph.eolPos = newBlock<Int32>(lines.size());
    paragraph.numOfEOLs = Int32(lines.size());
    for (std::size_t i = 0; i < lines.size(); ++i) {
        unsigned int offset = lines[i].start + lines[i].length - start;
        paragraph.eolPos[i] = Int32(lines[i].length > 0 ? offset - 1 : offset);
    }

    std::vector<StyledString::StyleRun> runs;
    const unsigned int end = start + range;
    for (std::size_t i = 0; i < text.getStyleCount(); ++i) {
        StyledString::StyleRun run = text.getTextStyle(i);
        unsigned int runEnd = run.start + run.length;
        if (runEnd <= start || run.start >= end) {
            continue;
        }
        if (run.value == nullptr) {
            return false;
        }
        unsigned int from = run.start > start ? run.start : start;
        run.length = (runEnd < end ? runEnd : end) - from;
        run.start = from;
        runs.push_back(run);
    }
    if (runs.empty()) {
        return false;
    }
    paragraph.run = newBlock<API_RunType>(runs.size());
    paragraph.numOfRuns = Int32(runs.size());
    for (std::size_t i = 0; i < runs.size(); ++i) {
        Int32 from = Int32(runs[i].start - start);
        Int32 length = i + 1 == runs.size() ? Int32(range) - from : Int32(runs[i].length);
        runs[i].value->copyTo(paragraph.run[i], from, length);
    }
    return true;
}

template <typename T>
void disposeSlot(T*** slot) {
    char** old = reinterpret_cast<char**>(*slot);
    *slot = nullptr;
    disposeHandle(&old);
}

// Frees a paragraph handle with the tab, run and line-end blocks of each of its paragraphs.
void disposeParagraphs(API_ParagraphType*** slot) {
    API_ParagraphType** paragraphs = *slot;
    const int count = paragraphs == nullptr ? 0
                                            : getHandleSize(reinterpret_cast<char**>(paragraphs)) /
                                                  int(sizeof(API_ParagraphType));
    for (int i = 0; i < count; ++i) {
        API_ParagraphType& paragraph = (*paragraphs)[i];
        for (char* block : {reinterpret_cast<char*>(paragraph.tab), reinterpret_cast<char*>(paragraph.run),
                            reinterpret_cast<char*>(paragraph.eolPos)}) {
            disposePtr(&block);
        }
        paragraph.tab = nullptr;
        paragraph.run = nullptr;
        paragraph.eolPos = nullptr;
    }
    disposeSlot(slot);
}

} // namespace

const StyledString& TextMemo::getText() const {
    confirmLoad(getFilter());
    return m_text;
}

void TextMemo::setText(const StyledString& text, bool keepStyles) {
    confirmLoad(getFilter());
    StyledString old(m_text);
    m_text = text;
    if (!keepStyles) {
        return;
    }
    TextStyle current;
    unsigned int covered = 0;
    for (std::size_t i = 0; i < old.getStyleCount(); ++i) {
        StyledString::StyleRun run = old.getTextStyle(i);
        if (run.value == nullptr || run.length == 0) {
            continue;
        }
        m_text.setTextStyle(*run.value, run.start, run.length);
        if (run.start < m_text.size()) {
            unsigned int until =
                run.start + run.length < m_text.size() ? run.start + run.length : m_text.size();
            covered += until - run.start;
        }
        current = *run.value;
    }
    if (covered < m_text.size()) {
        m_text.setTextStyle(current, covered, StyledString::npos);
    }
}

bool TextMemo::pack(MemoStore* store) const {
    confirmLoad(getFilter());
    if (m_text.empty()) {
        return false;
    }
    // What an earlier packing left in the store goes first.
    disposeSlot(store->textContent());
    disposeParagraphs(store->paragraphs());
    disposeSlot(store->textLineStarts());
    const unsigned int bytes = m_text.dataLength();
    char** content = allocateHandle(int(bytes + 1));
    *store->textContent() = content;
    copyMemory(*content, m_text.data(), int(bytes));
    (*content)[bytes] = 0;
    if (m_text.getStyleCount() == 0 || m_text.getRulerCount() == 0) {
        return false;
    }
    const std::size_t rulers = m_text.getRulerCount();
    char** block = allocateHandle(int(rulers * sizeof(API_ParagraphType)));
    auto** paragraphs = reinterpret_cast<API_ParagraphType**>(block);
    for (std::size_t i = 0; i < rulers; ++i) {
        new (&(*paragraphs)[i]) API_ParagraphType();
    }
    *store->paragraphs() = paragraphs;
    bool filled = true;
    for (std::size_t i = 0; i < rulers && filled; ++i) {
        StyledString::RulerRun run = m_text.getTextRuler(i);
        filled = run.value != nullptr && fillParagraph((*paragraphs)[i], m_text, run);
    }
    std::vector<Line> lines = linesOf(m_text, 0, m_text.size());
    char** starts = allocateHandle(int(lines.size() * sizeof(Int32)));
    *store->textLineStarts() = reinterpret_cast<Int32**>(starts);
    for (std::size_t i = 0; i < lines.size(); ++i) {
        reinterpret_cast<Int32*>(*starts)[i] = Int32(lines[i].start);
    }
    return filled;
}

bool TextMemo::unpack(const MemoStore& store) const {
    setLoaded(false);
    m_text.clear();
    char** content = store.textContent();
    const int held = content == nullptr ? 0 : getHandleSize(content);
    if (held < 1) {
        return false;
    }
    // The content ends at its NUL or at the end of its handle, whichever comes first.
    const void* nul = std::memchr(*content, 0, std::size_t(held));
    unsigned int length =
        nul == nullptr ? unsigned(held) : unsigned(static_cast<const char*>(nul) - *content);
    m_text.assign(*content, length);
    API_ParagraphType** paragraphs = store.paragraphs();
    const int count = paragraphs == nullptr ? 0
                                            : getHandleSize(reinterpret_cast<char**>(paragraphs)) /
                                                  int(sizeof(API_ParagraphType));
    for (int i = 0; i < count; ++i) {
        const API_ParagraphType& paragraph = (*paragraphs)[i];
        if (paragraph.from < 0 || paragraph.range < 0) {
            continue;
        }
        unsigned int range = i + 1 == count ? StyledString::npos : unsigned(paragraph.range);
        m_text.setTextRuler(TextRuler(paragraph), unsigned(paragraph.from), range);
        if (paragraph.run == nullptr || paragraph.numOfRuns < 1) {
            continue;
        }
        const int runs = getPtrSize(reinterpret_cast<const char*>(paragraph.run)) / int(sizeof(API_RunType));
        for (int r = 0; r < paragraph.numOfRuns && r < runs; ++r) {
            const API_RunType& run = paragraph.run[r];
            if (run.from < 0 || run.range < 0) {
                continue;
            }
            m_text.setTextStyle(TextStyle(run), unsigned(paragraph.from) + unsigned(run.from),
                                unsigned(run.range));
        }
    }
    setLoaded(true);
    return true;
}

} // namespace zelvane
