// The ordered list of parameters of a library part, an element or an add-on command. The list
// owns every parameter put into it.
#pragma once

#include "Library/ParameterVector.h"

#include <cstddef>

namespace zelvane {

class ParameterLink;
class Setting;

class ParameterList {
public:
    static constexpr std::size_t npos = std::size_t(-1);

    explicit ParameterList(std::size_t reserved = 0) : m_parameters(reserved) {}
    ParameterList(const ParameterList& other) = default;
    ParameterList& operator=(const ParameterList& other) = default;
    virtual ~ParameterList() = default;

    // Exchanges the parameters of the two lists.
    void swap(ParameterList& other) { m_parameters.swap(other.m_parameters); }

    virtual std::size_t size() const { return m_parameters.size(); }
    // The position of the first parameter of that name, ignoring letter case; npos when none.
    virtual std::size_t getParameterIndex(const String& name) const;
    virtual Parameter* getParameter(const String& name);
    virtual const Parameter* getParameter(const String& name) const;
    // Null past the end.
    virtual Parameter* getParameter(std::size_t position);
    virtual const Parameter* getParameter(std::size_t position) const;
    // Throws std::out_of_range past the end.
    Parameter* operator[](std::size_t position) const;
    // By the link's name when it has one, else by its position (0: none); null when absent.
    Parameter* operator[](const ParameterLink& link) const;

    // The named parameter's cell as a new setting owned by the caller; null when absent. These two
    // look at the parameters the list holds as they stand: a list that loads its parameters on
    // first use does not load them here.
    virtual Setting* getSetting(const String& name, std::size_t row = 0, std::size_t column = 0) const;
    // False when the name is absent or the parameter cannot hold the cell.
    virtual bool setSetting(const Setting& setting, const String& name, std::size_t row = 0,
                            std::size_t column = 0);

    virtual void deleteParameter(std::size_t position);
    virtual void deleteAllParameters();
    // Replaces the parameter at the position (deleting it); past the end, appends.
    virtual void setParameter(Parameter* parameter, std::size_t position);
    // Inserts before the position; past the end, appends.
    virtual void insertParameter(Parameter* parameter, std::size_t position);
    virtual void addParameter(Parameter* parameter);
    // Every parameter's cells back to their defaults; the parameters stay.
    virtual void setDefault();
    virtual void clear();

    // Copies the values of every parameter that the other list holds under the same exact name;
    // with skipSizes, "A", "B" and "ZZYZX" are left alone. The other list is read as it stands,
    // without loading it.
    virtual void copyFrom(const ParameterList& other, bool skipSizes, bool allowRowChange,
                          bool allowColumnChange);
    // Copies one parameter (found ignoring case on both sides): npos rows and columns copy it
    // whole; else its first `rows` rows, rows past the other's holding default values. Both
    // change flags must be set.
    virtual void copyFrom(const ParameterList& other, const String& name, std::size_t rows,
                          std::size_t columns, bool allowRowChange, bool allowColumnChange);
    // Replaces the list by a copy of defaults that takes the values of this list, as copying
    // defaults over it and then copyFrom(the old list, skipSizes, true, false) would. A parameter
    // of this list of the same class as the default it stands for is reused, turned into that
    // default (see Parameter::rebase): parts that share their parameters cost no allocation.
    void takeDefaults(const ParameterList& defaults, bool skipSizes);
    // The same with defaults that is given up: its parameters move here rather than being copied.
    void takeDefaults(ParameterList&& defaults, bool skipSizes);

    // Writes into this list what changed from base to changed: removed parameters go, added ones
    // are appended, common ones receive the cells that changed.
    virtual void applyDelta(const ParameterList& changed, const ParameterList& base);

    // Replaces the list by the parameters of a handle of library-part parameter records. A null
    // or empty handle gives an empty list; a record that makes no parameter empties the list and
    // answers false.
    bool unpackParameter(API_AddParType** records);
    // A new handle of one record per parameter. On failure the handle is freed, set to null, and
    // the answer is false.
    bool packParameter(API_AddParType**& records) const;

    // Replaces the list by the parameters of an add-on command parameter handle, in reverse
    // index order. A null handle gives an empty list; a record that makes no parameter empties
    // the list and answers false.
    bool unpackParameter(GSHandle commandParameters);
    // Adds the list to an add-on command parameter handle (made first when `initialise` is set),
    // followed, for a command ID other than 0, by "command_id" and "command_version". On failure
    // the handle is freed and set to null.
    bool packParameter(GSHandle& commandParameters, bool initialise, UInt32 commandID, Int32 version) const;

protected:
    // The position of the first parameter of that name, ignoring letter case, among those held
    // (a list that loads its parameters on first use does not load them here); npos when none.
    std::size_t indexOf(const char* name) const;

private:
    std::size_t indexOf(const String& name) const;
    // given: defaults itself, when its parameters may be moved out of it.
    void takeDefaults(const ParameterVector& defaults, ParameterVector* given, bool skipSizes);
    // takeDefaults where this list holds the defaults' names and classes in their order, names
    // used once: each parameter turned into its default where it stands. False, for takeDefaults
    // to do it, otherwise.
    bool rebaseInPlace(const ParameterVector& defaults, bool skipSizes);

    ParameterVector m_parameters;
};

} // namespace zelvane
