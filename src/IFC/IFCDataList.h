// The IFC items of one element, in the order they were read, with lookups by name and name maps
// (property names by set; attribute and classification names under the empty text) built on first
// use. A copy starts empty.
#pragma once

#include "ACAPI/IFC.hpp"
#include "Environment/List.h"
#include "IFC/IFCData.h"

#include <map>
#include <vector>

namespace zelvane {

class IFCAttribute;
class IFCClassificationReference;
class IFCProperty;

class IFCDataList : public List<IFCData> {
public:
    struct NameLess {
        bool operator()(const String& a, const String& b) const { return a.compare(b) < 0; }
    };
    using NameMap = std::map<String, std::vector<String>, NameLess>;

    IFCDataList() = default;
    IFCDataList(const IFCDataList&) : List<IFCData>() {}
    IFCDataList& operator=(const IFCDataList&) = delete;
    virtual ~IFCDataList();

    // The first property of the name (in the set, unless setName is empty); null when none.
    virtual IFCProperty* getProperty(const String& name, const String& setName) const;
    virtual IFCAttribute* getAttribute(const String& name) const;
    virtual IFCClassificationReference* getClassificationReference(const String& name) const;
    // The list takes the item, replacing one of the same name (and set); an item already held
    // stays where it is, held once, and replaces those of its name (and set) before it.
    virtual void setProperty(IFCProperty* property);
    virtual void setAttribute(IFCAttribute* attribute);
    // Deletes the first item of the item's name (and set).
    virtual void deleteProperty(const IFCProperty* property);
    virtual void deleteAttribute(const IFCAttribute* attribute);

    const NameMap& getPropertyNameMap() const;
    const NameMap& getAttributeNameMap() const;
    const NameMap& getClassificationNameMap() const;

    // Appends an item per acceptable record; true when every record gave one.
    bool unpack(const GS::Array<API_IFCProperty>& records);
    bool unpack(const GS::Array<API_IFCAttribute>& records);
    bool unpack(const GS::Array<API_IFCClassificationReference>& records);

private:
    template <typename Record>
    bool unpackAll(const GS::Array<Record>& records);
    static void removeName(NameMap* map, const String& key, const String& name);

    mutable std::unique_ptr<NameMap> m_propertyNames;
    mutable std::unique_ptr<NameMap> m_attributeNames;
    mutable std::unique_ptr<NameMap> m_classificationNames;
};

} // namespace zelvane
