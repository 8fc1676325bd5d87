// A worksheet of the project.
#pragma once

#include "Database/Drawing.h"

namespace zelvane {

class Worksheet : public Drawing {
public:
    using Drawing::Drawing;

    String getDescription() const override { return "Worksheet"; }
    API_WindowTypeID getType() const override { return APIWind_WorksheetID; }
    Int32 getNavigationType() const override { return 22; }
    // Renames the worksheet; answers the host's result.
    virtual GSErrCode setName(const String& name);
};

} // namespace zelvane
