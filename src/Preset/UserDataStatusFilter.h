// Lets records through by their status: all, the current ones or the deprecated ones, as the
// status pop-up (read at each test) or a fixed choice says.
#pragma once

#include "Preset/UserDataStatusMenu.h"

namespace zelvane {

template <typename D>
class UserDataStatusFilter : public D::Filter {
public:
    using Pair = typename D::Pair;

    // The menu is not owned and must outlive the filter.
    explicit UserDataStatusFilter(UserDataStatusMenu const* menu) : m_menu(menu) {}
    explicit UserDataStatusFilter(Int16 choice) : m_choice(choice) {}

    Int16 getChoice() const { return m_menu != nullptr ? m_menu->getChoice() : m_choice; }

    bool isAccepted(Pair const& pair) const override {
        if (pair.second == nullptr) {
            return false;
        }
        switch (getChoice()) {
        case UserDataStatusMenu::current:
            return !pair.second->isDeprecated();
        case UserDataStatusMenu::deprecated:
            return pair.second->isDeprecated();
        default:
            return true;
        }
    }

private:
    UserDataStatusMenu const* m_menu = nullptr;
    Int16 m_choice = UserDataStatusMenu::all;
};

} // namespace zelvane
