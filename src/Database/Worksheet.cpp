#include "Database/Worksheet.h"

#include "ACAPI/DatabaseInfo.hpp"

namespace zelvane {

GSErrCode Worksheet::setName(const String& name) {
    API_DatabaseInfo info;
    info.typeID = getType();
    info.databaseUnId = GS::Guid(getID());
    GSErrCode err = ACAPI_Database(APIDb_GetDatabaseInfoID, &info);
    if (err == NoError) {
        name.copyTo(info.name, sizeof info.name);
        err = ACAPI_Database(APIDb_ModifyDatabaseID, &info);
    }
    setLastError(err);
    return err;
}

} // namespace zelvane
