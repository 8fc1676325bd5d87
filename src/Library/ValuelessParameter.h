// A parameter without values (a separator or a title in the part's parameter list): it keeps its
// name, description and place, and packs and unpacks nothing.
#pragma once

#include "Library/Parameter.h"

namespace zelvane {

class ValuelessParameter : public Parameter {
public:
    using Parameter::Parameter;

    std::size_t getRowCount() const override { return 1; }
    Int32 getCommandTypeID() const override { return MDCLPar_int; }
    String getValueText(std::size_t = 0, std::size_t = 0) const override { return String(); }
    Setting* getSetting(std::size_t = 0, std::size_t = 0) const override { return nullptr; }
    bool setRowCount(std::size_t) override { return false; }
    bool setColumnCount(std::size_t) override { return false; }
    void setValueText(const String&, std::size_t = 0, std::size_t = 0) override {}
    bool setSetting(const Setting&, std::size_t = 0, std::size_t = 0) override { return false; }
    bool copyFrom(const Parameter& other, bool, bool) override { return other.getTypeID() == getTypeID(); }
    // Nothing to keep: all but the name is the defaults'.
    bool rebase(const Parameter& defaults, bool) override {
        if (defaults.getTypeID() != getTypeID()) {
            return false;
        }
        takeHeading(defaults, true);
        return true;
    }
    void applyDelta(const Parameter&, const Parameter&) override {}
    bool operator==(const Parameter& other) const override { return other.getTypeID() == getTypeID(); }
    bool pack(API_AddParType&) const override { return true; }
    bool pack(API_ChangeParamType&) const override { return true; }
    bool unpack(const API_AddParType&) override { return true; }
    bool pack(API_MDCLParameter&) const override { return true; }
    bool unpack(const API_MDCLParameter&) override { return true; }
    bool addRow(std::size_t) override { return false; }

protected:
    ValuelessParameter(const ValuelessParameter&) = default;
};

} // namespace zelvane
