#pragma once
// The fuzzer's input read as an operator's choices: small numbers that pick
// among what the window offers, and texts to type or paste. Once the bytes
// run out every choice is 0 and Exhausted() says so.

#include <cstddef>
#include <cstdint>
#include <string>

namespace fuzz_operator {

class ActionSource {
public:
    ActionSource(const uint8_t* data, size_t size) : data_(data), size_(size) {}

    bool Exhausted() const { return pos_ >= size_; }
    uint8_t Byte() { return Exhausted() ? 0 : data_[pos_++]; }
    // A choice among `count` (> 0) things.
    int32_t Pick(int32_t count) { return count <= 1 ? 0 : static_cast<int32_t>(Byte() % count); }
    // A text an operator might type or paste: numbers in every form the
    // windows may meet, non-ASCII, empty, long, or bytes straight from the input.
    std::string Text();

private:
    const uint8_t* data_;
    size_t size_;
    size_t pos_ = 0;
};

}  // namespace fuzz_operator
