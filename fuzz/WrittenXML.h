// The whole XML text an object writes, with every option on; a failed write is a fault named by
// `failure`.
#pragma once

#include "Environment/DataBufferOut.h"
#include "Environment/String.h"
#include "XML/XMLShipping.h"
#include "XML/XMLWriter.h"

#include "FuzzFault.h"

#include <string>

inline std::string writtenXML(zelvane::XMLShipping& object, char const* failure) {
    zelvane::String text;
    {
        zelvane::DataBufferOut stream(&text);
        zelvane::XMLWriter writer(&stream);
        if (!writer.exportFrom(object, true, true, true, true)) {
            fault(failure);
        }
    }
    return std::string(text.data(), text.dataLength());
}
