// The host's rectangle record in pixels. Edges are not normalised: right may lie left of left.
#pragma once

#include "GSRoot/GSRoot.hpp"

struct GSRect {
    Int32 top = 0;
    Int32 left = 0;
    Int32 bottom = 0;
    Int32 right = 0;
};
