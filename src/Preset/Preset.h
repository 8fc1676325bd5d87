// One preset definition: how a preset type is wired to a library part's parameters. It names the
// string array that receives the menu of preset names, the cells holding the chosen name, the
// name last applied (echo), the applied record's key and the status code, the field-to-parameter
// settings, the instances (rows) it serves and the element subtypes it holds for.
//
// Applying it reads each instance's status code and restores the element's cells from a stored
// record, stores the cells as a record, starts or follows a customisation, or unlocks the
// instance; then it refreshes the menu. Child records (presets embedded in others) are handled by
// the definitions of the library configuration given, through their key parameters.
#pragma once

#include "Environment/Guid.h"
#include "Environment/String.h"
#include "Preset/IndexRange.h"
#include "Preset/PresetParameter.h"
#include "Preset/PresetSettingList.h"
#include "XML/XMLArray.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

namespace zelvane {

class ParameterList;
class PresetDatabase;
class PresetFilter;
class PresetRecord;
class Setting;
class ZelvaneLibrary;

class Preset : public XMLArray {
public:
    static constexpr char const* tag = "preset";

    // Status codes of an instance's status cell.
    enum Status : short {
        inForce = 0,
        unlocked = 1,
        storeRequest = 2,
        inForceToo = 4,
        customiseRequest = 8,
        customising = 9
    };

    explicit Preset(String const& type = String(), String const& menuName = String());
    // Copies every member, cloning the settings and the filter.
    Preset(Preset const& other);
    Preset& operator=(Preset const&) = delete;
    ~Preset() override;
    virtual Preset* clone() const { return new Preset(*this); }

    std::size_t shippingSize() const override { return 9 + m_subtypes.size(); }
    Shipping* getShipping(std::size_t index, bool attributes) override;
    using XMLArray::addShipping;
    // "subtype" appends an entry; "filter" makes a new filter in place of the old one.
    Shipping* addShipping(String const& tag, String const& nameSpace) override;
    void setDefault() override;
    bool validate() override { return !m_type.empty() && !m_menuName.empty(); }
    char const* getTag() const override { return tag; }

    // An empty subtype list holds for every subtype.
    bool isClassSupported(std::uint32_t subtype) const;
    // A copy of the parameter of the first setting of that field; an empty one when none.
    PresetParameter findParameterForField(String const& fieldName) const;
    // The field that a parameter feeds, by the settings' parameters and legacy entries: a direct
    // match ends the search, a legacy match gives its column and a later match replaces it.
    PresetParameter findFieldForParameter(String const& parameterName) const;

    // Acts on each instance's status code, then refreshes the menu; true when a cell changed.
    bool applyTo(ParameterList& element, PresetDatabase& database, ZelvaneLibrary const* library) const;
    bool restore(ParameterList& element, std::uint64_t instance, PresetDatabase& database,
                 ZelvaneLibrary const* library) const;
    bool unlock(ParameterList& element, std::uint64_t instance) const;
    // Stores the instance's cells as the record its key names, or as a new record.
    void extract(ParameterList& element, std::uint64_t instance, PresetDatabase& database,
                 ZelvaneLibrary const* library) const;
    bool customise(ParameterList& element, std::uint64_t instance, PresetDatabase& database,
                   ZelvaneLibrary const* library) const;
    bool restoreRecord(Guid const& key, PresetRecord const& record, ParameterList& element,
                       std::uint64_t instance, PresetDatabase& database, ZelvaneLibrary const* library) const;
    void extractRecord(PresetRecord& record, ParameterList& element, std::uint64_t instance,
                       PresetDatabase& database, ZelvaneLibrary const* library) const;
    // Routes a legacy value into the record or one of its children; true when a field took it.
    bool importLegacyParameterTo(PresetRecord& record, String const& name, Setting const& setting,
                                 std::size_t column, PresetDatabase& database,
                                 ZelvaneLibrary const* library) const;
    // Whether the record or one of its children has a field that the parameter feeds.
    bool isParameterInHierarchy(String const& name, PresetRecord const& record,
                                PresetDatabase const& database, ZelvaneLibrary const* library) const;

    String const& getType() const { return m_type; }
    String const& getMenuName() const { return m_menuName; }
    PresetFilter* getFilter() const { return m_filter.get(); }
    void setFilter(PresetFilter* filter);
    PresetParameter& getNameParameter() { return m_nameParameter; }
    PresetParameter& getEchoParameter() { return m_echoParameter; }
    PresetParameter& getKeyParameter() { return m_keyParameter; }
    PresetParameter const& getKeyParameter() const { return m_keyParameter; }
    PresetParameter& getStatusParameter() { return m_statusParameter; }
    PresetSettingList& getSettingList() { return m_settingList; }
    IndexRange& getIndexRange() { return m_indexRange; }
    std::vector<std::uint32_t>& getSubtypes() { return m_subtypes; }

private:
    // The records on the path from the top record to the one at hand, so that a child naming one
    // of them is not followed again.
    using Path = std::vector<PresetRecord const*>;

    bool restoreRecord(Guid const& key, PresetRecord const& record, ParameterList& element,
                       std::uint64_t instance, PresetDatabase& database, ZelvaneLibrary const* library,
                       Path& path) const;
    void extractRecord(PresetRecord& record, ParameterList& element, std::uint64_t instance,
                       PresetDatabase& database, ZelvaneLibrary const* library, Path& path) const;
    bool importLegacyParameterTo(PresetRecord& record, String const& name, Setting const& setting,
                                 std::size_t column, PresetDatabase& database, ZelvaneLibrary const* library,
                                 Path& path) const;
    bool isParameterInHierarchy(String const& name, PresetRecord const& record,
                                PresetDatabase const& database, ZelvaneLibrary const* library,
                                Path& path) const;
    // The child of a slot: the stored record its Guid field names when there is one, else the
    // embedded child; the Guid is null for the embedded one.
    PresetRecord const* childOf(PresetRecord const& record, std::size_t index, PresetDatabase const& database,
                                bool ignoredToo, Guid& key, String& parameter) const;
    // Calls visit with each child of the record (see childOf) that the library has a preset for and
    // that is not on the path, with the record on the path meanwhile, until visit answers true;
    // answers whether it did.
    using ChildVisit = std::function<bool(Preset const& preset, PresetRecord const& child, Guid const& key)>;
    bool forEachChild(PresetRecord const& record, PresetDatabase const& database,
                      ZelvaneLibrary const& library, bool ignoredToo, Path& path,
                      ChildVisit const& visit) const;

    String m_type;
    String m_menuName;
    std::unique_ptr<PresetFilter> m_filter;
    PresetParameter m_nameParameter;
    PresetParameter m_echoParameter;
    PresetParameter m_keyParameter;
    PresetParameter m_statusParameter;
    PresetSettingList m_settingList;
    IndexRange m_indexRange;
    std::vector<std::uint32_t> m_subtypes;
};

} // namespace zelvane
