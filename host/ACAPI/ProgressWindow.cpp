#include "ACAPI/ProgressWindow.hpp"

#include "sim/Dialogs.h"
#include "sim/Interface.h"
#include "sim/Sim.h"

#include <deque>

namespace {

struct ProgressState {
    bool open = false;
    int queries = 0;        // 'CANC' queries of the open window
    int cancelAt = 0;       // the query before which the user cancels, 0 never
    std::deque<int> queued; // the same for the next windows, one each
    int windowCancelAt = 0; // the open window's
    bool cancelled = false;
    std::vector<sim::ProgressRequest> requests;
    // What the windows showed, and how far it is made: the value the requests have set, the phase
    // that shows it (-1 none), and whether the window's cancel is shown.
    std::vector<sim::ProgressEvent> events;
    Int32 value = 0;
    std::ptrdiff_t phase = -1;
    bool cancelShown = false;
};

ProgressState& state() {
    static auto* instance = new ProgressState;
    return *instance;
}

const bool resetRegistered = sim::registerReset([] { state() = ProgressState(); });

// What the window shows after the request it answered.
void show(GSType code, const std::string& text, Int32 value, GSErrCode answer) {
    ProgressState& s = state();
    if (answer != NoError && answer != APIERR_CANCEL) {
        return; // refused: the window was not open, or the request was malformed
    }
    switch (code) {
    case APIIo_InitProcessWindowID:
        s.phase = -1;
        s.events.push_back({sim::ProgressEvent::opened, text, value, 0});
        s.cancelShown = false;
        break;
    case APIIo_SetNextProcessPhaseID:
        s.events.push_back({sim::ProgressEvent::phase, text, value, 0});
        s.phase = std::ptrdiff_t(s.events.size()) - 1;
        s.value = 0;
        break;
    case APIIo_SetProcessValueID:
    case APIIo_IncProcessValueID:
        s.value = code == APIIo_SetProcessValueID ? value : s.value + value;
        if (s.phase >= 0) {
            s.events[std::size_t(s.phase)].reached = s.value;
        }
        break;
    case APIIo_IsProcessCanceledID:
        if (answer == APIERR_CANCEL && !s.cancelShown) {
            s.phase = -1;
            s.events.push_back({sim::ProgressEvent::cancelled, "", value, 0});
            s.cancelShown = true;
        }
        break;
    case APIIo_CloseProcessWindowID:
        s.phase = -1;
        s.events.push_back({sim::ProgressEvent::closed, "", 0, 0});
        break;
    default:
        break;
    }
}

GSErrCode record(GSType code, const std::string& text, Int32 value, GSErrCode answer) {
    std::vector<sim::ProgressRequest>& requests = state().requests;
    if (requests.size() >= 2 * sim::progressRequestsKept) {
        requests.erase(requests.begin(), requests.end() - std::ptrdiff_t(sim::progressRequestsKept));
    }
    requests.push_back({code, text, value, answer});
    show(code, text, value, answer);
    return answer;
}

GSErrCode openWindow(void* par1, void* par2, void*) {
    auto* title = static_cast<const GS::UniString*>(par1);
    auto* phases = static_cast<const short*>(par2);
    if (title == nullptr || phases == nullptr) {
        return record(APIIo_InitProcessWindowID, "", 0, APIERR_BADPARS);
    }
    if (state().open) {
        return record(APIIo_InitProcessWindowID, title->ToUTF8(), *phases, APIERR_GENERAL);
    }
    state().open = true;
    state().queries = 0;
    state().windowCancelAt = state().cancelAt;
    if (!state().queued.empty()) {
        state().windowCancelAt = state().queued.front();
        state().queued.pop_front();
    }
    state().cancelled = false;
    return record(APIIo_InitProcessWindowID, title->ToUTF8(), *phases, NoError);
}

GSErrCode closeWindow(void*, void*, void*) {
    GSErrCode answer = state().open ? NoError : APIERR_GENERAL;
    state().open = false;
    return record(APIIo_CloseProcessWindowID, "", 0, answer);
}

GSErrCode nextPhase(void* par1, void* par2, void*) {
    auto* title = static_cast<const GS::UniString*>(par1);
    auto* count = static_cast<const Int32*>(par2);
    if (title == nullptr || count == nullptr) {
        return record(APIIo_SetNextProcessPhaseID, "", 0, APIERR_BADPARS);
    }
    return record(APIIo_SetNextProcessPhaseID, title->ToUTF8(), *count,
                  state().open ? NoError : APIERR_GENERAL);
}

template <GSType code>
GSErrCode valueRequest(void* par1, void*, void*) {
    auto* value = static_cast<const Int32*>(par1);
    if (value == nullptr) {
        return record(code, "", 0, APIERR_BADPARS);
    }
    return record(code, "", *value, state().open ? NoError : APIERR_GENERAL);
}

GSErrCode isCancelled(void*, void*, void*) {
    if (!state().open) {
        return record(APIIo_IsProcessCanceledID, "", 0, APIERR_GENERAL);
    }
    ++state().queries;
    if (state().windowCancelAt > 0 && state().queries >= state().windowCancelAt) {
        state().cancelled = true;
    }
    return record(APIIo_IsProcessCanceledID, "", state().queries,
                  state().cancelled ? APIERR_CANCEL : NoError);
}

const bool handlersRegistered =
    sim::registerInterfaceRequest(APIIo_InitProcessWindowID, openWindow) &&
    sim::registerInterfaceRequest(APIIo_CloseProcessWindowID, closeWindow) &&
    sim::registerInterfaceRequest(APIIo_SetNextProcessPhaseID, nextPhase) &&
    sim::registerInterfaceRequest(APIIo_SetProcessValueID, valueRequest<APIIo_SetProcessValueID>) &&
    sim::registerInterfaceRequest(APIIo_IncProcessValueID, valueRequest<APIIo_IncProcessValueID>) &&
    sim::registerInterfaceRequest(APIIo_IsProcessCanceledID, isCancelled);

} // namespace

namespace sim {

const std::vector<ProgressRequest>& progressRequests() {
    return state().requests;
}

const std::vector<ProgressEvent>& progressEvents() {
    return state().events;
}

bool isProgressWindowOpen() {
    return state().open;
}

void cancelProgressAtQuery(int n) {
    state().cancelAt = n < 0 ? 0 : n;
    if (state().open) {
        state().windowCancelAt = state().cancelAt;
    }
}

void queueProgressCancel(int n) {
    state().queued.push_back(n < 0 ? 0 : n);
}

} // namespace sim
