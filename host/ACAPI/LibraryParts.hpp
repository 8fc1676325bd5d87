// The loaded library of GDL parts: part records, their details, parameter records and sections,
// and the functions that search, read, register, create and update parts.
#pragma once

#include "ACAPI/ErrorCodes.hpp"
#include "GSRoot/Array.hpp"
#include "GSRoot/GSRoot.hpp"
#include "GSRoot/UniString.hpp"
#include "IO/Location.hpp"

// Library-part types; 0 is no type.
using API_LibTypeID = Int32;
constexpr API_LibTypeID APILib_ZombieID = 0;
constexpr API_LibTypeID APILib_SpecID = 1;
constexpr API_LibTypeID APILib_WindowID = 2;
constexpr API_LibTypeID APILib_DoorID = 3;
constexpr API_LibTypeID APILib_ObjectID = 4;
constexpr API_LibTypeID APILib_LampID = 5;
constexpr API_LibTypeID APILib_RoomID = 6;
constexpr API_LibTypeID APILib_PropertyID = 7;
constexpr API_LibTypeID APILib_PlanSignID = 8;
constexpr API_LibTypeID APILib_LabelID = 9;
constexpr API_LibTypeID APILib_MacroID = 10;
constexpr API_LibTypeID APILib_PictID = 11;
constexpr API_LibTypeID APILib_ListSchemeID = 12;
constexpr API_LibTypeID APILib_SkylightID = 13;

// The library part has no such section.
constexpr GSErrCode APIERR_NOLIBSECT = GSErrCode(0x810600CD);
// A part of that name is loaded and overwriting was not allowed ('OWLP').
constexpr GSErrCode APIERR_NAMEALREADYUSED = GSErrCode(0x810600D0);
// Unique-ID comparison ('COMP'): the two parts are unrelated, or of one family in other versions.
constexpr GSErrCode APIERR_LIBPARTUNRELATED = GSErrCode(0x810600D1);
constexpr GSErrCode APIERR_LIBPARTOTHERVERSION = GSErrCode(0x810600D2);
// No part answers the search.
constexpr GSErrCode APIERR_LIBPARTNOTFOUND = GSErrCode(0x810600D3);
// A creation was started while another is open, or a section was added with none open.
constexpr GSErrCode APIERR_NOTCREATING = GSErrCode(0x810600D4);

// A part of the library. Texts are NUL-terminated in their fields; the location is made by the
// host for the caller, who deletes it.
struct API_LibPart {
    API_LibTypeID typeID;
    Int32 index; // 1-based; 0: none
    GS::UniChar docu_UName[256];
    GS::UniChar file_UName[256];
    bool missingDef;
    bool isTemplate;
    bool isPlaceable;
    Int32 ownerID;
    short version;
    char ownUnID[128];
    char parentUnID[128];
    IO::Location* location;
};

// Details of a part: byte 0 fixed size, byte 2 custom user interface.
struct API_LibPartDetails {
    bool fixSize;
    bool autoHotspot;
    bool customUI;
    bool reserved;
    Int32 filler[7];
};

// Parameter types of a part's parameter records.
using API_AddParID = Int32;
constexpr API_AddParID APIParT_Integer = 1;
constexpr API_AddParID APIParT_Length = 2;
constexpr API_AddParID APIParT_Angle = 3;
constexpr API_AddParID APIParT_RealNum = 4;
constexpr API_AddParID APIParT_LightSw = 5;
constexpr API_AddParID APIParT_ColRGB = 6;
constexpr API_AddParID APIParT_Intens = 7;
constexpr API_AddParID APIParT_LineTyp = 8;
constexpr API_AddParID APIParT_Mater = 9;
constexpr API_AddParID APIParT_FillPat = 10;
constexpr API_AddParID APIParT_PenCol = 11;
constexpr API_AddParID APIParT_CString = 12;
constexpr API_AddParID APIParT_Boolean = 13;
constexpr API_AddParID APIParT_Separator = 14;
constexpr API_AddParID APIParT_Title = 15;

// Type modifiers.
constexpr short API_ParSimple = 0;
constexpr short API_ParArray = 2;

// One parameter of a part, in a handle of records back to back. An array's cells are in its own
// handle: doubles, or texts of UTF-16 units each ending in a 0 unit, back to back.
struct API_AddParType {
    API_AddParID typeID;
    short index;
    short typeMod;
    char name[32];
    GS::UniChar uDescname[256];
    Int32 dim1;
    Int32 dim2;
    short flags;
    struct {
        double real;
        GS::UniChar uStr[256];
        GSHandle array;
    } value;
};

// A section of a part, by four-character type.
struct API_LibPartSection {
    GSType sectType;
    short subIdent;
    short version;
};

