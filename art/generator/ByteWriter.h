#pragma once

#include <cstdint>
#include <initializer_list>
#include <vector>

namespace kuvito::art {

// Little-endian byte output for the bitmap and icon files.
class ByteWriter {
public:
    void u8(std::uint8_t v) { data_.push_back(v); }
    void u16(std::uint16_t v) {
        u8(std::uint8_t(v));
        u8(std::uint8_t(v >> 8));
    }
    void u32(std::uint32_t v) {
        u16(std::uint16_t(v));
        u16(std::uint16_t(v >> 16));
    }
    void bytes(std::initializer_list<std::uint8_t> list) { data_.insert(data_.end(), list); }
    // Pixel rows are padded with zeros to a multiple of n bytes counted from
    // the row's start, which markRowStart records.
    void markRowStart() { rowStart_ = data_.size(); }
    void padTo(std::size_t n) {
        while ((data_.size() - rowStart_) % n != 0) {
            u8(0);
        }
    }
    std::size_t size() const { return data_.size(); }
    std::vector<std::uint8_t> take() { return std::move(data_); }

private:
    std::vector<std::uint8_t> data_;
    std::size_t rowStart_ = 0;
};

} // namespace kuvito::art
