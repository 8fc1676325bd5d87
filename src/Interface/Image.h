// One picture, in whichever form it arrived (a resource of the add-on, encoded file bytes, a file,
// a host pixel map, a host image or icon), converted to the other forms on demand: the dialog
// library's image and icon, encoded data of a chosen type, a pixel map, a file.
#pragma once

#include "DG/DGImage.hpp"
#include "Environment/MemoryBlock.h"
#include "FTM/ImageTypes.hpp"
#include "GX/GSPixMap.hpp"
#include "Interface/ScreenRect.h"

namespace GX {
class Image;
}

namespace zelvane {

class DataFile;
class String;

class Image {
public:
    // A resource image of the add-on; -1 for none.
    explicit Image(Int16 resourceId = -1);
    // Encoded data: with take the block's handle is taken (the block is left empty), otherwise
    // copied.
    Image(MemoryBlock& data, bool take);
    explicit Image(MemoryBlock const& data);
    // The whole file's bytes; an image without data when the file cannot be read.
    explicit Image(DataFile const& file);
    // Takes the pixel map.
    explicit Image(GSPixMapHandle pixMap);
    explicit Image(DG::Image const& image);
    explicit Image(DG::Icon const& icon);
    // Copies the data and the resource ID and shares the host image; the pixel map is made again
    // when needed.
    Image(Image const& other);
    Image& operator=(Image const& other);
    virtual ~Image();

    virtual Image* clone() const;

    // Takes the handle of encoded data; a host image is made when the host knows its type.
    void setData(char** data);
    // Takes the pixel map and makes a host image of it.
    void setData(GSPixMapHandle pixMap);
    void clear();

    // False for a resource image.
    bool isEmpty() const;
    Int16 getResourceId() const { return m_resourceId; }
    // The encoded data; without data, the host image encoded in its own type, kept for later.
    MemoryBlock const& getData() const;
    // As getData, encoding in the given type when there is no data yet (a negative type counts as
    // 0, the image's own). Data already held is answered whatever its type.
    MemoryBlock const& getData(FTM::GeneralID type) const;
    // The image as a pixel map, made once and kept (the image owns it); null without a host image.
    GSPixMapHandle getPixelMap() const;
    // A picture for dialog items: of the data when there is data, else the resource image; an empty
    // picture when there is neither.
    DG::Image getDialogImage() const;
    // The resource image or icon; empty ones when the image is not a resource.
    operator DG::Image() const;
    operator DG::Icon() const;

    // Writes the image into the file in its own type, replacing the file whole (a failure keeps
    // it); false without a host image or when the host fails.
    bool writeTo(DataFile const& file) const;
    // Writes in the type of a MIME text such as "image/png" at a colour depth (0: the image's own).
    bool writeTo(DataFile const& file, String const& mimeType, UInt32 colourDepth) const;

    // Dots per inch; 0 without a host image.
    double getHorizontalResolution() const;
    double getVerticalResolution() const;
    // With both set the other axis takes the same value, otherwise it keeps its own.
    void setHorizontalResolution(double dpi, bool both);
    void setVerticalResolution(double dpi, bool both);
    // From (0, 0) to (width, height); the zero rectangle without a host image.
    ScreenRect getBounds() const;
    UInt32 getColourDepth() const;
    // Scales the picture to the rectangle's size, with keepProportions to the largest size of the
    // picture's proportions inside it (the rectangle's end corner moves in). False without a
    // picture, for a picture or rectangle without extent, and when the host fails; the image is
    // then unchanged.
    bool resize(ScreenRect const& destination, bool keepProportions);

private:
    // Encodes the host image in a type and depth and replaces the file whole with it.
    bool writeEncoded(DataFile const& file, FTM::GeneralID type, UInt32 colourDepth) const;

    Int16 m_resourceId = -1;
    GX::Image* m_image = nullptr;
    mutable MemoryBlock m_data;
    mutable GSPixMapHandle m_pixMap = nullptr;
};

} // namespace zelvane
