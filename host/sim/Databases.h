// The simulated host's drawing databases: the floor plan and the 3D model (always there, ID
// null), the databases added to a project, which one is current, and the front window.
#pragma once

#include "ACAPI/DatabaseInfo.hpp"

#include <string>
#include <vector>

namespace sim {

struct DatabaseRecord {
    API_WindowTypeID type = 0;
    GS::Guid id; // a null ID gets a new one
    std::string name;
    std::string title;
    std::string reference;
    GS::Guid master;       // layouts
    API_LayoutInfo layout; // layouts and master layouts (customData stays null)
    API_Box zoom{0.0, 0.0, 10.0, 10.0};
    API_Box extent{0.0, 0.0, 10.0, 10.0};
    double scale = 100.0;
    double pixelSize = 0.01; // model units per pixel
};

// Adds a database (not the floor plan or the 3D model); answers its ID.
GS::Guid addDatabase(const DatabaseRecord& record);
bool hasDatabase(API_WindowTypeID type, const GS::Guid& id);
// The record of a database of the project; throws std::out_of_range for none. The floor plan and
// the 3D model answer a record of their own.
DatabaseRecord database(API_WindowTypeID type, const GS::Guid& id = GS::Guid());
void changeDatabase(const DatabaseRecord& record);
// The databases added to the project, in the order they were added.
std::vector<DatabaseRecord> databases();

// The current database: its window type and ID (null for the floor plan and the 3D model, which
// share their elements). The floor plan after a reset.
void setCurrentDatabase(API_WindowTypeID type, const GS::Guid& id = GS::Guid());
API_WindowTypeID currentWindowType();
GS::Guid currentDatabase();
// The front window (the floor plan after a reset); a window type of 6, 7 or 8 is a window that
// is no database view.
void setFrontWindow(API_WindowTypeID type, const GS::Guid& id = GS::Guid());

// How often the current database was redrawn ('DRDB') and rebuilt ('RBDB', 'RBLD'), and the
// last zoom asked ('ZOOM'; fit: no box).
int redrawCount();
int rebuildCount();

// The index of the floor plan's current storey (0 after a reset).
void setCurrentStorey(short index);
short currentStorey();

} // namespace sim
