// The host's image library: pictures decoded from encoded data or taken from pixel maps, and
// encoded again in any image type the host knows (FTM/ImageTypes.hpp).
#pragma once

#include "FTM/ImageTypes.hpp"
#include "GSRoot/GSRoot.hpp"
#include "GX/GSPixMap.hpp"

#include <memory>

namespace IO {
class Location;
}

namespace GX {

namespace codec {
struct Picture;
}

class ImageBase {
public:
    // The image type that the data's signature names; ErrParam (and type UnknownImageType) when
    // the data is no image the host knows.
    static GSErrCode GetType(GSConstHandle data, FTM::GeneralID& type);
};

struct ImageSaveOptions {
    // Bits per pixel written: 24 or 32; 0 keeps the image's own depth.
    UInt32 colorDepth = 0;
};

// A picture. Copies share the pixels; each copy has its own resolution.
class Image {
public:
    // An empty image.
    Image();
    // Decodes data of that type; the image stays empty when the data does not decode.
    Image(GSConstHandle data, FTM::GeneralID type);
    // A copy of the pixel map's pixels and resolution; empty for a null pixel map.
    explicit Image(GSPixMapHandle pixMap);

    bool IsEmpty() const;
    UInt32 GetWidth() const;
    UInt32 GetHeight() const;
    // Bits per pixel: 24 or 32; 0 for an empty image.
    UInt32 GetColorDepth() const;
    // The type the image was decoded from; PNG for an image made from a pixel map.
    FTM::GeneralID GetFileType() const;
    // Dots per inch.
    double GetHorizontalResolution() const;
    double GetVerticalResolution() const;
    void SetResolution(double horizontal, double vertical);

    // Encodes the image into a new handle (the caller frees it). Type UnknownImageType encodes in
    // the image's own type; depth 0 at its own depth. ErrParam for an empty image, an unknown
    // type or an unsupported depth; ErrMemoryFull when the handle cannot be made.
    GSErrCode WriteToHandle(GSHandle& data, FTM::GeneralID type, UInt32 colorDepth) const;
    // Encodes the image into the file at the location, made or replaced.
    GSErrCode WriteToFile(const IO::Location& location, FTM::GeneralID type,
                          const ImageSaveOptions& options) const;
    // A new pixel map of the image (the caller deletes it); null for an empty image or when memory
    // runs out.
    GSPixMapHandle ToGSPixMap() const;

private:
    std::shared_ptr<const codec::Picture> m_picture;
    FTM::GeneralID m_type = FTM::UnknownImageType;
    double m_hRes = 72.0;
    double m_vRes = 72.0;
};

} // namespace GX
