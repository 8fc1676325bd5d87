// A project description of a scenario: the drawing databases, storeys, elements and selection
// that the host's project holds when a "project" step opens it. Read and checked whole before it
// is put into the simulated host, so that a malformed description changes nothing.
#pragma once

#include "ElementPlacement.h"
#include "ProjectAttributes.h"
#include "ProjectLibrary.h"
#include "ToolDefaults.h"

#include "ACAPI/Elements.hpp"
#include "ACAPI/Selection.hpp"
#include "sim/Databases.h"
#include "sim/ElementTable.h"
#include "sim/Storeys.h"

#include <nlohmann/json.hpp>

#include <filesystem>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace hostsim {

class ProjectDescription {
public:
    // Reads the description; throws ScenarioError naming `source` and the member at fault. Paths
    // in it are relative to `folder`, the description's own.
    static ProjectDescription read(const nlohmann::json& description, const std::string& source,
                                   const std::filesystem::path& folder = {});

    // Puts the databases, storeys, elements and selection into the simulated host's open project,
    // letting each element of the description go once it is there: a description is applied once.
    // Throws ScenarioError, naming the element or tool, when the host cannot store what it holds.
    void apply();

    std::size_t elementCount() const { return m_elements.size(); }
    const ProjectLibrary& library() const { return m_library; }

private:
    struct Element {
        API_Element record;
        std::string database; // a database's name; empty: the floor plan
        std::string proxyOf;  // the element a proxy stands for
        std::string marks;    // the database a section or elevation marker opens
        std::string group;
        std::optional<sim::UserDataRecord> userData;
        std::string info;
        std::string compound;
        ElementPlacement placement;
    };

    // Gives each wall the lists of the doors and windows placed in it.
    // (Both keyed by the wall's name; `named` gives the GUIDs of named elements.)
    void applyOpenings(const std::map<std::string, std::vector<GS::Guid>>& windows,
                       const std::map<std::string, std::vector<GS::Guid>>& doors,
                       const std::map<std::string, GS::Guid>& named) const;
    // Where element i stands in the description, with its name when it has one.
    std::string elementWhere(std::size_t i) const;

    std::string m_source; // the description as messages name it

    std::vector<sim::DatabaseRecord> m_databases;
    std::map<std::string, std::string> m_masters; // layout name -> master layout name
    std::optional<std::vector<sim::Storey>> m_storeys;
    double m_top = 0.0;
    short m_currentStorey = 0;
    std::vector<std::string> m_names;                 // of the elements, "" when unnamed
    std::vector<std::unique_ptr<Element>> m_elements; // null once applied
    std::vector<std::string> m_selection;
    API_SelTypeID m_selectionType = API_SelElems;
    ProjectAttributes m_attributes;
    ProjectLibrary m_library;
    ToolDefaults m_toolDefaults;
    std::string m_activeWindow; // a database's name; empty: the floor plan
};

} // namespace hostsim
