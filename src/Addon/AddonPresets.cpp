// The project-notification steps of an add-on that works with its own GDL library: embedded
// interface files, starter presets and the library configuration check.
#include "Addon/Addon.h"

#include "Database/Project.h"
#include "Environment/DataBufferIn.h"
#include "Environment/DataFile.h"
#include "Environment/Directory.h"
#include "Environment/Host.h"
#include "Environment/StringUtilities.h"
#include "Environment/ToString.h"
#include "Interface/ErrorAlert.h"
#include "Interface/WarnAlert.h"
#include "Library/Library.h"
#include "Preset/PresetDatabase.h"
#include "Preset/UserDatabaseCollection.h"
#include "Preset/ZelvaneLibrary.h"
#include "XML/XMLReader.h"

#include <memory>
#include <string>
#include <system_error>
#include <utility>

namespace zelvane {

namespace {

constexpr Int32 embeddedOwner = Int32(MakeGSType("GSAC"));
constexpr API_LibTypeID presetPartType = APILib_MacroID;
constexpr short presetStrings = 32707;
constexpr short starterPresetsUnread = 6;

// Tells that the embedded files are not made in the folder, for `reason`: refused (a folder or file
// not taken as the player's), or a failure of a call that would have made them.
void tellNotMade(const Directory& folder, bool refused, const String& reason) {
    String message("The add-on's embedded library files ");
    message += refused ? "are not made in the folder \"" : "could not be made in the folder \"";
    message += folder.getName();
    message += "\": ";
    message += reason;
    message += ".\n";
    host.writeToConsole(message);
}

// Tells why `use` failed in the folder, by what its failing call answered: a folder not the
// player's met by its walk, else the failure's own words. With `taking` (the open that asks the
// rules to take a file standing there), a file the rules do not let through is refused too.
void tellFailed(const Directory& folder, const File& use, bool taking) {
    const String refusal = folder.whyRefused(use);
    if (!refusal.empty()) {
        tellNotMade(folder, true, refusal);
    } else {
        tellNotMade(folder, taking && use.getLastError() == ErrPermission, use.whyFailed());
    }
}

// Whether the folder, which the embedded files are made in, was made or found as the player's by
// its make: one the make refused or failed is told, and none of the player's files go into it.
bool madeForEmbedded(const Directory& folder) {
    if (folder.getLastError() != NoError) {
        tellFailed(folder, folder, false);
        return false;
    }
    return true;
}

// Makes the file in the folder when it is missing (empty) and registers it with the library. A file
// standing there is registered as it is only where the rules let it be opened as the player's: one
// they refuse (another user's, say, in a folder other users may write) is kept and told. A file that
// cannot be made or taken is told, and answers false.
bool addEmbeddedFile(Library& library, const Directory& folder, const char* name, API_LibTypeID type) {
    DataFile file(folder, String(name), DataFile::readWrite, true);
    if (file.getLastError() != NoError) {
        tellFailed(folder, file, false);
        return false;
    }
    if (!file.isMade() && !file.open(DataFile::readOnly)) {
        tellFailed(folder, file, true);
        return false;
    }
    file.close();
    std::unique_ptr<ComponentSource> part(library.add(type, file, embeddedOwner));
    return true;
}

// The preset part of that name, when the library holds one of the preset part type.
ComponentSource* findPresetPart(const Library& library, const String& name) {
    API_LibTypeID type = presetPartType;
    Int32 index = library.getIndexByName(name, type);
    if (index == 0 || type != presetPartType) {
        return nullptr;
    }
    return library.load(ComponentLink(index, type, &library), nullptr);
}

} // namespace

void Addon::addEmbeddedFiles() {
    bool presets = isPresetsUsed();
    bool images = isEmbeddedFilesUsed();
    Library* library = host.getFrontLibrary();
    if ((!presets && !images) || library == nullptr) {
        return;
    }
    std::unique_ptr<Directory> embedded(library->getEmbeddedDirectory());
    if (embedded == nullptr) {
        return;
    }
    if (const std::error_code theirs = embedded->whyNotPlayers()) {
        tellNotMade(*embedded, true, String(theirs.message().c_str()));
        return;
    }
    // Each folder and file made below it is asked again, as it is made, to be the player's: the
    // make is the use that tells whether the folder above is still the one looked at.
    embedded->takeForPlayer();
    Directory own(*embedded, String("Zelvane"), true);
    if (!madeForEmbedded(own)) {
        return;
    }
    Directory folder(own, String("Interface Images"), true);
    if (!madeForEmbedded(folder)) {
        return;
    }
    // The first file that cannot be made is told; the rest would fail alike.
    const std::pair<const char*, API_LibTypeID> files[] = {
        {"Zoom_Window_MAC_0_nocache.png", APILib_PictID},
        {"Zoom_Window_MAC_1_nocache.png", APILib_PictID},
        {"Preset_Refresh_0_nocache.gdl", APILib_MacroID},
        {"Preset_Refresh_1_nocache.gdl", APILib_MacroID},
    };
    for (const auto& file : files) {
        const bool wanted = file.second == APILib_PictID ? images : presets;
        if (wanted && !addEmbeddedFile(*library, folder, file.first, file.second)) {
            return;
        }
    }
}

void Addon::importStarterPresets() {
    if (!isPresetsUsed()) {
        return;
    }
    Project* open = host.getProject();
    Library* library = host.getFrontLibrary();
    String product = getProductInfo().name;
    if (open == nullptr || library == nullptr || product.empty()) {
        return;
    }
    auto* database = dynamic_cast<PresetDatabase*>(open->getPreference(PresetDatabase::ID.getFamily()));
    if (database == nullptr || database->size() != 0) {
        return;
    }
    String prefix = product;
    prefix += " Starter Presets-";
    String local = prefix;
    local += host.getLanguageID();
    std::unique_ptr<ComponentSource> part(findPresetPart(*library, local));
    if (part == nullptr) {
        String international = prefix;
        international += "INT";
        part.reset(findPresetPart(*library, international));
    }
    std::unique_ptr<DataFile> file(part != nullptr ? part->getFile() : nullptr);
    if (file == nullptr || !file->exists()) {
        return;
    }
    // The presets are read into an independent copy that the project takes only when the whole
    // file was read, so a file failing halfway leaves the database empty for the next open.
    UserDatabaseCollection collection;
    database->initialiseStorage(collection, true, {});
    bool read = false;
    if (file->setPosition(0)) {
        DataBufferIn in(file.get(), Encoding::utf8);
        XMLReader reader(&in);
        // A failed read can leave the reader less than the file holds, even nothing, which it
        // may take for a whole document.
        read = reader.importTo(collection) && !in.failed();
    }
    file->close();
    std::unique_ptr<Package> presets(collection.releasePackage(PresetDatabase::ID.getFamily()));
    if (read && presets != nullptr) {
        open->setPreference(presets.release(), false);
        return;
    }
    // Once the user adds a preset the database is no longer empty and the starter presets are
    // never offered again, so the user must know they are missing.
    String message = host.getLocalString(presetStrings, starterPresetsUnread);
    replaceAll(message, String("$1"), product);
    ErrorAlert().show(message);
}

void Addon::checkLibraryConfiguration() {
    if (!isPresetsUsed()) {
        return;
    }
    Library* library = host.getFrontLibrary();
    if (library == nullptr) {
        return;
    }
    const String& product = getProductInfo().name;
    ZelvaneLibrary& configuration = getLibraryConfiguration();
    configuration.load(*library, product);
    // A configuration never read has version 0 and tells nothing. It names no platform, so only
    // its version can differ from the add-on's.
    String version = ToString(configuration.getVersion());
    if (configuration.getVersion() == 0 || version == getProductVersion()) {
        return;
    }
    String message = host.getLocalString(presetStrings, 2);
    replaceAll(message, String("$1"), product);
    replaceAll(message, String("$2"), version);
    replaceAll(message, String("$3"), getProductVersion());
    WarnAlert().show(message);
}

} // namespace zelvane
