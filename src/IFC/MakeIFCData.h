// Makes the IFC item of a host record, or null when the record is not acceptable.
#pragma once

#include "ACAPI/IFC.hpp"

namespace zelvane {

class IFCData;

class MakeIFCData {
public:
    IFCData* operator()(const API_IFCAttribute& record) const;
    // By the property's kind; null for an unknown kind.
    IFCData* operator()(const API_IFCProperty& record) const;
    IFCData* operator()(const API_IFCClassificationReference& record) const;
};

} // namespace zelvane
