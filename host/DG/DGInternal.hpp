// Shared by the dialog library's implementation and the simulated host's dialog manager.
#pragma once

#include "sim/Dialogs.h"

#include <string>

namespace sim::internal {

// Makes a panel from the dialog template; 0 when the module has no such template.
short createPanel(PanelState::Kind kind, GSResModule module, short resourceID, short parent);
void destroyPanel(short id);
void detachEverywhere(DG::EventObserver* observer);

// Runs a modal dialog to its end: opened, the script, closed. Answers its result.
int runModal(short id);
void endPalette(short id);
void openPalette(short id);

std::string toUTF8(const GS::UniString& text);

// Answers an alert from the queue and records it.
short answerAlert(AlertRecord record);

} // namespace sim::internal
