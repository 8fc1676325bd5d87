#include "ProjectAttributes.h"

#include "HostProgram.h"
#include "ScenarioInput.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <map>
#include <set>

namespace hostsim {
namespace {

using nlohmann::json;

[[noreturn]] void fail(const std::string& where, const std::string& what) {
    throw ScenarioError(where + ": " + what);
}

const json& member(const json& object, const char* key) {
    static const json none;
    return object.is_object() && object.contains(key) ? object[key] : none;
}

bool flag(const json& object, const char* key, const std::string& where) {
    const json& value = member(object, key);
    if (value.is_null()) {
        return false;
    }
    if (!value.is_boolean()) {
        fail(where + "." + key, "must be true or false");
    }
    return value.get<bool>();
}

double number(const json& object, const char* key, double low, double high, double fallback,
              const std::string& where) {
    const json& value = member(object, key);
    if (value.is_null()) {
        return fallback;
    }
    if (!value.is_number() || !std::isfinite(value.get<double>()) || value.get<double>() < low ||
        value.get<double>() > high) {
        fail(where + "." + key, "must be a number from " + json(low).dump() + " to " + json(high).dump());
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

// [red, green, blue], each from 0 to 1.
API_RGBColor colour(const json& object, const char* key, const std::string& where) {
    const json& value = member(object, key);
    API_RGBColor result;
    if (value.is_null()) {
        return result;
    }
    if (!value.is_array() || value.size() != 3) {
        fail(where + "." + key, "must be a list of red, green and blue from 0 to 1");
    }
    double channels[3];
    for (std::size_t i = 0; i < 3; ++i) {
        if (!value[i].is_number() || !(value[i].get<double>() >= 0.0) || value[i].get<double>() > 1.0) {
            fail(where + "." + key, "must be a list of red, green and blue from 0 to 1");
        }
        channels[i] = value[i].get<double>();
    }
    result.f_red = channels[0];
    result.f_green = channels[1];
    result.f_blue = channels[2];
    return result;
}

// A record of the type named by the entry's "name", unique within the type.
API_Attribute named(API_AttrTypeID type, const json& entry, const std::string& where,
                    std::set<std::string>& names) {
    if (!entry.is_object()) {
        fail(where, "must be an object");
    }
    const json& value = member(entry, "name");
    if (!value.is_string() || value.get<std::string>().empty()) {
        fail(where + ".name", "every attribute needs a name");
    }
    std::string name = value.get<std::string>();
    if (name.size() >= sizeof(API_Attr_Head::name) || name.find('\0') != std::string::npos) {
        fail(where + ".name", "must be shorter than 256 bytes, without NUL");
    }
    if (!names.insert(name).second) {
        fail(where + ".name", "another attribute of its kind is named \"" + name + "\"");
    }
    return sim::makeAttribute(type, name);
}

const json& list(const json& attributes, const char* key, const std::string& where) {
    const json& value = member(attributes, key);
    if (!value.is_null() && !value.is_array()) {
        fail(where + "." + key, "must be a list");
    }
    return value;
}

std::string item(const std::string& where, const char* key, std::size_t index) {
    return where + "." + key + "[" + std::to_string(index) + "]";
}

} // namespace

ProjectAttributes ProjectAttributes::read(const json& description, const std::string& source) {
    ProjectAttributes result;
    const json& attributes = member(description, "attributes");
    if (attributes.is_null()) {
        return result;
    }
    const std::string where = source + ".attributes";
    if (!attributes.is_object()) {
        fail(where, "must be an object");
    }

    std::set<std::string> names;
    const json& pens = list(attributes, "pens", where);
    for (std::size_t i = 0; i < pens.size(); ++i) {
        std::string at = item(where, "pens", i);
        Entry entry{named(API_PenID, pens[i], at, names), {}};
        entry.record.pen.rgb = colour(pens[i], "colour", at);
        entry.record.pen.width = number(pens[i], "width", 0.0, 100.0, 0.1, at);
        result.m_attributes.push_back(entry);
    }

    names.clear();
    std::map<std::string, API_AttributeIndex> layerIndexes;
    const json& layers = list(attributes, "layers", where);
    for (std::size_t i = 0; i < layers.size(); ++i) {
        std::string at = item(where, "layers", i);
        Entry entry{named(API_LayerID, layers[i], at, names), {}};
        GSFlags flags = (flag(layers[i], "hidden", at) ? APILay_Hidden : 0) |
                        (flag(layers[i], "locked", at) ? APILay_Locked : 0) |
                        (flag(layers[i], "wire", at) ? APILay_ForceToWire : 0);
        entry.record.header.flags = flags;
        entry.record.layer.conClassId = Int32(integer(layers[i], "group", 0, 0x7FFFFFFF, 0, at));
        layerIndexes[entry.record.header.name] = API_AttributeIndex(i + 1);
        result.m_attributes.push_back(entry);
    }

    names.clear();
    const json& combinations = list(attributes, "layerCombinations", where);
    for (std::size_t i = 0; i < combinations.size(); ++i) {
        std::string at = item(where, "layerCombinations", i);
        Entry entry{named(API_LayerCombID, combinations[i], at, names), {}};
        // Every layer has a state; those the combination does not list are hidden.
        std::map<std::string, API_LayerStat> states;
        for (const auto& [name, index] : layerIndexes) {
            API_LayerStat stat;
            stat.lInd = index;
            stat.lFlags = Int16(APILay_Hidden);
            states[name] = stat;
        }
        const json& listed = list(combinations[i], "layers", at);
        for (std::size_t k = 0; k < listed.size(); ++k) {
            std::string layerAt = item(at, "layers", k);
            const json& layerName = member(listed[k], "layer");
            if (!layerName.is_string() || states.count(layerName.get<std::string>()) == 0) {
                fail(layerAt + ".layer", "names no layer of the description");
            }
            API_LayerStat& stat = states[layerName.get<std::string>()];
            stat.lFlags = Int16((flag(listed[k], "hidden", layerAt) ? APILay_Hidden : 0) |
                                (flag(listed[k], "locked", layerAt) ? APILay_Locked : 0) |
                                (flag(listed[k], "wire", layerAt) ? APILay_ForceToWire : 0));
            stat.conClassId = Int32(integer(listed[k], "group", 0, 0x7FFFFFFF, 0, layerAt));
        }
        for (const auto& state : states) {
            entry.extra.layerStats.push_back(state.second);
        }
        // In layer order, as the host keeps a combination's table.
        std::sort(entry.extra.layerStats.begin(), entry.extra.layerStats.end(),
                  [](const API_LayerStat& a, const API_LayerStat& b) { return a.lInd < b.lInd; });
        entry.record.layerComb.lNumb = Int32(entry.extra.layerStats.size());
        result.m_attributes.push_back(entry);
    }

    names.clear();
    const json& cities = list(attributes, "cities", where);
    for (std::size_t i = 0; i < cities.size(); ++i) {
        std::string at = item(where, "cities", i);
        Entry entry{named(API_CityID, cities[i], at, names), {}};
        entry.record.city.latitude = Int16(number(cities[i], "latitude", -90.0, 90.0, 0.0, at) * 60.0);
        entry.record.city.longitude = Int16(number(cities[i], "longitude", -180.0, 180.0, 0.0, at) * 60.0);
        entry.record.city.timeZone = Int16(integer(cities[i], "timeZone", -12, 14, 0, at));
        result.m_attributes.push_back(entry);
    }

    names.clear();
    const json& materials = list(attributes, "materials", where);
    for (std::size_t i = 0; i < materials.size(); ++i) {
        std::string at = item(where, "materials", i);
        Entry entry{named(API_MaterialID, materials[i], at, names), {}};
        entry.record.material.surfaceRGB = colour(materials[i], "colour", at);
        entry.record.material.transpPc = Int16(integer(materials[i], "transparency", 0, 100, 0, at));
        result.m_attributes.push_back(entry);
    }
    return result;
}

void ProjectAttributes::apply() const {
    sim::clearAttributes();
    for (const Entry& entry : m_attributes) {
        sim::addAttribute(entry.record, entry.extra);
    }
}

} // namespace hostsim
