#include "Library/TextDatabase.h"

#include "Environment/DataFile.h"
#include "Environment/Memory.h"

#include <algorithm>
#include <memory>
#include <string>
#include <string_view>

namespace zelvane {

TextDatabase::TextDatabase(TextRecord* fieldNames)
    : m_fieldNames(fieldNames), m_fieldCount(fieldNames != nullptr ? fieldNames->size() : 0) {}

TextDatabase::TextDatabase(const TextDatabase& other)
    : m_records(other.m_records),
      m_fieldNames(other.m_fieldNames != nullptr ? other.m_fieldNames->clone() : nullptr),
      m_fieldCount(other.m_fieldCount) {}

TextDatabase::~TextDatabase() {
    delete m_fieldNames;
}

void TextDatabase::setFieldNames(TextRecord* fieldNames) {
    if (fieldNames != m_fieldNames) {
        delete m_fieldNames;
        m_fieldNames = fieldNames;
    }
}

std::size_t TextDatabase::getFieldNameCount() const {
    return m_fieldNames != nullptr ? m_fieldNames->size() : 0;
}

const TextRecord* TextDatabase::getRecordAt(std::size_t index) const {
    if (index >= m_records.size()) {
        return nullptr;
    }
    return *std::next(m_records.begin(), std::ptrdiff_t(index));
}

Int32 TextDatabase::getFieldIndex(const String& name, bool caseSensitive) const {
    if (m_fieldNames == nullptr) {
        return -1;
    }
    String wanted = caseSensitive ? name : name.toLowercase();
    for (std::size_t i = 0; i < m_fieldNames->size(); ++i) {
        const TextField* field = (*m_fieldNames)[i];
        if (field == nullptr) {
            continue;
        }
        const String& text = field->getExport();
        if ((caseSensitive ? text : text.toLowercase()) == wanted) {
            return Int32(i);
        }
    }
    return -1;
}

void TextDatabase::importRecord(const String& line, const String& delimiter) {
    auto record = std::make_unique<TextRecord>(m_fieldCount);
    if (record->import(line, delimiter)) {
        m_records.push_back(record.release());
    }
}

unsigned int TextDatabase::importBatch(const String& text, const String& fieldDelimiter,
                                       const String& lineDelimiters) {
    std::string_view all(text.data());
    std::string_view ends(lineDelimiters.data());
    String delimiter = fieldDelimiter;
    bool chosen = !delimiter.empty();
    std::size_t at = 0;
    for (;;) {
        at = all.find_first_not_of(ends, at);
        if (at == std::string_view::npos) {
            return String::npos;
        }
        std::size_t end = all.find_first_of(ends, at);
        if (end == std::string_view::npos) {
            return unsigned(at);
        }
        if (!chosen) {
            delimiter = all.find('\t') != std::string_view::npos ? TextRecord::tabDelimiter
                                                                 : TextRecord::commaDelimiter;
            chosen = true;
        }
        std::string line(all.substr(at, end - at));
        line += delimiter.data();
        importRecord(String(line.c_str(), unsigned(line.size())), delimiter);
        at = end;
    }
}

template <typename Next>
bool TextDatabase::importPieces(std::size_t total, bool hasHeader, const String& fieldDelimiter,
                                const String& lineDelimiters, Next next) {
    // The buffer holds the unfinished line and the next piece; a line longer than a piece makes
    // it grow until the line ends.
    std::string buffer;
    std::size_t done = 0;
    while (done < total) {
        std::size_t piece = std::min<std::size_t>(DataFile::defBufferSize, total - done);
        std::size_t before = buffer.size();
        if (!next(buffer, piece)) {
            return false;
        }
        std::size_t read = buffer.size() - before;
        if (read == 0) {
            return false;
        }
        done += read;
        // A NUL would end the text early: it is dropped.
        buffer.erase(std::remove(buffer.begin() + std::ptrdiff_t(before), buffer.end(), '\0'), buffer.end());
        if (done >= total) {
            buffer += lineDelimiters.data();
        } else if (buffer.find_first_of(lineDelimiters.data(), before) == std::string::npos) {
            continue; // the line goes on: split nothing until it ends
        }
        unsigned int rest =
            importBatch(String(buffer.c_str(), unsigned(buffer.size())), fieldDelimiter, lineDelimiters);
        if (rest == String::npos) {
            buffer.clear();
        } else {
            buffer.erase(0, rest);
        }
    }
    if (hasHeader && !m_records.empty()) {
        setFieldNames(m_records.release(m_records.begin()));
    }
    return true;
}

bool TextDatabase::import(const DataFile& source, bool hasHeader, const String& fieldDelimiter,
                          const String& lineDelimiters) {
    DataFile file(source);
    if (!file.open(DataFile::readOnly)) {
        return false;
    }
    // A length that cannot be read would pass for an empty file.
    const unsigned int size = file.getSize();
    if (file.getLastError() != NoError) {
        file.close();
        return false;
    }
    bool done = importPieces(size, hasHeader, fieldDelimiter, lineDelimiters,
                             [&file](std::string& buffer, std::size_t piece) {
                                 String text;
                                 unsigned int length = unsigned(piece);
                                 if (!file.read(text, length)) {
                                     return false;
                                 }
                                 buffer.append(text.data(), length);
                                 return true;
                             });
    file.close();
    return done;
}

bool TextDatabase::import(char* const& pointer, bool hasHeader, int size, const String& fieldDelimiter,
                          const String& lineDelimiters) {
    if (pointer == nullptr) {
        return false;
    }
    int held = getPtrSize(pointer);
    std::size_t total = std::size_t(size <= 0 || size > held ? held : size);
    std::size_t offset = 0;
    return importPieces(total, hasHeader, fieldDelimiter, lineDelimiters,
                        [&](std::string& buffer, std::size_t piece) {
                            buffer.append(pointer + offset, piece);
                            offset += piece;
                            return true;
                        });
}

bool TextDatabase::exportTo(DataFile& file, const String& fieldDelimiter, const String& lineDelimiter) const {
    return file.replaceContents([&](DataFile& target) {
        if (m_fieldNames != nullptr) {
            std::unique_ptr<String> line(m_fieldNames->getExport(fieldDelimiter, lineDelimiter));
            if (!target.write(*line)) {
                return false;
            }
        }
        for (const TextRecord* record : m_records) {
            if (record != nullptr) {
                std::unique_ptr<String> line(record->getExport(fieldDelimiter, lineDelimiter));
                if (!target.write(*line)) {
                    return false;
                }
            }
        }
        return true;
    });
}

bool TextDatabase::exportTo(String& text, const String& fieldDelimiter, const String& lineDelimiter) const {
    if (m_fieldNames != nullptr) {
        std::unique_ptr<String> line(m_fieldNames->getExport(fieldDelimiter, lineDelimiter));
        text += *line;
    }
    for (const TextRecord* record : m_records) {
        if (record != nullptr) {
            std::unique_ptr<String> line(record->getExport(fieldDelimiter, lineDelimiter));
            text += *line;
        }
    }
    return true;
}

bool TextDatabase::exportTo(char**& handle, const String& fieldDelimiter, const String& lineDelimiter) const {
    String records;
    for (const TextRecord* record : m_records) {
        if (record != nullptr) {
            std::unique_ptr<String> line(record->getExport(fieldDelimiter, lineDelimiter));
            records += *line;
        }
    }
    int keep = handle != nullptr ? getHandleSize(handle) : 0;
    String names;
    if (m_fieldNames != nullptr) {
        std::unique_ptr<String> line(m_fieldNames->getExport(fieldDelimiter, lineDelimiter));
        names = *line;
        keep = 0;
    }
    int namesSize = int(names.dataLength());
    int size = keep + namesSize + int(records.dataLength());
    if (handle == nullptr) {
        handle = allocateHandle(size);
    } else {
        reallocHandle(handle, size);
    }
    copyMemory(*handle + keep, names.data(), namesSize);
    copyMemory(*handle + keep + namesSize, records.data(), int(records.dataLength()));
    return true;
}

} // namespace zelvane
