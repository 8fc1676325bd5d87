// The version of the add-on that last wrote the project, kept among the project's preferences so
// that a project saved by a newer version is told apart.
#pragma once

#include "GSRoot/GSRoot.hpp"
#include "XML/Package.h"

namespace zelvane {

class AddonPrefs : public Package {
public:
    static constexpr unsigned int ID = MakeGSType("ADNP");
    // Versions closer than this are the same.
    static constexpr double tolerance = 1e-5;

    // The running add-on's version.
    AddonPrefs();

    Package* clone() const override { return new AddonPrefs(*this); }
    unsigned int getID() const override { return ID; }
    const char* getTag() const override { return "addonPrefs"; }
    // Takes the other's version when it is newer.
    void merge(const Package& other) override;
    // A project saved by a newer version keeps that version (and the user is told); otherwise the
    // running version is recorded. Always true.
    bool validate() override;
    void setDefault() override;

    std::size_t shippingSize() const override { return 1; }
    Shipping* getShipping(std::size_t index, bool attributes) override;
    Shipping* getShipping(const String& tag, const String& nameSpace) override;

    double getVersion() const { return m_version; }
    void setVersion(double version) { m_version = version; }

    // The running add-on's version as a number (0 without an add-on).
    static double runningVersion();

private:
    double m_version = 0;
};

} // namespace zelvane
