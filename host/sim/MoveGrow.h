// Inspection of the dialog library's move-and-grow brackets.
#pragma once

namespace sim {

// How many brackets are open for the dialog.
int openMoveGrowBrackets(short dialId);
// How many brackets were opened for the dialog since the reset.
int moveGrowBracketsOpened(short dialId);

} // namespace sim
