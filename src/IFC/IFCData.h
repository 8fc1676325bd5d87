// One item of the IFC data the host keeps on an element: a named value of an IFC value type.
// Names and keys are interned class-wide, so equal texts and values share one object; the value
// type names map to the setting kinds that hold their values.
#pragma once

#include "ACAPI/IFC.hpp"
#include "Environment/Setting.h"
#include "Environment/String.h"

#include <memory>

namespace zelvane {

class IFCData {
public:
    using SharedText = std::shared_ptr<String>;
    using SharedKey = std::shared_ptr<Setting>;

    // An interned IFC value type name (null when empty) and the kind of setting for its values.
    struct ValueType {
        SharedText name;
        int code = 0;
    };

    // Keys in the order of their kind, then of their exact value; null first, NaN last.
    struct KeyLess {
        bool operator()(const SharedKey& a, const SharedKey& b) const;
    };

    // Kinds answered by getType.
    static constexpr int attributeKind = -1;
    static constexpr int classificationKind = -2;

    IFCData(const String& name, const String& valueTypeName, bool recordFlag);
    IFCData(const IFCData&) = default;
    IFCData& operator=(const IFCData&) = delete;
    virtual ~IFCData() = default;

    virtual IFCData* clone() const = 0;
    virtual int getType() const = 0;
    // A new setting for the value type (the item's own when null), assigned from initial when
    // given; null for types without a setting (none, dates).
    virtual Setting* makeValue(const Setting* initial, const ValueType* type = nullptr) const;
    // Sets the destination from the host value; false for types without a setting.
    virtual bool extractValue(Setting* destination, const API_IFCPropertyValue& value,
                              const ValueType* type = nullptr) const;
    // Fills the host value from the setting; false when the type has no name or no setting kind
    // (and for identifiers, whose text is written all the same).
    virtual bool packValue(API_IFCPropertyValue& value, const Setting* setting,
                           const ValueType* type = nullptr) const;

    const String& getName() const { return textOf(m_name); }
    const SharedText& getSharedName() const { return m_name; }
    const ValueType& getValueType() const { return m_valueType; }
    bool getRecordFlag() const { return m_recordFlag; }

    // The interned text equal to the text; null for the empty text.
    static SharedText addText(const String& text);
    static SharedText addText(const GS::UniString& text) { return addText(String(text)); }
    // The type of a value type name; a name not in the table is text when asked, else of no kind.
    static ValueType addValueType(const String& name, bool unknownAsText);
    // The interned key equal in kind and value to the key (the key itself when new).
    static SharedKey addKey(const SharedKey& key);
    // Drops the interned texts and keys (items alive keep theirs).
    static void reset();
    static void shutdown();
    static const String& textOf(const SharedText& text);

protected:
    IFCData(SharedText name, ValueType type, bool recordFlag)
        : m_name(std::move(name)), m_valueType(std::move(type)), m_recordFlag(recordFlag) {}

private:
    SharedText m_name;
    ValueType m_valueType;
    bool m_recordFlag;
};

} // namespace zelvane
