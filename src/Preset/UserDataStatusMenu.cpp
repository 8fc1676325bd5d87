#include "Preset/UserDataStatusMenu.h"

#include "Environment/Host.h"

namespace zelvane {

namespace {

constexpr short stringList = 32703;
// The string of each choice: all, current, deprecated.
constexpr short labelIndex[] = {3, 4, 5};

} // namespace

void UserDataStatusMenu::initialise(Int16 choice) {
    setTableSize(0, 1);
    for (Int16 value = all; value <= deprecated; ++value) {
        addRow(host.getLocalString(stringList, labelIndex[value]));
        setUserData(value, value);
    }
    setChoice(choice);
}

void UserDataStatusMenu::setChoice(Int16 choice) {
    for (auto row = begin(); !row.isEnded(); ++row) {
        if (row->getUserData() == choice) {
            setSelected(true, row->getRow());
            return;
        }
    }
}

Int16 UserDataStatusMenu::getChoice() const {
    Int16 row = getSelectedRow();
    if (row < 0) {
        return all;
    }
    Int64 value = getUserData(row);
    return value >= 0 && value <= deprecated ? Int16(value) : Int16(all);
}

} // namespace zelvane
