// Import of legacy preset files: folders of preset files, each a flat list of named parameter
// values, merged into the database as records of the type that the top folder stands for.
#include "Addon/Addon.h"
#include "Environment/DataBufferIn.h"
#include "Environment/DataFile.h"
#include "Environment/Host.h"
#include "Environment/Int32Setting.h"
#include "Environment/LegacyBinaryIn.h"
#include "Environment/RealSetting.h"
#include "Environment/StringSetting.h"
#include "Environment/Time.h"
#include "Environment/ToString.h"
#include "GSRoot/Time.hpp"
#include "Interface/ProgressWindow.h"
#include "Preset/PresetDatabase.h"
#include "Preset/ZelvaneLibrary.h"

#include <map>
#include <memory>

namespace zelvane {

namespace {

constexpr char const* magic = "ZelvanePresetFile";
constexpr short progressList = 32707;
constexpr short progressTitle = 10;
constexpr short progressPhase = 11;

// Legacy parameter names that go straight to a record field.
struct Rename {
    char const* legacy;
    char const* field;
};
constexpr Rename renames[] = {
    {"zelvViewPen", "viewPen"},
    {"zelvViewFillPen", "viewFillPen"},
    {"zelvViewBkgdPen", "viewFillBkgdPen"},
    {"zelvViewFill", "viewFillType"},
    {"zelvViewLineType", "viewLineType"},
    {"zelvSectionPen", "sectionPen"},
    {"zelvSectionFillPen", "sectionFillPen"},
    {"zelvSectionBkgdPen", "sectionFillBkgdPen"},
    {"zelvSectionFill", "sectionFillType"},
    {"zelvSectionLineType", "sectionLineType"},
    {"zelvLineType", "lineType"},
    {"zelvLinePen", "linePen"},
};

char const* renamed(String const& name) {
    for (Rename const& rename : renames) {
        if (name == rename.legacy) {
            return rename.field;
        }
    }
    return nullptr;
}

bool readCount(LegacyBinaryIn& reader, int& count) {
    reader >> count;
    return !!reader.good() && count >= 0;
}

// A value of a legacy type as a new setting; null for an unknown type or a failed read.
Setting* readValue(LegacyBinaryIn& reader, int type) {
    std::unique_ptr<Setting> setting;
    switch (static_cast<unsigned int>(type)) {
    case 0: {
        int value = 0;
        reader >> value;
        setting = std::make_unique<Int32Setting>(value);
        break;
    }
    case 1: {
        double value = 0.0;
        reader >> value;
        setting = std::make_unique<RealSetting>(value);
        break;
    }
    case 2: {
        String value;
        reader >> value;
        setting = std::make_unique<StringSetting>(value);
        break;
    }
    default:
        return nullptr;
    }
    return !reader.good() ? nullptr : setting.release();
}

// The library configuration the values are routed through, when an add-on runs.
ZelvaneLibrary const* configuration() {
    return addon != nullptr ? &addon->getLibraryConfiguration() : nullptr;
}

} // namespace

bool PresetDatabase::importLegacyPresets(DataFile& file) {
    std::uint64_t size = file.getSize();
    DataBufferIn in(&file, Encoding::utf8);
    LegacyBinaryIn reader(&in, Platform::littleEndian);
    return importLegacy(reader, size);
}

bool PresetDatabase::importLegacyPresets(void const* data, int length) {
    DataBufferIn in(data, length, Encoding::utf8);
    LegacyBinaryIn reader(&in, Platform::littleEndian);
    return importLegacy(reader, length < 0 ? 0 : static_cast<std::uint64_t>(length));
}

bool PresetDatabase::importLegacy(LegacyBinaryIn& reader, std::uint64_t size) {
    m_legacyBytes = size;
    m_legacyCancelled = false;
    String text;
    reader >> text;
    if (!reader.good() || text != magic) {
        return false;
    }
    reader >> text;
    if (!reader.good()) {
        return false;
    }
    if (text == "Win" || text == "Mtl") {
        reader.setEndianness(Platform::littleEndian);
    } else if (text == "Mac") {
        reader.setEndianness(Platform::bigEndian);
    } else {
        return false;
    }
    reader >> text;
    if (!reader.good()) {
        return false;
    }
    unsigned int colon = text.find(":");
    if (colon != String::npos) {
        text = text.substr(colon + 1);
    }
    ToInt32 version(text);
    if (text.empty() || !version.isValid()) {
        return false;
    }
    int v = version.getValue();
    if (v > 4) {
        bool flag = false;
        reader >> flag;
        if (!reader.good()) {
            return false;
        }
    }
    int folders = 0;
    if (!readCount(reader, folders)) {
        return false;
    }
    std::shared_ptr<ProgressWindow> progress =
        ProgressWindow::create(host.getLocalString(progressList, progressTitle), 1);
    if (progress != nullptr) {
        progress->startNext(host.getLocalString(progressList, progressPhase), folders);
    }
    for (int folder = 0; folder < folders; ++folder) {
        if (progress != nullptr && progress->isCancelled()) {
            m_legacyCancelled = true;
            return false;
        }
        if (!importLegacyFolder(reader, String(), v)) {
            return false;
        }
        if (progress != nullptr) {
            ++*progress;
        }
    }
    return true;
}

bool PresetDatabase::importLegacyFolder(LegacyBinaryIn& reader, String const& typeName, int version,
                                        int depth) {
    if (depth >= maxLegacyDepth) {
        return false;
    }
    String name;
    reader >> name;
    if (!reader.good()) {
        return false;
    }
    String type = typeName.empty() ? name : typeName;
    if (version >= 3) {
        String note;
        reader >> note;
        if (!reader.good()) {
            return false;
        }
    }
    int subfolders = 0;
    if (!readCount(reader, subfolders)) {
        return false;
    }
    for (int k = 0; k < subfolders; ++k) {
        if (!importLegacyFolder(reader, type, version, depth + 1)) {
            return false;
        }
    }
    int files = 0;
    if (!readCount(reader, files)) {
        return false;
    }
    for (int k = 0; k < files; ++k) {
        if (!importLegacyFile(reader, type, version)) {
            return false;
        }
    }
    return true;
}

bool PresetDatabase::importLegacyFile(LegacyBinaryIn& reader, String const& typeName, int version) {
    String name;
    String key;
    reader >> name >> key;
    if (!reader.good()) {
        return false;
    }
    if (version < 3) {
        Time time;
        reader >> time;
    } else {
        int seconds = 0;
        int number = 0;
        String text;
        reader >> seconds;
        if (!reader.good()) {
            return false;
        }
        GSTimeRecord record{};
        if (TIGetTimeRecord(static_cast<GSTime>(seconds), &record, TI_LOCAL_TIME) != NoError) {
            return false;
        }
        reader >> number >> text;
        bool flag = false;
        if (version >= 4) {
            reader >> flag;
        }
        if (version >= 6) {
            reader >> flag;
        }
    }
    if (!reader.good()) {
        return false;
    }
    RecordPtr record = createLegacyRecord(typeName, name);
    if (!importLegacyParameters(false, reader, record, version)) {
        return false;
    }
    int arrays = 0;
    if (!readCount(reader, arrays)) {
        return false;
    }
    for (int k = 0; k < arrays; ++k) {
        if (!importLegacyParameters(true, reader, record, version)) {
            return false;
        }
    }
    if (record != nullptr) {
        record->setLegacy(true);
        bool valid = record->isValid();
        record->setLegacy(false);
        if (valid) {
            merge(Pair(Guid(key), record));
        }
    }
    return true;
}

bool PresetDatabase::importLegacyParameters(bool isArray, LegacyBinaryIn& reader, RecordPtr const& record,
                                            int) {
    String name;
    int type = 0;
    int count = 0;
    if (isArray) {
        reader >> name >> type;
        if (!reader.good()) {
            return false;
        }
    }
    if (!readCount(reader, count)) {
        return false;
    }
    std::uint64_t values = static_cast<std::uint64_t>(count);
    if (isArray) {
        int second = 0;
        if (!readCount(reader, second)) {
            return false;
        }
        values *= static_cast<std::uint64_t>(second);
    }
    // Every value takes at least one byte: a block claiming more than the input holds is broken.
    if (values > m_legacyBytes) {
        return false;
    }
    ZelvaneLibrary const* library = configuration();
    std::map<String, Preset const*> presets;
    Preset const* blockPreset = nullptr;
    if (isArray && record != nullptr && library != nullptr && renamed(name) == nullptr) {
        blockPreset = library->findPresetByParameter(name, *record, *this);
    }
    for (std::uint64_t k = 0; k < values; ++k) {
        if (!isArray) {
            reader >> name >> type;
            if (!reader.good()) {
                return false;
            }
        }
        std::unique_ptr<Setting> setting(readValue(reader, type));
        if (setting == nullptr) {
            return false;
        }
        if (record == nullptr) {
            continue;
        }
        if (char const* field = renamed(name)) {
            record->setSetting(String(field), *setting, 0);
            continue;
        }
        Preset const* preset = blockPreset;
        if (!isArray && library != nullptr) {
            auto cached = presets.find(name);
            if (cached == presets.end()) {
                cached = presets.emplace(name, library->findPresetByParameter(name, *record, *this)).first;
            }
            preset = cached->second;
        }
        // Columns past a field's limit find no place; the value is dropped.
        if (preset != nullptr && k < PresetField::maxColumns) {
            std::size_t column = isArray ? static_cast<std::size_t>(k) : 0;
            preset->importLegacyParameterTo(*record, name, *setting, column, *this, library);
        }
    }
    return true;
}

PresetDatabase::RecordPtr PresetDatabase::createLegacyRecord(String const& typeName, String const& name) {
    String type = getTypeForLegacyName(typeName);
    if (type.empty() || !setDefaultTemplate(type, true)) {
        return nullptr;
    }
    RecordPtr record(getTemplateFor(type));
    if (record == nullptr) {
        return nullptr;
    }
    record->setDefault();
    record->setName(name);
    // A legacy record carries the time it was imported, so that merging compares it with what
    // the database holds.
    record->markEditTime();
    return record;
}

} // namespace zelvane
