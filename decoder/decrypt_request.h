#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "decoder/cipher_tables.h"
#include "decoder/decode_error.h"
#include "decoder/decrypted_text.h"
#include "decoder/warning_sink.h"

namespace ravelon {

// What the Decrypt button does with the two boxes. None: the code box keeps
// its text (the sink has been told why). A text, even empty: the code box's
// new text. Throws OverflowError or OutOfRangeError, never with a partial text.
std::optional<DecryptedText> DecryptRequest(std::u16string_view address, std::u16string_view code, WarningSink& sink,
                                            const CipherTables& tables = BuiltinCipherTables());

}  // namespace ravelon
