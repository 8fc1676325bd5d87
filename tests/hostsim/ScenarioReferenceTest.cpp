// examples/README.md is the reference of what hostsim reads: every step kind, member and action that
// hostsim's tables take is named there, in the part that describes its object, and every section of
// a report is listed in order. house.project.json uses every member of a project description.
#include "HostsimRun.h"
#include "ScenarioVocabulary.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <fstream>
#include <iterator>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

using namespace hostsim_test;
namespace vocabulary = hostsim::vocabulary;

namespace {

std::vector<std::string> readLines(const std::filesystem::path& path) {
    std::ifstream in(path);
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);) {
        lines.push_back(line);
    }
    return lines;
}

std::size_t indentOf(const std::string& line) {
    return line.find_first_not_of(' ') == std::string::npos ? line.size() : line.find_first_not_of(' ');
}

int headingLevel(const std::string& line) {
    std::size_t level = line.find_first_not_of('#');
    return level != std::string::npos && level > 0 && line[level] == ' ' ? int(level) : 0;
}

// Lines [begin, end) of the reference.
struct Part {
    std::size_t begin = 0;
    std::size_t end = 0;
};

// The part a label starts within `outer`: the first line that begins with the label after its indent,
// up to the next heading of its level or above (for a heading), or to the next line indented no
// deeper than it (for a list entry, whose continuation lines and entries are indented).
Part find(const std::vector<std::string>& lines, Part outer, const std::string& label) {
    for (std::size_t i = outer.begin; i < outer.end; ++i) {
        if (lines[i].compare(indentOf(lines[i]), label.size(), label) != 0) {
            continue;
        }
        const int level = headingLevel(lines[i]);
        const std::size_t indent = indentOf(lines[i]);
        std::size_t end = i + 1;
        for (; end < outer.end; ++end) {
            const std::string& line = lines[end];
            if (level > 0 ? headingLevel(line) > 0 && headingLevel(line) <= level
                          : !line.empty() && indentOf(line) <= indent) {
                break;
            }
        }
        return {i, end};
    }
    return {outer.end, outer.end};
}

// The text that describes an object: the part its label path leads to, and the lead of each part
// on the way (what it says before its first entry), which names the members its entries share.
std::string describing(const std::vector<std::string>& lines, const std::vector<std::string>& path,
                       std::string& missing) {
    Part part{0, lines.size()};
    std::string text;
    for (std::size_t step = 0; step < path.size(); ++step) {
        part = find(lines, part, path[step]);
        if (part.begin == part.end) {
            missing = path[step];
            return "";
        }
        const bool last = step + 1 == path.size();
        const int level = headingLevel(lines[part.begin]);
        for (std::size_t i = part.begin; i < part.end; ++i) {
            const std::string& line = lines[i];
            const bool entry = line.compare(indentOf(line), 2, "- ") == 0;
            if (!last && i > part.begin && entry &&
                (level > 0 || indentOf(line) > indentOf(lines[part.begin]))) {
                break;
            }
            text += line + "\n";
        }
    }
    return text;
}

const std::string format = "## The scenario format";
const std::string steps = "### Steps";
const std::string scripts = "### Scripts";
const std::string descriptions = "### Project descriptions";

std::string quoted(std::string_view name) {
    return "\"" + std::string(name) + "\"";
}

// Where the reference describes each table's object, and where house.project.json gives its
// members (none for a scenario's objects).
struct Place {
    std::vector<std::string> reference;
    std::vector<std::string> house;
};

