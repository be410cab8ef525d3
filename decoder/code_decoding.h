#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "decoder/cipher_tables.h"
#include "decoder/decode_error.h"
#include "decoder/warning_sink.h"

namespace ravelon {

using Shift = std::int16_t;

// The kept symbols of `code`: its body without the fillers of the scheme its
// tag names. An unknown tag warns "Invalid Code!" and gives the empty text.
std::u16string StripCode(std::u16string_view code, WarningSink& sink, const CipherTables& tables);

// Every code unit shifted back through the alphabet by `shift`; units outside
// the alphabet count as position 0. Throws OutOfRangeError when a unit would
// land before the first position.
std::u16string ShiftDecode(std::u16string_view text, Shift shift, const CipherTables& tables);

}  // namespace ravelon
