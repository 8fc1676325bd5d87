// A pop-up menu choice: the item text and the item index. Text reads and writes the text, numbers
// the index; two choices compare by their texts.
#pragma once

#include "Environment/Int32Setting.h"
#include "Environment/StringSetting.h"

namespace zelvane {

class MenuSetting : public StringSetting, public Int32Setting {
public:
    MenuSetting() = default;
    MenuSetting(String const& text, int index) : StringSetting(text), Int32Setting(index) {}
    MenuSetting(MenuSetting const&) = default;
    MenuSetting& operator=(MenuSetting const& other);

    using Setting::getValue;
    using Setting::setValue;
    MenuSetting* clone() const override;
    // The index by the integer rule, then the text through text.
    Setting& operator=(Setting const& other) override;
    void getValue(String& value) const override;
    void getValue(double& value) const override;
    void getValue(int& value) const override;
    void getValue(Time& value) const override;
    void getValue(long long& value) const override;
    bool isEqualTo(Setting const& other) const override;
    bool isLessThan(Setting const& other) const override;
    bool isNull() const override;
    int getType() const override;
    void setDefault() override;
    void setValue(String const& value) override;
    void setValue(double value) override;
    void setValue(int const& value) override;
    void setValue(Time const& value) override;
    void setValue(long long const& value) override;

    // The item text.
    String getValue() const { return StringSetting::m_value; }
    int getIndex() const { return Int32Setting::m_value; }
};

} // namespace zelvane
