// A layout or master layout of the project, with its sheet: paper and margins, its number and
// revisions. The sheet is read from the host on first use; when that fails a zeroed sheet answers
// every question without asking the host again.
#pragma once

#include "ACAPI/DatabaseInfo.hpp"
#include "Database/Drawing.h"
#include "Geometry/Cube.h"

namespace zelvane {

class Layout : public Drawing {
public:
    Layout(Project* project, const DatabaseGuid& id, bool master);
    ~Layout() override;

    String getDescription() const override { return isMaster() ? "Master Layout" : "Layout"; }
    API_WindowTypeID getType() const override { return APIWind_LayoutID; }
    Int32 getNavigationType() const override { return 14; }
    bool isMaster() const { return m_isMaster != 0; }

    // The sheet record (read on first use).
    virtual const API_LayoutInfo& getData() const;
    // Reads the sheet unless held; false when the host refuses (a zeroed sheet is held then).
    bool retrieveData() const;
    // Drops the held sheet so that it is read afresh.
    void initialise();

    // The master layout of a layout; a cleared link for a master layout or when the host cannot
    // tell.
    DrawingLink getMaster() const;
    bool setMaster(const DrawingLink& master);
    String getCustomNumber() const;
    bool isCustomNumber() const;
    // The setters change the sheet as read from the host: when the held sheet is not (its read
    // failed) it is read again, and when that fails nothing changes and they answer false.
    // Writes the number; custom sets the custom flag (false leaves it as it was).
    bool setCustomNumber(const String& number, bool custom);
    String getCurrentRevision() const;
    bool setCurrentRevision(const String& revision);
    String getFinalRevision() const;
    bool setFinalRevision(const String& revision);
    // New boxes: the sheet, and the region inside the margins.
    Cube getSize() const;
    Cube getPrintableRegion() const;
    // Takes the master, paper, margins, number and revisions of the other layout; false, and the
    // sheet unchanged, when either sheet cannot be read.
    bool copyAppearanceOf(const Layout& other);

private:
    // The held sheet, read again when it was zeroed by a failed read; false when it cannot be.
    bool readForChange() const;
    // Writes the sheet to the host and, when the host takes it, holds it.
    bool writeData(API_LayoutInfo& data);
    void dropData() const;

    UInt8 m_isMaster;
    mutable API_LayoutInfo* m_data = nullptr;
    mutable bool m_isRead = false;
};

} // namespace zelvane
