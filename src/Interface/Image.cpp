#include "Interface/Image.h"

#include "Environment/DataFile.h"
#include "Environment/String.h"
#include "GSRoot/BM.hpp"
#include "GX/GXImage.hpp"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <memory>
#include <new>

namespace zelvane {

namespace {

Int16 clampExtent(UInt32 extent) {
    return Int16(extent > UInt32(std::numeric_limits<Int16>::max()) ? std::numeric_limits<Int16>::max()
                                                                    : extent);
}

} // namespace

Image::Image(Int16 resourceId) : m_resourceId(resourceId) {}

Image::Image(MemoryBlock& data, bool take) {
    if (take) {
        setData(data.release());
    } else {
        MemoryBlock copy(data);
        setData(copy.release());
    }
}

Image::Image(MemoryBlock const& data) {
    MemoryBlock copy(data);
    setData(copy.release());
}

Image::Image(DataFile const& file) {
    DataFile reader(file);
    if (!reader.open(DataFile::readOnly)) {
        return;
    }
    unsigned int size = reader.getSize();
    if (size == 0 || !reader.setPosition(0)) {
        reader.close();
        return;
    }
    MemoryBlock bytes(static_cast<int>(size));
    unsigned int length = size;
    bool read = reader.read(*bytes.getHandle(), length) && length == size;
    reader.close();
    if (read) {
        setData(bytes.release());
    }
}

Image::Image(GSPixMapHandle pixMap) {
    setData(pixMap);
}

Image::Image(DG::Image const& image) : m_resourceId(image.GetResourceId()) {}

Image::Image(DG::Icon const& icon) : m_resourceId(icon.GetResourceId()) {}

Image::Image(Image const& other)
    : m_resourceId(other.m_resourceId),
      m_image(other.m_image != nullptr ? new GX::Image(*other.m_image) : nullptr) {
    try {
        m_data = other.m_data;
    } catch (...) {
        delete m_image;
        throw;
    }
}

Image& Image::operator=(Image const& other) {
    if (this != &other) {
        Image copy(other);
        clear();
        m_resourceId = copy.m_resourceId;
        std::swap(m_image, copy.m_image);
        m_data.reset(copy.m_data.release());
    }
    return *this;
}

Image::~Image() {
    clear();
}

Image* Image::clone() const {
    return new Image(*this);
}

void Image::setData(char** data) {
    if (data != nullptr && data == m_data.getHandle()) {
        m_data.release();
    }
    MemoryBlock held(data);
    clear();
    FTM::GeneralID type = FTM::UnknownImageType;
    if (data != nullptr && GX::ImageBase::GetType(data, type) == NoError) {
        auto image = std::make_unique<GX::Image>(data, type);
        m_image = image.release();
    }
    m_data.reset(held.release());
}

void Image::setData(GSPixMapHandle pixMap) {
    if (pixMap == m_pixMap) {
        m_pixMap = nullptr;
    }
    clear();
    m_pixMap = pixMap;
    if (pixMap != nullptr) {
        m_image = new GX::Image(pixMap);
    }
}

void Image::clear() {
    delete m_image;
    m_image = nullptr;
    m_data.reset(nullptr);
    GXDeleteGSPixMap(&m_pixMap);
}

bool Image::isEmpty() const {
    if (m_resourceId != -1) {
        return false;
    }
    return m_image == nullptr || m_image->IsEmpty();
}

MemoryBlock const& Image::getData() const {
    return getData(m_image != nullptr ? m_image->GetFileType() : FTM::UnknownImageType);
}

MemoryBlock const& Image::getData(FTM::GeneralID type) const {
    if (m_data.size() > 0 || m_image == nullptr) {
        return m_data;
    }
    GSHandle encoded = nullptr;
    if (m_image->WriteToHandle(encoded, type < 0 ? 0 : type, m_image->GetColorDepth()) == NoError) {
        m_data.reset(encoded);
    } else if (encoded != nullptr) {
        BMKillHandle(&encoded);
    }
    return m_data;
}

GSPixMapHandle Image::getPixelMap() const {
    if (m_pixMap == nullptr && m_image != nullptr) {
        m_pixMap = m_image->ToGSPixMap();
    }
    return m_pixMap;
}

DG::Image Image::getDialogImage() const {
    if (m_data.size() > 0) {
        FTM::GeneralID type = FTM::UnknownImageType;
        if (GX::ImageBase::GetType(m_data.getHandle(), type) != NoError) {
            return DG::Image();
        }
        return DG::Image(GX::Image(m_data.getHandle(), type));
    }
    if (m_resourceId != -1) {
        return DG::Image(m_resourceId);
    }
    return DG::Image();
}

Image::operator DG::Image() const {
    return m_resourceId != -1 ? DG::Image(m_resourceId) : DG::Image();
}

Image::operator DG::Icon() const {
    return m_resourceId != -1 ? DG::Icon(m_resourceId) : DG::Icon();
}

bool Image::writeTo(DataFile const& file) const {
    return m_image != nullptr && writeEncoded(file, m_image->GetFileType(), m_image->GetColorDepth());
}

bool Image::writeTo(DataFile const& file, String const& mimeType, UInt32 colourDepth) const {
    if (m_image == nullptr) {
        return false;
    }
    FTM::GeneralID type = FTM::FindImageTypeByMime(mimeType.data());
    return type != FTM::UnknownImageType && writeEncoded(file, type, colourDepth);
}

bool Image::writeEncoded(DataFile const& file, FTM::GeneralID type, UInt32 colourDepth) const {
    GSHandle encoded = nullptr;
    if (m_image->WriteToHandle(encoded, type, colourDepth) != NoError) {
        if (encoded != nullptr) {
            BMKillHandle(&encoded);
        }
        return false;
    }
    MemoryBlock data;
    data.reset(encoded);
    // The whole image goes beside the file and is renamed over it: a failed write keeps the old
    // file, with its mode and links.
    DataFile target(file);
    return target.replaceContents([&data](DataFile& out) {
        return data.size() == 0 || out.write(*data.getHandle(), unsigned(data.size()));
    });
}

double Image::getHorizontalResolution() const {
    return m_image != nullptr ? m_image->GetHorizontalResolution() : 0.0;
}

double Image::getVerticalResolution() const {
    return m_image != nullptr ? m_image->GetVerticalResolution() : 0.0;
}

void Image::setHorizontalResolution(double dpi, bool both) {
    if (m_image != nullptr) {
        m_image->SetResolution(dpi, both ? dpi : m_image->GetVerticalResolution());
    }
}

void Image::setVerticalResolution(double dpi, bool both) {
    if (m_image != nullptr) {
        m_image->SetResolution(both ? dpi : m_image->GetHorizontalResolution(), dpi);
    }
}

ScreenRect Image::getBounds() const {
    if (m_image == nullptr) {
        return ScreenRect();
    }
    return ScreenRect(ScreenPoint(0, 0),
                      ScreenPoint(clampExtent(m_image->GetWidth()), clampExtent(m_image->GetHeight())));
}

UInt32 Image::getColourDepth() const {
    return m_image != nullptr ? m_image->GetColorDepth() : 0;
}

bool Image::resize(ScreenRect const& destination, bool keepProportions) {
    GSPixMapHandle source = getPixelMap();
    if (source == nullptr) {
        return false;
    }
    const ScreenRect sourceRect = getBounds();
    const Int32 sourceWidth = std::abs(Int32(sourceRect.getEnd().getX()) - sourceRect.getOrigin().getX());
    const Int32 sourceHeight = std::abs(Int32(sourceRect.getEnd().getY()) - sourceRect.getOrigin().getY());
    Int32 width = std::abs(Int32(destination.getEnd().getX()) - destination.getOrigin().getX());
    Int32 height = std::abs(Int32(destination.getEnd().getY()) - destination.getOrigin().getY());
    // A picture or a rectangle without extent has no scale.
    if (sourceWidth == 0 || sourceHeight == 0 || width == 0 || height == 0) {
        return false;
    }
    if (keepProportions) {
        double scale = std::min(double(width) / sourceWidth, double(height) / sourceHeight);
        width = Int32(sourceWidth * scale);
        height = Int32(sourceHeight * scale);
        if (width == 0 || height == 0) {
            return false;
        }
    }
    const double resolution = m_image->GetHorizontalResolution();
    GSPixMapHandle resized =
        GXCreateGSPixMap(width, height, resolution, resolution, GXGetGSPixMapPixelType(source));
    if (resized == nullptr) {
        return false;
    }
    // The picture fills the new pixel map from its corner: where the rectangle lies on the screen
    // is no offset inside the map.
    GSRect target;
    target.right = width;
    target.bottom = height;
    if (GXStretchGSPixMap(source, resized, sourceRect, target) != NoError) {
        GXDeleteGSPixMap(&resized);
        return false;
    }
    setData(resized);
    return true;
}

} // namespace zelvane
