// The memo part that carries a GDL parameter list: an element's parameters or a library part's
// defaults. The list is read from the host's memo through the owner on first use, and packed into
// the memo's parameter handle when the owner is written.
#pragma once

#include "Library/ParameterList.h"
#include "Memo/Memo.h"

namespace zelvane {

class ParameterMemo : public Memo, public ParameterList {
public:
    // The host's memo bit of parameters.
    static constexpr UInt64 parameterMask = 4;

    ParameterMemo() = default;
    ParameterMemo(const ParameterMemo&) = default;
    ParameterMemo& operator=(const ParameterMemo&) = default;

    void applyDelta(const Memo& changed, const Memo& base) override;
    bool isValid() const override { return true; }
    // Packs the loaded list into the store's parameter handle; an empty list leaves it alone.
    bool pack(MemoStore* store) const override;
    // Replaces the list by the store's parameters; false (and not loaded) when they cannot be read.
    bool unpack(const MemoStore& store) const override;
    UInt64 getFilter() const override { return parameterMask; }

    // The list's operations, each loading first.
    std::size_t size() const override;
    std::size_t getParameterIndex(const String& name) const override;
    Parameter* getParameter(const String& name) override;
    const Parameter* getParameter(const String& name) const override;
    Parameter* getParameter(std::size_t position) override;
    const Parameter* getParameter(std::size_t position) const override;
    void deleteParameter(std::size_t position) override;
    void deleteAllParameters() override;
    void setParameter(Parameter* parameter, std::size_t position) override;
    void insertParameter(Parameter* parameter, std::size_t position) override;
    void addParameter(Parameter* parameter) override;

    virtual std::size_t sizeParameters() const;
    virtual ParameterList& getParameterList();
    virtual const ParameterList& getParameterList() const;
    // A copy of the given list replaces this one, loaded or not.
    virtual void setParameterList(const ParameterList& list);
    virtual void copyParametersFrom(const ParameterList& other, bool skipSizes, bool allowRowChange,
                                    bool allowColumnChange);
    // From the other memo's list as it stands, without loading it.
    virtual void copyParametersFrom(const ParameterMemo& other, bool skipSizes, bool allowRowChange,
                                    bool allowColumnChange);
    virtual void copyParameterFrom(const ParameterMemo& other, const String& name, std::size_t rows,
                                   std::size_t columns);
    virtual void setDefaultParameters();
    virtual void clearParameters();

protected:
    // The list's own operations, without loading: for reading and writing the list itself.
    ParameterList& list() { return *this; }
    const ParameterList& list() const { return *this; }
};

} // namespace zelvane
