#include "DG/DGDisplay.hpp"

#include "sim/Display.h"
#include "sim/Sim.h"

namespace {

struct State {
    Int32 activeWindow = 0;
    std::vector<GSRect> monitors{GSRect{0, 0, 1080, 1920}};
};

State& state() {
    static auto* instance = new State;
    return *instance;
}

const bool registered = sim::registerReset([] { state() = State(); });

} // namespace

namespace sim {

void setActiveWindow(Int32 window) {
    state().activeWindow = window;
}

void setMonitors(const std::vector<GSRect>& monitors) {
    state().monitors = monitors;
}

} // namespace sim

Int32 DGGetActiveWindow() {
    if (sim::enter("DGGetActiveWindow") != NoError) {
        return 0;
    }
    return state().activeWindow;
}

GSErrCode DGGetMonitorRect(Int32 x, Int32 y, GSRect* rect) {
    if (GSErrCode err = sim::enter("DGGetMonitorRect"); err != NoError) {
        return err;
    }
    if (rect == nullptr) {
        return ErrParam;
    }
    for (const GSRect& monitor : state().monitors) {
        if (x >= monitor.left && x < monitor.right && y >= monitor.top && y < monitor.bottom) {
            *rect = monitor;
            return NoError;
        }
    }
    return ErrParam;
}
