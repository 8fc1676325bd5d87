#include "DG/DGImage.hpp"

#include "GX/GXImage.hpp"
#include "sim/Images.h"
#include "sim/Sim.h"

namespace DG {

Image::Image() = default;

Image::Image(Int16 resourceId) : m_resourceId(resourceId) {
    if (sim::enter("DG::Image::Image", resourceId) != NoError) {
        return;
    }
    sim::ResourcePicture found = sim::resourceImage(resourceId);
    if (found.found) {
        m_width = found.width;
        m_height = found.height;
    }
}

Image::Image(const GX::Image& image) {
    if (sim::enter("DG::Image::Image(GX::Image)") != NoError || image.IsEmpty()) {
        return;
    }
    m_picture = std::make_shared<const GX::Image>(image);
    m_width = image.GetWidth();
    m_height = image.GetHeight();
}

bool Image::IsEmpty() const {
    return m_width == 0 || m_height == 0;
}

Icon::Icon() = default;

Icon::Icon(Int16 resourceId) : m_resourceId(resourceId) {
    if (sim::enter("DG::Icon::Icon", resourceId) != NoError) {
        return;
    }
    sim::ResourcePicture found = sim::resourceIcon(resourceId);
    if (found.found) {
        m_width = found.width;
        m_height = found.height;
    }
}

bool Icon::IsEmpty() const {
    return m_width == 0 || m_height == 0;
}

} // namespace DG
