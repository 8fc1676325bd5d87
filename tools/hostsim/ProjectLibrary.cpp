#include "ProjectLibrary.h"

#include "GSRoot/Guid.hpp"
#include "HostProgram.h"
#include "ScenarioInput.h"

#include <cmath>
#include <map>
#include <set>

namespace hostsim {
namespace {

using nlohmann::json;

const std::map<std::string, API_LibTypeID> partTypes = {
    {"window", APILib_WindowID},     {"door", APILib_DoorID},   {"object", APILib_ObjectID},
    {"lamp", APILib_LampID},         {"zone", APILib_RoomID},   {"property", APILib_PropertyID},
    {"label", APILib_LabelID},       {"macro", APILib_MacroID}, {"picture", APILib_PictID},
    {"skylight", APILib_SkylightID},
};

const std::map<std::string, API_AddParID> parameterTypes = {
    {"integer", APIParT_Integer},  {"length", APIParT_Length},       {"angle", APIParT_Angle},
    {"real", APIParT_RealNum},     {"lightSwitch", APIParT_LightSw}, {"colour", APIParT_ColRGB},
    {"intensity", APIParT_Intens}, {"lineStyle", APIParT_LineTyp},   {"material", APIParT_Mater},
    {"fill", APIParT_FillPat},     {"pen", APIParT_PenCol},          {"string", APIParT_CString},
    {"boolean", APIParT_Boolean},  {"separator", APIParT_Separator}, {"title", APIParT_Title},
};

[[noreturn]] void fail(const std::string& where, const std::string& what) {
    throw ScenarioError(where + ": " + what);
}

const json& member(const json& object, const char* key) {
    static const json none;
    return object.contains(key) ? object[key] : none;
}

std::string text(const json& object, const char* key, const std::string& where, std::size_t limit) {
    const json& value = member(object, key);
    if (value.is_null()) {
        return "";
    }
    if (!value.is_string()) {
        fail(where + "." + key, "must be a text");
    }
    std::string result = value.get<std::string>();
    if (result.size() > limit) {
        fail(where + "." + key, "must be at most " + std::to_string(limit) + " bytes");
    }
    return result;
}

bool flag(const json& object, const char* key, bool fallback, const std::string& where) {
    const json& value = member(object, key);
    if (value.is_null()) {
        return fallback;
    }
    if (!value.is_boolean()) {
        fail(where + "." + key, "must be true or false");
    }
    return value.get<bool>();
}

double number(const json& value, const std::string& where) {
    if (!value.is_number() || !std::isfinite(value.get<double>())) {
        fail(where, "must be a number");
    }
    return value.get<double>();
}

Int64 integer(const json& object, const char* key, Int64 low, Int64 high, Int64 fallback,
              const std::string& where) {
    const json& value = member(object, key);
    if (value.is_null()) {
        return fallback;
    }
    if (!isIntegerIn(value, low, high)) {
        fail(where + "." + key,
             "must be an integer from " + std::to_string(low) + " to " + std::to_string(high));
    }
    return value.get<Int64>();
}

// A unique ID: two GUID texts in braces joined by "-".
std::string uniqueID(const json& object, const char* key, const std::string& where) {
    std::string id = text(object, key, where, 127);
    if (id.empty()) {
        return id;
    }
    auto guid = [&id](std::size_t at) {
        if (id[at] != '{' || id[at + 37] != '}') {
            return false;
        }
        GS::Guid value;
        return value.ConvertFromString(id.substr(at + 1, 36).c_str()) == NoError;
    };
    if (id.size() != 77 || id[38] != '-' || !guid(0) || !guid(39)) {
        fail(where + "." + key, "must be two GUID texts in braces joined by \"-\"");
    }
    return id;
}

sim::LibParameter parameter(const json& entry, const std::string& where) {
    if (!entry.is_object()) {
        fail(where, "must be an object");
    }
    std::string name = text(entry, "name", where, 31);
    if (name.empty()) {
        fail(where + ".name", "every parameter needs a name");
    }
    std::string kind = text(entry, "type", where, 32);
    auto found = parameterTypes.find(kind);
    if (found == parameterTypes.end()) {
        fail(where + ".type", "unknown parameter type \"" + kind + "\"");
    }
    API_AddParID type = found->second;
    short flags = short(integer(entry, "flags", 0, 32767, 0, where));
    bool isText = type == APIParT_CString;
    if (!entry.contains("values")) {
        const json& value = member(entry, "value");
        if (isText) {
            return sim::textParameter(name, text(entry, "value", where, 255), flags);
        }
        double real = value.is_null()      ? 0.0
                      : value.is_boolean() ? (value.get<bool>() ? 1.0 : 0.0)
                                           : number(value, where + ".value");
        return sim::scalarParameter(type, name, real, flags);
    }
    Int32 rows = Int32(integer(entry, "rows", 0, 1 << 16, 1, where));
    Int32 columns = Int32(integer(entry, "columns", 0, 1 << 16, 1, where));
    const json& values = entry["values"];
    if (!values.is_array()) {
        fail(where + ".values", "must be a list");
    }
    if (values.size() != std::size_t(std::max(rows, 1)) * std::size_t(std::max(columns, 1))) {
        fail(where + ".values", "must hold rows x columns values");
    }
    sim::LibParameter result;
    if (isText) {
        std::vector<std::string> cells;
        for (std::size_t i = 0; i < values.size(); ++i) {
            if (!values[i].is_string()) {
                fail(where + ".values[" + std::to_string(i) + "]", "must be a text");
            }
            cells.push_back(values[i].get<std::string>());
        }
        result = sim::textArray(name, rows, columns, cells);
    } else {
        std::vector<double> cells;
        for (std::size_t i = 0; i < values.size(); ++i) {
            cells.push_back(number(values[i], where + ".values[" + std::to_string(i) + "]"));
        }
        result = sim::numberArray(type, name, rows, columns, cells);
    }
    result.record.flags = flags;
    return result;
}

} // namespace

ProjectLibrary ProjectLibrary::read(const json& description, const std::string& source) {
    ProjectLibrary result;
    if (!description.contains("library")) {
        return result;
    }
    const json& list = description["library"];
    std::string where = source + ".library";
    if (!list.is_array()) {
        fail(where, "must be a list");
    }
    result.m_given = true;
    std::set<std::string> names;
    for (std::size_t i = 0; i < list.size(); ++i) {
        const json& entry = list[i];
        std::string at = where + "[" + std::to_string(i) + "]";
        if (!entry.is_object()) {
            fail(at, "must be an object");
        }
        sim::LibPartDef part;
        part.name = text(entry, "name", at, 255);
        if (part.name.empty()) {
            fail(at + ".name", "every library part needs a name");
        }
        if (!names.insert(part.name).second) {
            fail(at + ".name", "another library part is named \"" + part.name + "\"");
        }
        std::string kind = text(entry, "type", at, 32);
        auto type = partTypes.find(kind.empty() ? "object" : kind);
        if (type == partTypes.end()) {
            fail(at + ".type", "unknown library part type \"" + kind + "\"");
        }
        part.type = type->second;
        part.fileName = text(entry, "file", at, 255);
        part.ownID = uniqueID(entry, "id", at);
        part.parentID = uniqueID(entry, "parent", at);
        part.location = text(entry, "location", at, 1024);
        part.missing = flag(entry, "missing", false, at);
        part.isTemplate = flag(entry, "template", false, at);
        part.placeable = flag(entry, "placeable", true, at);
        part.ownerID = Int32(integer(entry, "owner", 0, 0x7FFFFFFF, 0, at));
        part.version = short(integer(entry, "version", 0, 32767, 0, at));
        part.details.fixSize = flag(entry, "fixedSize", false, at);
        part.details.customUI = flag(entry, "customInterface", false, at);
        part.a = entry.contains("a") ? number(entry["a"], at + ".a") : 1.0;
        part.b = entry.contains("b") ? number(entry["b"], at + ".b") : 1.0;
        if (entry.contains("sections")) {
            const json& sections = entry["sections"];
            if (!sections.is_object()) {
                fail(at + ".sections", "must be an object");
            }
            for (const auto& [code, content] : sections.items()) {
                if (code.size() != 4) {
                    fail(at + ".sections." + code, "must be named by a four-character code");
                }
                if (!content.is_string()) {
                    fail(at + ".sections." + code, "must be a text");
                }
                part.sections[MakeGSType({code[0], code[1], code[2], code[3], 0})] =
                    content.get<std::string>();
            }
        }
        if (entry.contains("parameters")) {
            const json& parameters = entry["parameters"];
            if (!parameters.is_array()) {
                fail(at + ".parameters", "must be a list");
            }
            for (std::size_t p = 0; p < parameters.size(); ++p) {
                part.parameters.push_back(
                    parameter(parameters[p], at + ".parameters[" + std::to_string(p) + "]"));
            }
        }
        result.m_parts.push_back(std::move(part));
    }
    return result;
}

void ProjectLibrary::apply() const {
    if (!m_given) {
        return;
    }
    sim::clearLibrary();
    for (const sim::LibPartDef& part : m_parts) {
        sim::addLibPart(part);
    }
}

Int32 ProjectLibrary::indexOf(const std::string& name) const {
    for (Int32 index = 1; index <= count(); ++index) {
        const sim::LibPartDef* part = m_given ? &m_parts[std::size_t(index - 1)] : sim::libPart(index);
        if (part != nullptr && part->name == name) {
            return index;
        }
    }
    return 0;
}

Int32 ProjectLibrary::count() const {
    return m_given ? Int32(m_parts.size()) : sim::libPartCount();
}

} // namespace hostsim
