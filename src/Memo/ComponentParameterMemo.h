// The parameters of something placed from a library part (an element, or the part's own source):
// the parameter memo, the part's own A and B sizes, and how to fetch the part's defaults and run
// the host's parameter script over changed values.
#pragma once

#include "ACAPI/ParameterScript.hpp"
#include "Database/ComponentLink.h"
#include "Memo/ParameterMemo.h"

namespace zelvane {

class ComponentDefaults;
class ParameterLink;
class ParameterLinkList;

class ComponentParameterMemo : public ParameterMemo {
public:
    ComponentParameterMemo() = default;
    ComponentParameterMemo(const ComponentParameterMemo&) = default;
    ComponentParameterMemo& operator=(const ComponentParameterMemo&) = default;

    // The part's own sizes, fetched with its defaults; 0 when they cannot be had.
    virtual double getSourceWidth() const;
    virtual double getSourceDepth() const;
    // The length parameters "A", "B" and "ZZYZX"; 0 when absent or of another kind.
    virtual double getAxialWidth() const;
    virtual double getAxialDepth() const;
    virtual double getAxialHeight() const;
    virtual ComponentLink getSourceLink() const = 0;
    // Makes the owner its tool's default; true when done.
    virtual bool makeDefaultComponent() = 0;
    virtual void setSourceWidth(double width) { m_sourceWidth = width; }
    virtual void setSourceDepth(double depth) { m_sourceDepth = depth; }
    // Set the length parameters when they exist as such.
    virtual void setAxialWidth(double width);
    virtual void setAxialDepth(double depth);
    virtual void setAxialHeight(double height);
    virtual bool writeParameter(const ParameterLink& link, bool defaults, bool makeDefault);
    // Runs the host's parameter script over the linked cells (row and column -1: all of them) and
    // takes the resulting values; false when the host refuses a cell or the run. The run is
    // always closed.
    virtual bool writeParameters(const ParameterLinkList& links, bool defaults, bool makeDefault);
    // Fetches the part's defaults again (refetch), and with apply lays them under (keepCurrent
    // false) or over (keepCurrent true) the current values; the sizes are kept unless refetch.
    // False when the defaults could not be fetched: the list is then left as it was.
    virtual bool reload(bool refetch, bool apply, bool keepCurrent);
    // reload with the part's defaults as fetched before, not asked of the host again; false when
    // they were not had.
    bool reload(const ComponentDefaults& defaults, bool refetch, bool apply, bool keepCurrent);
    // Fills the owner record of a parameter run; defaults tells whether it is a tool default.
    virtual void getOwnerInfo(API_ParamOwnerType& owner, bool& defaults) const = 0;

    void copyParametersFrom(const ParameterMemo& other, bool skipSizes, bool allowRowChange,
                            bool allowColumnChange) override;
    using ParameterMemo::copyParametersFrom;
    void applyDelta(const Memo& changed, const Memo& base) override;

    // Puts the part's default parameters into the store as its parameter handle (once: not again
    // when fetched before); answers whether they were fetched.
    bool loadLibraryMemo(MemoStore& store, bool once) const;

private:
    // Fetches the part's defaults into the store; true when the host handed them out now.
    bool fetchLibraryMemo(MemoStore& store) const;
    // Lays the part's default records under or over the current values, as reload does.
    bool takeDefaults(API_AddParType** records, bool refetch, bool keepCurrent);
    // The same with the records read before; null when they make no list.
    bool takeDefaults(const ParameterList* defaults, bool refetch, bool keepCurrent);
    // Defaults that could not be read: the list stays as it was; false.
    bool refuseDefaults(bool keepCurrent);
    std::size_t positionOf(const char* name) const;
    double getLength(const char* name) const;
    void setLength(const char* name, double value);

    mutable double m_sourceWidth = 1.0;
    mutable double m_sourceDepth = 1.0;
    mutable bool m_libraryLoaded = false;
};

} // namespace zelvane
