// The windows and monitors the host's dialog library knows.
#pragma once

#include "GSRoot/GSRect.hpp"
#include "GSRoot/GSRoot.hpp"

// The host's reference of its active window; 0 when none is active.
Int32 DGGetActiveWindow();
// The screen rectangle of the monitor holding the point; ErrParam when no monitor holds it.
GSErrCode DGGetMonitorRect(Int32 x, Int32 y, GSRect* rect);
