// What a project description says of one element beyond its header: an object's or lamp's library
// part, placement, size, IFC data and unloaded part's name; a wall's line and size; a door's or
// window's wall, part, size and place in it; a marker's pen, levels and lines. Read and checked with the
// element, put into the simulated host once the element is added.
#pragma once

#include "MemberReader.h"
#include "ProjectLibrary.h"

#include "ACAPI/Elements.hpp"
#include "sim/IFC.h"

#include <optional>
#include <string>
#include <vector>

namespace hostsim {

class ElementPlacement {
public:
    // Reads the members of the record's element type into the record; throws ScenarioError naming
    // the member at fault.
    static ElementPlacement read(const MemberReader& entry, API_Element& record,
                                 const ProjectLibrary& library);

    // The name of the wall a door or window is placed in (empty for other elements).
    const std::string& wall() const { return m_wall; }

    // Gives the added element its size parameters, marker lines, IFC data and unloaded part's name;
    // throws ScenarioError (saying what of the element) when the host cannot store them.
    void apply(const GS::Guid& guid) const;

    // An object's or lamp's parameters as its memo holds them: its sizes (the part's own for those
    // not given), then its own (none when the description gives neither).
    std::vector<sim::LibParameter> parameters() const;

private:
    static void readObject(const MemberReader& entry, API_ObjectType& object, const ProjectLibrary& library,
                           ElementPlacement& result);
    static void readOpening(const MemberReader& entry, API_WindowType& opening, const ProjectLibrary& library,
                            ElementPlacement& result);
    static void readWall(const MemberReader& entry, API_WallType& wall);
    static void readMarker(const MemberReader& entry, API_MarkerType& marker, ElementPlacement& result);
    static Int32 readPart(const MemberReader& entry, const ProjectLibrary& library);
    static sim::IFCItems readIFC(const MemberReader& ifc);

    std::string m_wall;
    std::optional<double> m_a;
    std::optional<double> m_b;
    std::optional<double> m_zzyzx;
    double m_partSizes[3] = {1.0, 1.0, 1.0};     // the part's own A, B and ZZYZX, for those not given
    std::vector<sim::LibParameter> m_parameters; // an object's own, after its sizes
    std::optional<sim::IFCItems> m_ifc;
    std::string m_unloadedName;
    std::vector<API_Coord> m_line;       // a section or elevation marker's line
    std::vector<API_Coord> m_secondLine; // and its second (depth) line
};

} // namespace hostsim
