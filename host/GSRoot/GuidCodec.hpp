// The host's compact text form of a GUID: 22 characters of a 64-letter alphabet, the first
// carrying the top 2 of the 128 bits and each other one 6 bits. Case matters in this form.
#pragma once

#include "GSRoot/GSRoot.hpp"

// Both are goodies requests of the host (ACAPI_Goodies):
// 'AGIG': par1 points at the 16 bytes of a GUID record, par2 at a buffer of at least 23
// characters that receives the text and a NUL.
// 'IGAG': par1 is a NUL-terminated text of exactly 22 characters of the alphabet, par2 the 16-byte
// GUID record to fill; the record is untouched on error.
// A null parameter or a text that is not a compact GUID answers APIERR_BADPARS.
constexpr GSType GuidToCompactTextCode = 0x41474947; // 'AGIG'
constexpr GSType CompactTextToGuidCode = 0x49474147; // 'IGAG'
constexpr int CompactGuidLength = 22;
