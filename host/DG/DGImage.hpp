// Pictures of the dialog library: images and icons of the add-on's resource file, known by
// resource ID, and pictures made from an image of the image library for dialog items.
#pragma once

#include "GSRoot/GSRoot.hpp"

#include <memory>

namespace GX {
class Image;
}

namespace DG {

class Image {
public:
    // An empty image: no resource, no picture.
    Image();
    // The image resource of that ID in the add-on's resource file; empty when there is none, but
    // the ID is kept.
    explicit Image(Int16 resourceId);
    // A picture of the image's pixels, belonging to no resource (ID -1); empty for an empty image.
    explicit Image(const GX::Image& image);

    bool IsEmpty() const;
    Int16 GetResourceId() const { return m_resourceId; }
    UInt32 GetWidth() const { return m_width; }
    UInt32 GetHeight() const { return m_height; }
    // The picture made from an image of the image library; null for a resource image.
    const GX::Image* GetPicture() const { return m_picture.get(); }

private:
    Int16 m_resourceId = -1;
    UInt32 m_width = 0;
    UInt32 m_height = 0;
    std::shared_ptr<const GX::Image> m_picture;
};

class Icon {
public:
    Icon();
    // The icon resource of that ID; empty when there is none, but the ID is kept.
    explicit Icon(Int16 resourceId);

    bool IsEmpty() const;
    Int16 GetResourceId() const { return m_resourceId; }
    UInt32 GetWidth() const { return m_width; }
    UInt32 GetHeight() const { return m_height; }

private:
    Int16 m_resourceId = -1;
    UInt32 m_width = 0;
    UInt32 m_height = 0;
};

} // namespace DG
