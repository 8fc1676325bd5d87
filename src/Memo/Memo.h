// A piece of a host object's extra data (its memo), such as an element's polygon or a composite's
// skins: it packs itself into a memo store and unpacks itself from one. Content is fetched from
// the host on first use only: getters call confirmLoad, which asks the owner (through getMemo) to
// read the host's memo record and unpack the part. Content set by the program counts as loaded,
// so a later lazy fetch never overwrites it.
#pragma once

#include "GSRoot/GSRoot.hpp"

namespace zelvane {

class MemoStore;

class Memo {
public:
    Memo() = default;
    Memo(const Memo&) = default;
    Memo& operator=(const Memo&) = default;
    virtual ~Memo() = default;

    // Carries what changed between base and changed into this part; nothing by default.
    virtual void applyDelta(const Memo& changed, const Memo& base);
    // Whether the held content is usable.
    virtual bool isValid() const = 0;
    // Makes sure the content is loaded: when it is not (or is not valid), asks the owner to read
    // the host data for mask. True when the content is then loaded and valid.
    virtual bool confirmLoad(UInt64 mask) const;
    // Supplied by the owner: with store null, reads the host's memo data for mask into a new
    // store, hands it back through store and unpacks this part from it; with a store given,
    // unpacks this part from it. An owner with nothing stored marks the part loaded.
    virtual void getMemo(UInt64 mask, MemoStore*& store) const = 0;
    // Writes the content into the store's record; false when there is nothing valid to write or
    // the record could not be filled.
    virtual bool pack(MemoStore* store) const = 0;
    // Rebuilds the content from the store's record; false (and not loaded) when the record holds
    // nothing usable.
    virtual bool unpack(const MemoStore& store) const = 0;
    // The bits of the host's memo mask this part needs.
    virtual UInt64 getFilter() const = 0;

    bool isLoaded() const { return m_loaded; }
    // The content is kept in the part's mutable state, as loading happens behind const getters.
    void setLoaded(bool loaded) const { m_loaded = loaded; }

private:
    mutable bool m_loaded = false;
};

} // namespace zelvane
