// Reports the progress of a long task in phases, and whether the user asked to stop it.
#pragma once

#include "Environment/String.h"
#include "GSRoot/GSRoot.hpp"

namespace zelvane {

class ProgressMonitor {
public:
    virtual ~ProgressMonitor() = default;

    // Progress given in long values is not reported.
    virtual ProgressMonitor& operator=(long) { return *this; }
    virtual ProgressMonitor& operator+=(long) { return *this; }
    virtual ProgressMonitor& operator++() = 0;
    // The progress within the current phase, and a step forward.
    virtual ProgressMonitor& operator=(int value) = 0;
    virtual ProgressMonitor& operator+=(int step) = 0;
    virtual bool isLive() const = 0;
    virtual bool isCancelled() const = 0;
    // Starts the next phase with its title and number of items.
    virtual void startNext(const String& title, Int32 count) = 0;
    // Passes over phases that have no work.
    virtual void skip(Int32 count) = 0;
};

} // namespace zelvane
