// The one add-on object of the bundle. The add-on base class itself comes with the add-on life
// cycle; until then only the global that the host callbacks read exists, and it stays null.
#pragma once

namespace zelvane {

class Addon;

// Set by the bundle's entry points for the add-on's life; null outside it.
extern Addon* addon;

} // namespace zelvane
