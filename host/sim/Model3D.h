// The simulated host's 3D model: what EXPGetModel reads from the 3D window's sight.
#pragma once

#include "Modeler/Model.hpp"

#include <vector>

namespace sim {

// The model's elements, materials and textures (none after a reset).
void setModel3D(const std::vector<ModelerAPI::Element>& elements,
                const std::vector<ModelerAPI::Material>& materials = {},
                const std::vector<ModelerAPI::Texture>& textures = {});
// Whether the 3D window shows anything (true after a reset); without, there is no sight.
void setModel3DShown(bool shown);

} // namespace sim
