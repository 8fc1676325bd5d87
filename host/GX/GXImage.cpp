#include "GX/GXImage.hpp"

#include "GSRoot/BM.hpp"
#include "GX/ImageCodecs.hpp"
#include "IO/Internal.hpp"
#include "sim/ReplaceFile.h"
#include "sim/Sim.h"

#include <cstring>
#include <string>

namespace GX {

GSErrCode ImageBase::GetType(GSConstHandle data, FTM::GeneralID& type) {
    type = FTM::UnknownImageType;
    if (GSErrCode err = sim::enter("GX::ImageBase::GetType"); err != NoError) {
        return err;
    }
    if (data == nullptr || *data == nullptr) {
        return ErrParam;
    }
    type = codec::detect(reinterpret_cast<const UInt8*>(*data), std::size_t(BMGetHandleSize(data)));
    return type != FTM::UnknownImageType ? NoError : ErrParam;
}

Image::Image() = default;

Image::Image(GSConstHandle data, FTM::GeneralID type) {
    if (sim::enter("GX::Image::Image", type) != NoError || data == nullptr || *data == nullptr) {
        return;
    }
    auto picture = std::make_shared<codec::Picture>();
    if (codec::decode(type, reinterpret_cast<const UInt8*>(*data), std::size_t(BMGetHandleSize(data)),
                      *picture)) {
        m_picture = picture;
        m_type = type;
        m_hRes = picture->hRes;
        m_vRes = picture->vRes;
    }
}

Image::Image(GSPixMapHandle pixMap) {
    if (sim::enter("GX::Image::Image(GSPixMap)") != NoError || pixMap == nullptr) {
        return;
    }
    auto picture = std::make_shared<codec::Picture>();
    picture->width = GXGetGSPixMapWidth(pixMap);
    picture->height = GXGetGSPixMapHeight(pixMap);
    picture->depth = GXGetGSPixMapPixelType(pixMap) == GSPixelRGB24 ? 24 : 32;
    picture->hRes = (*pixMap)->hRes;
    picture->vRes = (*pixMap)->vRes;
    const UInt8* pixels = GXGetGSPixMapPixels(pixMap);
    picture->pixels.assign(pixels, pixels + std::size_t(picture->width) * picture->height * 4);
    m_picture = picture;
    m_type = FTM::PNGImageType;
    m_hRes = picture->hRes;
    m_vRes = picture->vRes;
}

bool Image::IsEmpty() const {
    return m_picture == nullptr;
}

UInt32 Image::GetWidth() const {
    return m_picture != nullptr ? UInt32(m_picture->width) : 0;
}

UInt32 Image::GetHeight() const {
    return m_picture != nullptr ? UInt32(m_picture->height) : 0;
}

UInt32 Image::GetColorDepth() const {
    return m_picture != nullptr ? m_picture->depth : 0;
}

FTM::GeneralID Image::GetFileType() const {
    return m_type;
}

double Image::GetHorizontalResolution() const {
    return m_picture != nullptr ? m_hRes : 0.0;
}

double Image::GetVerticalResolution() const {
    return m_picture != nullptr ? m_vRes : 0.0;
}

void Image::SetResolution(double horizontal, double vertical) {
    m_hRes = horizontal;
    m_vRes = vertical;
}

namespace {

GSErrCode encode(const std::shared_ptr<const codec::Picture>& source, FTM::GeneralID ownType, double hRes,
                 double vRes, FTM::GeneralID type, UInt32 depth, std::vector<UInt8>& bytes) {
    if (source == nullptr) {
        return ErrParam;
    }
    codec::Picture picture = *source;
    picture.hRes = hRes;
    picture.vRes = vRes;
    if (!codec::encode(type == FTM::UnknownImageType ? ownType : type, picture,
                       depth == 0 ? source->depth : depth, bytes)) {
        return ErrParam;
    }
    return NoError;
}

} // namespace

GSErrCode Image::WriteToHandle(GSHandle& data, FTM::GeneralID type, UInt32 colorDepth) const {
    data = nullptr;
    if (GSErrCode err = sim::enter("GX::Image::WriteToHandle", type); err != NoError) {
        return err;
    }
    std::vector<UInt8> bytes;
    if (GSErrCode err = encode(m_picture, m_type, m_hRes, m_vRes, type, colorDepth, bytes); err != NoError) {
        return err;
    }
    GSHandle handle = BMAllocateHandle(GSSize(bytes.size()), 0, 0);
    if (handle == nullptr) {
        return ErrMemoryFull;
    }
    std::memcpy(*handle, bytes.data(), bytes.size());
    data = handle;
    return NoError;
}

GSErrCode Image::WriteToFile(const IO::Location& location, FTM::GeneralID type,
                             const ImageSaveOptions& options) const {
    if (GSErrCode err = sim::enter("GX::Image::WriteToFile", type); err != NoError) {
        return err;
    }
    std::vector<UInt8> bytes;
    if (GSErrCode err = encode(m_picture, m_type, m_hRes, m_vRes, type, options.colorDepth, bytes);
        err != NoError) {
        return err;
    }
    if (location.IsEmpty()) {
        return ErrParam;
    }
    // Walked once: the checks and the write act through the folder the walk reached.
    const fileio::Entry entry = IO::internal::entryOf(location);
    if (entry.error() || entry.folder() < 0) {
        return IO::internal::errorFromCode(entry.error() ? entry.error() : entry.missing());
    }
    if (!IO::internal::isInsideSandbox(entry)) {
        return ErrPermission;
    }
    // The image's bytes are counted here, once: the write below is the host's own.
    GSErrCode shortWrite = NoError;
    if (IO::internal::writeAllowance(bytes.size(), &shortWrite) < bytes.size()) {
        return shortWrite; // no room for the whole image: the old file stays
    }
    // A FIFO or a device takes the image as it stands; a file is replaced whole beside itself, so
    // that a failed write never leaves half an image.
    return IO::internal::errorFromCode(sim::writeFile(entry, std::string(bytes.begin(), bytes.end())));
}

GSPixMapHandle Image::ToGSPixMap() const {
    if (sim::enter("GX::Image::ToGSPixMap") != NoError || m_picture == nullptr) {
        return nullptr;
    }
    GSPixMapHandle pixMap = GXCreateGSPixMap(m_picture->width, m_picture->height, m_hRes, m_vRes,
                                             m_picture->depth == 24 ? GSPixelRGB24 : GSPixelARGB32);
    if (pixMap != nullptr) {
        std::memcpy(GXGetGSPixMapPixels(pixMap), m_picture->pixels.data(), m_picture->pixels.size());
    }
    return pixMap;
}

} // namespace GX
