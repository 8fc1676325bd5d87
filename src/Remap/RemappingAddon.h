// The remapping add-on: the one add-on object of the bundle. It owns its tools (the remapping
// menu), registers the remapping preferences and keeps its files in a folder of its own under the
// user's preferences.
#pragma once

#include "Addon/Addon.h"
#include "Addon/Subscriber.h"
#include "Environment/List.h"

namespace zelvane::remap {

class RemappingAddon : public Addon {
public:
    // The add-on's subscribers, owned.
    class ToolList : public List<Subscriber> {};

    RemappingAddon();
    ~RemappingAddon() override;

    // Starts the framework, then makes the add-on (the global `addon`) and starts its tools; the
    // framework's error, else 0. When starting the tools throws, the add-on is deleted and the
    // framework stopped before the exception goes on. An add-on that exists already is kept.
    static GSErrCode startup();
    // Deletes the add-on and stops the framework; the framework's answer.
    static GSErrCode shutdown();

    void reportUnexpectedFailure() override;
    ProductInfo const& getProductInfo() const override { return m_info; }
    // "1.09".
    String getProductVersion() const override;
    // "11".
    String getBuildNo() const override;
    // The add-on's own folder (localised string 32528/4) in the user's preferences, made on first
    // use; null when there is no preferences folder or the sub-folder cannot be had, whose make's
    // answer is then kept for the framework to tell (keepUserPrefsFailure).
    Directory* getUserPrefsDirectory() const override;

    // Registers the element factories of doors, lamps, objects and windows, the remapping
    // preferences with the project and the remapping menu as a tool, then adds every tool as a
    // subscriber.
    virtual void startTools();

    ToolList const& getTools() const { return m_tools; }

private:
    ToolList m_tools;
    ProductInfo m_info;
};

// The error alert of a failure nobody expected: localised string 32528/3.
void reportAddonFailure();

} // namespace zelvane::remap