const std::map<const vocabulary::Members*, Place>& places() {
    static const std::map<const vocabulary::Members*, Place> table = {
        {&vocabulary::scenario, {{format, "### A scenario"}, {}}},
        {&vocabulary::addOn, {{format, "### A scenario", "- `\"addons\"`"}, {}}},
        {&vocabulary::moduleData, {{format, steps, "- `{\"moduleData\""}, {}}},
        {&vocabulary::script, {{format, scripts}, {}}},
        {&vocabulary::dialogAction, {{format, scripts, "- `\"dialogs\"`"}, {}}},
        {&vocabulary::fault, {{format, scripts, "- `\"faults\"`"}, {}}},
        {&vocabulary::fileAnswer, {{format, scripts, "- `\"files\"`"}, {}}},
        {&vocabulary::settingsAnswer, {{format, scripts, "- `\"settingsDialog\"`"}, {}}},
        {&vocabulary::description, {{format, descriptions}, {""}}},
        {&vocabulary::storey, {{format, descriptions, "- `\"storeys\"`"}, {"storeys[]"}}},
        {&vocabulary::database, {{format, descriptions, "- `\"databases\"`"}, {"databases[]"}}},
        {&vocabulary::element, {{format, descriptions, "- `\"elements\"`"}, {"elements[]"}}},
        {&vocabulary::object,
         {{format, descriptions, "- `\"elements\"`", "- objects (6) and lamps (7):"}, {"elements[]"}}},
        {&vocabulary::opening,
         {{format, descriptions, "- `\"elements\"`", "- doors (5) and windows (4):"}, {"elements[]"}}},
        {&vocabulary::wall, {{format, descriptions, "- `\"elements\"`", "- walls (1):"}, {"elements[]"}}},
        {&vocabulary::marker,
         {{format, descriptions, "- `\"elements\"`", "- section (25) and elevation (33) markers:"},
          {"elements[]"}}},
        {&vocabulary::toolDefault, {{format, descriptions, "- `\"toolDefaults\"`"}, {"toolDefaults[]"}}},
        {&vocabulary::userData, {{format, descriptions, "- `\"elements\"`"}, {"elements[].userData"}}},
        {&vocabulary::ifc, {{format, descriptions, "- `\"elements\"`", "- `\"ifc\"`"}, {"elements[].ifc"}}},
        {&vocabulary::ifcProperty,
         {{format, descriptions, "- `\"elements\"`", "- `\"ifc\"`"}, {"elements[].ifc.properties[]"}}},
        {&vocabulary::ifcAttribute,
         {{format, descriptions, "- `\"elements\"`", "- `\"ifc\"`"}, {"elements[].ifc.attributes[]"}}},
        {&vocabulary::ifcClassification,
         {{format, descriptions, "- `\"elements\"`", "- `\"ifc\"`"}, {"elements[].ifc.classifications[]"}}},
        {&vocabulary::attributes, {{format, descriptions, "- `\"attributes\"`"}, {"attributes"}}},
        {&vocabulary::pen,
         {{format, descriptions, "- `\"attributes\"`", "- `\"pens\"`"}, {"attributes.pens[]"}}},
        {&vocabulary::layer,
         {{format, descriptions, "- `\"attributes\"`", "- `\"layers\"`"}, {"attributes.layers[]"}}},
        {&vocabulary::layerCombination,
         {{format, descriptions, "- `\"attributes\"`", "- `\"layerCombinations\"`"},
          {"attributes.layerCombinations[]"}}},
        {&vocabulary::layerState,
         {{format, descriptions, "- `\"attributes\"`", "- `\"layerCombinations\"`"},
          {"attributes.layerCombinations[].layers[]"}}},
        {&vocabulary::city,
         {{format, descriptions, "- `\"attributes\"`", "- `\"cities\"`"}, {"attributes.cities[]"}}},
        {&vocabulary::material,
         {{format, descriptions, "- `\"attributes\"`", "- `\"materials\"`"}, {"attributes.materials[]"}}},
        {&vocabulary::libraryPart, {{format, descriptions, "- `\"library\"`"}, {"library[]"}}},
        {&vocabulary::parameter,
         {{format, descriptions, "- `\"library\"`", "- `\"parameters\"`"},
          {"library[].parameters[]", "elements[].parameters[]", "toolDefaults[].parameters[]"}}},
    };
    return table;
}

const std::vector<std::string>& reference() {
    static const std::vector<std::string> lines = readLines(sourceDir / "examples" / "README.md");
    return lines;
}

// Fails naming each of `names` that the text describing `object` (reached by `path`) does not
// give in quotes.
template <typename Names>
void expectNamed(const std::vector<std::string>& path, const std::string& object, const Names& names) {
    std::string missing;
    const std::string text = describing(reference(), path, missing);
    if (!missing.empty()) {
        ADD_FAILURE() << "examples/README.md has no part \"" << missing << "\" to describe " << object;
        return;
    }
    for (const auto& name : names) {
        EXPECT_TRUE(contains(text, quoted(name)))
            << "examples/README.md does not name " << quoted(name) << " of " << object << " in:\n"
            << text;
    }
}

