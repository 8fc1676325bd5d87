#include "fileio/Descriptor.h"

#include <unistd.h>

namespace fileio {

bool Descriptor::reset(int fd) {
    const int held = std::exchange(m_fd, fd);
    return held < 0 || ::close(held) == 0;
}

} // namespace fileio
