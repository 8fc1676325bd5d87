// The user database of preset records, the project package 'PSET'. Beside the records it keeps,
// for the whole module, the registry of record templates: one template record per preset type,
// the type's display name, an optional legacy name, and the rule by which record names of the
// type are unique. A record's XML tag is its type name, so templates decide which record elements
// a preset file may hold, what a new record starts from and how names are made unique.
#pragma once

#include "Addon/EventSpec.h"
#include "Environment/Guid.h"
#include "Environment/Map.h"
#include "Preset/PresetRecord.h"
#include "Preset/UserDatabase.h"

#include <cstdint>
#include <map>

namespace zelvane {

class DataFile;
class LegacyBinaryIn;
class Parameter;
class PresetEditor;
class PresetUpdater;
class UserDatabaseCollection;

class PresetDatabase : public UserDatabase<PresetRecord, PresetDatabase, UserDatabaseCollection, Guid> {
public:
    enum Uniqueness : Int32 { notUnique = 0, uniqueInType = 1, uniqueInDatabase = 2 };

    // The template of one preset type and the type's naming rule; the entry owns the template.
    class TemplateRecord {
    public:
        TemplateRecord(PresetRecord* record, Uniqueness uniqueness)
            : m_record(record), m_uniqueness(uniqueness) {}
        TemplateRecord(TemplateRecord const& other)
            : m_record(other.m_record->clone()), m_uniqueness(other.m_uniqueness) {}
        TemplateRecord& operator=(TemplateRecord const&) = delete;
        ~TemplateRecord() { delete m_record; }
        TemplateRecord* clone() const { return new TemplateRecord(*this); }

        PresetRecord* getRecord() const { return m_record; }
        Uniqueness getUniqueness() const { return m_uniqueness; }

    private:
        PresetRecord* m_record;
        Uniqueness m_uniqueness;
    };
    using PresetMap = Map<String, TemplateRecord>;

    // The package code, then the event kind of the preset editor.
    static EventSpec const ID;
    static constexpr char const* xmlTag = "presetDatabase";
    static constexpr char const* rootTag = "zelvanePresets";

    PresetDatabase() = default;
    PresetDatabase(PresetDatabase const& other) = default;

    bool isClearOptional() const override { return false; }

    // Registers a preset type, taking the template (unless it is null, the display name is empty
    // or the type is registered already: the caller then keeps it). The first registration while
    // an add-on runs also registers the project package 'PSET' and the preset editor and updater.
    static void addTemplate(PresetRecord* record, String const& displayName, String const& legacyName,
                            Uniqueness uniqueness);
    // A new copy of the type's template (of the active one for an empty type), owned by the
    // caller; null when the type is not registered.
    static PresetRecord* getTemplateFor(String const& type, Uniqueness* uniqueness = nullptr);
    // A new copy of the active template; the first type in name order becomes active when none
    // is. Null when no type is registered.
    static PresetRecord* getDefaultTemplate(Uniqueness* uniqueness = nullptr);
    static Uniqueness getTemplateUniquenessFor(String const& type);
    // Makes the template of a type (named by its type name or its display name) active; false
    // when there is no such type.
    static bool setDefaultTemplate(String const& name, bool isTypeName);
    // The display name of a type; empty when it is not registered.
    static String getDisplayName(String const& type);
    // The registered types: type name -> display name, in type-name order.
    static std::map<String, String> const& getTypeNames() { return m_name; }
    // The type registered under a legacy name; empty when none.
    static String getTypeForLegacyName(String const& legacyName);
    // Ends the module's state: templates, names, the editor and the updater.
    static void shutdownModule();

    // Some record, deprecated or not, is of that type.
    bool isTypeFound(String const& type) const;
    // Fills a menu array with the sorted names of the current records of a type that the filter
    // accepts; true when a cell or the row count changed.
    bool populate(Parameter& menu, String const& type, Filter const* filter) const;
    // The name under which a record of the type may take `name` by the type's naming rule: the
    // name itself, or its next free numbered variant. The holder, when asked for, receives the
    // record that bears the name (null when none does or the type's names may repeat).
    String getUniqueVariant(String const& name, String const& type, RecordPtr* holder) const;
    void getUniqueName(RecordPtr const& record) const override;

    // The root tag "zelvanePresets" and a view of this database (or of an independent copy,
    // which the collection then owns) through the filters.
    void initialiseStorage(UserDatabaseCollection& collection, bool independent,
                           FilterList const& filters) override;
    bool mergeStorage(UserDatabaseCollection& collection) override;

    // Reads a legacy preset file into the database; false when the file is not one, a read failed
    // or the user cancelled. Records merged before then stay.
    bool importLegacyPresets(DataFile& file);
    // Reads legacy preset file bytes, as importLegacyPresets does with a file's.
    bool importLegacyPresets(void const* data, int length);
    // The last legacy import stopped because the user cancelled it.
    bool isLegacyImportCancelled() const { return m_legacyCancelled; }
    bool importLegacyFolder(LegacyBinaryIn& reader, String const& typeName, int version, int depth = 0);
    bool importLegacyFile(LegacyBinaryIn& reader, String const& typeName, int version);
    bool importLegacyParameters(bool isArray, LegacyBinaryIn& reader, RecordPtr const& record, int version);
    // A fresh record of the preset type of a legacy type name, named; null when the legacy type
    // is not known.
    virtual RecordPtr createLegacyRecord(String const& typeName, String const& name);

    // Legacy folders nest no deeper than this.
    static constexpr int maxLegacyDepth = 64;

protected:
    PresetRecord* newRecordFor(String const& tag) const override;
    // The active template; std::bad_alloc when no type is registered.
    PresetRecord* newEmptyRecord() const override;
    // The template of the incoming record's type, so that its name is made unique by its own
    // type's rule; the active one when its type is not registered.
    PresetRecord* newMergeRecord(PresetRecord const& incoming) const override;

private:
    bool importLegacy(LegacyBinaryIn& reader, std::uint64_t size);

    // The byte count of the legacy input being read, which bounds the values it may claim.
    std::uint64_t m_legacyBytes = 0;
    bool m_legacyCancelled = false;

    static PresetMap* m_template;
    static PresetRecord* m_activeTemplate;
    static std::map<String, String> m_name;
    static std::map<String, String> m_legacyName;
    static PresetEditor* m_editor;
    static PresetUpdater* m_updater;
};

extern template class UserDatabase<PresetRecord, PresetDatabase, UserDatabaseCollection, Guid>;

} // namespace zelvane
