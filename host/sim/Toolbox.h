// The simulated host's toolbox, group suspension, menu item states and the answers of the tool
// settings dialog and the layer chooser.
#pragma once

#include "GSRoot/GSRoot.hpp"

#include <functional>
#include <string>
#include <vector>

namespace sim {

// Group suspension is off after a reset; ACAPI_Element_Tool 'SUSP' toggles it.
void setGroupSuspended(bool suspended);
bool isGroupSuspended();

// The current tool (type 0, the arrow, after a reset). The toolbox holds element types 1 to 100.
void setToolbox(Int32 typeID, UInt32 variationID = 0);
Int32 toolboxType();
UInt32 toolboxVariation();

// The flags and text of an add-on's menu item (0 and "" until set).
GSFlags menuItemFlags(short menuResID, short itemIndex);
std::string menuItemText(short menuResID, short itemIndex);

// A parameter value the user sets in the tool-settings dialog: a number, or a text.
struct SettingsValue {
    std::string name;
    double number = 0.0;
    std::string text;
    bool isText = false;
};

// What the user does in one tool-settings dialog: accepts or cancels it, and when accepting picks
// a library part (by name; empty keeps the tool's) and sets parameter values. The tool's defaults
// take them: a new part brings its own default parameters, then the values are set, each in the
// parameter of its name, a text in a text parameter and a number in another.
struct SettingsAnswer {
    bool accept = false;
    std::string part;
    std::vector<SettingsValue> values;
};

// The next answers of the tool-settings dialog ('SETD'): true accepts it. With nothing queued the
// dialog is cancelled, as a dialog with no script. An answer the user could not give is cancelled
// (and logged as "sim::settingsRefused"): a part no loaded part has, a part for a tool without
// one, a value for a parameter the part lacks or of another kind than the parameter's.
void queueSettingsDialog(bool accept);
// What the user changes in an accepted tool-settings dialog: called with the tool's type and
// variation before the dialog answers, it sets the tool's defaults as the user would.
using SettingsChanges = std::function<void(Int32 type, UInt32 variation)>;
// The next answer accepts the dialog after making the changes.
void queueSettingsDialog(SettingsChanges changes);
void queueSettingsDialog(const SettingsAnswer& answer);
// Why the last refused answer was refused, once: empty when none was since the last call.
std::string takeSettingsRefusal();
// The next answers of the layer chooser ('BADL'): a layer index, or a negative value to cancel.
void queueLayerChoice(short layer);

} // namespace sim
