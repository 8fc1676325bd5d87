// The simulated host's loaded library: parts 1..N with their records, details, sections and
// default parameters, and the family relations the goodies answer from.
#pragma once

#include "ACAPI/LibraryParts.hpp"

#include <map>
#include <string>
#include <vector>

namespace sim {

// A default parameter: its record (the array handle is not used) and, for an array, its cells as
// the host keeps them (doubles, or UTF-16 texts each ending in a 0 unit).
struct LibParameter {
    API_AddParType record{};
    std::vector<char> arrayBytes;
};
LibParameter scalarParameter(API_AddParID type, const std::string& name, double value, short flags = 0);
LibParameter textParameter(const std::string& name, const std::string& text, short flags = 0);
// An array of dim1 x dim2 cells (the dimensions as the record holds them, 0 allowed).
LibParameter numberArray(API_AddParID type, const std::string& name, Int32 dim1, Int32 dim2,
                         const std::vector<double>& cells);
LibParameter textArray(const std::string& name, Int32 dim1, Int32 dim2,
                       const std::vector<std::string>& cells);

struct LibPartDef {
    API_LibTypeID type = APILib_ObjectID;
    std::string name;     // the document name
    std::string fileName; // empty: the name followed by ".gsm"
    std::string ownID;    // "{GUID}-{GUID}"
    std::string parentID;
    std::string location; // a path, empty for none
    bool missing = false;
    bool isTemplate = false;
    bool placeable = true;
    Int32 ownerID = 0;
    short version = 0;
    API_LibPartDetails details{};
    std::map<GSType, std::string> sections; // text sections as UTF-8 text
    std::vector<LibParameter> parameters;
    double a = 1.0;
    double b = 1.0;
};

// Adds a part at the end of the library and answers its index.
Int32 addLibPart(const LibPartDef& part);
// Removes every part.
void clearLibrary();
// The part of an index (null outside 1..count); changes to it are the host's. Searches after
// this call find the part by the names it has then: change them before the next search.
LibPartDef* libPart(Int32 index);
// The part of an index, to read (null outside 1..count).
const LibPartDef* loadedLibPart(Int32 index);
Int32 libPartCount();
// Whether the text is one of the host's text sections.
bool isTextSection(GSType type);

// 'CLPS' answers that a part derives from another when the other is itself, is recorded here, or
// is reached through parent IDs.
void setSubtype(const std::string& ownID, const std::string& ancestorID);
// The unique ID 'GLUI' answers for a built-in part's resource ID.
void setBuiltinPart(Int32 resourceID, const std::string& uniqueID);

// A new handle of parameter records with their array handles, as the host hands them out.
GSErrCode writeParameterRecords(const std::vector<LibParameter>& parameters, API_AddParType*** records);
// The records of a handle, with copies of their array cells; false for a handle that holds no
// whole records or an array without its handle.
bool readParameterRecords(API_AddParType** records, std::vector<LibParameter>& parameters);

// The loaded library folders (paths) and the position of the embedded one (-1: none).
void setLibraryFolders(const std::vector<std::string>& folders, Int32 embedded = -1);
const std::vector<std::string>& libraryFolders();
// How often the folders were loaded again ('LLIB').
int libraryReloads();

// Whether the library may overwrite a loaded part of the same name ('OWLP').
bool isLibPartOverwriteAllowed();
// Whether a part is being made (Create without Save).
bool isCreatingLibPart();

} // namespace sim
