// One record of a text table: its fields in column order.
#pragma once

#include "Environment/Vector.h"
#include "Library/TextField.h"

#include <cstddef>

namespace zelvane {

class TextRecord : public Vector<TextField> {
public:
    static constexpr char tabDelimiter[] = "\t";
    static constexpr char commaDelimiter[] = ",";

    explicit TextRecord(std::size_t capacity = 0) { reserve(capacity); }
    // A record of one field holding the text.
    explicit TextRecord(const String& text) { push_back(new TextField(text)); }
    TextRecord(const TextRecord&) = default;

    TextRecord* clone() const override { return new TextRecord(*this); }

    // Splits a line into fields, each ending at a delimiter (text after the last one is no
    // field). False, with no fields, when the delimiter is empty or absent.
    virtual bool import(const String& line, const String& delimiter);
    // The fields joined by the field delimiter, the last ended by "\r"; a new string the caller
    // deletes. The line delimiter is not used.
    virtual String* getExport(const String& fieldDelimiter, const String& lineDelimiter) const;
};

} // namespace zelvane
