// The toolbox, group suspension and the settings dialogs of the host's tools.
#pragma once

#include "ACAPI/Elements.hpp"
#include "ACAPI/Environment.hpp"

struct API_ToolBoxItem {
    API_ElemTypeID typeID = 0;
    API_ElemVariationID variationID = 0;
};

// ACAPI_Environment(APIEnv_IsSuspendGroupOnID, bool* suspended).
constexpr GSType APIEnv_IsSuspendGroupOnID = MakeGSType("ISSG");
// ACAPI_Environment(APIEnv_GetToolBoxModeID, API_ToolBoxItem*): the current tool.
constexpr GSType APIEnv_GetToolBoxModeID = MakeGSType("GTBX");
// ACAPI_Environment(APIEnv_SetToolBoxModeID, API_ToolBoxItem*): chooses a tool; APIERR_BADID for
// an element type the toolbox does not hold.
constexpr GSType APIEnv_SetToolBoxModeID = MakeGSType("STBX");
// ACAPI_Interface(APIIo_SettingsDialogID, API_ToolBoxItem*): the default-settings dialog of a tool;
// NoError when the user accepted it, APIERR_CANCEL when not.
constexpr GSType APIIo_SettingsDialogID = MakeGSType("SETD");
// ACAPI_Internal(APIInternal_LayerChooserID, API_ToolBoxItem*, short* layer): the layer chooser
// for a tool with *layer preselected; NoError and the chosen layer in *layer, or APIERR_CANCEL.
constexpr GSType APIInternal_LayerChooserID = MakeGSType("BADL");

// Element tools applied to elements (or to none): 'SUSP' toggles group suspension.
using API_ToolCmdID = GSType;
constexpr API_ToolCmdID APITool_SuspendGroups = MakeGSType("SUSP");
// Lock and unlock the listed elements. Only elements of the current database are changed (and in
// a shared project only the current member's); APIERR_BADID when one is unknown (nothing changes).
constexpr API_ToolCmdID APITool_Lock = MakeGSType("LOCK");
constexpr API_ToolCmdID APITool_Unlock = MakeGSType("ULCK");
// On the listed elements: group them under a new group, ungroup them, and move them one step or
// all the way forward or back in the drawing order. APIERR_BADID when an element does not exist
// (nothing changes), APIERR_NOTMINE for another member's element.
constexpr API_ToolCmdID APITool_Group = MakeGSType("GRUP");
constexpr API_ToolCmdID APITool_Ungroup = MakeGSType("UGRP");
constexpr API_ToolCmdID APITool_BringForward = MakeGSType("OFR1");
constexpr API_ToolCmdID APITool_BringToFront = MakeGSType("OFR0");
constexpr API_ToolCmdID APITool_SendBackward = MakeGSType("OBA1");
constexpr API_ToolCmdID APITool_SendToBack = MakeGSType("OBA0");
GSErrCode ACAPI_Element_Tool(const API_Elem_Head* elemHeads, Int32 nItems, API_ToolCmdID typeID,
                             void* pars = nullptr);

// The host's internal requests. Unknown codes answer APIERR_BADID.
GSErrCode ACAPI_Internal(GSType code, void* par1 = nullptr, void* par2 = nullptr, void* par3 = nullptr);
