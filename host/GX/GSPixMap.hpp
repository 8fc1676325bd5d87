// The host's pixel maps: a handle in host memory holding this header followed by the pixels, four
// bytes each (red, green, blue, alpha), row after row from the top. A pixel map of pixel type
// RGB24 keeps its alpha bytes at 255 and ignores them.
#pragma once

#include "GSRoot/GSRect.hpp"
#include "GSRoot/GSRoot.hpp"

enum GSPixelType : UInt32 { GSPixelRGB24 = 24, GSPixelARGB32 = 32 };

struct GSPixMap {
    Int32 width;
    Int32 height;
    GSPixelType pixelType;
    double hRes; // dots per inch
    double vRes;
};

using GSPixMapHandle = GSPixMap**;

// A new pixel map, every pixel transparent black (opaque black for RGB24), owned by the caller;
// null when a side is not positive, the type is unknown or memory runs out.
GSPixMapHandle GXCreateGSPixMap(Int32 width, Int32 height, double hRes, double vRes, GSPixelType pixelType);
void GXDeleteGSPixMap(GSPixMapHandle* pixMap);

Int32 GXGetGSPixMapWidth(GSPixMapHandle pixMap);
Int32 GXGetGSPixMapHeight(GSPixMapHandle pixMap);
GSPixelType GXGetGSPixMapPixelType(GSPixMapHandle pixMap);
// The first pixel; null for a null pixel map.
UInt8* GXGetGSPixMapPixels(GSPixMapHandle pixMap);

// Scales the pixels of srcRect in src onto dstRect in dst, nearest pixel, each rectangle in its
// own map's pixel coordinates. A rectangle with right < left (or bottom < top) mirrors the picture
// on that axis; destination pixels outside dst are left out. ErrParam for a missing map or an
// empty rectangle, and for a source rectangle reaching outside src.
GSErrCode GXStretchGSPixMap(GSPixMapHandle src, GSPixMapHandle dst, const GSRect& srcRect,
                            const GSRect& dstRect);
