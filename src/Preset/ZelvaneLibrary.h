// The library configuration of an add-on that works with its own GDL library: the document
// "zelvaneLibrary" shipped in the library as a part, holding the preset definitions, and the time
// the document was last read. It finds definitions by type and key parameter or by a parameter
// of a record's hierarchy, and applies presets to an element's parameters.
#pragma once

#include "Environment/Time.h"
#include "Preset/PresetList.h"
#include "XML/XMLAssembly.h"

#include <cstdint>

namespace zelvane {

class DataFile;
class Element;
class Library;
class ParameterList;
class PresetDatabase;
class PresetRecord;

class ZelvaneLibrary : public XMLAssembly {
public:
    static constexpr char const* tag = "zelvaneLibrary";

    ZelvaneLibrary() = default;
    ZelvaneLibrary(ZelvaneLibrary const&) = default;

    std::size_t shippingSize() const override { return 2; }
    // "version" as an attribute, then "presetList".
    Shipping* getShipping(std::size_t index, bool attributes) override;
    Shipping* getShipping(String const& tag, String const& nameSpace) override;
    // Version 0, never read; the definitions stay until a document replaces them.
    void setDefault() override;
    char const* getTag() const override { return tag; }

    // The first definition of the type whose key parameter has that name; null when none.
    Preset const* findPresetByKey(String const& type, String const& keyParameterName) const;
    // The first definition of the record's type for which the parameter feeds a field of the
    // record's hierarchy; null when none.
    Preset const* findPresetByParameter(String const& name, PresetRecord const& record,
                                        PresetDatabase const& database) const;
    // Applies the definitions that hold for the element's subtype, one per key parameter (the
    // first), to the element's parameters whose names are those key parameters; true when a cell
    // changed.
    bool applyPresetsTo(ParameterList& element, std::uint32_t subtype, PresetDatabase& database) const;
    // The same for a placed library part of the open project, with the project's preset database;
    // false for any other element or without the database.
    bool applyPresetsTo(Element& element) const;
    // Applies the presets to the selected elements of the current drawing and puts back the
    // changed ones it can make editable; the editing is always ended.
    void applyPresetsToProject(bool apply) const;
    // Reads the configuration part of the product (a macro part named after the product followed
    // by " Library Configuration") from the library when the part's file changed since it was last
    // read; false when the part is missing or of another type, or its file is missing or does not
    // read.
    bool load(Library const& library, String const& productName);

    // Reads a configuration document. The definitions are taken only when the whole document
    // reads; a failed read keeps what was there. The read time is left to the caller.
    bool readDocument(void const* data, std::size_t length);
    // Reads the file when its modification time differs from the read time, which it then takes;
    // false when the file could not be read (the configuration stays as it was).
    bool readFrom(DataFile& file);

    unsigned int getVersion() const { return m_version; }
    PresetList& getPresets() { return m_presets; }
    PresetList const& getPresets() const { return m_presets; }
    Time const& getReadTime() const { return m_readTime; }
    void setReadTime(Time const& time) { m_readTime = time; }

private:
    unsigned int m_version = 0;
    PresetList m_presets;
    Time m_readTime;
};

} // namespace zelvane
