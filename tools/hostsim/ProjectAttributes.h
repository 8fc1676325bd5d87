// The attributes of a project description ("attributes"): pens, layers with their flags and
// groups, layer combinations, cities and surface materials, read and checked whole before they
// are put into the simulated host's attribute tables.
#pragma once

#include "ACAPI/Attributes.hpp"
#include "sim/Attributes.h"

#include <nlohmann/json.hpp>

#include <string>
#include <vector>

namespace hostsim {

class ProjectAttributes {
public:
    // Reads the description's "attributes" member (none when absent); throws ScenarioError
    // naming `source` and the member at fault.
    static ProjectAttributes read(const nlohmann::json& description, const std::string& source);

    // Replaces the host's attributes by these, each type's in the order listed.
    void apply() const;

    std::size_t size() const { return m_attributes.size(); }
    // The layers it lists, indexed from 1.
    std::size_t layerCount() const { return m_layers; }

private:
    struct Entry {
        API_Attribute record;
        sim::AttributeExtra extra;
    };
    std::vector<Entry> m_attributes;
    std::size_t m_layers = 0;
};

} // namespace hostsim
