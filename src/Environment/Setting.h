// A typed value that the user interface and the preset machinery handle without knowing its type.
// Every kind reads and writes itself as text, real, boolean, 32- and 64-bit integer and time;
// assignment between different kinds goes through text.
#pragma once

namespace zelvane {

class String;
class Time;

class Setting {
public:
    // Type codes answered by getType.
    static constexpr int booleanType = 1;
    static constexpr int int32Type = 2; // also menus
    static constexpr int int64Type = 3;
    static constexpr int realType = 4; // also angles
    static constexpr int lengthType = 5;
    static constexpr int timeType = 6;
    static constexpr int stringType = 7;
    static constexpr int idType = 8;

    Setting() = default;
    Setting(Setting const&) = default;
    virtual ~Setting() = default;

    // A new copy, owned by the caller.
    virtual Setting* clone() const = 0;
    // Takes the other's text form; kinds copy the stored value directly from their own kind.
    virtual Setting& operator=(Setting const& other);

    virtual void getValue(String& value) const = 0;
    virtual void getValue(double& value) const = 0;
    // The integer value is non-zero.
    virtual void getValue(bool& value) const;
    virtual void getValue(int& value) const = 0;
    virtual void getValue(Time& value) const = 0;
    virtual void getValue(long long& value) const = 0;

    // Both are false against a setting of another kind.
    virtual bool isEqualTo(Setting const& other) const = 0;
    virtual bool isLessThan(Setting const& other) const = 0;
    virtual bool isNull() const = 0;
    virtual int getType() const = 0;

    virtual void setDefault() = 0;

    virtual void setValue(String const& value) = 0;
    virtual void setValue(double value) = 0;
    // The integer value 1 or 0.
    virtual void setValue(bool const& value);
    virtual void setValue(int const& value) = 0;
    virtual void setValue(Time const& value) = 0;
    virtual void setValue(long long const& value) = 0;
    // A C text is text, not the boolean its pointer would convert to.
    void setValue(char const* value);

protected:
    // Truncation toward zero, saturated at the integer's range (NaN gives 0).
    static int truncateToInt(double value);
    static long long truncateToInt64(double value);
};

} // namespace zelvane
