#include "Database/Worksheet.h"

#include "ACAPI/DatabaseInfo.hpp"

namespace zelvane {

GSErrCode Worksheet::setName(const String& name) {
    API_DatabaseInfo info;
    GSErrCode err = readDatabaseInfo(info);
    if (err != NoError) {
        return err;
    }
    name.copyTo(info.name, sizeof info.name);
    return writeDatabaseInfo(info);
}

} // namespace zelvane
