// A file event that carries the host's 3D sight being exported.
#pragma once

#include "Addon/FileEvent.h"

#include <memory>

namespace Modeler {
class Sight;
}

namespace zelvane {

class File3DEvent : public FileEvent {
public:
    // Names the class; the event's kind stays that of every file event, so that file-event
    // subscribers take it.
    static constexpr UInt32 ID = MakeGSType("FIL3");

    File3DEvent(Int16 type, DataFile* file, const std::shared_ptr<Modeler::Sight>& sight,
                const String& text = String(), UInt32 value = 0, bool flag = false,
                Receiver* receiver = nullptr)
        : FileEvent(type, file, text, value, flag, receiver), m_sight(sight) {}

    const std::shared_ptr<Modeler::Sight>& getSight() const { return m_sight; }

private:
    std::shared_ptr<Modeler::Sight> m_sight; // shared with the host
};

} // namespace zelvane
