// Preset types of the tests' own: a wall record with fields of every kind the tests need and a
// finish record used as a child, each registered as a template by the fixture. Also a small
// element's parameter arrays. Fuzz targets use them too, so nothing here needs the test framework.
#pragma once

#include "Environment/AngleSetting.h"
#include "Environment/Int32Setting.h"
#include "Environment/RealSetting.h"
#include "Environment/StringSetting.h"
#include "Library/IntegerParameter.h"
#include "Library/ParameterList.h"
#include "Library/RealParameter.h"
#include "Library/StringParameter.h"
#include "Preset/PresetDatabase.h"
#include "Preset/PresetFieldType.h"
#include "Preset/PresetRecord.h"

#include <memory>

namespace testing_preset {

using namespace zelvane;

using Int32Field = PresetFieldType<Int32Setting, int>;
using RealField = PresetFieldType<RealSetting, double>;
using StringField = PresetFieldType<StringSetting, String>;
using AngleField = PresetFieldType<AngleSetting, double>;
using GuidField = PresetFieldType<IDSetting, Guid>;

// A finish: a pen and a material; used on its own and as a child of walls.
class FinishRecord : public PresetRecord {
public:
    explicit FinishRecord(bool isChild = false) : PresetRecord(isChild) {
        addField("pen", new Int32Field(Int32Setting(1), 1));
        addField("material", new StringField(StringSetting(String("plaster")), 1));
    }
    char const* getTag() const override { return "finish"; }
    FinishRecord* clone() const override { return new FinishRecord(*this); }
};

// A wall: a pen, a thickness, a name text, an angle, a row of links and two embedded finishes,
// inside and outside.
class WallRecord : public PresetRecord {
public:
    WallRecord() {
        addField("pen", new Int32Field(Int32Setting(3), 1));
        addField("thickness", new RealField(RealSetting(0.25), 1));
        addField("label", new StringField(StringSetting(String("W")), 1));
        addField("angle", new AngleField(AngleSetting(0.0), 1));
        addField("links", new GuidField(IDSetting(Guid()), 0));
        addChildPreset("inside", new FinishRecord(true));
        addChildPreset("outside", new FinishRecord(true));
    }
    char const* getTag() const override { return "wall"; }
    WallRecord* clone() const override { return new WallRecord(*this); }
    // A record marked invalid by a pen of -1 is refused by a legacy import.
    bool isValid() const override {
        std::unique_ptr<Setting> pen(getSetting("pen", 0));
        int value = 0;
        if (pen != nullptr) {
            pen->getValue(value);
        }
        return !isLegacy() || value != -1;
    }
};

inline StringParameter* textArray(char const* name, std::size_t rows, char const* text = "") {
    return new StringParameter(name, "", String(text), 0, rows, 1, true);
}
inline IntegerParameter* integerArray(char const* name, std::size_t rows, short value = 0) {
    return new IntegerParameter(name, "", value, 0, rows, 1, true);
}

} // namespace testing_preset
