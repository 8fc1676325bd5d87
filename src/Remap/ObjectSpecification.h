// One remapping rule: the source name it answers, the library part that replaces the source's
// part, and the parameter values that differ from that part's own.
#pragma once

#include "ACAPI/LibraryParts.hpp"
#include "Environment/String.h"
#include "Remap/CustomParameters.h"
#include "Remap/ObjectMap.h"
#include "XML/KeptMarkup.h"
#include "XML/XMLAssembly.h"

#include <memory>

namespace zelvane {
class ComponentElem;
class ComponentLink;
class ParameterList;
} // namespace zelvane

namespace zelvane::remap {

class ObjectSpecification : public XMLAssembly {
public:
    static constexpr std::size_t fieldCount = 5;

    // An object rule (type 4) without names, target or values.
    ObjectSpecification();
    // Copies the texts, the type and the automatic flag; the custom values and the resolved target
    // are shared with the other rule, not copied.
    ObjectSpecification(ObjectSpecification const& other);
    ObjectSpecification& operator=(ObjectSpecification const& other);
    ~ObjectSpecification() override;

    virtual ObjectSpecification* clone() const { return new ObjectSpecification(*this); }

    char const* getTag() const override { return "objectSpecification"; }
    // "mappedType" (an attribute, written unless the type is object), "originalName", "mappedName",
    // "mappedObjectGuid" and "customParameters" (written when there is a value).
    std::size_t shippingSize() const override { return fieldCount; }
    Shipping* getShipping(std::size_t index, bool attributes) override;
    Shipping* getShipping(String const& tag, String const& nameSpace) override;
    void setDefault() override;
    // What the rule's element held beside its fields, written back where it stood.
    KeptMarkup* getKept() override { return &m_kept; }

    // The target part, resolved once and kept: by the stored unique ID in the loaded library, else
    // by the mapped name. Null when that link names no part. The rule's own type never changes:
    // the type found belongs to the link alone.
    ComponentLink* getMappedLink();
    // Makes the linked part the target: its name and unique ID become the rule's and the link is
    // kept. The link's library, else the loaded one, is asked; false, with the rule as it was,
    // without a library or when the part is missing.
    bool setMappedLink(ComponentLink const& link);

    // Puts the custom values into the element's parameters; an object (or lamp) also takes "A",
    // "B" and "ZZYZX" length values as its plan width, depth and height, a door or window "A" and
    // "ZZYZX" as its opening width and height.
    void applyParametersTo(ComponentElem& element) const;

    // Keeps in the custom values exactly those of `after` that differ from the same-named values of
    // `before` (the target part's own): values set back to the part's own are dropped.
    void setParameters(ParameterList const& before, ParameterList const& after);

    String const& getOriginalName() const { return m_originalName; }
    // The name and the type are the rule's key: the list holding the rule is told of a change.
    void setOriginalName(String const& name);
    String const& getMappedName() const { return m_mappedName; }
    void setMappedName(String const& name) { m_mappedName = name; }
    String const& getMappedObjectGuid() const { return m_mappedObjectGuid; }
    void setMappedObjectGuid(String const& guid) { m_mappedObjectGuid = guid; }
    API_LibTypeID getMappedType() const { return m_mappedType; }
    void setMappedType(API_LibTypeID type);
    // Null when the rule has no custom values.
    std::shared_ptr<ParameterList> const& getCustomParameters() const { return m_customParameters; }
    void setCustomParameters(std::shared_ptr<ParameterList> parameters) {
        m_customParameters = std::move(parameters);
    }
    bool isAutomatic() const { return m_automatic; }
    void setAutomatic(bool automatic) { m_automatic = automatic; }

private:
    friend class SpecificationList;
    // Tells the holding list that the key may have changed.
    void keyChanged();

    // The list holding the rule, which indexes it by key; null for a rule of no list. A copy
    // belongs to no list; a rule assigned another's fields stays in its list, which is told.
    class Holder {
    public:
        Holder() = default;
        Holder(Holder const&) {}
        Holder& operator=(Holder const&);
        SpecificationList* list = nullptr;
    };
    Holder m_owner;
    String m_originalName;
    String m_mappedName;
    String m_mappedObjectGuid;
    // The key's type; matching and the file go by it, whatever type the target turns out to have.
    API_LibTypeID m_mappedType = APILib_ObjectID;
    std::shared_ptr<ParameterList> m_customParameters;
    // The resolved target; never written.
    std::shared_ptr<ComponentLink> m_mappedLink;
    // Made by automatic mapping; never written.
    bool m_automatic = false;
    KeptMarkup m_kept;
    CustomParameters::Kept m_parametersKept;
};

} // namespace zelvane::remap
