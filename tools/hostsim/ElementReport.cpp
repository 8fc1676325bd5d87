#include "ElementReport.h"

#include "HostProgram.h"

#include "GSRoot/BM.hpp"
#include "GSRoot/UniString.hpp"
#include "sim/ComponentRequests.h"
#include "sim/Databases.h"
#include "sim/ElementMemos.h"
#include "sim/ElementTable.h"
#include "sim/IFC.h"
#include "sim/Library.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

namespace hostsim {
namespace {

const char* const indent = "      ";

// An element named by its listing ID when it has one, else by its type.
std::string elementName(const GS::Guid& guid) {
    if (!sim::hasElement(guid)) {
        return "a missing element";
    }
    std::string info = sim::elementInfo(guid);
    return info.empty() ? "type " + std::to_string(sim::element(guid).header.typeID) : escaped(info);
}

// A memo record whose handles go with it.
struct Memo {
    API_ElementMemo record;
    Memo() { std::memset(static_cast<void*>(&record), 0, sizeof record); }
    ~Memo() { ACAPI_DisposeElemMemoHdls(&record); }
    Memo(const Memo&) = delete;
    Memo& operator=(const Memo&) = delete;
};

// A value the host could not hand out fails the report rather than being left out of it.
void check(GSErrCode err, const std::string& whose, const char* what) {
    if (err != NoError) {
        throw ScenarioError("project: " + whose + ": the host could not read its " + what + " (error " +
                            errorText(err) + ")");
    }
}

std::string partName(Int32 index) {
    const sim::LibPartDef* part = sim::libPart(index);
    return "part " + std::to_string(index) + (part != nullptr ? " " + escaped(part->name) : " (none)");
}

// A parameter's name, which fills its field without a terminating zero at most.
std::string parameterName(const API_AddParType& record) {
    return std::string(record.name, strnlen(record.name, sizeof record.name));
}

bool isSize(const std::string& name) {
    return name == "A" || name == "B" || name == "ZZYZX";
}

// The size parameters on one line, when there are any.
void writeSizes(std::ostream& report, const std::vector<sim::LibParameter>& parameters, const char* margin) {
    bool sized = false;
    for (const sim::LibParameter& parameter : parameters) {
        std::string name = parameterName(parameter.record);
        if (isSize(name)) {
            report << (sized ? " " : std::string(margin) + "size ") << name << " "
                   << parameter.record.value.real;
            sized = true;
        }
    }
    if (sized) {
        report << "\n";
    }
}

void writeObject(std::ostream& report, const GS::Guid& guid, const API_ObjectType& object,
                 const std::vector<sim::LibParameter>& parameters) {
    report << indent << partName(object.libInd) << " at (" << object.posX << ", " << object.posY << ") angle "
           << object.angle << " level " << object.level << (object.reflected ? " mirrored" : "") << "\n";
    writeSizes(report, parameters, indent);
    // Read from the host's own table: a fault a scenario left pending on its calls does not hide it.
    std::string unloaded = sim::unloadedPartName(guid);
    if (!unloaded.empty()) {
        report << indent << "unloaded part " << escaped(unloaded) << "\n";
    }
}

void writeIFC(std::ostream& report, const GS::Guid& guid) {
    sim::IFCItems items = sim::storedIFC(guid);
    for (const API_IFCProperty& property : items.properties) {
        const API_IFCPropertyValue& value = property.singleValue;
        report << indent << "IFC property " << escaped(property.head.propertySetName.ToUTF8()) << "."
               << escaped(property.head.propertyName.ToUTF8()) << " " << value.valueType.ToUTF8() << " ";
        switch (value.primitiveType) {
        case 0:
        case 3:
            report << value.intValue;
            break;
        case 1:
            report << value.doubleValue;
            break;
        case 2:
            report << (value.boolValue ? "true" : "false");
            break;
        default:
            report << escaped(value.stringValue.ToUTF8());
        }
        report << "\n";
    }
    for (const API_IFCAttribute& attribute : items.attributes) {
        report << indent << "IFC attribute " << escaped(attribute.attributeName.ToUTF8()) << " "
               << sim::escapedLine(attribute.attributeType.ToUTF8());
        if (attribute.hasValue) {
            report << " " << escaped(attribute.attributeValue.ToUTF8());
        }
        report << "\n";
    }
    for (const API_IFCClassificationReference& reference : items.references) {
        report << indent << "IFC classification " << escaped(reference.itemReference.ToUTF8());
        if (!reference.name.IsEmpty()) {
            report << " " << escaped(reference.name.ToUTF8());
        }
        report << "\n";
    }
}

// The parameters but the sizes, one line each.
void writeParameters(std::ostream& report, const std::vector<sim::LibParameter>& parameters,
                     const char* margin) {
    for (const sim::LibParameter& parameter : parameters) {
        const API_AddParType& record = parameter.record;
        std::string name = parameterName(record);
        if (isSize(name)) {
            continue;
        }
        report << margin << "parameter " << escaped(name) << " ";
        if (record.typeMod == API_ParArray) {
            report << "array " << record.dim1 << " x " << record.dim2;
        } else if (record.typeID == APIParT_CString) {
            report << escaped(GS::UniString(record.value.uStr).ToUTF8());
        } else {
            report << record.value.real;
        }
        report << "\n";
    }
}

// An object's or lamp's size ratios and whose finishes it shows.
void writeRatiosAndFinishes(std::ostream& report, const API_ObjectType& object) {
    report << indent << "ratios " << object.xRatio << " x " << object.yRatio
           << (object.fixedSize ? " (fixed size)" : "") << ", finishes ";
    if (object.useObjMaterials) {
        report << "of the part\n";
    } else {
        report << "material " << object.mat << "\n";
    }
}

void writeWall(std::ostream& report, const API_WallType& wall) {
    report << indent << "from (" << wall.begC.x << ", " << wall.begC.y << ") to (" << wall.endC.x << ", "
           << wall.endC.y << ") thickness " << wall.thickness << " height " << wall.height << "\n";
}

void writeOpenings(std::ostream& report, const GS::Guid& wall) {
    Memo memo;
    check(sim::copyMemoOut(wall, &memo.record, APIMemoMask_WallWindows | APIMemoMask_WallDoors),
          elementName(wall), "doors and windows");
    for (auto [list, kind] : {std::make_pair(memo.record.wallWindows, "windows"),
                              std::make_pair(memo.record.wallDoors, "doors")}) {
        if (list == nullptr) {
            continue;
        }
        report << indent << kind << ":";
        std::size_t count = std::size_t(BMGetHandleSize(reinterpret_cast<GSHandle>(list))) / sizeof(GS::Guid);
        for (std::size_t i = 0; i < count; ++i) {
            report << " " << elementName((*list)[i]);
        }
        report << "\n";
    }
}

std::string databaseName(const GS::Guid& id) {
    for (const sim::DatabaseRecord& database : sim::databases()) {
        if (database.id == id) {
            return escaped(database.name);
        }
    }
    return "no database";
}

} // namespace

void writeElementDetails(std::ostream& report, const GS::Guid& guid) {
    API_Element record = sim::element(guid);
    API_ElemTypeID type = record.header.typeID;
    bool placesPart =
        type == API_ObjectID || type == API_LampID || type == API_DoorID || type == API_WindowID;
    std::vector<sim::LibParameter> parameters;
    if (placesPart) {
        GSErrCode err = NoError;
        parameters = sim::memoParameters(guid, &err);
        check(err, elementName(guid), "parameters");
    }
    switch (type) {
    case API_ObjectID:
        writeObject(report, guid, record.object, parameters);
        break;
    case API_LampID:
        writeObject(report, guid, record.lamp, parameters);
        break;
    case API_WallID:
        writeWall(report, record.wall);
        writeOpenings(report, guid);
        break;
    case API_WindowID:
    case API_DoorID: {
        const API_WindowType& opening = record.header.typeID == API_DoorID ? record.door : record.window;
        report << indent << partName(opening.openingBase.libInd) << " " << opening.openingBase.width << " x "
               << opening.openingBase.height << " in " << elementName(opening.owner) << " at "
               << opening.objLoc << " sill " << opening.lower << "\n";
        break;
    }
    case API_CutPlaneID:
    case API_ElevationID: {
        const API_MarkerType& marker =
            record.header.typeID == API_CutPlaneID ? record.cutPlane : record.elevation;
        report << indent << "opens " << databaseName(marker.databaseID) << " pen " << marker.markerPen
               << " from " << marker.bottomLevel << " to " << marker.topLevel;
        Memo memo;
        if (marker.nLineCoords > 0) {
            check(sim::copyMemoOut(guid, &memo.record, APIMemoMask_Polygon), elementName(guid), "lines");
        }
        const API_Coord* line = memo.record.sectionLineCoords;
        if (line != nullptr) {
            std::size_t count =
                std::min(std::size_t(marker.nLineCoords),
                         std::size_t(BMGetPtrSize(reinterpret_cast<GSConstPtr>(line))) / sizeof(API_Coord));
            report << " line";
            for (std::size_t i = 0; i < count; ++i) {
                report << " (" << line[i].x << ", " << line[i].y << ")";
            }
        }
        const API_Coord* second = memo.record.sectionSecondLineCoords;
        if (second != nullptr) {
            std::size_t count =
                std::size_t(BMGetPtrSize(reinterpret_cast<GSConstPtr>(second))) / sizeof(API_Coord);
            report << " second line";
            for (std::size_t i = 0; i < count; ++i) {
                report << " (" << second[i].x << ", " << second[i].y << ")";
            }
        }
        report << "\n";
        break;
    }
    case API_SectElemID:
        report << indent << "stands for " << elementName(record.sectElem.parentGuid) << "\n";
        break;
    default:
        break;
    }
    writeIFC(report, guid);
    if (type == API_ObjectID || type == API_LampID) {
        writeRatiosAndFinishes(report, type == API_ObjectID ? record.object : record.lamp);
    }
    if (placesPart) {
        writeParameters(report, parameters, indent);
    }
}

void writeToolDefaults(std::ostream& report) {
    report << "  tool defaults:\n";
    for (auto [type, variation] : sim::defaultTools()) {
        API_Element defaults = sim::defaults(type, variation);
        std::string tool = "type " + std::to_string(type);
        if (variation != 0) {
            const char code[] = {char(variation >> 24), char(variation >> 16), char(variation >> 8),
                                 char(variation)};
            tool += " variation '" + sim::escapedLine(std::string_view(code, sizeof code)) + "'";
        }
        report << "    " << tool;
        switch (type) {
        case API_ObjectID:
        case API_LampID:
            report << " " << partName((type == API_ObjectID ? defaults.object : defaults.lamp).libInd)
                   << "\n";
            break;
        case API_WindowID:
        case API_DoorID: {
            const API_WindowType& opening = type == API_DoorID ? defaults.door : defaults.window;
            report << " " << partName(opening.openingBase.libInd) << " " << opening.openingBase.width << " x "
                   << opening.openingBase.height << "\n";
            break;
        }
        case API_WallID:
            report << "\n";
            writeWall(report, defaults.wall);
            break;
        default:
            report << "\n";
        }
        GSErrCode err = NoError;
        std::vector<sim::LibParameter> parameters = sim::defaultMemoParameters(type, variation, &err);
        check(err, "the defaults of tool " + tool, "parameters");
        writeSizes(report, parameters, indent);
        writeParameters(report, parameters, indent);
    }
}

} // namespace hostsim
