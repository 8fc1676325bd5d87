#include "Preset/PresetFieldType.h"

#include "Environment/AngleSetting.h"
#include "Environment/Guid.h"
#include "Environment/IDSetting.h"

namespace zelvane {

template class PresetFieldType<IDSetting, Guid>;
template class PresetFieldType<AngleSetting, double>;

} // namespace zelvane
