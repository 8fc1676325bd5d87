#include "ProjectReport.h"

#include "ElementReport.h"
#include "HostProgram.h"

#include "sim/Databases.h"
#include "sim/ElementTable.h"
#include "sim/Project.h"

#include <string>

namespace hostsim {
namespace {

const char* kindName(API_WindowTypeID type) {
    switch (type) {
    case APIWind_SectionID:
        return "section";
    case APIWind_DetailID:
        return "detail";
    case APIWind_LayoutID:
        return "layout";
    case APIWind_MasterLayoutID:
        return "master layout";
    case APIWind_ElevationID:
        return "elevation";
    case APIWind_InteriorElevationID:
        return "interior elevation";
    case APIWind_WorksheetID:
        return "worksheet";
    case APIWind_DocumentFrom3DID:
        return "3D document";
    default:
        return "database";
    }
}

// One line an element, named by its listing ID (GUIDs differ from run to run).
void writeElements(std::ostream& report, const GS::Guid& database) {
    for (const GS::Guid& guid : sim::elementsOf(database)) {
        API_Elem_Head head = sim::element(guid).header;
        report << "    type " << head.typeID;
        std::string info = sim::elementInfo(guid);
        if (!info.empty()) {
            report << " " << escaped(info);
        }
        report << " layer " << head.layer << " floor " << head.floorInd;
        if (head.locked) {
            report << " locked";
        }
        if (!head.groupGuid.IsNull()) {
            report << " grouped";
        }
        if (sim::hasUserData(guid)) {
            report << " user data " << sim::userData(guid).bytes.size() << " bytes";
        }
        report << "\n";
        writeElementDetails(report, guid);
    }
}

} // namespace

void writeProject(std::ostream& report) {
    if (!sim::isProjectOpen()) {
        return;
    }
    report << "project:\n";
    report << "  floor plan: " << sim::elementsOf(GS::Guid()).size() << " elements, current storey "
           << sim::currentStorey() << "\n";
    writeElements(report, GS::Guid());
    for (const sim::DatabaseRecord& database : sim::databases()) {
        report << "  " << kindName(database.type) << " " << escaped(database.name) << ": "
               << sim::elementsOf(database.id).size() << " elements\n";
        writeElements(report, database.id);
    }
    report << "  selection: " << sim::selection().size() << " elements\n";
    writeToolDefaults(report);
    report << "  active window: ";
    if (sim::currentDatabase().IsNull()) {
        report << "the floor plan\n";
    } else {
        for (const sim::DatabaseRecord& database : sim::databases()) {
            if (database.id == sim::currentDatabase()) {
                report << kindName(database.type) << " " << escaped(database.name) << "\n";
            }
        }
    }
}

} // namespace hostsim
