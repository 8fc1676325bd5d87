// Bindable sample objects shaped like the object map: a root assembly with attributes, an array of
// entries holding leaves of every kind and a nested array, and a map of records keyed by GUID.
// Shared by the tests, the benchmark and the fuzz target.
#pragma once

#include "Environment/Guid.h"
#include "Environment/String.h"
#include "Environment/Time.h"
#include "XML/XMLArray.h"
#include "XML/XMLArrayProxy.h"
#include "XML/XMLAssembly.h"
#include "XML/XMLAssemblyProxy.h"
#include "XML/XMLCurrency.h"
#include "XML/XMLDateTime.h"
#include "XML/XMLDecimal.h"
#include "XML/XMLLength.h"
#include "XML/XMLMap.h"
#include "XML/XMLMapProxy.h"
#include "XML/XMLPair.h"
#include "XML/XMLTypeProxy.h"
#include "XML/XMLUnitKey.h"

#include <cstring>
#include <memory>
#include <set>
#include <utility>
#include <vector>

namespace sample {

using namespace zelvane;

inline bool is(String const& text, char const* tag) {
    return std::strcmp(text.data(), tag) == 0;
}

struct Param : XMLAssembly {
    String name;
    String type;
    String value;

    char const* getTag() const override { return "param"; }
    std::size_t shippingSize() const override { return 3; }
    Shipping* getShipping(std::size_t index, bool) override {
        switch (index) {
        case 0:
            return new XMLTypeProxy<String>(name, "name", true);
        case 1:
            return new XMLTypeProxy<String>(type, "type", true);
        case 2:
            return new XMLTypeProxy<String>(value, "value");
        default:
            return nullptr;
        }
    }
    Shipping* getShipping(String const& tag, String const&) override {
        for (std::size_t index = 0; index < 3; ++index) {
            if (is(tag, fieldTags[index])) {
                return getShipping(index, false);
            }
        }
        return nullptr;
    }
    void setDefault() override {
        name.clear();
        type.clear();
        value.clear();
    }
    static constexpr char const* fieldTags[] = {"name", "type", "value"};
};

// Owns its entries; a binding of the array hands them out one per index.
template <typename Entry>
struct List : XMLArray {
    explicit List(char const* tag) : listTag(tag) {}

    char const* getTag() const override { return listTag; }
    std::size_t shippingSize() const override { return entries.size(); }
    Shipping* getShipping(std::size_t index, bool) override {
        return index < entries.size() ? new XMLAssemblyProxy(*entries[index]) : nullptr;
    }
    using XMLArray::addShipping;
    Shipping* addShipping(String const& tag, String const&) override {
        if (!is(tag, Entry::entryTag)) {
            return nullptr;
        }
        entries.push_back(std::make_unique<Entry>());
        return new XMLAssemblyProxy(*entries.back());
    }
    void setDefault() override { entries.clear(); }

    char const* listTag;
    std::vector<std::unique_ptr<Entry>> entries;
};

struct ParamEntry : Param {
    static constexpr char const* entryTag = "param";
};

struct Entry : XMLAssembly {
    static constexpr char const* entryTag = "entry";

    String sourceName;
    String objectType;
    Guid id;
    String name;
    String note;
    double width = 0;
    int count = 0;
    unsigned int flags = 0;
    short level = 0;
    unsigned long long size = 0;
    bool enabled = false;
    double length = 0;
    double price = 0;
    double ratio = 0;
    Time edited{false};
    List<ParamEntry> params{"params"};

    static constexpr char const* fieldTags[] = {
        "sourceName", "objectType", "id",      "name",   "note",  "width", "count",  "flags",
        "level",      "size",       "enabled", "length", "price", "ratio", "edited", "params"};
    static constexpr std::size_t fieldCount = sizeof(fieldTags) / sizeof(fieldTags[0]);

