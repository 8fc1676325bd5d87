// What the user-database tests share: a host whose clock stands still at a known local time, whose
// GUID generator is seeded and which holds the framework's localised strings; and XML in and out
// of strings.
#pragma once

#include "Environment/DataBufferIn.h"
#include "Environment/DataBufferOut.h"
#include "Environment/Guid.h"
#include "Environment/String.h"
#include "XML/XMLReader.h"
#include "XML/XMLWriter.h"
#include "sim/AddOns.h"
#include "sim/Clock.h"
#include "sim/Guid.h"
#include "sim/Resources.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <string>

namespace testing_preset {

using namespace zelvane;

// 2024-03-05 09:04:00 UTC, one hour east of it.
constexpr char const* clockText = "2024-03-05T10:04:00+01:00";

class PresetTest : public ::testing::Test {
protected:
    void SetUp() override {
        sim::setClock(2024, 3, 5, 9, 4, 0);
        sim::setUTCOffset(60);
        sim::seedGuidGenerator(23);
        ASSERT_TRUE(sim::loadResources(sim::defaultAddOn,
                                       std::filesystem::path(ZELVANE_RESOURCE_DIR) / "zelvane.json"));
    }
};

// A key of its own for each number.
inline Guid key(unsigned int n) {
    char text[40];
    std::snprintf(text, sizeof text, "00000000-0000-0000-0000-%012X", n);
    return Guid(String(text));
}

inline std::string keyText(unsigned int n) {
    return key(n).toString().data();
}

// The element of an object on one line, without declaration.
inline std::string xmlOf(XMLShipping& object) {
    String text;
    {
        DataBufferOut out(&text);
        XMLWriter writer(&out);
        EXPECT_TRUE(writer.exportFrom(object, false, false, false, false));
    }
    return text.data();
}

inline bool readXML(XMLShipping& object, std::string const& xml) {
    String text(xml.c_str());
    DataBufferIn in(text);
    XMLReader reader(&in);
    return reader.importTo(object);
}

} // namespace testing_preset
