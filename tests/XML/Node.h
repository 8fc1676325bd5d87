// A configurable assembly for tests: its fields are made by factories, so a test can hand out any
// binding (leaves, proxies of other nodes, null) at any index.
#pragma once

#include "Environment/String.h"
#include "XML/XMLAssembly.h"

#include <cstring>
#include <functional>
#include <memory>
#include <vector>

namespace test {

struct Node : zelvane::XMLAssembly {
    explicit Node(char const* tag, char const* nameSpace = nullptr) : tag(tag), nameSpace(nameSpace) {}

    char const* getTag() const override { return tag; }
    char const* getNameSpace() const override { return nameSpace; }
    bool hasAttributes() const override { return attributes; }
    std::size_t shippingSize() const override { return fields.size(); }
    zelvane::Shipping* getShipping(std::size_t index, bool) override {
        return index < fields.size() ? fields[index]() : nullptr;
    }
    zelvane::Shipping* getShipping(zelvane::String const& name, zelvane::String const&) override {
        for (auto& field : fields) {
            std::unique_ptr<zelvane::Shipping> binding(field());
            auto* named = dynamic_cast<zelvane::XMLShipping*>(binding.get());
            if (named != nullptr && std::strcmp(named->getTag(), name.data()) == 0) {
                return binding.release();
            }
        }
        return nullptr;
    }
    void setDefault() override {
        ++defaults;
        if (onDefault) {
            onDefault();
        }
    }
    bool validate() override {
        ++validations;
        return valid;
    }
    bool read(zelvane::String const& text) override {
        texts.push_back(text);
        return true;
    }

    char const* tag;
    char const* nameSpace;
    bool attributes = true;
    bool valid = true;
    int defaults = 0;
    int validations = 0;
    std::vector<zelvane::String> texts;
    std::function<void()> onDefault;
    std::vector<std::function<zelvane::Shipping*()>> fields;
};

} // namespace test
