#include "Interface/ProgressWindow.h"

#include "ACAPI/ErrorCodes.hpp"
#include "ACAPI/ProgressWindow.hpp"

namespace zelvane {

bool ProgressWindow::m_active = false;

std::shared_ptr<ProgressWindow> ProgressWindow::create(const String& title, Int16 phaseCount) {
    std::shared_ptr<ProgressWindow> window(new ProgressWindow);
    if (!m_active) {
        GS::UniString hostTitle(title);
        short phases = phaseCount;
        if (ACAPI_Interface(APIIo_InitProcessWindowID, &hostTitle, &phases) == NoError) {
            window->m_live = true;
            m_active = true;
        }
    }
    return window;
}

ProgressWindow::~ProgressWindow() {
    if (m_live) {
        ACAPI_Interface(APIIo_CloseProcessWindowID);
        m_active = false;
    }
}

ProgressWindow& ProgressWindow::operator++() {
    return *this += 1;
}

ProgressWindow& ProgressWindow::operator=(int value) {
    if (m_live) {
        Int32 hostValue = value;
        ACAPI_Interface(APIIo_SetProcessValueID, &hostValue);
    }
    return *this;
}

ProgressWindow& ProgressWindow::operator+=(int step) {
    if (m_live) {
        Int32 hostStep = step;
        ACAPI_Interface(APIIo_IncProcessValueID, &hostStep);
    }
    return *this;
}

bool ProgressWindow::isCancelled() const {
    return m_live && ACAPI_Interface(APIIo_IsProcessCanceledID) == APIERR_CANCEL;
}

void ProgressWindow::startNext(const String& title, Int32 count) {
    if (m_live) {
        GS::UniString hostTitle(title);
        Int32 hostCount = count;
        ACAPI_Interface(APIIo_SetNextProcessPhaseID, &hostTitle, &hostCount);
    }
}

void ProgressWindow::skip(Int32 count) {
    for (Int32 i = 0; i < count; ++i) {
        startNext(String(), 1);
    }
}

} // namespace zelvane
