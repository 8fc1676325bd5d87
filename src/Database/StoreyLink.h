// On which storeys an element shows and how it is tied to its home storey.
#pragma once

#include "ACAPI/Storeys.hpp"

namespace zelvane {

class StoreyLink {
public:
    // Shown on its home storey (unless onHome is false), on `above` storeys above and `below`
    // below, and with `all` on every storey above and below.
    StoreyLink(short above = 0, short below = 0, bool all = false, bool onHome = true);
    StoreyLink(const API_StoryVisibility& visibility, const API_LinkToSettings& linkTo);

    short getAbove() const { return m_above; }
    short getBelow() const { return m_below; }
    short getHomeOffset() const { return m_homeOffset; }
    bool isFixedHome() const { return m_isFixedHome != 0; }
    bool isOnHome() const { return m_onHome != 0; }
    bool isOnAllAbove() const { return m_onAllAbove != 0; }
    bool isOnAllBelow() const { return m_onAllBelow != 0; }

    void setOnAllAbove(bool on) { m_onAllAbove = on ? 1 : 0; }
    void setOnAllBelow(bool on) { m_onAllBelow = on ? 1 : 0; }

    operator API_StoryVisibility() const;
    operator API_LinkToSettings() const;

private:
    Int16 m_above;
    Int16 m_below;
    Int16 m_homeOffset = 0;
    [[maybe_unused]] UInt8 m_reserved = 0;
    UInt8 m_isFixedHome = 0;
    UInt8 m_onHome = 1;
    UInt8 m_onAllAbove;
    UInt8 m_onAllBelow;
};

} // namespace zelvane
