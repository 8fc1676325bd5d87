// hostsim building a project from its description, and reporting it, while the host's allocations
// fail: every element and tool comes out whole, or the build or report fails naming the one the
// host could not store or read.
#include "ElementReport.h"
#include "HostProgram.h"
#include "ProjectDescription.h"

#include "sim/ElementTable.h"
#include "sim/Memory.h"
#include "sim/Project.h"
#include "sim/Sim.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <set>
#include <sstream>
#include <string>

namespace {

// A wall with a door, an object and a tool default with parameters, and a marker with both lines:
// everything the build stores in host blocks.
const char* const description = R"({
    "library": [{"name": "Chair"}, {"name": "Door", "type": "door"}],
    "databases": [{"kind": "section", "name": "S"}],
    "toolDefaults": [{"type": 6, "part": "Chair", "A": 0.6,
                      "parameters": [{"name": "mat", "type": "string", "value": "Oak"}]}],
    "elements": [
        {"name": "W-1", "type": 1, "info": "W-1", "start": [0, 0], "end": [5, 0]},
        {"name": "D-1", "type": 5, "info": "D-1", "wall": "W-1", "part": "Door", "distance": 1},
        {"name": "O-1", "type": 6, "info": "O-1", "part": "Chair", "A": 0.7,
         "parameters": [{"name": "mat", "type": "string", "value": "Beech"}]},
        {"name": "M-1", "type": 25, "info": "M-1", "marks": "S", "line": [[0, 1], [5, 1]],
         "secondLine": [[0, 3], [5, 3]]}]})";

// The floor plan's elements and the tools' defaults, as hostsim reports them.
std::string built() {
    std::ostringstream report;
    for (const GS::Guid& guid : sim::elementsOf(GS::Guid())) {
        report << sim::elementInfo(guid) << "\n";
        hostsim::writeElementDetails(report, guid);
    }
    hostsim::writeToolDefaults(report);
    return report.str();
}

// Builds the description into a new project, the allocation after `skip` failing (none for -1);
// answers the build's failure, empty when it was built.
std::string build(int skip) {
    sim::reset();
    sim::openProject("");
    hostsim::ProjectDescription project =
        hostsim::ProjectDescription::read(nlohmann::json::parse(description), "project description test");
    if (skip >= 0) {
        sim::failNextAllocations(1, ErrMemoryFull, skip);
    }
    std::string failure;
    try {
        project.apply();
    } catch (const hostsim::ScenarioError& error) {
        failure = error.what();
    }
    sim::failNextAllocations(0);
    return failure;
}

} // namespace

TEST(ProjectBuildTest, AnAllocationFailingFailsTheBuildNamingTheElement) {
    std::size_t before = sim::memoryStats().allocations;
    ASSERT_EQ(build(-1), "");
    const std::size_t allocations = sim::memoryStats().allocations - before;
    const std::string whole = built();
    for (const char* part : {"from (0, 0) to (5, 0)", "doors: \"D-1\"", "parameter \"mat\" \"Beech\"",
                             "second line (0, 3) (5, 3)", "parameter \"mat\" \"Oak\""}) {
        ASSERT_NE(whole.find(part), std::string::npos) << part << "\n" << whole;
    }

    // Reporting the project built whole, the failing allocation walked through the report.
    before = sim::memoryStats().allocations;
    built();
    const std::size_t reads = sim::memoryStats().allocations - before;
    std::set<std::string> unread;
    for (int skip = 0; skip < int(reads); ++skip) {
        sim::failNextAllocations(1, ErrMemoryFull, skip);
        try {
            EXPECT_EQ(built(), whole) << "reported without a word after " << skip << " allocations";
        } catch (const hostsim::ScenarioError& error) {
            unread.insert(std::string(error.what()).substr(0, std::string(error.what()).find(" (error 0x")));
        }
        sim::failNextAllocations(0);
    }
    EXPECT_EQ(unread, (std::set<std::string>{
                          "project: \"W-1\": the host could not read its doors and windows",
                          "project: \"O-1\": the host could not read its parameters",
                          "project: \"M-1\": the host could not read its lines",
                          "project: the defaults of tool type 6: the host could not read its parameters",
                      }));

    // Walking the failing allocation through all of them.
    std::set<std::string> failures;
    for (int skip = 0; skip < int(allocations); ++skip) {
        std::string failure = build(skip);
        if (failure.empty()) {
            EXPECT_EQ(built(), whole) << "built without a word after " << skip << " allocations";
        } else {
            EXPECT_NE(failure.find("(error 0x"), std::string::npos) << failure;
            failures.insert(failure.substr(0, failure.find(" (error")));
        }
    }
    for (const char* failure : {
             "project description test.toolDefaults[0]: the host could not store its parameters",
             "project description test.elements[0] (\"W-1\"): the host could not store the doors and windows "
             "of the wall",
             "project description test.elements[2] (\"O-1\"): the host could not store its parameters",
             "project description test.elements[3] (\"M-1\"): the host could not store its line",
             "project description test.elements[3] (\"M-1\"): the host could not store its second line",
         }) {
        EXPECT_EQ(failures.count(failure), 1u) << "never failed: " << failure;
    }
}
