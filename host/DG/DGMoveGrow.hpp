// Brackets around moving and growing many items of a dialog at once, so that the dialog is
// redrawn once at the end.
#pragma once

#include "GSRoot/GSRoot.hpp"

// Opens a bracket for the dialog: a token for DGEndMoveGrowItems, 0 when there is no such dialog.
Int32 DGBeginMoveGrowItems(short dialId);
// Closes the bracket of the token; a token of 0 or one already closed does nothing.
void DGEndMoveGrowItems(Int32 token);
