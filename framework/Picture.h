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
//
// Pixel layouts: palette formats hold indices with the leftmost pixel in the
// highest bits of a byte; 15 bits is x1R5G5B5 and 16 bits R5G6B5, both little
// endian; 24 bits is blue, green, red; 32 bits and device pictures are blue,
// green, red and one unused byte. A custom format (a bitmap file with unusual
// colour masks) is held as 32 bits per pixel once read.
class Picture {
public:
    enum class PixelFormat { pfDevice, pf1bit, pf4bit, pf8bit, pf15bit, pf16bit, pf24bit, pf32bit, pfCustom };

    struct Rgb {
        std::uint8_t red = 0, green = 0, blue = 0;
        bool operator==(const Rgb&) const = default;
    };

    Picture() = default;
    // Palette formats get a default palette (black and white; the 16
    // standard colours; a colour cube with greys).
    Picture(int width, int height, PixelFormat format);

    bool empty() const { return width_ == 0 || height_ == 0; }
    int width() const { return width_; }
    int height() const { return height_; }
    PixelFormat pixelFormat() const { return format_; }
    int bitsPerPixel() const { return bitsPerPixel(format_); }
    static int bitsPerPixel(PixelFormat format);
    std::size_t stride() const { return stride_; } // bytes per row, padded to 4

    // Palette for 1, 4 and 8 bits per pixel (2, 16 and 256 entries at most).
    const std::vector<Rgb>& palette() const { return palette_; }
    void setPalette(std::vector<Rgb> palette);

    // Raw row access; row 0 is the top row. Writable access counts as a
    // change (see changeCount()).
    std::uint8_t* scanLine(int y);
    const std::uint8_t* scanLine(int y) const;

    // Colour of one pixel, whatever the format (palette looked up; an index
    // past the palette is black).
    Rgb pixel(int x, int y) const;
    // Sets a pixel: direct-colour formats store the colour, palette formats
    // the nearest palette entry.
    void setPixel(int x, int y, Rgb colour);
    // Palette index of one pixel of a palette picture (0 otherwise).
    int pixelIndex(int x, int y) const;
    void setPixelIndex(int x, int y, int index);

    // Converts in place. Between palette formats indices are kept when they
    // fit; to a direct-colour format colours are kept; from direct colour to
    // a palette format each pixel takes the nearest palette entry.
    void setPixelFormat(PixelFormat format);
    // Resizes, keeping the format; new pixels are zero (black or index 0).
    void setSize(int width, int height);
    void clear(); // empty picture

    // Left-to-right mirror image, pixel for pixel.
    Picture mirrored() const;

    // A stamp taken afresh, from one program-wide sequence, on every change
    // of content; a copy carries the stamp of its source. Equal stamps thus
    // mean equal content, so a cached rendering knows when it is stale.
    std::uint64_t changeCount() const { return changes_; }

    // Bitmap files. load throws KuvitoError on anything malformed: truncated
    // data, absurd sizes, offsets past the end, arithmetic overflow; it never
    // reads out of bounds or allocates more than the file can describe.
    static Picture loadBmp(const std::uint8_t* data, std::size_t size);
    static Picture loadBmp(const std::vector<std::uint8_t>& data) {
        return loadBmp(data.data(), data.size());
    }
    static Picture loadBmpFile(const std::string& path);
    // Writes a bottom-up bitmap file with a 40-byte header in the picture's
    // own format (device and custom pictures are written as 32 bits per
    // pixel, 16-bit ones with colour masks).
    std::vector<std::uint8_t> saveBmp() const;
    void saveBmpFile(const std::string& path) const;

    // Same size, format, palette and pixels (the change count is not compared).
    bool operator==(const Picture& other) const;

    // The largest width or height a picture may have; larger requests are
    // refused with a KuvitoError instead of attempting the allocation.
    static constexpr int maxDimension = 1 << 20;

private:
    friend class PictureBmpReader;
    void touch();
    static std::vector<Rgb> defaultPalette(PixelFormat format);

    int width_ = 0;
    int height_ = 0;
    PixelFormat format_ = PixelFormat::pfDevice;
    std::size_t stride_ = 0;
    std::vector<Rgb> palette_;
    std::vector<std::uint8_t> bits_;
    std::uint64_t changes_ = 0;
};
