// An identifier setting: a Guid written in its 36-character form, or in the host's 22-character
// compact form when `compressed` is set.
#pragma once

#include "Environment/Guid.h"
#include "Environment/ValueSetting.h"

namespace zelvane {

class IDSetting : public ValueSetting<IDSetting, Guid> {
public:
    IDSetting() = default;
    explicit IDSetting(Guid const& value, bool compressed = false)
        : ValueSetting(value), m_compressed(compressed) {}
    // Reads the text in either form, then takes the compressed flag.
    explicit IDSetting(String const& text, bool compressed = false);
    IDSetting(IDSetting const&) = default;
    IDSetting& operator=(IDSetting const& other);
    using ValueSetting::operator=;

    using Setting::getValue;
    using Setting::setValue;
    IDSetting* clone() const override;
    Setting& operator=(Setting const& other) override;
    // Empty when the host cannot write the compact form.
    void getValue(String& value) const override;
    // Numbers are 0 and the time is null.
    void getValue(double& value) const override;
    void getValue(int& value) const override;
    void getValue(Time& value) const override;
    void getValue(long long& value) const override;
    // The same identifier; against any other setting, the text forms without regard to case.
    bool isEqualTo(Setting const& other) const override;
    bool isNull() const override;
    int getType() const override;
    void setDefault() override;
    // A 36-character text, or a 22-character compact one (which sets `compressed`); any other
    // text gives the null identifier.
    void setValue(String const& value) override;
    // Numbers and times reset to the default.
    void setValue(double value) override;
    void setValue(int const& value) override;
    void setValue(Time const& value) override;
    void setValue(long long const& value) override;

    Guid getValue() const { return m_value; }
    bool isCompressed() const { return m_compressed; }
    void setCompressed(bool compressed) { m_compressed = compressed; }

private:
    bool m_compressed = false;
};

} // namespace zelvane
