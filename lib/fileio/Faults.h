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

// Whether the call, acting in the open folder `folder` (-1 for a write, which acts on an open file),
// fails: no error where it goes on. For Call::write, `*bytes` is how many bytes are to be written,
// and receives how many may be; a write cut short fails with the error.
std::error_code injectedFault(Call call, int folder, std::size_t* bytes = nullptr);

} // namespace fileio

// Defined by a test double of the machine, and by nothing else, with the arguments of
// injectedFault: answers 0 for a call that goes on, or the code it fails with
// (fileio::injectedCategory()). Weak, so that where no test double is linked no call fails but for
// the system's reasons, in a bundle too, which then finds the host program's.
extern "C" int zelvane_fileio_fault(int call, int folder, std::size_t* bytes)
    __attribute__((weak, visibility("default")));
