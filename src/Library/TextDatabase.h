// A table of text: records of fields with an optional record of field names, read from and
// written to delimited text (one record per line) in a file, a host memory block or a string.
// Input is read in pieces and split as it arrives; only an unfinished line is carried over.
#pragma once

#include "Environment/List.h"
#include "GSRoot/GSRoot.hpp"
#include "Library/TextRecord.h"

#include <cstddef>

namespace zelvane {

class DataFile;

class TextDatabase {
public:
    using RecordList = List<TextRecord>;

    // Takes the field-name record (may be null); a new record has as many fields as it has.
    explicit TextDatabase(TextRecord* fieldNames = nullptr);
    TextDatabase(const TextDatabase& other);
    TextDatabase& operator=(const TextDatabase&) = delete;
    virtual ~TextDatabase();

    // Reads the file's lines as records; with hasHeader the first becomes the field names. An
    // empty field delimiter is "\t" for text holding a tab, else ",". False when the file cannot
    // be opened or read.
    virtual bool import(const DataFile& file, bool hasHeader, const String& fieldDelimiter,
                        const String& lineDelimiters);
    // The same over the bytes of a host pointer block: size bytes of it, 0 (or more than it
    // holds) meaning all of them.
    virtual bool import(char* const& pointer, bool hasHeader, int size, const String& fieldDelimiter,
                        const String& lineDelimiters);
    // Replaces the file's content by the table (written whole, then renamed over it); false when
    // it could not be written, the old content then kept.
    virtual bool exportTo(DataFile& file, const String& fieldDelimiter, const String& lineDelimiter) const;
    virtual bool exportTo(String& text, const String& fieldDelimiter, const String& lineDelimiter) const;
    // The field names as the handle's content (when there are any), then every record appended; a
    // null handle is made.
    virtual bool exportTo(char**& handle, const String& fieldDelimiter, const String& lineDelimiter) const;

    // Adds the whole lines of text as records and answers the byte offset where an unfinished last
    // line begins, or String::npos when every line was used.
    unsigned int importBatch(const String& text, const String& fieldDelimiter, const String& lineDelimiters);
    // A record of the line, kept when it splits.
    void importRecord(const String& line, const String& delimiter);

    // The index of the field name, lower-cased on both sides unless caseSensitive; -1 when none.
    virtual Int32 getFieldIndex(const String& name, bool caseSensitive) const;
    virtual const TextRecord* getFieldNames() const { return m_fieldNames; }
    virtual std::size_t getFieldNameCount() const;
    // A new, empty record with room for the field count.
    virtual TextRecord* getRecord() const { return new TextRecord(m_fieldCount); }
    virtual void setFieldCount(std::size_t count) { m_fieldCount = count; }
    // Takes the record (may be null) in place of the earlier one.
    virtual void setFieldNames(TextRecord* fieldNames);

    const RecordList& getRecords() const { return m_records; }
    std::size_t getRecordCount() const { return m_records.size(); }
    // The record at an index, null past the end.
    const TextRecord* getRecordAt(std::size_t index) const;
    void addRecord(TextRecord* record) { m_records.push_back(record); }

private:
    // Reads pieces through next (which appends at most the asked bytes to the buffer and answers
    // false on failure) until total bytes were read.
    template <typename Next>
    bool importPieces(std::size_t total, bool hasHeader, const String& fieldDelimiter,
                      const String& lineDelimiters, Next next);

    RecordList m_records;
    TextRecord* m_fieldNames;
    std::size_t m_fieldCount;
};

} // namespace zelvane
