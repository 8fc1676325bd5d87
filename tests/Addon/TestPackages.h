// Preference packages of the tests' own: a counter and a name.
#pragma once

#include "Environment/String.h"
#include "XML/Package.h"
#include "XML/XMLTypeProxy.h"

#include <algorithm>
#include <stdexcept>

namespace testing_addon {

using namespace zelvane;

class CountPrefs : public Package {
public:
    static constexpr unsigned int ID = MakeGSType("CNTP");
    explicit CountPrefs(int value = 0, bool optional = true, unsigned int code = ID,
                        const char* tag = "countPrefs")
        : count(value), m_optional(optional), m_code(code), m_tag(tag) {}

    Package* clone() const override { return new CountPrefs(*this); }
    unsigned int getID() const override { return m_code; }
    const char* getTag() const override { return m_tag; }
    bool isClearOptional() const override { return m_optional; }
    // The larger count wins.
    void merge(const Package& other) override {
        if (auto* prefs = dynamic_cast<const CountPrefs*>(&other)) {
            count = std::max(count, prefs->count);
        }
    }
    void setDefault() override { count = 0; }
    std::size_t shippingSize() const override { return 1; }
    Shipping* getShipping(std::size_t index, bool) override {
        return index == 0 ? new XMLTypeProxy<int>(count, "count") : nullptr;
    }
    Shipping* getShipping(const String& tag, const String&) override {
        return tag == "count" ? getShipping(0, false) : nullptr;
    }

    int count;

private:
    bool m_optional;
    unsigned int m_code;
    const char* m_tag;
};

class NamePrefs : public Package {
public:
    static constexpr unsigned int ID = MakeGSType("NAMP");
    explicit NamePrefs(const char* value = "", unsigned int code = ID, const char* tag = "namePrefs")
        : name(value), m_code(code), m_tag(tag) {}

    Package* clone() const override { return new NamePrefs(*this); }
    unsigned int getID() const override { return m_code; }
    const char* getTag() const override { return m_tag; }
    void setDefault() override { name = "default"; }
    void shutdown() override {
        if (throwOnShutdown) {
            throw std::runtime_error("shutdown");
        }
    }
    std::size_t shippingSize() const override { return 1; }
    Shipping* getShipping(std::size_t index, bool) override {
        return index == 0 ? new XMLTypeProxy<String>(name, "name") : nullptr;
    }
    Shipping* getShipping(const String& tag, const String&) override {
        return tag == "name" ? getShipping(0, false) : nullptr;
    }

    String name;
    bool throwOnShutdown = false;

private:
    unsigned int m_code;
    const char* m_tag;
};

} // namespace testing_addon
