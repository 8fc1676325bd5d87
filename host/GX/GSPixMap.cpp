#include "GX/GSPixMap.hpp"

#include "GSRoot/BM.hpp"
#include "sim/Sim.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <limits>

namespace {

constexpr GSSize headerSize = (sizeof(GSPixMap) + 15) / 16 * 16;
// The host refuses pixel maps above 16384 pixels a side.
constexpr Int32 maxSide = 16384;

} // namespace

GSPixMapHandle GXCreateGSPixMap(Int32 width, Int32 height, double hRes, double vRes, GSPixelType pixelType) {
    if (sim::enter("GXCreateGSPixMap") != NoError || width <= 0 || height <= 0 || width > maxSide ||
        height > maxSide || (pixelType != GSPixelRGB24 && pixelType != GSPixelARGB32)) {
        return nullptr;
    }
    GSSize pixels = GSSize(width) * height * 4;
    GSHandle handle = BMAllocateHandle(headerSize + pixels, ALLOCATE_CLEAR, 0);
    if (handle == nullptr) {
        return nullptr;
    }
    auto pixMap = reinterpret_cast<GSPixMapHandle>(handle);
    GSPixMap header{width, height, pixelType, hRes, vRes};
    std::memcpy(*handle, &header, sizeof header);
    if (pixelType == GSPixelRGB24) {
        UInt8* p = GXGetGSPixMapPixels(pixMap);
        for (GSSize i = 3; i < pixels; i += 4) {
            p[i] = 255;
        }
    }
    return pixMap;
}

void GXDeleteGSPixMap(GSPixMapHandle* pixMap) {
    if (pixMap == nullptr || *pixMap == nullptr) {
        return;
    }
    GSHandle handle = reinterpret_cast<GSHandle>(*pixMap);
    BMKillHandle(&handle);
    *pixMap = nullptr;
}

Int32 GXGetGSPixMapWidth(GSPixMapHandle pixMap) {
    return pixMap != nullptr ? (*pixMap)->width : 0;
}

Int32 GXGetGSPixMapHeight(GSPixMapHandle pixMap) {
    return pixMap != nullptr ? (*pixMap)->height : 0;
}

GSPixelType GXGetGSPixMapPixelType(GSPixMapHandle pixMap) {
    return pixMap != nullptr ? (*pixMap)->pixelType : GSPixelARGB32;
}

UInt8* GXGetGSPixMapPixels(GSPixMapHandle pixMap) {
    return pixMap != nullptr ? reinterpret_cast<UInt8*>(*reinterpret_cast<GSHandle>(pixMap)) + headerSize
                             : nullptr;
}

GSErrCode GXStretchGSPixMap(GSPixMapHandle src, GSPixMapHandle dst, const GSRect& srcRect,
                            const GSRect& dstRect) {
    if (GSErrCode err = sim::enter("GXStretchGSPixMap"); err != NoError) {
        return err;
    }
    if (src == nullptr || dst == nullptr) {
        return ErrParam;
    }
    const Int64 srcW = Int64(srcRect.right) - srcRect.left;
    const Int64 srcH = Int64(srcRect.bottom) - srcRect.top;
    const Int64 dstW = Int64(dstRect.right) - dstRect.left;
    const Int64 dstH = Int64(dstRect.bottom) - dstRect.top;
    if (srcW == 0 || srcH == 0 || dstW == 0 || dstH == 0) {
        return ErrParam;
    }
    const Int32 sw = (*src)->width;
    const Int32 sh = (*src)->height;
    auto outside = [](Int64 a, Int64 b, Int32 limit) { return std::min(a, b) < 0 || std::max(a, b) > limit; };
    if (outside(srcRect.left, srcRect.right, sw) || outside(srcRect.top, srcRect.bottom, sh)) {
        return ErrParam;
    }
    const Int32 dw = (*dst)->width;
    const Int32 dh = (*dst)->height;
    const UInt8* from = GXGetGSPixMapPixels(src);
    UInt8* to = GXGetGSPixMapPixels(dst);
    const bool opaque = (*dst)->pixelType == GSPixelRGB24;
    const Int64 dstLeft = std::min<Int64>(dstRect.left, dstRect.right);
    const Int64 dstTop = std::min<Int64>(dstRect.top, dstRect.bottom);
    const Int64 dstAbsW = std::abs(dstW);
    const Int64 dstAbsH = std::abs(dstH);
    const Int64 srcLeft = std::min<Int64>(srcRect.left, srcRect.right);
    const Int64 srcTop = std::min<Int64>(srcRect.top, srcRect.bottom);
    const Int64 srcAbsW = std::abs(srcW);
    const Int64 srcAbsH = std::abs(srcH);
    // Mirrored when exactly one of the two rectangles runs backwards on an axis.
    const bool flipX = (srcW < 0) != (dstW < 0);
    const bool flipY = (srcH < 0) != (dstH < 0);
    for (Int64 y = 0; y < dstAbsH; ++y) {
        const Int64 ty = dstTop + y;
        if (ty < 0 || ty >= dh) {
            continue;
        }
        Int64 sy = y * srcAbsH / dstAbsH;
        sy = srcTop + (flipY ? srcAbsH - 1 - sy : sy);
        for (Int64 x = 0; x < dstAbsW; ++x) {
            const Int64 tx = dstLeft + x;
            if (tx < 0 || tx >= dw) {
                continue;
            }
            Int64 sx = x * srcAbsW / dstAbsW;
            sx = srcLeft + (flipX ? srcAbsW - 1 - sx : sx);
            const UInt8* p = from + (sy * sw + sx) * 4;
            UInt8* q = to + (ty * dw + tx) * 4;
            std::memcpy(q, p, 4);
            if (opaque) {
                q[3] = 255;
            }
        }
    }
    return NoError;
}
