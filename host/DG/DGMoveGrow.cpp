#include "DG/DGMoveGrow.hpp"

#include "sim/Dialogs.h"
#include "sim/MoveGrow.h"
#include "sim/Sim.h"

#include <map>

namespace {

struct Brackets {
    std::map<Int32, short> open; // token to dialog
    std::map<short, int> opened; // dialog to count
    Int32 lastToken = 0;
};

Brackets& brackets() {
    static auto* instance = new Brackets;
    return *instance;
}

const bool registered = sim::registerReset([] { brackets() = Brackets(); });

} // namespace

Int32 DGBeginMoveGrowItems(short dialId) {
    sim::log("DGBeginMoveGrowItems", dialId);
    if (sim::findPanel(dialId) == nullptr) {
        return 0;
    }
    Brackets& all = brackets();
    Int32 token = ++all.lastToken;
    all.open[token] = dialId;
    ++all.opened[dialId];
    return token;
}

void DGEndMoveGrowItems(Int32 token) {
    sim::log("DGEndMoveGrowItems", token);
    brackets().open.erase(token);
}

int sim::openMoveGrowBrackets(short dialId) {
    int count = 0;
    for (const auto& entry : brackets().open) {
        count += entry.second == dialId ? 1 : 0;
    }
    return count;
}

int sim::moveGrowBracketsOpened(short dialId) {
    auto it = brackets().opened.find(dialId);
    return it != brackets().opened.end() ? it->second : 0;
}
