// An IFC property holding a date.
#pragma once

#include "IFC/IFCProperty.h"

namespace zelvane {

class IFCCalendarDate : public IFCProperty {
public:
    static constexpr int kind = API_IFCPropertyCalendarDateType;

    IFCCalendarDate(const Setting& value, const String& name, const String& setName,
                    const String& valueTypeName, const String& description);
    IFCCalendarDate(const IFCCalendarDate& other);

    static IFCCalendarDate* create(const API_IFCProperty& record);

    IFCCalendarDate* clone() const override { return new IFCCalendarDate(*this); }
    int getType() const override { return kind; }
    // The date from a held time (a setting of another kind leaves the record's date alone).
    bool pack(API_IFCProperty& record) const override;

    virtual const Setting* getSetting() const { return m_value.get(); }
    virtual void setSetting(const Setting& value);

private:
    explicit IFCCalendarDate(const API_IFCProperty& record);

    std::unique_ptr<Setting> m_value;
};

} // namespace zelvane
