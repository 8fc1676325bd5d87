#include "ACAPI/IFC.hpp"

#include "sim/ElementTable.h"
#include "sim/GuidTable.h"
#include "sim/IFC.h"
#include "sim/Sim.h"

#include <algorithm>
#include <unordered_map>

namespace {

using sim::GuidHash;

struct State {
    std::unordered_map<GS::Guid, sim::IFCItems, GuidHash> stored;
    std::unordered_map<GS::Guid, sim::IFCItems, GuidHash> derived;
};

State& state() {
    static auto* instance = new State;
    return *instance;
}

const bool registered =
    sim::registerReset([] { state() = State(); }) && sim::registerProjectClear([] { state() = State(); });

const sim::IFCItems& itemsOf(std::unordered_map<GS::Guid, sim::IFCItems, GuidHash>& table,
                             const GS::Guid& guid) {
    static const sim::IFCItems none;
    auto it = table.find(guid);
    return it != table.end() ? it->second : none;
}

template <typename T, typename Member>
GSErrCode read(const char* call, const API_Guid& guid, bool storedOnly, GS::Array<T>* out, Member member) {
    if (GSErrCode err = sim::enter(call, storedOnly ? 1 : 0); err != NoError) {
        return err;
    }
    if (out == nullptr) {
        return APIERR_BADPARS;
    }
    if (!sim::hasElement(guid)) {
        return APIERR_BADID;
    }
    out->Clear();
    for (const T& item : itemsOf(state().stored, guid).*member) {
        out->Push(item);
    }
    if (!storedOnly) {
        for (const T& item : itemsOf(state().derived, guid).*member) {
            out->Push(item);
        }
    }
    return NoError;
}

bool sameProperty(const API_IFCProperty& a, const API_IFCProperty& b) {
    return a.head.propertyName == b.head.propertyName && a.head.propertySetName == b.head.propertySetName;
}

} // namespace

namespace sim {

void setStoredIFC(const GS::Guid& guid, const IFCItems& items) {
    state().stored[guid] = items;
}

void setDerivedIFC(const GS::Guid& guid, const IFCItems& items) {
    state().derived[guid] = items;
}

IFCItems storedIFC(const GS::Guid& guid) {
    return itemsOf(state().stored, guid);
}

} // namespace sim

GSErrCode ACAPI_Element_GetIFCProperties(const API_Guid& guid, bool storedOnly,
                                         GS::Array<API_IFCProperty>* properties) {
    return read("ACAPI_Element_GetIFCProperties", guid, storedOnly, properties, &sim::IFCItems::properties);
}

GSErrCode ACAPI_Element_GetIFCAttributes(const API_Guid& guid, bool storedOnly,
                                         GS::Array<API_IFCAttribute>* attributes) {
    return read("ACAPI_Element_GetIFCAttributes", guid, storedOnly, attributes, &sim::IFCItems::attributes);
}

GSErrCode
ACAPI_Element_GetIFCClassificationReferences(const API_Guid& guid, bool storedOnly,
                                             GS::Array<API_IFCClassificationReference>* references) {
    return read("ACAPI_Element_GetIFCClassificationReferences", guid, storedOnly, references,
                &sim::IFCItems::references);
}

GSErrCode ACAPI_Element_SetIFCProperty(const API_Guid& guid, const API_IFCProperty& property) {
    if (GSErrCode err = sim::enter("ACAPI_Element_SetIFCProperty", property.head.propertyType);
        err != NoError) {
        return err;
    }
    if (property.head.propertyName.IsEmpty() || property.head.propertySetName.IsEmpty()) {
        return APIERR_BADPARS;
    }
    if (!sim::hasElement(guid)) {
        return APIERR_BADID;
    }
    auto& properties = state().stored[guid].properties;
    auto it = std::find_if(properties.begin(), properties.end(),
                           [&](const API_IFCProperty& p) { return sameProperty(p, property); });
    if (it != properties.end()) {
        *it = property;
    } else {
        properties.push_back(property);
    }
    return NoError;
}

GSErrCode ACAPI_Element_SetIFCAttribute(const API_Guid& guid, const API_IFCAttribute& attribute) {
    if (GSErrCode err = sim::enter("ACAPI_Element_SetIFCAttribute"); err != NoError) {
        return err;
    }
    if (attribute.attributeName.IsEmpty()) {
        return APIERR_BADPARS;
    }
    if (!sim::hasElement(guid)) {
        return APIERR_BADID;
    }
    auto& attributes = state().stored[guid].attributes;
    auto it = std::find_if(attributes.begin(), attributes.end(), [&](const API_IFCAttribute& a) {
        return a.attributeName == attribute.attributeName;
    });
    if (it != attributes.end()) {
        *it = attribute;
    } else {
        attributes.push_back(attribute);
    }
    return NoError;
}

GSErrCode ACAPI_Element_RemoveIFCProperty(const API_Guid& guid, const API_IFCProperty& property) {
    if (GSErrCode err = sim::enter("ACAPI_Element_RemoveIFCProperty"); err != NoError) {
        return err;
    }
    if (!sim::hasElement(guid)) {
        return APIERR_BADID;
    }
    auto& properties = state().stored[guid].properties;
    auto it = std::find_if(properties.begin(), properties.end(),
                           [&](const API_IFCProperty& p) { return sameProperty(p, property); });
    if (it == properties.end()) {
        return APIERR_BADPARS;
    }
    properties.erase(it);
    return NoError;
}