    char const* getTag() const override { return "entry"; }
    std::size_t shippingSize() const override { return fieldCount; }
    Shipping* getShipping(std::size_t index, bool) override {
        switch (index) {
        case 0:
            return new XMLTypeProxy<String>(sourceName, "sourceName", true);
        case 1:
            return new XMLTypeProxy<String>(objectType, "objectType", true);
        case 2:
            return new XMLTypeProxy<Guid>(id, "id", true);
        case 3:
            return new XMLTypeProxy<String>(name, "name");
        case 4:
            return new XMLTypeProxy<String>(note, "note");
        case 5:
            return new XMLTypeProxy<double>(width, "width");
        case 6:
            return new XMLTypeProxy<int>(count, "count");
        case 7:
            return new XMLTypeProxy<unsigned int>(flags, "flags");
        case 8:
            return new XMLTypeProxy<short>(level, "level");
        case 9:
            return new XMLTypeProxy<unsigned long long>(size, "size");
        case 10:
            return new XMLTypeProxy<bool>(enabled, "enabled");
        case 11:
            return new XMLLength(length, UnitScaler::Length(2), "length");
        case 12:
            return new XMLCurrency(price, "price");
        case 13:
            return new XMLDecimal(ratio, "ratio");
        case 14: {
            auto* binding = new XMLDateTime(edited, "edited");
            binding->setContent(XMLDateTime::dateTimeZone);
            return binding;
        }
        case 15:
            return new XMLArrayProxy(params);
        default:
            return nullptr;
        }
    }
    Shipping* getShipping(String const& tag, String const&) override {
        for (std::size_t index = 0; index < fieldCount; ++index) {
            if (is(tag, fieldTags[index])) {
                return getShipping(index, false);
            }
        }
        return nullptr;
    }
    void setDefault() override {
        sourceName.clear();
        objectType.clear();
        id.clear();
        name.clear();
        note.clear();
        width = 0;
        count = 0;
        flags = 0;
        level = 0;
        size = 0;
        enabled = false;
        length = 0;
        price = 0;
        ratio = 0;
        edited = Time(false);
        params.setDefault();
    }
};

struct Record : XMLAssembly {
    String name;
    double amount = 0;
    Time day{false};

    char const* getTag() const override { return "record"; }
    std::size_t shippingSize() const override { return 3; }
    Shipping* getShipping(std::size_t index, bool) override {
        switch (index) {
        case 0:
            return new XMLCurrency(amount, "amount", true);
        case 1:
            return new XMLTypeProxy<String>(name, "name");
        case 2: {
            auto* binding = new XMLDateTime(day, "day");
            binding->setContent(XMLDateTime::date);
            return binding;
        }
        default:
            return nullptr;
        }
    }
    Shipping* getShipping(String const& tag, String const&) override {
        static constexpr char const* tags[] = {"amount", "name", "day"};
        for (std::size_t index = 0; index < 3; ++index) {
            if (is(tag, tags[index])) {
                return getShipping(index, false);
            }
        }
        return nullptr;
    }
    void setDefault() override {
        name.clear();
        amount = 0;
        day = Time(false);
    }
};

// Records by GUID, in the order they were read. An entry is created per "record" element and
// taken into the map only once it was read whole and its key is new.
struct RecordMap : XMLMap {
    char const* getTag() const override { return "records"; }
    std::size_t shippingSize() const override { return records.size(); }
    Shipping* getShipping(std::size_t index, bool) override {
        if (index >= records.size()) {
            return nullptr;
        }
        return new XMLPair(new XMLUnitKey<Guid>(records[index].first, "key", true),
                           new XMLAssemblyProxy(*records[index].second));
    }
    using XMLArray::addShipping;
    Shipping* addShipping(String const& tag, String const&) override {
        if (!is(tag, "record")) {
            return nullptr;
        }
        pending = std::make_unique<Record>();
        return new XMLPair(new XMLUnitKey<Guid>("key", true), new XMLAssemblyProxy(*pending));
    }
    bool insert(Shipping& entry) override {
        auto* pair = dynamic_cast<XMLPair*>(&entry);
        if (pair == nullptr || pending == nullptr) {
            return false;
        }
        auto* key = dynamic_cast<XMLUnitKey<Guid>*>(pair->getKey());
        auto* data = dynamic_cast<XMLAssemblyProxy*>(pair->getData());
        if (key == nullptr || data == nullptr || &data->getObject() != pending.get() ||
            !keys.insert(key->getKey()).second) {
            return false;
        }
        records.emplace_back(key->getKey(), std::move(pending));
        return true;
    }
    void setDefault() override {
        records.clear();
        keys.clear();
        pending.reset();
    }

    std::vector<std::pair<Guid, std::unique_ptr<Record>>> records;
    std::set<Guid> keys;
    std::unique_ptr<Record> pending;
};

struct ObjectMap : XMLAssembly {
    int version = 0;
    String library;
    List<Entry> entries{"entries"};
    RecordMap records;

    char const* getTag() const override { return "objectMap"; }
    std::size_t shippingSize() const override { return 4; }
    Shipping* getShipping(std::size_t index, bool) override {
        switch (index) {
        case 0:
            return new XMLTypeProxy<int>(version, "version", true);
        case 1:
            return new XMLTypeProxy<String>(library, "library", true);
        case 2:
            return new XMLArrayProxy(entries);
        case 3:
            return new XMLMapProxy(records);
        default:
            return nullptr;
        }
    }
    Shipping* getShipping(String const& tag, String const&) override {
        static constexpr char const* tags[] = {"version", "library", "entries", "records"};
        for (std::size_t index = 0; index < 4; ++index) {
            if (is(tag, tags[index])) {
                return getShipping(index, false);
            }
        }
        return nullptr;
    }
    void setDefault() override {
        version = 0;
        library.clear();
        entries.setDefault();
        records.setDefault();
    }
};

} // namespace sample
