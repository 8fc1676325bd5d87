// The memo part of a wall's or roof's gables.
#pragma once

#include "Memo/GableList.h"
#include "Memo/Memo.h"

namespace zelvane {

class GableMemo : public Memo {
public:
    GableMemo() = default;
    GableMemo(const GableMemo& other) = default;
    GableMemo& operator=(const GableMemo& other);
    ~GableMemo() override = default;

    bool isValid() const override { return true; }
    UInt64 getFilter() const override { return 2; }
    // Stores a handle of the gables when there are any; true unless it could not be made.
    bool pack(MemoStore* store) const override;
    bool unpack(const MemoStore& store) const override;

    // Every operation fetches the gables first.
    int getGableCount() const;
    // Null when there are none; std::out_of_range past the end.
    Gable* getGable(int i) const;
    // The memo takes the gable: in place of the one at i, or appended when i is outside.
    void setGable(Gable* gable, int i);
    // Before i, or appended when i is outside.
    void insertGable(Gable* gable, int i);
    void addGable(Gable* gable);
    void deleteGable(int i);
    void clear();

private:
    // Held in place, not on the heap: most owners (objects, doors, windows) never have a gable.
    // Mutable, as loading happens behind const getters.
    mutable GableList m_gables;
};

} // namespace zelvane
