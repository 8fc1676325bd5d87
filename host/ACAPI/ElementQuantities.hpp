// Quantities the host measures for an element: members of the element itself and, for composite
// structures, one record per skin.
#pragma once

#include "ACAPI/Elements.hpp"
#include "GSRoot/Array.hpp"

// What to measure with: openings smaller than the minimum size are not deducted.
struct API_QuantityPar {
    double minOpeningSize = 0.0;
};

// A wall's own quantities: its side surfaces (reference, opposite, edges), volumes, lengths along
// each side and its centre, its openings, heights, holes and the columns in it.
struct API_WallQuantity {
    double surface1 = 0.0;
    double surface2 = 0.0;
    double surface3 = 0.0;
    double volume = 0.0;
    double grossVolume = 0.0;
    double grossSurf1 = 0.0;
    double grossSurf2 = 0.0;
    double refLength = 0.0;
    double oppLength = 0.0;
    double centerLength = 0.0;
    double doorsSurf = 0.0;
    double doorsWidth = 0.0;
    double windowsSurf = 0.0;
    double minHeight = 0.0;
    double maxHeight = 0.0;
    double holesSurf = 0.0;
    double holesVolume = 0.0;
    Int32 columnsNumber = 0;
};

// A door's or window's own quantities: its two surfaces, whole surface, volumes and reveals.
struct API_WindowQuantity {
    double surface1 = 0.0;
    double surface2 = 0.0;
    double surface = 0.0;
    double volume = 0.0;
    double grossVolume = 0.0;
    double revealWidth = 0.0;
    double revealHeight = 0.0;
};
using API_DoorQuantity = API_WindowQuantity;

// The element's own quantities (one member per quantity the host measures), and a wall's, a
// window's or a door's.
struct API_ElementQuantity {
    double volume = 0.0;
    double surface = 0.0;
    double area = 0.0;
    double length = 0.0;
    API_WallQuantity wall;
    API_WindowQuantity window;
    API_DoorQuantity door;
};

// One skin of a composite structure: its building material, volume and projected area.
struct API_CompositeQuantity {
    short buildMatIndices = 0;
    double volumes = 0.0;
    double projectedArea = 0.0;
};

// Where the host writes: the element record and the skin records.
struct API_Quantities {
    API_ElementQuantity* elements = nullptr;
    GS::Array<API_CompositeQuantity>* composites = nullptr;
};

// Which members to measure: a member whose first byte is not 0 is asked for.
struct API_QuantitiesMask {
    API_ElementQuantity elements;
    API_CompositeQuantity composites;
};

// Fills the members the mask marks (the others are left alone) and replaces the skin array when
// any skin member is marked. APIERR_BADID for an unknown element, APIERR_BADPARS without records.
GSErrCode ACAPI_Element_GetQuantities(const API_Guid& guid, const API_QuantityPar* params,
                                      API_Quantities* quantities, const API_QuantitiesMask* mask);
