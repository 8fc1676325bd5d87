// The tool defaults of a project description ("toolDefaults"): for a tool (an element type and
// variation), its default element's part, sizes and parameters, as the user would have set them in
// the tool's settings dialog. Read and checked with the description, put into the host with it.
#pragma once

#include "ElementPlacement.h"
#include "MemberReader.h"
#include "ProjectLibrary.h"

#include "ACAPI/Elements.hpp"

#include <vector>

namespace hostsim {

class ToolDefaults {
public:
    // Reads the description's "toolDefaults" member (none when absent); throws ScenarioError naming
    // the member at fault.
    static ToolDefaults read(const MemberReader& top, const ProjectLibrary& library);

    // Makes each listed element the default of its tool, with its parameters as the default memo;
    // throws ScenarioError naming the tool (after `source`, the description) when the host cannot
    // store them.
    void apply(const std::string& source) const;

private:
    struct Tool {
        API_Element record;
        ElementPlacement placement;
        std::size_t index = 0; // in the description's list
    };
    std::vector<Tool> m_tools;
};

} // namespace hostsim
