// A file event of the host: a file of a kind the add-on handles is being opened, merged or saved.
#pragma once

#include "Addon/HostEvent.h"
#include "Environment/DataFile.h"
#include "Environment/String.h"

#include <memory>

namespace zelvane {

class FileEvent : public HostEvent {
public:
    static constexpr UInt32 ID = MakeGSType("FILE");

    // Takes the data file (which may be null).
    FileEvent(Int16 type, DataFile* file, const String& text = String(), UInt32 value = 0, bool flag = false,
              Receiver* receiver = nullptr)
        : HostEvent(ID, type, receiver), m_type(type), m_file(file), m_text(text), m_value(value),
          m_flag(flag) {}
    // Copies clone the data file.
    FileEvent(const FileEvent& other);
    FileEvent& operator=(const FileEvent& other);

    // The file-event type.
    Int16 getID() const { return m_type; }
    const DataFile* getFile() const { return m_file.get(); }
    const String& getText() const { return m_text; }
    UInt32 getValue() const { return m_value; }
    bool getFlag() const { return m_flag; }

private:
    Int16 m_type;
    std::unique_ptr<DataFile> m_file;
    String m_text;
    UInt32 m_value;
    bool m_flag;
};

} // namespace zelvane
