// The walk to a file is the file layer's (fileio::Entry); this name of it stays only for the host
// program's sources that still include it.
#pragma once

#include "fileio/Entry.h"

namespace sim {

using FileEntry = fileio::Entry;

} // namespace sim
