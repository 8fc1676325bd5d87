#include "Database/Layout.h"

#include "Database/Project.h"
#include "GSRoot/UniString.hpp"
#include "Geometry/Cube.h"

#include <cstring>
#include <memory>

namespace zelvane {

Layout::Layout(Project* project, const DatabaseGuid& id, bool master)
    : Drawing(project, id), m_isMaster(master) {}

Layout::~Layout() {
    dropData();
}

void Layout::dropData() const {
    if (m_data != nullptr) {
        delete m_data->customData;
        delete m_data;
        m_data = nullptr;
    }
}

void Layout::initialise() {
    dropData();
}

bool Layout::retrieveData() const {
    setLastError(NoError);
    if (m_data != nullptr) {
        return true;
    }
    auto data = std::make_unique<API_LayoutInfo>();
    GS::Guid id(getID());
    GSErrCode err = ACAPI_Environment(APIEnv_GetLayoutSetsID, data.get(), &id);
    if (err != NoError) {
        delete data->customData;
        *data = API_LayoutInfo();
        setLastError(err);
    }
    m_data = data.release();
    return err == NoError;
}

const API_LayoutInfo& Layout::getData() const {
    retrieveData();
    return *m_data;
}

bool Layout::writeData() {
    GS::Guid id(getID());
    GSErrCode err = ACAPI_Environment(APIEnv_ChangeLayoutSetsID, m_data, &id);
    setLastError(err);
    return err == NoError;
}

DrawingLink Layout::getMaster() const {
    if (isMaster()) {
        return DrawingLink();
    }
    API_DatabaseInfo info;
    if (readDatabaseInfo(info) != NoError) {
        return DrawingLink();
    }
    return DrawingLink(APIWind_MasterLayoutID, Guid(info.masterLayoutUnId));
}

bool Layout::setMaster(const DrawingLink& master) {
    if (isMaster() || !activate()) {
        return false;
    }
    API_DatabaseInfo info;
    GSErrCode err = readDatabaseInfo(info);
    if (err == NoError) {
        info.masterLayoutUnId = GS::Guid(master.getID());
        err = writeDatabaseInfo(info);
    }
    dropData();
    return err == NoError;
}

String Layout::getCustomNumber() const {
    return String(getData().customLayoutNumber, sizeof getData().customLayoutNumber);
}

bool Layout::isCustomNumber() const {
    return getData().customLayoutNumbering != 0;
}

bool Layout::setCustomNumber(const String& number, bool custom) {
    retrieveData();
    number.copyTo(m_data->customLayoutNumber, sizeof m_data->customLayoutNumber);
    if (custom) {
        m_data->customLayoutNumbering = 1;
    }
    return writeData();
}

String Layout::getCurrentRevision() const {
    return String(getData().currentRevisionId, sizeof getData().currentRevisionId);
}

bool Layout::setCurrentRevision(const String& revision) {
    retrieveData();
    revision.copyTo(m_data->currentRevisionId, sizeof m_data->currentRevisionId);
    return writeData();
}

String Layout::getFinalRevision() const {
    return String(getData().currentFinalRevisionId, sizeof getData().currentFinalRevisionId);
}

bool Layout::setFinalRevision(const String& revision) {
    retrieveData();
    revision.copyTo(m_data->currentFinalRevisionId, sizeof m_data->currentFinalRevisionId);
    return writeData();
}

Cube Layout::getSize() const {
    const API_LayoutInfo& data = getData();
    return Cube(0.0, 0.0, 0.0, data.sizeX, data.sizeY, 0.0);
}

Cube Layout::getPrintableRegion() const {
    const API_LayoutInfo& data = getData();
    return Cube(data.leftMargin, data.bottomMargin, 0.0, data.sizeX - data.rightMargin,
                data.sizeY - data.topMargin, 0.0);
}

bool Layout::copyAppearanceOf(const Layout& other) {
    if (&other == this) {
        return true;
    }
    setMaster(other.getMaster());
    retrieveData();
    const API_LayoutInfo& from = other.getData();
    API_LayoutCustomData* custom = m_data->customData;
    API_LayoutInfo copy = from;
    copy.customData = custom; // ours stays ours
    *m_data = copy;
    return writeData();
}

} // namespace zelvane
