#include "ProjectAttributes.h"

#include "MemberReader.h"

#include <algorithm>
#include <map>
#include <set>

namespace hostsim {
namespace {

using nlohmann::json;

// [red, green, blue], each from 0 to 1.
API_RGBColor colour(const MemberReader& object, const char* key) {
    API_RGBColor result;
    if (!object.has(key)) {
        return result;
    }
    const json& value = object.member(key);
    if (!value.is_array() || value.size() != 3) {
        object.fail(key, "must be a list of red, green and blue from 0 to 1");
    }
    double channels[3];
    for (std::size_t i = 0; i < 3; ++i) {
        if (!value[i].is_number() || !(value[i].get<double>() >= 0.0) || value[i].get<double>() > 1.0) {
            object.fail(key, "must be a list of red, green and blue from 0 to 1");
        }
        channels[i] = value[i].get<double>();
    }
    result.f_red = channels[0];
    result.f_green = channels[1];
    result.f_blue = channels[2];
    return result;
}

// A record of the type named by the entry's "name", unique within the type.
API_Attribute named(API_AttrTypeID type, const MemberReader& entry, std::set<std::string>& names) {
    const json& value = entry.member("name");
    if (!value.is_string() || value.get<std::string>().empty()) {
        entry.fail("name", "every attribute needs a name");
    }
    std::string name = value.get<std::string>();
    if (name.size() >= sizeof(API_Attr_Head::name) || name.find('\0') != std::string::npos) {
        entry.fail("name", "must be shorter than 256 bytes, without NUL");
    }
    if (!names.insert(name).second) {
        entry.fail("name", "another attribute of its kind is named " + escaped(name));
    }
    return sim::makeAttribute(type, name);
}

// The hidden, locked and wire flags of a layer or of a layer's state in a combination.
GSFlags layerFlags(const MemberReader& entry) {
    return (entry.flag("hidden") ? APILay_Hidden : 0) | (entry.flag("locked") ? APILay_Locked : 0) |
           (entry.flag("wire") ? APILay_ForceToWire : 0);
}

} // namespace

ProjectAttributes ProjectAttributes::read(const json& description, const std::string& source) {
    ProjectAttributes result;
    MemberReader top(description, source);
    if (!top.has("attributes")) {
        return result;
    }
    MemberReader attributes(top.member("attributes"), source + ".attributes");
    attributes.only(vocabulary::attributes);

    std::set<std::string> names;
    const json& pens = attributes.list("pens");
    for (std::size_t i = 0; i < pens.size(); ++i) {
        MemberReader pen(pens[i], attributes.item("pens", i));
        pen.only(vocabulary::pen);
        Entry entry{named(API_PenID, pen, names), {}};
        entry.record.pen.rgb = colour(pen, "colour");
        entry.record.pen.width = pen.number("width", 0.0, 100.0, 0.1);
        result.m_attributes.push_back(entry);
    }

    names.clear();
    std::map<std::string, API_AttributeIndex> layerIndexes;
    const json& layers = attributes.list("layers");
    for (std::size_t i = 0; i < layers.size(); ++i) {
        MemberReader layer(layers[i], attributes.item("layers", i));
        layer.only(vocabulary::layer);
        Entry entry{named(API_LayerID, layer, names), {}};
        entry.record.header.flags = layerFlags(layer);
        entry.record.layer.conClassId = Int32(layer.integer("group", 0, 0x7FFFFFFF, 0));
        layerIndexes[entry.record.header.name] = API_AttributeIndex(i + 1);
        result.m_attributes.push_back(entry);
    }
    result.m_layers = layers.size();

    names.clear();
    const json& combinations = attributes.list("layerCombinations");
    for (std::size_t i = 0; i < combinations.size(); ++i) {
        MemberReader combination(combinations[i], attributes.item("layerCombinations", i));
        combination.only(vocabulary::layerCombination);
        Entry entry{named(API_LayerCombID, combination, names), {}};
        // Every layer has a state; those the combination does not list are hidden.
        std::map<std::string, API_LayerStat> states;
        for (const auto& [name, index] : layerIndexes) {
            API_LayerStat stat;
            stat.lInd = index;
            stat.lFlags = Int16(APILay_Hidden);
            states[name] = stat;
        }
        const json& listed = combination.list("layers");
        for (std::size_t k = 0; k < listed.size(); ++k) {
            MemberReader state(listed[k], combination.item("layers", k));
            state.only(vocabulary::layerState);
            const json& layerName = state.member("layer");
            if (!layerName.is_string() || states.count(layerName.get<std::string>()) == 0) {
                state.fail("layer", "names no layer of the description");
            }
            API_LayerStat& stat = states[layerName.get<std::string>()];
            stat.lFlags = Int16(layerFlags(state));
            stat.conClassId = Int32(state.integer("group", 0, 0x7FFFFFFF, 0));
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
    const json& cities = attributes.list("cities");
    for (std::size_t i = 0; i < cities.size(); ++i) {
        MemberReader city(cities[i], attributes.item("cities", i));
        city.only(vocabulary::city);
        Entry entry{named(API_CityID, city, names), {}};
        entry.record.city.latitude = Int16(city.number("latitude", -90.0, 90.0, 0.0) * 60.0);
        entry.record.city.longitude = Int16(city.number("longitude", -180.0, 180.0, 0.0) * 60.0);
        entry.record.city.timeZone = Int16(city.integer("timeZone", -12, 14, 0));
        result.m_attributes.push_back(entry);
    }

    names.clear();
    const json& materials = attributes.list("materials");
    for (std::size_t i = 0; i < materials.size(); ++i) {
        MemberReader material(materials[i], attributes.item("materials", i));
        material.only(vocabulary::material);
        Entry entry{named(API_MaterialID, material, names), {}};
        entry.record.material.surfaceRGB = colour(material, "colour");
        entry.record.material.transpPc = Int16(material.integer("transparency", 0, 100, 0));
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
