// A layer of the project: whether its elements are hidden, locked or drawn as wireframe, and the
// group of layers whose elements intersect.
#pragma once

#include "Attribute/RecordAttribute.h"

#include <string>

namespace zelvane {

class Layer : public RecordAttribute<Layer, API_LayerType, 2> {
public:
    static constexpr UInt16 hidden = 0x0001;
    static constexpr UInt16 locked = 0x0002;
    static constexpr UInt16 reserved = 0x0004;
    static constexpr UInt16 wire = 0x0010;

    // A layer's state: its flags and intersection group.
    class Status {
    public:
        explicit Status(UInt16 flags = 0, Int32 connectionID = 0)
            : m_flags(flags), m_connectionID(connectionID) {}
        explicit Status(const API_LayerStat& entry)
            : m_flags(UInt16(entry.lFlags)), m_connectionID(entry.conClassId) {}
        virtual ~Status() = default;

        UInt16 getFlags() const { return m_flags; }
        Int32 getConnectionID() const { return m_connectionID; }
        void setConnectionID(Int32 connectionID) { m_connectionID = connectionID; }
        void setLocked(bool on) { setFlag(locked, on); }
        void setHidden(bool on) { setFlag(hidden, on); }
        void setReserved(bool on) { setFlag(reserved, on); }
        void setWire(bool on) { setFlag(wire, on); }
        // A host entry with the flags and group; its layer index is the caller's to set.
        operator API_LayerStat() const;

        bool operator==(const Status& other) const {
            return m_flags == other.m_flags && m_connectionID == other.m_connectionID;
        }

    private:
        void setFlag(UInt16 flag, bool on) {
            m_flags = on ? UInt16(m_flags | flag) : UInt16(m_flags & ~flag);
        }

        UInt16 m_flags;
        Int32 m_connectionID;
    };

    using RecordAttribute::RecordAttribute;
    // The layer of that name; the host's special layer's localised name links to index 1; a new
    // layer of that name when the host has none.
    explicit Layer(const String& name);

    // The localised name of the host's special layer, read once.
    static String archicadLayerName();

    bool isHidden() const { return (getFlags() & hidden) != 0; }
    bool isLocked() const { return (getFlags() & locked) != 0; }
    bool isReserved() const { return (getFlags() & reserved) != 0; }
    bool isWire() const { return (getFlags() & wire) != 0; }
    void setHidden(bool on) { setFlag(hidden, on); }
    void setLocked(bool on) { setFlag(locked, on); }
    void setWire(bool on) { setFlag(wire, on); }
    Int32 getConnectionID() const { return data().conClassId; }
    void setConnectionID(Int32 connectionID) { data().conClassId = connectionID; }
    Int32 getIntersectionNumber() const { return getConnectionID(); }
    void setIntersectionNumber(Int32 number) { setConnectionID(number); }
    Status getStatus() const { return Status(getFlags(), getConnectionID()); }

private:
    void setFlag(UInt16 flag, bool on) {
        setFlags(on ? UInt16(getFlags() | flag) : UInt16(getFlags() & ~flag));
    }

    // Kept outside host memory: it lives as long as the module.
    static std::string m_archiCADLayer;
};

} // namespace zelvane
