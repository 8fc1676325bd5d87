// An event made from a message of a host dialog, panel or control.
#pragma once

#include "Addon/Event.h"
#include "Interface/ControlLink.h"

#include <type_traits>
#include <typeinfo>

namespace zelvane {

class DialogControl;

class InterfaceEvent : public Event {
public:
    static constexpr UInt32 ID = MakeGSType("INTF");

    // The data word of a dialog message: a plain value, or the host's message record for the
    // message. A record is only ever read back as the type it was given as.
    class Data {
    public:
        Data(Int64 value = 0) : m_value(value) {}
        template <class Record>
        static Data record(Record* record) {
            Data data(Int64(reinterpret_cast<std::intptr_t>(record)));
            if (record != nullptr) {
                data.m_record = const_cast<void*>(static_cast<const void*>(record));
                data.m_type = &typeid(Record);
                data.m_isConst = std::is_const_v<Record>;
            }
            return data;
        }

        // The value the host passes: the plain value or the record's address.
        Int64 getValue() const { return m_value; }
        bool isRecord() const { return m_record != nullptr; }
        // The record when the data holds one of exactly this type, else null. A record given as
        // constant is answered only as constant.
        template <class Record>
        Record* getRecord() const {
            if (m_record == nullptr || *m_type != typeid(Record) || (m_isConst && !std::is_const_v<Record>)) {
                return nullptr;
            }
            return static_cast<Record*>(m_record);
        }
        // The plain value; 0 when the data is a record.
        Int64 getPlainValue() const { return m_record != nullptr ? 0 : m_value; }

    private:
        Int64 m_value;
        void* m_record = nullptr;
        const std::type_info* m_type = nullptr;
        bool m_isConst = false;
    };

    InterfaceEvent(UInt32 kind, UInt32 id, const ControlLink& link, const Data& data = Data(),
                   Receiver* receiver = nullptr)
        : Event(EventSpec(ID, kind), receiver), m_id(id), m_link(link), m_data(data) {}

    // The host dialog message number.
    UInt32 getID() const { return m_id; }
    virtual const ControlLink& getLink() const { return m_link; }
    virtual InterfacePanel* getPanel() const { return m_link.getPanel(); }
    virtual Int16 getItem() const { return m_link.getItem(); }
    // The panel's control of the event's item; null without a panel or such a control.
    virtual DialogControl* getControl() const;
    virtual Int64 getData() const { return m_data.getValue(); }
    const Data& getDataWord() const { return m_data; }

private:
    UInt32 m_id;
    ControlLink m_link;
    Data m_data;
};

} // namespace zelvane
