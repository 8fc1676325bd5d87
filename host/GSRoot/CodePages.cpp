#include "GSRoot/CodePages.hpp"

#include "sim/Sim.h"

#include <unicode/ucnv.h>
#include <unicode/utypes.h>

#include <algorithm>
#include <memory>
#include <vector>

namespace {

const char* converterName(UInt32 charCode) {
    switch (charCode) {
    case 99:
        return "UTF-8";
    case 100:
        return U_IS_BIG_ENDIAN ? "UTF-16BE" : "UTF-16LE";
    case 101:
        return U_IS_BIG_ENDIAN ? "UTF-32BE" : "UTF-32LE";
    case 11:
        return "windows-1252";
    case 12:
        return "windows-1250";
    case 13:
        return "windows-1257";
    case 14:
        return "windows-1251";
    case 15:
        return "windows-1253";
    case 16:
        return "windows-1254";
    case 21:
        return "windows-1255";
    case 22:
        return "windows-1256";
    case 31:
        return "windows-874";
    case 32:
        return "Shift_JIS";
    case 33:
        return "Big5";
    case 34:
        return "GBK";
    case 35:
        return "windows-949";
    default:
        return nullptr;
    }
}

struct ConverterCloser {
    void operator()(UConverter* converter) const { ucnv_close(converter); }
};
using Converter = std::unique_ptr<UConverter, ConverterCloser>;

// A converter that substitutes what it cannot convert, or null for an unknown code.
Converter openConverter(UInt32 charCode) {
    const char* name = converterName(charCode);
    if (name == nullptr) {
        return nullptr;
    }
    UErrorCode status = U_ZERO_ERROR;
    Converter converter(ucnv_open(name, &status));
    if (U_FAILURE(status)) {
        return nullptr;
    }
    if (charCode != 99 && charCode != 100 && charCode != 101) {
        status = U_ZERO_ERROR;
        ucnv_setSubstChars(converter.get(), "?", 1, &status);
    }
    return converter;
}

// The highest character code the host knows.
constexpr UInt32 lastCharCode = 101;

// Converters by character code, opened on first use and kept for the life of the process,
// reachable from here: opening one costs far more than converting a few characters, and text
// streams convert a character at a time. The host runs on one thread, and ucnv_toUChars and
// ucnv_fromUChars reset the converter before each conversion.
UConverter* converters[lastCharCode + 1] = {};

UConverter* converterFor(UInt32 charCode) {
    if (charCode > lastCharCode) {
        return nullptr;
    }
    UConverter*& converter = converters[charCode];
    if (converter == nullptr) {
        converter = openConverter(charCode).release();
    }
    return converter;
}

GSErrCode finish(UErrorCode status, int32_t length, GSSize capacity, GSSize* needed) {
    if (needed != nullptr) {
        *needed = length;
    }
    if (status == U_BUFFER_OVERFLOW_ERROR || length > capacity) {
        return capacity == 0 ? NoError : ErrMemoryFull;
    }
    return U_FAILURE(status) ? Error : NoError;
}

constexpr GSSize maxLength = 0x7FFFFFFF;

// The Windows code pages leave a few bytes of 0x80 to 0x9F undefined, which the converters map to
// the C1 control characters; no defined character of theirs is one.
bool leavesC1Undefined(UInt32 charCode) {
    return (charCode >= 11 && charCode <= 16) || charCode == 35;
}

bool isC1(UInt16 unit) {
    return unit >= 0x80 && unit <= 0x9F;
}

} // namespace

bool CHIsKnownCharCode(UInt32 charCode) {
    return converterName(charCode) != nullptr;
}

GSErrCode CHConvertToUnicode(const char* text, GSSize length, UInt32 charCode, UInt16* units, GSSize capacity,
                             GSSize* needed) {
    if (GSErrCode err = sim::injectedError("CHConvertToUnicode"); err != NoError) {
        return err;
    }
    if (length < 0 || length > maxLength || capacity < 0 || (text == nullptr && length > 0) ||
        (units == nullptr && capacity > 0)) {
        return ErrParam;
    }
    UConverter* converter = converterFor(charCode);
    if (converter == nullptr) {
        return ErrParam;
    }
    UErrorCode status = U_ZERO_ERROR;
    int32_t count = ucnv_toUChars(converter, reinterpret_cast<UChar*>(units),
                                  int32_t(std::min(capacity, maxLength)), text, int32_t(length), &status);
    if (status == U_STRING_NOT_TERMINATED_WARNING) {
        status = U_ZERO_ERROR;
    }
    if (leavesC1Undefined(charCode) && units != nullptr) {
        std::replace_if(units, units + std::min<GSSize>(count, capacity), isC1, UInt16(0xFFFD));
    }
    return finish(status, count, capacity, needed);
}

GSErrCode CHConvertFromUnicode(const UInt16* units, GSSize count, UInt32 charCode, char* text,
                               GSSize capacity, GSSize* needed) {
    if (GSErrCode err = sim::injectedError("CHConvertFromUnicode"); err != NoError) {
        return err;
    }
    if (count < 0 || count > maxLength || capacity < 0 || (units == nullptr && count > 0) ||
        (text == nullptr && capacity > 0)) {
        return ErrParam;
    }
    UConverter* converter = converterFor(charCode);
    if (converter == nullptr) {
        return ErrParam;
    }
    std::vector<UInt16> defined;
    if (leavesC1Undefined(charCode) && std::any_of(units, units + count, isC1)) {
        defined.assign(units, units + count);
        std::replace_if(defined.begin(), defined.end(), isC1, UInt16('?'));
        units = defined.data();
    }
    UErrorCode status = U_ZERO_ERROR;
    int32_t length = ucnv_fromUChars(converter, text, int32_t(std::min(capacity, maxLength)),
                                     reinterpret_cast<const UChar*>(units), int32_t(count), &status);
    if (status == U_STRING_NOT_TERMINATED_WARNING) {
        status = U_ZERO_ERROR;
    }
    return finish(status, length, capacity, needed);
}
