// Gables in order, owned; packed into and read from the host's gable handle.
#pragma once

#include "Environment/Vector.h"
#include "Memo/Gable.h"

namespace zelvane {

class GableList : public Vector<Gable> {
public:
    GableList* clone() const override { return new GableList(*this); }

    // A new handle of the gables' records in order (the caller disposes it); null when memory runs
    // out.
    API_Gable** pack() const;
    // Empties the list, then holds a gable for every whole record of the handle.
    void unpack(API_Gable** handle);
};

} // namespace zelvane
