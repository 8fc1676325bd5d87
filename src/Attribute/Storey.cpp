#include "Attribute/Storey.h"

#include "Database/Plan.h"
#include "Environment/Host.h"

#include <cmath>

namespace zelvane {

Storey::Storey(Drawing* drawing, const String& name, attribute_index index, double level, double height)
    : m_drawing(drawing), m_name(name), m_index(index), m_level(level), m_height(height) {}

Storey::Storey(const API_StoryType& record, double nextLevel)
    : m_drawing(host.getFrontPlan()), m_name(record.uName, unsigned(sizeof record.uName)),
      m_index(record.index), m_level(record.level), m_height(nextLevel - record.level) {}

Storey::Storey(const AttributeLink& link)
    : Attribute(link), m_drawing(host.getFrontPlan()), m_index(link.getIndex()), m_level(0.0), m_height(0.0) {
}

int Storey::positionOf(double z, double tolerance) const {
    if (std::fabs(z - m_level) <= tolerance) {
        return atLevel;
    }
    if (std::fabs(z - (m_level + m_height)) <= tolerance) {
        return atTop;
    }
    if (m_level - z > tolerance) {
        return below;
    }
    if (z - (m_level + m_height) > tolerance) {
        return above;
    }
    return within;
}

} // namespace zelvane
