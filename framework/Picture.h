#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// A picture that keeps its pixel format, as a bitmap file stores it: 1, 4 or
// 8 bits per pixel with a palette, 15/16, 24 or 32 bits per pixel, or
// "device-dependent" (the display's own format, 32 bits here). Rows are kept
// top-down and padded to 4 bytes as in a bitmap file. Standard library only,
// so that the bitmap reader can be fuzzed.
class Picture {
public:
    enum class PixelFormat { pfDevice, pf1bit, pf4bit, pf8bit, pf15bit, pf16bit, pf24bit, pf32bit, pfCustom };

    struct Rgb {
        std::uint8_t red = 0, green = 0, blue = 0;
        bool operator==(const Rgb&) const = default;
    };

    Picture() = default;
    Picture(int width, int height, PixelFormat format);

    bool empty() const { return width_ == 0 || height_ == 0; }
    int width() const { return width_; }
    int height() const { return height_; }
    PixelFormat pixelFormat() const { return format_; }
    int bitsPerPixel() const;
    std::size_t stride() const { return stride_; } // bytes per row, padded to 4

    // Palette for 1, 4 and 8 bits per pixel (2, 16 and 256 entries at most).
    const std::vector<Rgb>& palette() const { return palette_; }
    void setPalette(std::vector<Rgb> palette);

    // Raw row access; row 0 is the top row.
    std::uint8_t* scanLine(int y);
    const std::uint8_t* scanLine(int y) const;

    // Colour of one pixel, whatever the format (palette looked up).
    Rgb pixel(int x, int y) const;
    // Sets a pixel of a 24- or 32-bit picture (or a device picture).
    void setPixel(int x, int y, Rgb colour);

    // Converts in place. 1/4 -> 8 keeps palette indices; anything to 24 or
    // 32 bits keeps colours.
    void setPixelFormat(PixelFormat format);
    // Resizes, keeping the format; new pixels are zero (black or index 0).
    void setSize(int width, int height);
    void clear(); // empty picture

    // Left-to-right mirror image, pixel for pixel.
    Picture mirrored() const;

    // Bitmap files. load throws KuvitoError on anything malformed: truncated
    // data, absurd sizes, offsets past the end, arithmetic overflow; it never
    // reads out of bounds or allocates more than the file can describe.
    static Picture loadBmp(const std::uint8_t* data, std::size_t size);
    static Picture loadBmp(const std::vector<std::uint8_t>& data) { return loadBmp(data.data(), data.size()); }
    static Picture loadBmpFile(const std::string& path);
    // Writes a bottom-up bitmap file with a 40-byte header in the picture's
    // own format (device pictures are written as 32 bits per pixel).
    std::vector<std::uint8_t> saveBmp() const;
    void saveBmpFile(const std::string& path) const;

    bool operator==(const Picture& other) const = default;

private:
    int width_ = 0;
    int height_ = 0;
    PixelFormat format_ = PixelFormat::pfDevice;
    std::size_t stride_ = 0;
    std::vector<Rgb> palette_;
    std::vector<std::uint8_t> bits_;
};
