#pragma once

#include <stdexcept>

namespace ravelon {

// The rare failures of a decryption that are not the user's ordinary mistakes.
// what() is a complete sentence meant for the user.
class DecodeError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The address is longer than a shift can be (32,767 code units).
class OverflowError : public DecodeError {
public:
    OverflowError();
};

// A symbol shifted back past the start of the alphabet: the code cannot be
// decoded with an address of this length.
class OutOfRangeError : public DecodeError {
public:
    OutOfRangeError();
};

}  // namespace ravelon
