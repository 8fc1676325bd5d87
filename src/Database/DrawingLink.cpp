#include "Database/DrawingLink.h"

#include "Attribute/Storey.h"
#include "Database/Plan.h"
#include "Environment/Host.h"

namespace zelvane {

namespace {

bool isPlanOrModel(API_WindowTypeID type) {
    return type == 0 || type == APIWind_FloorPlanID || type == APIWind_3DModelID;
}

} // namespace

bool DrawingLink::operator==(const DrawingLink& other) const {
    if (m_type != other.m_type) {
        return false;
    }
    return isPlanOrModel(m_type) || !m_id || m_id == other.m_id;
}

bool DrawingLink::operator<(const DrawingLink& other) const {
    if (m_type != other.m_type) {
        return m_type < other.m_type;
    }
    if (!isPlanOrModel(m_type) && m_id) {
        return GS::Guid(m_id).Compare(GS::Guid(other.m_id)) < 0;
    }
    return short(m_storey) < short(other.m_storey);
}

bool DrawingLink::isValid() const {
    if (m_type == 0) {
        return false;
    }
    return isPlanOrModel(m_type) || bool(m_id);
}

bool DrawingLink::hasStoreys() const {
    return isPlanOrModel(m_type) || !m_id;
}

bool DrawingLink::isSameDatabaseAs(const DrawingLink& other) const {
    bool bothPlanOrModel = (m_type == APIWind_FloorPlanID || m_type == APIWind_3DModelID) &&
                           (other.m_type == APIWind_FloorPlanID || other.m_type == APIWind_3DModelID);
    if (m_type != other.m_type && !bothPlanOrModel) {
        return false;
    }
    return isPlanOrModel(m_type) || !m_id || m_id == other.m_id;
}

void DrawingLink::setStorey(const Storey& storey) {
    m_storey = storey.getIndex();
}

Storey* DrawingLink::getStorey() const {
    Plan* plan = hasStoreys() ? host.getFrontPlan() : nullptr;
    return plan != nullptr ? plan->getStorey(short(m_storey)) : nullptr;
}

void DrawingLink::clear(bool withStorey) {
    m_type = 0;
    m_id.clear();
    if (withStorey) {
        m_storey = attribute_index();
    }
}

} // namespace zelvane
