#include "Remap/RemappingAddon.h"

#include "Database/Drawing.h"
#include "Element/Door.h"
#include "Element/Lamp.h"
#include "Element/Object.h"
#include "Element/Window.h"
#include "Environment/Directory.h"
#include "Environment/Host.h"
#include "Environment/Platform.h"
#include "Environment/StringUtilities.h"
#include "Environment/ToString.h"
#include "Interface/ErrorAlert.h"
#include "Remap/RemappingMenu.h"
#include "Remap/RemappingPrefs.h"

#include <memory>

namespace zelvane::remap {

namespace {

constexpr short addonStrings = 32528;
constexpr int majorVersion = 1;
constexpr int minorVersion = 9;
constexpr int buildNumber = 11;

} // namespace

void reportAddonFailure() {
    ErrorAlert().show(host.getLocalString(addonStrings, 3));
}

RemappingAddon::RemappingAddon() : m_info{host.getLocalString(addonStrings, 1)} {}

RemappingAddon::~RemappingAddon() {
    // The registry only points at the tools: it lets go of them before they are deleted.
    for (Subscriber* tool : m_tools) {
        removeSubscriber(tool);
    }
    m_tools.clear();
}

GSErrCode RemappingAddon::startup() {
    // Started already: a second add-on would orphan the first with everything it registered.
    if (addon != nullptr) {
        return NoError;
    }
    GSErrCode err = Addon::startup();
    if (err != NoError) {
        return err;
    }
    auto* made = new RemappingAddon;
    addon = made;
    try {
        made->startTools();
    } catch (...) {
        addon = nullptr;
        delete made;
        Addon::shutdown();
        throw;
    }
    return NoError;
}

GSErrCode RemappingAddon::shutdown() {
    Addon* made = addon;
    addon = nullptr;
    delete made;
    return Addon::shutdown();
}

void RemappingAddon::reportUnexpectedFailure() {
    reportAddonFailure();
}

String RemappingAddon::getProductVersion() const {
    String minor = ToString(minorVersion);
    padRight(minor, 2, String("0"));
    String version = ToString(majorVersion);
    version += ".";
    version += minor;
    return version;
}

String RemappingAddon::getBuildNo() const {
    return ToString(buildNumber);
}

Directory* RemappingAddon::getUserPrefsDirectory() const {
    std::unique_ptr<Directory> preferences(Platform().getUserPrefsDirectory());
    if (preferences == nullptr) {
        return nullptr;
    }
    String name = host.getLocalString(addonStrings, 4);
    // Without its name the folder would be the preferences folder itself.
    if (name.empty()) {
        return nullptr;
    }
    preferences->takeForPlayer();
    std::unique_ptr<Directory> own(new Directory(*preferences, name, false));
    if (own->exists()) {
        return own.release();
    }
    // Made, or found since, only as the player's or root's, as the make holds it: another user's
    // entry at its name, or the player's that is not a folder, is told by the make's answer.
    own.reset(new Directory(*preferences, name, true));
    if (own->getLastError() != NoError) {
        keepUserPrefsFailure(*own);
        return nullptr;
    }
    return own.release();
}

void RemappingAddon::startTools() {
    // The placed library-part elements the command remaps.
    Drawing::addAdapter(element_id(API_DoorID), Door::create, false);
    Drawing::addAdapter(element_id(API_LampID), Lamp::create, false);
    Drawing::addAdapter(element_id(API_ObjectID), Object::create, false);
    Drawing::addAdapter(element_id(API_WindowID), Window::create, false);
    addPreference(RemappingPrefs(), project);
    m_tools.push_back(new RemappingMenu(RemappingMenu::menuID, 1, RemappingMenu::menuCode, 0));
    for (Subscriber* tool : m_tools) {
        addSubscriber(tool);
    }
}

} // namespace zelvane::remap