// The number of registered parts.
GSErrCode ACAPI_LibPart_GetNum(Int32* count);
// Finds a part and fills the record (with a new location). What is searched comes from the record:
// a parent ID: the first part after `index` whose parent ID it is; else an own ID; else the
// document name, else the file name; a type other than 0 narrows each search. APIERR_BADPARS for
// a record that names nothing, APIERR_LIBPARTNOTFOUND when no part answers.
GSErrCode ACAPI_LibPart_Search(API_LibPart* ancestor, bool createIfMissing, bool onlyPlaceable = false);
// The part of the record's index, whatever the record's type.
GSErrCode ACAPI_LibPart_Get(API_LibPart* libPart);
// The part's default parameters: a new handle of records (freed with ACAPI_DisposeAddParHdl) and
// its two sizes.
GSErrCode ACAPI_LibPart_GetParams(Int32 libInd, double* a, double* b, Int32* addParNum,
                                  API_AddParType*** addPars);
GSErrCode ACAPI_LibPart_GetDetails(Int32 libInd, API_LibPartDetails* details);
// Registers the part file at the record's location with the record's type and owner; fills the
// record. A file registered before answers its part.
GSErrCode ACAPI_LibPart_Register(API_LibPart* libPart);
// Starts making a part of the record's type and document name; sections follow, then Save.
GSErrCode ACAPI_LibPart_Create(const API_LibPart* libPart);
// Adds a section to the part being made; a text section takes the text when given, else the
// handle. A 'PARD' section takes a handle of parameter records.
GSErrCode ACAPI_LibPart_AddSection(const API_LibPartSection* section, GSConstHandle sectionHdl,
                                   const GS::UniString* sectionText);
// Ends the making: the part is added (or replaces the loaded one of that name) and the record is
// filled with it.
GSErrCode ACAPI_LibPart_Save(API_LibPart* libPart);
// Replaces a section of a loaded part.
GSErrCode ACAPI_LibPart_UpdateSection(Int32 libInd, const API_LibPartSection* section,
                                      GSConstHandle sectionHdl, const GS::UniString* sectionText);
// Sets the details of the part being made (index 0) or of a loaded part, checking the parameter
// handle.
GSErrCode ACAPI_LibPart_SetDetails_ParamDef(const API_LibPart* libPart, API_AddParType** addPars,
                                            const API_LibPartDetails* details);
// Builds a parameter-definition section ('PARD') from parameter records and the two sizes: a new
// handle.
GSErrCode ACAPI_LibPart_GetSect_ParamDef(const API_LibPart* libPart, API_AddParType** addPars, double a,
                                         double b, GSHandle* sectionHdl);
// The headers of a part's sections: a new handle of records.
GSErrCode ACAPI_LibPart_GetSectionList(Int32 libInd, Int32* count, API_LibPartSection*** sections);
// A section: a new handle of its bytes and, for a text section when asked, its text.
GSErrCode ACAPI_LibPart_GetSection(Int32 libInd, const API_LibPartSection* section, GSHandle* sectionHdl,
                                   GS::UniString* sectionText);
// Frees a handle of parameter records with every array handle in it, and sets it to null.
GSErrCode ACAPI_DisposeAddParHdl(API_AddParType*** addPars);

// Goodies of the library (ACAPI_Goodies):
// par1: const char* own ID, par2: const char* ID — NoError when the first part derives from (or is)
// the second, APIERR_LIBPARTUNRELATED when not.
constexpr GSType APIAny_CheckLibPartSubtypeOfID = MakeGSType("CLPS");
// par1, par2: const char* IDs — NoError when equal, APIERR_LIBPARTOTHERVERSION for another
// version of one family, APIERR_LIBPARTUNRELATED otherwise.
constexpr GSType APIAny_CompareLibPartUnIdsID = MakeGSType("COMP");
// par1: Int32 resource ID (by value), par2: char[128] — the unique ID of a built-in part.
constexpr GSType APIAny_GetLibPartUnIDByResID = MakeGSType("GLUI");

// A loaded library folder.
struct API_LibraryInfo {
    IO::Location location;
};

// Library folders (ACAPI_Environment): 'GLIB' par1: GS::Array<API_LibraryInfo>* (filled), par2:
// Int32* the embedded library's position (-1: none); 'SLIB' par1: const GS::Array<API_LibraryInfo>*
// (replaces them); 'ALIB' par1: const IO::Location* (adds one). ACAPI_Automate 'LLIB' par1: const
// GS::Array<API_LibraryInfo>* loads those folders again.
constexpr GSType APIEnv_GetLibrariesID = MakeGSType("GLIB");
constexpr GSType APIEnv_SetLibrariesID = MakeGSType("SLIB");
constexpr GSType APIEnv_AddLibrariesID = MakeGSType("ALIB");
constexpr GSType APIEnv_OverwriteLibPartID = MakeGSType("OWLP");
constexpr GSType APIDo_ReloadLibrariesID = MakeGSType("LLIB");
