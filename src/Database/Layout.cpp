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
    m_isRead = false;
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
    m_isRead = err == NoError;
    return m_isRead;
}

const API_LayoutInfo& Layout::getData() const {
    retrieveData();
    return *m_data;
}

bool Layout::readForChange() const {
    // A sheet zeroed by a failed read would clear the host's sheet when written back.
    if (m_data != nullptr && !m_isRead) {
        dropData();
    }
    return retrieveData();
}

bool Layout::writeData(API_LayoutInfo& data) {
    GS::Guid id(getID());
    GSErrCode err = ACAPI_Environment(APIEnv_ChangeLayoutSetsID, &data, &id);
    setLastError(err);
    if (err != NoError) {
        return false;
    }
    *m_data = data;
    return true;
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
    if (!readForChange()) {
        return false;
    }
    API_LayoutInfo data = *m_data;
    number.copyTo(data.customLayoutNumber, sizeof data.customLayoutNumber);
    if (custom) {
        data.customLayoutNumbering = 1;
    }
    return writeData(data);
}

String Layout::getCurrentRevision() const {
    return String(getData().currentRevisionId, sizeof getData().currentRevisionId);
}

bool Layout::setCurrentRevision(const String& revision) {
    if (!readForChange()) {
        return false;
    }
    API_LayoutInfo data = *m_data;
    revision.copyTo(data.currentRevisionId, sizeof data.currentRevisionId);
    return writeData(data);
}

String Layout::getFinalRevision() const {
    return String(getData().currentFinalRevisionId, sizeof getData().currentFinalRevisionId);
}

bool Layout::setFinalRevision(const String& revision) {
    if (!readForChange()) {
        return false;
    }
    API_LayoutInfo data = *m_data;
    revision.copyTo(data.currentFinalRevisionId, sizeof data.currentFinalRevisionId);
    return writeData(data);
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
    if (!other.readForChange()) {
        return false;
    }
    setMaster(other.getMaster());
    if (!readForChange()) {
        return false;
    }
    API_LayoutInfo copy = other.getData();
    copy.customData = m_data->customData; // ours stays ours
    return writeData(copy);
}

} // namespace zelvane
