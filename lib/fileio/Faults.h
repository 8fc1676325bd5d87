// Where a test double of the machine (the simulated host) may fail the layer's calls that change
// what is on disk, as it fails its own. Nothing else fails them but the system.
#pragma once

#include <cstddef>
#include <system_error>

namespace fileio {

enum class Call {
    makeFile = 1, // a new file: a temporary, or one that must be new
    makeFolder,   // a new folder: a private folder for a temporary, or a temporary folder
    write,        // bytes written by the layer itself
    rename,       // a file put in place, or an entry renamed
    remove,       // an entry removed
};

// Whether the call, acting in the open folder `folder` (-1 for a write, which acts on an open
// file), fails: 0 where it goes on, or the code it fails with (fileio::injectedCategory()). For
// Call::write, `*bytes` is how many bytes are to be written, and receives how many may be.
using FaultHook = int (*)(Call call, int folder, std::size_t* bytes);

// Sets the function that decides which of the process's calls fail, where none is set (none is at
// the start), and answers whether it did: the test double of the machine sets its own as its
// library loads.
// - The layer is linked into the simulated host's library, which exports it: the host program and
//   the bundles call that copy, so one hook reaches all their calls.
// - A second copy of that library, such as a bundle that is one, calls its own functions, and so
//   sets its hook in its own layer, which nothing else calls. Where a copy reaches the first copy's
//   layer all the same, its hook is not set there, and the first copy's keeps deciding.
bool setFaultHook(FaultHook hook);

// Takes `hook` back where it is still the one set, and answers whether it did: a library that set
// it does so as it unloads, so that no hook is left pointing into unloaded code.
bool takeBackFaultHook(FaultHook hook);

// Whether the call fails, as the hook set says: no error where it goes on, or none is set. A write
// cut short fails with the error.
std::error_code injectedFault(Call call, int folder, std::size_t* bytes = nullptr);

} // namespace fileio
