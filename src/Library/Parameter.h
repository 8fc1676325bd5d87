// One parameter of a library part or of an element placed from one: a typed, named value or table
// of values, which travels to and from the host in the host's parameter records.
#pragma once

#include "ACAPI/CommandParameters.hpp"
#include "Environment/String.h"

#include <cstddef>

namespace zelvane {

class Parameter {
public:
    // The base form without values: an array when the flag is set or there is more than one
    // column.
    explicit Parameter(std::size_t columns = 0, bool isArray = false);
    // From an add-on command parameter record: its name, index and modified flag.
    explicit Parameter(const API_MDCLParameter& record);
    virtual ~Parameter() = default;

    virtual Parameter* clone() const = 0;
    virtual std::size_t getRowCount() const = 0;
    // The columns field, or 1 for a scalar.
    virtual std::size_t getColumnCount() const { return m_columns == 0 ? 1 : m_columns; }
    // The host's library-part parameter type.
    virtual Int32 getTypeID() const = 0;
    // The host's add-on command parameter type: 1 string, 2 integer, 3 real.
    virtual Int32 getCommandTypeID() const = 0;
    virtual bool setRowCount(std::size_t rows) = 0;
    virtual bool setColumnCount(std::size_t columns) = 0;
    virtual bool copyFrom(const Parameter& other, bool allowRowChange, bool allowColumnChange) = 0;
    // Every cell back to its default value; the shape is kept.
    virtual void clear() = 0;
    virtual bool operator==(const Parameter& other) const = 0;
    bool operator!=(const Parameter& other) const { return !(*this == other); }
    // Fills a zeroed command record: type, index, a new copy of the name, the modified flag and
    // the value. The texts it allocates are freed with disposeParameterData; on failure it frees
    // them itself.
    virtual bool getParameterData(API_MDCLParameter& record) const;
    virtual bool pack(API_MDCLParameter& record) const = 0;
    // Appends the record's value to the cells.
    virtual bool unpack(const API_MDCLParameter& record) = 0;
    virtual bool addRow(std::size_t count) = 0;
    // Sets the columns field without touching the cells.
    virtual void setColumns(std::size_t columns) { m_columns = columns; }

    const String& getName() const { return m_name; }
    void setName(const String& name) { m_name = name; }
    const String& getDescription() const { return m_description; }
    void setDescription(const String& description) { m_description = description; }
    Int16 getFlags() const { return m_flags; }
    void setFlags(Int16 flags) { m_flags = flags; }
    Int16 getIndex() const { return m_index; }
    void setIndex(Int16 index) { m_index = index; }
    bool isArray() const { return m_columns != 0; }

    // Frees the texts that getParameterData and pack allocated in a command record.
    static void disposeParameterData(API_MDCLParameter& record);

protected:
    Parameter(const Parameter&) = default;
    Parameter& operator=(const Parameter&) = default;

    String m_name;
    String m_description;
    std::size_t m_columns = 0; // 0: a scalar
    Int16 m_flags = 0;
    Int16 m_index = 0;
};

} // namespace zelvane
