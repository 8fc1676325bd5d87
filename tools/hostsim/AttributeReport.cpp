#include "AttributeReport.h"

#include "HostProgram.h"

#include "sim/Attributes.h"

#include <cstdio>
#include <cstring>
#include <string>

namespace hostsim {
namespace {

const struct {
    API_AttrTypeID type;
    const char* name;
} kinds[] = {
    {API_PenID, "pen"},
    {API_LayerID, "layer"},
    {API_LinetypeID, "line type"},
    {API_FilltypeID, "fill"},
    {API_CompWallID, "composite"},
    {API_MaterialID, "material"},
    {API_CityID, "city"},
    {API_LayerCombID, "layer combination"},
    {API_ZoneCatID, "zone category"},
    {API_FontID, "font"},
    {API_ProfileID, "profile"},
    {API_BuildingMaterialID, "building material"},
};

// A name, which fills its field without a terminating zero at most.
std::string name(const char* field, std::size_t size) {
    return std::string(field, strnlen(field, size));
}

std::string number(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%g", value);
    return text;
}

std::string colour(const API_RGBColor& rgb) {
    return "[" + number(rgb.f_red) + ", " + number(rgb.f_green) + ", " + number(rgb.f_blue) + "]";
}

std::string details(const API_Attribute& record, const sim::AttributeExtra& extra) {
    switch (record.header.typeID) {
    case API_PenID:
        return " colour " + colour(record.pen.rgb) + " width " + number(record.pen.width);
    case API_LayerID:
        return " flags " + std::to_string(record.header.flags) + " group " +
               std::to_string(record.layer.conClassId);
    case API_LayerCombID: {
        std::string states = " layers";
        for (const API_LayerStat& stat : extra.layerStats) {
            states += " " + std::to_string(stat.lInd) + ":" + std::to_string(stat.lFlags);
        }
        return states;
    }
    case API_CityID:
        return " latitude " + std::to_string(record.city.latitude) + "' longitude " +
               std::to_string(record.city.longitude) + "'";
    case API_MaterialID:
        return " colour " + colour(record.material.surfaceRGB) + " transparency " +
               std::to_string(record.material.transpPc);
    default:
        return "";
    }
}

} // namespace

void reportAttributes(std::ostream& report) {
    report << "attributes:\n";
    for (const auto& kind : kinds) {
        for (std::size_t index = 1; index <= sim::attributeSlots(kind.type); ++index) {
            const API_Attribute* record = sim::attribute(kind.type, API_AttributeIndex(index));
            const sim::AttributeExtra* extra = sim::attributeExtra(kind.type, API_AttributeIndex(index));
            if (record == nullptr || extra == nullptr) {
                continue; // deleted
            }
            report << "  " << kind.name << " " << index << " "
                   << escaped(name(record->header.name, sizeof record->header.name))
                   << details(*record, *extra) << "\n";
        }
    }
}

} // namespace hostsim
