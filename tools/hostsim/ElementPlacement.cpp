#include "ElementPlacement.h"

#include "HostProgram.h"

#include "ACAPI/ElementTable.hpp"
#include "GSRoot/BM.hpp"
#include "sim/ComponentRequests.h"
#include "sim/ElementMemos.h"
#include "sim/Library.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <set>
#include <utility>
#include <vector>

namespace hostsim {
namespace {

using nlohmann::json;

// A size of the element: a number above 0.
std::optional<double> size(const MemberReader& entry, const char* key) {
    if (!entry.has(key)) {
        return std::nullopt;
    }
    double value = entry.number(key, 0.0);
    if (!(value > 0.0) || !std::isfinite(value)) {
        entry.fail(key, "must be a number above 0");
    }
    return value;
}

// An IFC value given as a JSON text, integer, real or boolean.
API_IFCPropertyValue ifcValue(const MemberReader& entry, const char* key) {
    if (!entry.has(key)) {
        entry.fail(key, "is missing");
    }
    const json& given = entry.member(key);
    API_IFCPropertyValue value;
    if (given.is_boolean()) {
        value.valueType = "IfcBoolean";
        value.primitiveType = 2;
        value.boolValue = given.get<bool>();
    } else if (given.is_number_integer() && isIntegerIn(given, INT64_MIN, INT64_MAX)) {
        value.valueType = "IfcInteger";
        value.primitiveType = 0;
        value.intValue = given.get<Int64>();
    } else if (given.is_number()) {
        value.valueType = "IfcReal";
        value.primitiveType = 1;
        value.doubleValue = given.get<double>();
    } else if (given.is_string()) {
        value.valueType = "IfcLabel";
        value.primitiveType = 4;
        value.stringValue = GS::UniString(entry.text(key).c_str());
    } else {
        entry.fail(key, "must be a text, a number or true or false");
    }
    return value;
}

} // namespace

ElementPlacement ElementPlacement::read(const MemberReader& entry, API_Element& record,
                                        const ProjectLibrary& library) {
    ElementPlacement result;
    API_ElemTypeID type = record.header.typeID;
    bool isObject = type == API_ObjectID || type == API_LampID;
    bool isOpening = type == API_DoorID || type == API_WindowID;
    bool isMarker = type == API_CutPlaneID || type == API_ElevationID;
    const vocabulary::Members* own = isObject             ? &vocabulary::object
                                     : isOpening          ? &vocabulary::opening
                                     : type == API_WallID ? &vocabulary::wall
                                     : isMarker           ? &vocabulary::marker
                                                          : nullptr;
    for (const vocabulary::Members& kind : vocabulary::elementKinds) {
        for (std::string_view key : kind) {
            if (!entry.has(std::string(key).c_str()) || (own != nullptr && own->contains(key))) {
                continue;
            }
            std::string kinds;
            for (const vocabulary::Members& other : vocabulary::elementKinds) {
                if (other.contains(key)) {
                    kinds += (kinds.empty() ? "" : ", ") + std::string(other.object());
                }
            }
            entry.fail(std::string(key), "only " + kinds + " have this member");
        }
    }
    if (isObject) {
        readObject(entry, type == API_ObjectID ? record.object : record.lamp, library, result);
        record.header.hasMemo = record.header.hasMemo || result.m_a || result.m_b || result.m_zzyzx ||
                                !result.m_parameters.empty();
    } else if (isOpening) {
        readOpening(entry, type == API_DoorID ? record.door : record.window, library, result);
    } else if (type == API_WallID) {
        readWall(entry, record.wall);
    } else if (isMarker) {
        readMarker(entry, type == API_CutPlaneID ? record.cutPlane : record.elevation, result);
        record.header.hasMemo = record.header.hasMemo || !result.m_line.empty();
    }
    if (entry.has("ifc")) {
        result.m_ifc = readIFC(MemberReader(entry.member("ifc"), entry.where() + ".ifc"));
    }
    return result;
}

Int32 ElementPlacement::readPart(const MemberReader& entry, const ProjectLibrary& library) {
    if (!entry.has("part")) {
        return 0;
    }
    if (entry.member("part").is_string()) {
        std::string name = entry.text("part");
        Int32 index = library.indexOf(name);
        if (index == 0) {
            entry.fail("part", "no library part is named " + escaped(name));
        }
        return index;
    }
    if (library.count() == 0) {
        entry.fail("part", "the library holds no parts");
    }
    return Int32(entry.integer("part", 1, library.count(), 0));
}

void ElementPlacement::readObject(const MemberReader& entry, API_ObjectType& object,
                                  const ProjectLibrary& library, ElementPlacement& result) {
    object.libInd = readPart(entry, library);
    API_Coord position = entry.point("position", API_Coord{0.0, 0.0});
    object.posX = position.x;
    object.posY = position.y;
    object.angle = entry.number("angle", 0.0);
    object.level = entry.number("level", 0.0);
    object.reflected = entry.flag("mirrored");
    result.m_a = size(entry, "A");
    result.m_b = size(entry, "B");
    result.m_zzyzx = size(entry, "ZZYZX");
    // A size not given is the part's own, as a placed part starts from its defaults: its A and B,
    // and its ZZYZX parameter (1 without one).
    const sim::LibPartDef* part = library.part(object.libInd);
    if (part != nullptr) {
        result.m_partSizes[0] = part->a;
        result.m_partSizes[1] = part->b;
        for (const sim::LibParameter& parameter : part->parameters) {
            if (std::strncmp(parameter.record.name, "ZZYZX", sizeof parameter.record.name) == 0 &&
                parameter.record.typeMod != API_ParArray && parameter.record.typeID != APIParT_CString) {
                result.m_partSizes[2] = parameter.record.value.real;
            }
        }
    }
    // The record's ratios follow the sizes: over the part's own for a part that can be sized, the
    // sizes themselves for a fixed-size one.
    double a = result.m_a.value_or(result.m_partSizes[0]);
    double b = result.m_b.value_or(result.m_partSizes[1]);
    object.fixedSize = part != nullptr && part->details.fixSize;
    object.xRatio = object.fixedSize ? a : a / result.m_partSizes[0];
    object.yRatio = object.fixedSize ? b : b / result.m_partSizes[1];
    result.m_unloadedName = entry.text("unloadedName");
    if (entry.has("parameters")) {
        const nlohmann::json& list = entry.list("parameters");
        // The sizes come from the members A, B and ZZYZX; a name given twice would be ambiguous.
        std::set<std::string> names = {"A", "B", "ZZYZX"};
        for (std::size_t i = 0; i < list.size(); ++i) {
            MemberReader parameter(list[i], entry.item("parameters", i));
            result.m_parameters.push_back(ProjectLibrary::readParameter(parameter));
            const API_AddParType& record = result.m_parameters.back().record;
            if (!names.insert(std::string(record.name, strnlen(record.name, sizeof record.name))).second) {
                parameter.fail("name", "names a size or a parameter given before");
            }
        }
    }
}

void ElementPlacement::readOpening(const MemberReader& entry, API_WindowType& opening,
                                   const ProjectLibrary& library, ElementPlacement& result) {
    opening.openingBase.libInd = readPart(entry, library);
    opening.openingBase.width = size(entry, "width").value_or(0.9);
    opening.openingBase.height = size(entry, "height").value_or(2.1);
    opening.objLoc = entry.number("distance", 0.0);
    opening.lower = entry.number("sill", 0.0);
    result.m_wall = entry.text("wall");
}

void ElementPlacement::readWall(const MemberReader& entry, API_WallType& wall) {
    wall.begC = entry.point("start", API_Coord{0.0, 0.0});
    wall.endC = entry.point("end", API_Coord{1.0, 0.0});
    if (wall.begC.x == wall.endC.x && wall.begC.y == wall.endC.y) {
        entry.fail("end", "a wall's end differs from its start");
    }
    wall.thickness = size(entry, "thickness").value_or(0.3);
    wall.thickness1 = wall.thickness;
    wall.height = size(entry, "height").value_or(3.0);
}

void ElementPlacement::readMarker(const MemberReader& entry, API_MarkerType& marker,
                                  ElementPlacement& result) {
    marker.markerPen = short(entry.integer("pen", 1, 255, 1));
    marker.bottomLevel = entry.number("bottom", 0.0);
    marker.topLevel = entry.number("top", 3.0);
    if (!(marker.bottomLevel < marker.topLevel)) {
        entry.fail("top", "must be above the bottom level");
    }
    for (auto [name, line] :
         {std::make_pair("line", &result.m_line), std::make_pair("secondLine", &result.m_secondLine)}) {
        if (!entry.has(name)) {
            continue;
        }
        const json& points = entry.list(name);
        if (points.size() < 2) {
            entry.fail(name, "a marker's line has at least two points");
        }
        for (std::size_t i = 0; i < points.size(); ++i) {
            const json& point = points[i];
            if (!point.is_array() || point.size() != 2 || !point[0].is_number() || !point[1].is_number()) {
                entry.fail(std::string(name) + "[" + std::to_string(i) + "]",
                           "must be a list of two numbers");
            }
            line->push_back(API_Coord{point[0].get<double>(), point[1].get<double>()});
        }
    }
    if (!result.m_secondLine.empty() && result.m_line.empty()) {
        entry.fail("secondLine", "a marker with a second line has a line");
    }
    marker.nLineCoords = Int32(result.m_line.size());
}

sim::IFCItems ElementPlacement::readIFC(const MemberReader& ifc) {
    ifc.only(vocabulary::ifc);
    sim::IFCItems items;
    if (ifc.has("properties")) {
        const json& list = ifc.list("properties");
        for (std::size_t i = 0; i < list.size(); ++i) {
            MemberReader entry(list[i], ifc.item("properties", i));
            entry.only(vocabulary::ifcProperty);
            API_IFCProperty property;
            property.head.propertyType = API_IFCPropertySingleValueType;
            property.head.propertySetName = GS::UniString(entry.text("set").c_str());
            property.head.propertyName = GS::UniString(entry.text("name").c_str());
            if (entry.text("set").empty() || entry.text("name").empty()) {
                entry.fail(entry.text("set").empty() ? "set" : "name",
                           "every property needs a set and a name");
            }
            property.singleValue = ifcValue(entry, "value");
            items.properties.push_back(property);
        }
    }
    if (ifc.has("attributes")) {
        const json& list = ifc.list("attributes");
        for (std::size_t i = 0; i < list.size(); ++i) {
            MemberReader entry(list[i], ifc.item("attributes", i));
            entry.only(vocabulary::ifcAttribute);
            API_IFCAttribute attribute;
            attribute.attributeName = GS::UniString(entry.text("name").c_str());
            if (entry.text("name").empty()) {
                entry.fail("name", "every attribute needs a name");
            }
            attribute.attributeType = GS::UniString(entry.text("type", "IfcLabel").c_str());
            attribute.hasValue = entry.has("value");
            attribute.attributeValue = GS::UniString(entry.text("value").c_str());
            attribute.isOwn = true;
            items.attributes.push_back(attribute);
        }
    }
    if (ifc.has("classifications")) {
        const json& list = ifc.list("classifications");
        for (std::size_t i = 0; i < list.size(); ++i) {
            MemberReader entry(list[i], ifc.item("classifications", i));
            entry.only(vocabulary::ifcClassification);
            API_IFCClassificationReference reference;
            reference.itemReference = GS::UniString(entry.text("reference").c_str());
            if (entry.text("reference").empty()) {
                entry.fail("reference", "every classification names its item reference");
            }
            reference.name = GS::UniString(entry.text("name").c_str());
            reference.hasLocation = entry.has("location");
            reference.location = GS::UniString(entry.text("location").c_str());
            items.references.push_back(reference);
        }
    }
    return items;
}

std::vector<sim::LibParameter> ElementPlacement::parameters() const {
    std::vector<sim::LibParameter> parameters;
    if (m_a || m_b || m_zzyzx || !m_parameters.empty()) {
        parameters.push_back(sim::scalarParameter(APIParT_Length, "A", m_a.value_or(m_partSizes[0])));
        parameters.push_back(sim::scalarParameter(APIParT_Length, "B", m_b.value_or(m_partSizes[1])));
        parameters.push_back(sim::scalarParameter(APIParT_Length, "ZZYZX", m_zzyzx.value_or(m_partSizes[2])));
        parameters.insert(parameters.end(), m_parameters.begin(), m_parameters.end());
    }
    return parameters;
}

void ElementPlacement::apply(const GS::Guid& guid) const {
    if (std::vector<sim::LibParameter> parameters = this->parameters(); !parameters.empty()) {
        API_ElementMemo memo;
        std::memset(static_cast<void*>(&memo), 0, sizeof memo);
        GSErrCode err = sim::writeParameterRecords(parameters, &memo.params);
        if (err == NoError) {
            err = sim::storeMemo(guid, &memo, APIMemoMask_AddPars);
        }
        ACAPI_DisposeElemMemoHdls(&memo);
        if (err != NoError) {
            throw ScenarioError("the host could not store its parameters (error " + errorText(err) + ")");
        }
    }
    // A marker's lines are written with the host's section-line bits.
    const std::pair<const std::vector<API_Coord>*, API_Coord * API_ElementMemo::*> lines[] = {
        {&m_line, &API_ElementMemo::sectionLineCoords},
        {&m_secondLine, &API_ElementMemo::sectionSecondLineCoords}};
    const UInt64 lineWritten[] = {0x4000, 0x8000};
    for (int i = 0; i < 2; ++i) {
        const std::vector<API_Coord>& line = *lines[i].first;
        if (line.empty()) {
            continue;
        }
        API_ElementMemo memo;
        std::memset(static_cast<void*>(&memo), 0, sizeof memo);
        API_Coord*& block = memo.*lines[i].second;
        block = reinterpret_cast<API_Coord*>(
            BMAllocatePtr(GSSize(line.size() * sizeof(API_Coord)), ALLOCATE_CLEAR, 0));
        GSErrCode err = block != nullptr ? NoError : GSErrCode(ErrMemoryFull);
        if (err == NoError) {
            std::copy(line.begin(), line.end(), block);
            err = sim::storeMemo(guid, &memo, lineWritten[i]);
        }
        ACAPI_DisposeElemMemoHdls(&memo);
        if (err != NoError) {
            throw ScenarioError(std::string("the host could not store its ") +
                                (i == 0 ? "line" : "second line") + " (error " + errorText(err) + ")");
        }
    }
    if (m_ifc) {
        sim::setStoredIFC(guid, *m_ifc);
    }
    if (!m_unloadedName.empty()) {
        sim::setUnloadedPartName(guid, m_unloadedName);
    }
}

} // namespace hostsim
