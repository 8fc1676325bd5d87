// An owning list of files and folders: it deletes them with itself and copies them deeply.
#pragma once

#include "Environment/File.h"
#include "Environment/Vector.h"

namespace zelvane {

class FileList : public Vector<File> {
public:
    using Vector<File>::Vector;

    // Same count, and every entry of this list equals (by URL) some entry of the other; order
    // and repetitions are not compared.
    bool operator==(FileList const& other) const;
    bool operator!=(FileList const& other) const { return !(*this == other); }

    // Some entry equals file (by URL).
    bool hasFile(File const& file) const;
    // Some folder of the list holds file, at any depth below it.
    bool contains(File const& file) const;
};

} // namespace zelvane
