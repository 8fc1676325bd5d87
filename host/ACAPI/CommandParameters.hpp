// Parameter lists of add-on commands: a host handle of named, typed records, built and read
// through the goodies requests below.
#pragma once

#include "ACAPI/Goodies.hpp"

enum API_MDCLParameterType : Int32 {
    MDCLPar_string = 1,
    MDCLPar_int = 2,
    MDCLPar_float = 3,
    MDCLPar_pointer = 4,
    MDCLPar_boolean = 5,
};

struct API_MDCLParameter {
    Int32 index = 0;            // 1-based position in the list
    const char* name = nullptr; // UTF-8, at most 255 bytes
    Int32 type = 0;             // API_MDCLParameterType
    Int32 modified = 0;
    Int32 int_par = 0;
    double float_par = 0.0;
    const char* string_par = nullptr;
    void* ptr_par = nullptr;
    bool bool_par = false;
};

// par1: GSHandle* — makes a new, empty list in *par1 (freed with FreeMDCLParameterList).
constexpr API_GoodiesID APIAny_InitMDCLParameterListID = MakeGSType("ICLP");
// par1: GSHandle, par2: const API_MDCLParameter* — appends a copy of the record (its texts are
// copied); the record's index is ignored, the new one is the list's length.
constexpr API_GoodiesID APIAny_AddMDCLParameterID = MakeGSType("ACLP");
// par1: GSHandle, par2: Int32* — the number of records.
constexpr API_GoodiesID APIAny_GetMDCLParameterNumID = MakeGSType("NCLP");
// par1: GSHandle, par2: API_MDCLParameter* — fills the record of the given 1-based index; its
// texts point into the list and stay valid while the list is unchanged.
constexpr API_GoodiesID APIAny_GetMDCLParameterID = MakeGSType("GCLP");
// par1: GSHandle* — frees the list and sets *par1 to null.
constexpr API_GoodiesID APIAny_FreeMDCLParameterListID = MakeGSType("FCLP");
