// The simulated host's attribute tables: set up by tests and the host program, inspected after.
#pragma once

#include "ACAPI/Attributes.hpp"
#include "sim/Library.h"

#include <string>
#include <vector>

namespace sim {

// An attribute's extra data as the host keeps it.
struct AttributeExtra {
    std::vector<API_DashItems> dashItems;
    std::vector<API_LineItems> lineItems;
    std::vector<API_FillLine> fillLines;
    std::vector<double> fillLengths;
    std::vector<API_CWallComponent> skins;
    std::vector<API_CWallLineComponent> skinLines;
    std::vector<API_LayerStat> layerStats;
    // A zone category's stamp parameters; other types keep none.
    std::vector<LibParameter> params;
};

// A cleared record of the type with the name (cut to the header's field) and flags.
API_Attribute makeAttribute(API_AttrTypeID type, const std::string& name, GSFlags flags = 0);
// Adds the record at the next index of its header's type, whatever its name; answers the index.
API_AttributeIndex addAttribute(const API_Attribute& record, const AttributeExtra& extra = {});
// The record at the index, null outside the table or when deleted.
const API_Attribute* attribute(API_AttrTypeID type, API_AttributeIndex index);
const AttributeExtra* attributeExtra(API_AttrTypeID type, API_AttributeIndex index);
// Size of the type's table, deleted indexes included, and the live attributes in it.
std::size_t attributeSlots(API_AttrTypeID type);
std::size_t liveAttributes(API_AttrTypeID type);
// Empties every table (a project opened anew).
void clearAttributes();
void deleteAttribute(API_AttrTypeID type, API_AttributeIndex index);
void setAttributeUserData(API_AttrTypeID type, API_AttributeIndex index, const std::vector<char>& data,
                          short version, UInt16 platformSign);

} // namespace sim
