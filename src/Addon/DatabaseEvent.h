// An element-database notification of the host: an element was made, changed or deleted, or a
// run of such notifications begins (id 0xFFFFFFFF) or ends (0xFFFFFFFE).
#pragma once

#include "Addon/HostEvent.h"
#include "Database/ElementLink.h"

namespace zelvane {

class Element;

class DatabaseEvent : public HostEvent {
public:
    static constexpr UInt32 ID = MakeGSType("DBSE");

    DatabaseEvent(Int32 id, const ElementLink& link, Int32 value = 0, void* data = nullptr,
                  Receiver* receiver = nullptr)
        : HostEvent(ID, id, receiver), m_link(link), m_value(value), m_data(data) {}

    virtual DatabaseEvent* clone() const { return new DatabaseEvent(*this); }
    // The notification's parent element as an element object (the caller deletes it); null when
    // the host cannot give it or no element factory takes it.
    virtual Element* getOriginalElement(bool withMemo = false) const;

    const ElementLink& getLink() const { return m_link; }
    Int32 getValue() const { return m_value; }
    void* getData() const { return m_data; }

private:
    ElementLink m_link;
    Int32 m_value;
    void* m_data; // the host's
};

} // namespace zelvane
