#include "Addon/ResizeSubscriber.h"

#include "DG/DGMoveGrow.hpp"

namespace zelvane {

namespace {

// Closes the bracket however the handler ends.
class MoveGrowBracket {
public:
    explicit MoveGrowBracket(Int16 dialogID) : m_token(DGBeginMoveGrowItems(dialogID)) {}
    ~MoveGrowBracket() { DGEndMoveGrowItems(m_token); }
    MoveGrowBracket(const MoveGrowBracket&) = delete;
    MoveGrowBracket& operator=(const MoveGrowBracket&) = delete;

private:
    Int32 m_token;
};

} // namespace

void ResizeSubscriber::getSpec(std::vector<EventSpec>& specs) const {
    specs.push_back(EventSpec(InterfaceEvent::ID, ResizeEvent::ID));
}

bool ResizeSubscriber::takeEvent(Event& event) {
    auto* resize = dynamic_cast<ResizeEvent*>(&event);
    if (resize == nullptr) {
        return false;
    }
    MoveGrowBracket bracket(resize->getLink().getDialogID());
    return handleEvent(*resize);
}

} // namespace zelvane
