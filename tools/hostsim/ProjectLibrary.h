// The loaded library of a project description ("library"): library parts with their type, names,
// unique IDs, flags, sizes, script sections and default parameters, read and checked whole before
// they replace the simulated host's library.
#pragma once

#include "MemberReader.h"

#include "sim/Library.h"

#include <nlohmann/json.hpp>

#include <filesystem>
#include <string>
#include <unordered_map>
#include <vector>

namespace hostsim {

class ProjectLibrary {
public:
    // Reads the description's "library" member (none when absent); throws ScenarioError naming
    // `source` and the member at fault. A relative "location" is taken from `folder`, the
    // description's own.
    static ProjectLibrary read(const nlohmann::json& description, const std::string& source,
                               const std::filesystem::path& folder = {});

    // Replaces the host's library parts by these, in the order listed (indexes from 1). Without a
    // "library" member the host's library is left as it is. An "embeddedLibrary" (a folder of the
    // sandbox's documents, made when missing) becomes the one loaded library folder, the embedded
    // one.
    void apply() const;

    std::size_t size() const { return m_parts.size(); }
    // The parts listed, in order (none without a "library" member).
    const std::vector<sim::LibPartDef>& parts() const { return m_parts; }

    // One default parameter as a part lists it (`{"name", "type", "value"}`, or "rows",
    // "columns" and "values" for an array); throws ScenarioError naming the member at fault.
    static sim::LibParameter readParameter(const MemberReader& entry);

    // The index a part will have once the description is applied: the description's own parts
    // when it lists a library, the host's loaded ones otherwise. 0 for a name no part has.
    Int32 indexOf(const std::string& name) const;
    // How many parts the project's library will hold.
    Int32 count() const;
    // The part an index will have once the description is applied; null outside 1 to count.
    const sim::LibPartDef* part(Int32 index) const;

private:
    bool m_given = false;
    std::string m_embedded; // the embedded library's folder in the sandbox's documents
    std::vector<sim::LibPartDef> m_parts;
    std::unordered_map<std::string, Int32> m_indexes; // of m_parts by name
    std::vector<Int32> m_centred; // indexes of the parts whose box is centred on the hotspot
};

} // namespace hostsim
