#include "ToolDefaults.h"

#include "HostProgram.h"

#include "ACAPI/ElementMemo.hpp"
#include "sim/ElementMemos.h"
#include "sim/ElementTable.h"
#include "sim/Library.h"

#include <cstring>
#include <set>
#include <utility>

namespace hostsim {

ToolDefaults ToolDefaults::read(const MemberReader& top, const ProjectLibrary& library) {
    ToolDefaults result;
    if (!top.has("toolDefaults")) {
        return result;
    }
    const nlohmann::json& list = top.list("toolDefaults");
    std::set<std::pair<API_ElemTypeID, API_ElemVariationID>> tools;
    for (std::size_t i = 0; i < list.size(); ++i) {
        MemberReader entry(list[i], top.item("toolDefaults", i));
        entry.only(vocabulary::toolDefault, vocabulary::elementKinds);
        if (!entry.has("type")) {
            entry.fail("type", "is missing");
        }
        Tool tool;
        tool.record.header.typeID = API_ElemTypeID(entry.integer("type", 1, 100, 0));
        tool.record.header.variationID = entry.code("variation");
        if (!tools.emplace(tool.record.header.typeID, tool.record.header.variationID).second) {
            entry.fail("type", "the defaults of this tool are given twice");
        }
        tool.placement = ElementPlacement::read(entry, tool.record, library);
        tool.index = i;
        if (!tool.placement.wall().empty()) {
            entry.fail("wall", "a tool's default is placed in no wall");
        }
        result.m_tools.push_back(std::move(tool));
    }
    return result;
}

void ToolDefaults::apply(const std::string& source) const {
    for (const Tool& tool : m_tools) {
        sim::setDefaults(tool.record);
        std::vector<sim::LibParameter> parameters = tool.placement.parameters();
        if (parameters.empty()) {
            continue;
        }
        API_ElementMemo memo;
        std::memset(static_cast<void*>(&memo), 0, sizeof memo);
        GSErrCode err = sim::writeParameterRecords(parameters, &memo.params);
        if (err == NoError) {
            err = sim::storeDefaultMemo(tool.record.header.typeID, tool.record.header.variationID, &memo);
        }
        ACAPI_DisposeElemMemoHdls(&memo);
        if (err != NoError) {
            throw ScenarioError(source + ".toolDefaults[" + std::to_string(tool.index) +
                                "]: the host could not store its parameters (error " + errorText(err) + ")");
        }
    }
}

} // namespace hostsim
