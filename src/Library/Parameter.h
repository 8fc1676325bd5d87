// One parameter of a library part or of an element placed from one: a typed, named value or table
// of values, which travels to and from the host in the host's parameter records.
#pragma once

#include "ACAPI/CommandParameters.hpp"
#include "ACAPI/LibraryParts.hpp"
#include "ACAPI/ParameterScript.hpp"
#include "Environment/String.h"

#include <cstddef>
#include <memory>

namespace zelvane {

class Setting;

class Parameter {
public:
    // The base form without values: an array when the flag is set or there is more than one
    // column.
    explicit Parameter(std::size_t columns = 0, bool isArray = false);
    // From an add-on command parameter record: its name, index and modified flag.
    explicit Parameter(const API_MDCLParameter& record);
    // From a library-part parameter record: its name, description, index, flags and shape (an
    // array has at least one column; a one-dimensional one goes back as one).
    explicit Parameter(const API_AddParType& record);
    virtual ~Parameter() = default;

    virtual Parameter* clone() const = 0;
    // A cell as text; empty for the value-less classes. Throws std::out_of_range outside the
    // cells (reading never grows a parameter).
    virtual String getValueText(std::size_t row = 0, std::size_t column = 0) const = 0;
    // A new setting holding the cell, owned by the caller; outside the cells the kind's zero
    // value; null for the value-less classes.
    virtual Setting* getSetting(std::size_t row = 0, std::size_t column = 0) const = 0;
    virtual std::size_t getRowCount() const = 0;
    // The columns field, or 1 for a scalar.
    virtual std::size_t getColumnCount() const { return m_columns == 0 ? 1 : m_columns; }
    // The host's library-part parameter type.
    virtual Int32 getTypeID() const = 0;
    // The host's add-on command parameter type: 1 string, 2 integer, 3 real.
    virtual Int32 getCommandTypeID() const = 0;
    virtual bool setRowCount(std::size_t rows) = 0;
    virtual bool setColumnCount(std::size_t columns) = 0;
    virtual void setValueText(const String& text, std::size_t row = 0, std::size_t column = 0) = 0;
    // Stores the setting's value in the cell, growing the parameter to hold it; false when nothing
    // was stored (a scalar holds one row, a real cell only finite values, a value-less class none).
    virtual bool setSetting(const Setting& setting, std::size_t row = 0, std::size_t column = 0) = 0;
    virtual bool copyFrom(const Parameter& other, bool allowRowChange, bool allowColumnChange) = 0;
    // Turns this parameter, of the same class and name as defaults, into what a copy of defaults
    // becomes once it copies this parameter's values (copyFrom without column change) when
    // keepValues is set: the defaults' description, flags, index and record dimensions, with this
    // parameter's shape and cells when their column counts agree, else the defaults' ones. False,
    // nothing changed, when it cannot: the caller then copies defaults instead.
    virtual bool rebase(const Parameter& defaults, bool keepValues);
    // Every cell back to its default value; the shape is kept.
    virtual void clear() = 0;
    // Writes the cells that changed from base into this parameter.
    virtual void applyDelta(const Parameter& changed, const Parameter& base) = 0;
    virtual bool operator==(const Parameter& other) const = 0;
    bool operator!=(const Parameter& other) const { return !(*this == other); }
    // Fills a zeroed command record: type, index, a new copy of the name, the modified flag and
    // the value. The texts it allocates are freed with disposeParameterData; on failure it frees
    // them itself.
    virtual bool getParameterData(API_MDCLParameter& record) const;
    // Fills a library-part record; an array's cells go into a new handle in the record.
    virtual bool getParameterData(API_AddParType& record) const;
    // Fills a change request for one cell; a text value points to a buffer of this layer, valid
    // until the next request is filled.
    virtual bool getParameterData(API_ChangeParamType& request, std::size_t row, std::size_t column) const;
    virtual bool pack(API_AddParType& record) const = 0;
    // The cell the request's ind1 and ind2 address (0-based here).
    virtual bool pack(API_ChangeParamType& request) const = 0;
    // Appends the record's values to the cells.
    virtual bool unpack(const API_AddParType& record) = 0;
    virtual bool pack(API_MDCLParameter& record) const = 0;
    virtual bool unpack(const API_MDCLParameter& record) = 0;
    virtual bool addRow(std::size_t count) = 0;
    // Sets the columns field without touching the cells.
    virtual void setColumns(std::size_t columns) { m_columns = columns; }
    // The library-part record's second dimension for this parameter.
    Int32 getHostColumns() const { return m_oneDimensional && m_columns == 1 ? 0 : Int32(m_columns); }

    const String& getName() const { return m_name != nullptr ? *m_name : noName(); }
    void setName(const String& name) {
        m_name = name.empty() ? nullptr : std::make_shared<const String>(name);
    }
    const String& getDescription() const { return m_description; }
    void setDescription(const String& description) { m_description = description; }
    Int16 getFlags() const { return m_flags; }
    void setFlags(Int16 flags) { m_flags = flags; }
    Int16 getIndex() const { return m_index; }
    void setIndex(Int16 index) { m_index = index; }
    bool isArray() const { return m_columns != 0; }

    // Whether a library-part record can be read: a scalar, or an array with a handle of its cells
    // and dimensions of at most maxArrayCells cells.
    static bool isReadable(const API_AddParType& record);
    static constexpr std::size_t maxArrayCells = std::size_t(1) << 20;

    // Frees the texts that getParameterData and pack allocated in a command record.
    static void disposeParameterData(API_MDCLParameter& record);

protected:
    Parameter(const Parameter&) = default;
    Parameter& operator=(const Parameter&) = default;

    // Takes the other's description, flags, index and record dimensions (the columns field too,
    // with withColumns); the name and cells stay.
    void takeHeading(const Parameter& other, bool withColumns = false);

    // The empty name of a parameter given none.
    static const String& noName();

    // Shared by a parameter's copies, as a name is set whole and never changed in place: copying a
    // parameter (an element's list, for each element copied) copies no text. Null: no name.
    std::shared_ptr<const String> m_name;
    String m_description;
    std::size_t m_columns = 0; // 0: a scalar
    Int16 m_flags = 0;
    Int16 m_index = 0;
    bool m_oneDimensional = false; // read from an array record of second dimension 0
};

} // namespace zelvane
