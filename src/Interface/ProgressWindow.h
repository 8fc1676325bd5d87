// The host's progress window, of which only one is live at a time. A window made while another
// is live, or that the host refused, is inert: every operation does nothing, so callers use it
// without checking, or test isLive.
#pragma once

#include "Interface/ProgressMonitor.h"

#include <memory>

namespace zelvane {

class ProgressWindow : public ProgressMonitor {
public:
    // Opens the host's window unless one is live; the caller tests isLive.
    static std::shared_ptr<ProgressWindow> create(const String& title, Int16 phaseCount);
    // A live window closes the host's window.
    ~ProgressWindow() override;
    ProgressWindow(const ProgressWindow&) = delete;

    using ProgressMonitor::operator=;
    using ProgressMonitor::operator+=;
    ProgressWindow& operator++() override;
    ProgressWindow& operator=(int value) override;
    ProgressWindow& operator+=(int step) override;
    bool isLive() const override { return m_live; }
    // True once the user pressed the window's cancel button.
    bool isCancelled() const override;
    void startNext(const String& title, Int32 count) override;
    void skip(Int32 count) override;

    // Whether a live window exists.
    static bool isActive() { return m_active; }

private:
    ProgressWindow() = default;

    static bool m_active;
    bool m_live = false;
};

} // namespace zelvane
