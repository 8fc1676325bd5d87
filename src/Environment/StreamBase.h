// The state shared by the text streams and the legacy binary reader: format flags and state bits.
#pragma once

namespace zelvane {

class StreamBase {
public:
    // Format flags.
    static constexpr unsigned int booleanText = 1; // booleans as "true"/"false" rather than "1"/"0"

    // State bits.
    static constexpr unsigned short endOfData = 2;
    static constexpr unsigned short failure = 4;
    // Bits that make a read fail.
    static constexpr unsigned short failMask = 5;

    StreamBase() = default;
    StreamBase(StreamBase const&) = default;
    StreamBase& operator=(StreamBase const&) = default;
    virtual ~StreamBase() = default;

    // The host error behind the last failure, 0 when there is none.
    virtual int getLastError() const = 0;

    unsigned int getFlags() const { return m_flags; }
    void setFlags(unsigned int flags) { m_flags = flags; }
    unsigned short getState() const { return m_state; }
    void setState(unsigned short state) { m_state = state; }
    void clearState() { m_state = 0; }
    bool good() const { return m_state == 0; }
    bool atEnd() const { return (m_state & endOfData) != 0; }
    bool failed() const { return (m_state & failMask) != 0; }

protected:
    void addState(unsigned short bits) { m_state = static_cast<unsigned short>(m_state | bits); }

    unsigned int m_flags = 0;
    unsigned short m_state = 0;
};

} // namespace zelvane
