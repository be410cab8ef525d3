#pragma once

// A code decoded as it arrives, piece by piece, with the same result as
// DecryptRequest on the whole: for codes too big to hold twice.

#include <optional>
#include <string>
#include <string_view>

#include "decoder/cipher_tables.h"
#include "decoder/detail/kernels.h"

namespace ravelon {

// The filler spacing of the scheme whose tag opens `code`; none where the tag
// is none of the schemes' ("Invalid Code!").
std::optional<int> SchemeSpacing(std::u16string_view code, const CipherTables& tables = BuiltinCipherTables());

// The shift an address of `length` code units gives; OverflowError past 32,767.
int ShiftOf(std::size_t addressLength);

class CodeStream {
public:
    // `shift`: from ShiftOf; `spacing`: from SchemeSpacing.
    CodeStream(int shift, int spacing, const CipherTables& tables = BuiltinCipherTables());

    // The next units of the code's body (what follows its tag). Appends to
    // `plain` the plain text they complete; a few units wait for the next
    // piece. Throws OutOfRangeError.
    void Feed(std::u16string_view body, std::u16string& plain);
    // The body has ended: appends the rest of the plain text.
    void Finish(std::u16string& plain);

private:
    void Decode(std::u16string_view groups);
    void Emit(std::u16string& plain, bool last);

    detail::ShiftMap map_;
    int spacing_;
    std::size_t group_;
    std::u16string partialGroup_;  // body units that do not yet fill a group
    std::u16string decoded_;       // shifted units not yet checked for markers
};

}  // namespace ravelon
