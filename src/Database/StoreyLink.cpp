#include "Database/StoreyLink.h"

namespace zelvane {

StoreyLink::StoreyLink(short above, short below, bool all, bool onHome)
    : m_above(above), m_below(below), m_onHome(onHome ? 1 : 0), m_onAllAbove(all), m_onAllBelow(all) {}

StoreyLink::StoreyLink(const API_StoryVisibility& visibility, const API_LinkToSettings& linkTo)
    : m_above(visibility.showRelAbove), m_below(visibility.showRelBelow),
      m_homeOffset(linkTo.homeStoryOffset), m_isFixedHome(linkTo.fixedHomeStory ? 1 : 0),
      m_onHome(visibility.showOnHome ? 1 : 0), m_onAllAbove(visibility.showAllAbove ? 1 : 0),
      m_onAllBelow(visibility.showAllBelow ? 1 : 0) {}

StoreyLink::operator API_StoryVisibility() const {
    API_StoryVisibility visibility;
    visibility.showOnHome = m_onHome != 0;
    visibility.showAllAbove = m_onAllAbove != 0;
    visibility.showAllBelow = m_onAllBelow != 0;
    visibility.showRelAbove = m_above;
    visibility.showRelBelow = m_below;
    return visibility;
}

StoreyLink::operator API_LinkToSettings() const {
    API_LinkToSettings linkTo;
    linkTo.homeStoryOffset = m_homeOffset;
    linkTo.fixedHomeStory = m_isFixedHome != 0;
    return linkTo;
}

} // namespace zelvane
