// The layout of one list column, as the host's tab-field record: where it starts and ends, and how
// its texts are justified and truncated.
#pragma once

#include "GSRoot/GSRoot.hpp"

#include <algorithm>

namespace zelvane {

class ListColumnStyle {
public:
    // A column of the width from start; both taken at 0 when negative.
    explicit ListColumnStyle(Int16 width = 0, Int16 start = 0)
        : m_start(std::max<Int16>(start, 0)), m_end(Int16(std::max<Int16>(width, 0) + m_start)) {}
    virtual ~ListColumnStyle() = default;
    virtual ListColumnStyle* clone() const { return new ListColumnStyle(*this); }

    Int16 getStart() const { return m_start; }
    Int16 getEnd() const { return m_end; }
    Int16 getWidth() const { return Int16(m_end - m_start); }
    Int16 getJustification() const { return m_justification; }
    Int16 getTruncation() const { return m_truncation; }
    Int16 getFlags() const { return m_flags; }
    void setStart(Int16 start) { m_start = start; }
    void setEnd(Int16 end) { m_end = end; }
    void setJustification(Int16 justification) { m_justification = justification; }
    void setTruncation(Int16 truncation) { m_truncation = truncation; }
    void setFlags(Int16 flags) { m_flags = flags; }

    bool operator==(const ListColumnStyle& other) const {
        return m_start == other.m_start && m_end == other.m_end && m_justification == other.m_justification &&
               m_truncation == other.m_truncation && m_flags == other.m_flags;
    }

private:
    Int16 m_start;
    Int16 m_end;
    Int16 m_justification = 0;
    Int16 m_truncation = 4096;
    Int16 m_flags = 0;
};

} // namespace zelvane