// The members of every object in a JSON value, by where the object stands ("elements[].ifc").
void collectMembers(const nlohmann::json& value, const std::string& where,
                    std::map<std::string, std::set<std::string>>& members) {
    if (value.is_object()) {
        for (auto it = value.begin(); it != value.end(); ++it) {
            members[where].insert(it.key());
            collectMembers(it.value(), where.empty() ? it.key() : where + "." + it.key(), members);
        }
    } else if (value.is_array()) {
        for (const nlohmann::json& item : value) {
            collectMembers(item, where + "[]", members);
        }
    }
}

} // namespace

TEST(ScenarioReferenceTest, TheReferenceNamesEveryStepMemberAndActionHostsimTakes) {
    for (const vocabulary::Members& kind : vocabulary::steps) {
        const std::string object = "a \"" + std::string(kind.object()) + "\" step";
        expectNamed({format, steps, "- `{" + quoted(kind.object())}, object, kind);
    }
    for (const vocabulary::Members* table : vocabulary::memberTables) {
        auto place = places().find(table);
        if (place == places().end()) {
            ADD_FAILURE() << "no part of examples/README.md is known to describe " << table->object();
            continue;
        }
        expectNamed(place->second.reference, std::string(table->object()), *table);
    }
    std::vector<std::string_view> actions;
    for (const vocabulary::ProjectAction& action : vocabulary::projectActions) {
        actions.push_back(action.name);
    }
    expectNamed({format, steps, "- `{\"project\""}, "the project actions", actions);
    actions.clear();
    for (const vocabulary::DialogActionName& action : vocabulary::dialogActions) {
        actions.push_back(action.name);
    }
    expectNamed({format, scripts, "- `\"dialogs\"`"}, "the dialog actions", actions);
    expectNamed({format, steps, "- `{\"entry\""}, "the entry points", vocabulary::entryPoints);
    expectNamed({format, steps, "- `{\"hostFile\""}, "the host's folders", vocabulary::hostFolders);
}

TEST(ScenarioReferenceTest, TheReferenceListsTheReportSectionsInOrder) {
    std::string missing;
    const std::string text = describing(reference(), {format, "### The report"}, missing);
    ASSERT_TRUE(missing.empty()) << "examples/README.md has no part " << missing;
    // Between them, these reports have every section.
    for (const char* scenario : {"presets.json", "house.json"}) {
        SCOPED_TRACE(scenario);
        HostsimRun run = runHostsim(sourceDir / "examples" / scenario);
        ASSERT_EQ(run.status, 0) << run.output;
        std::istringstream report(run.output);
        std::size_t after = 0;
        for (std::string line; std::getline(report, line);) {
            if (line.empty() || line[0] == ' ' || line.back() != ':') {
                continue;
            }
            const std::size_t at = text.find("`" + line + "`");
            EXPECT_NE(at, std::string::npos) << "the reference does not list the section \"" << line << "\"";
            if (at != std::string::npos) {
                EXPECT_GT(at, after) << "the reference lists \"" << line << "\" before the sections above it";
                after = at;
            }
        }
    }
}

TEST(ScenarioReferenceTest, TheHouseUsesEveryMemberOfAProjectDescription) {
    std::ifstream in(sourceDir / "examples" / "house.project.json");
    const nlohmann::json house = nlohmann::json::parse(in, nullptr, false);
    ASSERT_TRUE(house.is_object());
    std::map<std::string, std::set<std::string>> members;
    collectMembers(house, "", members);
    for (const auto& [table, place] : places()) {
        if (place.house.empty()) {
            continue;
        }
        std::set<std::string> given;
        for (const std::string& where : place.house) {
            given.insert(members[where].begin(), members[where].end());
        }
        for (std::string_view name : *table) {
            EXPECT_EQ(given.count(std::string(name)), 1u)
                << "house.project.json gives no " << quoted(name) << " of " << table->object();
        }
    }
}
