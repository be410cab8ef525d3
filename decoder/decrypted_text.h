#pragma once

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <memory>
#include <string_view>
#include <utility>

namespace ravelon {

// What a Decrypt request yields: UTF-16 code units written once, where they
// stay. A std::u16string is filled before anything can be written to it,
// which on big codes costs a sixth of decoding; this buffer is not.
class DecryptedText {
public:
    DecryptedText() = default;

    std::u16string_view View() const { return {units_.get(), size_}; }
    std::size_t Size() const { return size_; }

    // For the decoder: room for `room` units, none of them written yet.
    explicit DecryptedText(std::size_t room) : units_(new char16_t[room]), room_(room)
    {
#ifndef NDEBUG
        // Debug builds mark the room with a unit no text holds, so that one
        // left unwritten shows, instead of what a freed text left there.
        std::fill_n(units_.get(), room, kUnwritten);
#endif
    }
    char16_t* Units() { return units_.get(); }
    std::size_t Room() const { return room_; }
    // Room for exactly `room` units, keeping the first `keep` written.
    void Regrow(std::size_t keep, std::size_t room)
    {
        DecryptedText grown(room);
        std::memcpy(grown.units_.get(), units_.get(), keep * sizeof(char16_t));
        *this = std::move(grown);
    }
    // The first `size` units are the text; `size` is at most Room().
    void SetSize(std::size_t size) { size_ = size; }

private:
    static constexpr char16_t kUnwritten = u'\uFFFF';

    std::unique_ptr<char16_t[]> units_;
    std::size_t size_ = 0;
    std::size_t room_ = 0;
};

}  // namespace ravelon
