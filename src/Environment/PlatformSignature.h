// The host application and its version that an object was made for, written into XML as the
// element "host" and the attribute "version".
#pragma once

#include "Environment/HostType.h"
#include "XML/XMLAssembly.h"

namespace zelvane {

class PlatformSignature : public XMLAssembly {
public:
    // A null tag means "signature".
    explicit PlatformSignature(const HostType& host = HostType(), Int16 version = 0,
                               const char* tag = nullptr)
        : m_host(host), m_version(version), m_tag(tag) {}
    PlatformSignature(const PlatformSignature& other) = default;
    PlatformSignature& operator=(const PlatformSignature& other) = default;

    PlatformSignature* clone() const { return new PlatformSignature(*this); }

    // By host ID, then by version, each as signed numbers.
    bool operator<(const PlatformSignature& other) const;
    bool operator==(const PlatformSignature& other) const {
        return m_host.getID() == other.m_host.getID() && m_version == other.m_version;
    }
    bool operator!=(const PlatformSignature& other) const { return !(*this == other); }

    const HostType& getHost() const { return m_host; }
    Int16 getVersion() const { return m_version; }
    // The host's name, a space and the version, as "ArchiCAD 21".
    String getName() const;

    // Host "All" and version 0, neither of which is written.
    void setDefault() override;
    std::size_t shippingSize() const override { return 2; }
    Shipping* getShipping(std::size_t index, bool attributes) override;
    Shipping* getShipping(const String& tag, const String& nameSpace) override;
    const char* getTag() const override { return m_tag != nullptr ? m_tag : "signature"; }

private:
    HostType m_host;
    Int16 m_version;
    const char* m_tag; // a literal of the owner
};

} // namespace zelvane
