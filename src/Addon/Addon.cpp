#include "Addon/Addon.h"

namespace zelvane {

Addon* addon = nullptr;

} // namespace zelvane
