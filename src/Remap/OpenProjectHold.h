// Holds the host's open project for the time of a piece of work that neither opens nor closes one
// (collecting, a remapping run): the project is asked about once, not for every element.
#pragma once

#include "Environment/Host.h"

namespace zelvane::remap {

class OpenProjectHold {
public:
    OpenProjectHold() : m_held(host.holdOpenProject()) {}
    OpenProjectHold(const OpenProjectHold&) = delete;
    OpenProjectHold& operator=(const OpenProjectHold&) = delete;
    ~OpenProjectHold() {
        if (m_held) {
            host.releaseOpenProject();
        }
    }

private:
    bool m_held;
};

} // namespace zelvane::remap
