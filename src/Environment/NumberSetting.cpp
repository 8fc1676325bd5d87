#include "Environment/NumberSetting.h"

#include "Environment/Int32Setting.h"
#include "Environment/Int64Setting.h"
#include "Environment/RealSetting.h"
#include "Environment/Time.h"
#include "Environment/TimeSetting.h"

#include <type_traits>

namespace zelvane {

template <typename Kind, typename Number>
template <typename To, typename From>
To NumberSetting<Kind, Number>::converted(From value) {
    if constexpr (std::is_same_v<To, From>) {
        return value;
    } else if constexpr (std::is_same_v<To, double>) {
        return double(value);
    } else if constexpr (std::is_same_v<From, double>) {
        if constexpr (std::is_same_v<To, int>) {
            return Setting::truncateToInt(value);
        } else {
            return Setting::truncateToInt64(value);
        }
    } else if constexpr (std::is_same_v<To, int>) {
        return static_cast<int>(static_cast<unsigned int>(value));
    } else {
        return value;
    }
}

template <typename Kind, typename Number>
void NumberSetting<Kind, Number>::getValue(double& value) const {
    value = converted<double>(this->m_value);
}

template <typename Kind, typename Number>
void NumberSetting<Kind, Number>::getValue(int& value) const {
    value = converted<int>(this->m_value);
}

template <typename Kind, typename Number>
void NumberSetting<Kind, Number>::getValue(Time& value) const {
    TimeSetting seconds;
    seconds.setValue(this->m_value);
    seconds.getValue(value);
}

template <typename Kind, typename Number>
void NumberSetting<Kind, Number>::getValue(long long& value) const {
    value = converted<long long>(this->m_value);
}

template <typename Kind, typename Number>
void NumberSetting<Kind, Number>::setDefault() {
    this->m_value = Number();
}

template <typename Kind, typename Number>
void NumberSetting<Kind, Number>::setValue(double value) {
    this->m_value = converted<Number>(value);
}

template <typename Kind, typename Number>
void NumberSetting<Kind, Number>::setValue(int const& value) {
    this->m_value = converted<Number>(value);
}

template <typename Kind, typename Number>
void NumberSetting<Kind, Number>::setValue(Time const& value) {
    TimeSetting(value).getValue(this->m_value);
}

template <typename Kind, typename Number>
void NumberSetting<Kind, Number>::setValue(long long const& value) {
    this->m_value = converted<Number>(value);
}

template class NumberSetting<Int32Setting, int>;
template class NumberSetting<Int64Setting, long long>;
template class NumberSetting<RealSetting, double>;

} // namespace zelvane
