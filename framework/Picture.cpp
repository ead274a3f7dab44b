#include "Picture.h"

#include "KuvitoError.h"

#include <algorithm>
#include <atomic>
#include <limits>

namespace {

const char* const kTooLarge = "ﾋﾞｯﾄﾏｯﾌﾟが大きすぎます";

bool isPaletteFormat(Picture::PixelFormat f) {
    return f == Picture::PixelFormat::pf1bit || f == Picture::PixelFormat::pf4bit ||
           f == Picture::PixelFormat::pf8bit;
}

std::size_t strideFor(int width, int bits) {
    const std::size_t rowBits = static_cast<std::size_t>(width) * static_cast<std::size_t>(bits);
    return ((rowBits + 31) / 32) * 4;
}

std::uint8_t expand5(unsigned v) {
    return static_cast<std::uint8_t>((v << 3) | (v >> 2));
}
std::uint8_t expand6(unsigned v) {
    return static_cast<std::uint8_t>((v << 2) | (v >> 4));
}

// Reads the colour of pixel x of a direct-colour row.
Picture::Rgb readDirect(const std::uint8_t* row, int x, int bits, bool is565) {
    switch (bits) {
    case 16: {
        const unsigned v = row[2 * x] | (row[2 * x + 1] << 8);
        if (is565)
            return {expand5((v >> 11) & 31), expand6((v >> 5) & 63), expand5(v & 31)};
        return {expand5((v >> 10) & 31), expand5((v >> 5) & 31), expand5(v & 31)};
    }
    case 24:
        return {row[3 * x + 2], row[3 * x + 1], row[3 * x]};
    default:
        return {row[4 * x + 2], row[4 * x + 1], row[4 * x]};
    }
}

void writeDirect(std::uint8_t* row, int x, int bits, bool is565, Picture::Rgb c) {
    switch (bits) {
    case 16: {
        unsigned v;
        if (is565)
            v = ((c.red >> 3) << 11) | ((c.green >> 2) << 5) | (c.blue >> 3);
        else
            v = ((c.red >> 3) << 10) | ((c.green >> 3) << 5) | (c.blue >> 3);
        row[2 * x] = static_cast<std::uint8_t>(v);
        row[2 * x + 1] = static_cast<std::uint8_t>(v >> 8);
        break;
    }
    case 24:
        row[3 * x] = c.blue;
        row[3 * x + 1] = c.green;
        row[3 * x + 2] = c.red;
        break;
    default:
        row[4 * x] = c.blue;
        row[4 * x + 1] = c.green;
        row[4 * x + 2] = c.red;
        row[4 * x + 3] = 0;
        break;
    }
}

int readIndex(const std::uint8_t* row, int x, int bits) {
    switch (bits) {
    case 1:
        return (row[x >> 3] >> (7 - (x & 7))) & 1;
    case 4:
        return (x & 1) ? (row[x >> 1] & 0x0F) : (row[x >> 1] >> 4);
    default:
        return row[x];
    }
}

void writeIndex(std::uint8_t* row, int x, int bits, int index) {
    switch (bits) {
    case 1: {
        const std::uint8_t bit = static_cast<std::uint8_t>(0x80 >> (x & 7));
        row[x >> 3] = (index & 1) ? (row[x >> 3] | bit) : (row[x >> 3] & ~bit);
        break;
    }
    case 4:
        if (x & 1)
            row[x >> 1] = static_cast<std::uint8_t>((row[x >> 1] & 0xF0) | (index & 0x0F));
        else
            row[x >> 1] = static_cast<std::uint8_t>((row[x >> 1] & 0x0F) | ((index & 0x0F) << 4));
        break;
    default:
        row[x] = static_cast<std::uint8_t>(index);
        break;
    }
}

int nearestIndex(const std::vector<Picture::Rgb>& palette, Picture::Rgb c) {
    int best = 0;
    long bestDistance = std::numeric_limits<long>::max();
    for (std::size_t i = 0; i < palette.size(); ++i) {
        const long dr = palette[i].red - c.red, dg = palette[i].green - c.green,
                   db = palette[i].blue - c.blue;
        const long d = dr * dr + dg * dg + db * db;
        if (d < bestDistance) {
            bestDistance = d;
            best = static_cast<int>(i);
            if (d == 0)
                break;
        }
    }
    return best;
}

std::atomic<std::uint64_t> changeStamps{0};

} // namespace

void Picture::touch() {
    changes_ = ++changeStamps;
}

int Picture::bitsPerPixel(PixelFormat format) {
    switch (format) {
    case PixelFormat::pf1bit:
        return 1;
    case PixelFormat::pf4bit:
        return 4;
    case PixelFormat::pf8bit:
        return 8;
    case PixelFormat::pf15bit:
    case PixelFormat::pf16bit:
        return 16;
    case PixelFormat::pf24bit:
        return 24;
    default:
        return 32;
    }
}

std::vector<Picture::Rgb> Picture::defaultPalette(PixelFormat format) {
    std::vector<Rgb> p;
    switch (format) {
    case PixelFormat::pf1bit:
        p = {{0, 0, 0}, {255, 255, 255}};
        break;
    case PixelFormat::pf4bit:
        p = {{0, 0, 0},     {128, 0, 0},     {0, 128, 0},     {128, 128, 0},  {0, 0, 128}, {128, 0, 128},
             {0, 128, 128}, {192, 192, 192}, {128, 128, 128}, {255, 0, 0},    {0, 255, 0}, {255, 255, 0},
             {0, 0, 255},   {255, 0, 255},   {0, 255, 255},   {255, 255, 255}};
        break;
    case PixelFormat::pf8bit:
        for (int r = 0; r < 6; ++r)
            for (int g = 0; g < 6; ++g)
                for (int b = 0; b < 6; ++b)
                    p.push_back({static_cast<std::uint8_t>(r * 51), static_cast<std::uint8_t>(g * 51),
                                 static_cast<std::uint8_t>(b * 51)});
        for (int i = 0; i < 40; ++i) {
            const auto v = static_cast<std::uint8_t>(i * 255 / 39);
            p.push_back({v, v, v});
        }
        break;
    default:
        break;
    }
    return p;
}

Picture::Picture(int width, int height, PixelFormat format) : format_(format) {
    palette_ = defaultPalette(format);
    setSize(width, height);
}

void Picture::setPalette(std::vector<Rgb> palette) {
    const std::size_t limit = isPaletteFormat(format_) ? (std::size_t{1} << bitsPerPixel()) : 256;
    if (palette.size() > limit)
        palette.resize(limit);
    palette_ = std::move(palette);
    touch();
}

std::uint8_t* Picture::scanLine(int y) {
    touch();
    return bits_.data() + static_cast<std::size_t>(y) * stride_;
}

const std::uint8_t* Picture::scanLine(int y) const {
    return bits_.data() + static_cast<std::size_t>(y) * stride_;
}

Picture::Rgb Picture::pixel(int x, int y) const {
    const std::uint8_t* row = scanLine(y);
    if (isPaletteFormat(format_)) {
        const int index = readIndex(row, x, bitsPerPixel());
        return static_cast<std::size_t>(index) < palette_.size() ? palette_[static_cast<std::size_t>(index)]
                                                                 : Rgb{};
    }
    return readDirect(row, x, bitsPerPixel(), format_ == PixelFormat::pf16bit);
}

void Picture::setPixel(int x, int y, Rgb colour) {
    std::uint8_t* row = scanLine(y);
    if (isPaletteFormat(format_))
        writeIndex(row, x, bitsPerPixel(), nearestIndex(palette_, colour));
    else
        writeDirect(row, x, bitsPerPixel(), format_ == PixelFormat::pf16bit, colour);
}

int Picture::pixelIndex(int x, int y) const {
    return isPaletteFormat(format_) ? readIndex(scanLine(y), x, bitsPerPixel()) : 0;
}

void Picture::setPixelIndex(int x, int y, int index) {
    if (isPaletteFormat(format_))
        writeIndex(scanLine(y), x, bitsPerPixel(), index);
}

void Picture::setPixelFormat(PixelFormat format) {
    if (format == format_)
        return;
    Picture converted;
    converted.format_ = format;
    if (isPaletteFormat(format)) {
        const std::size_t limit = std::size_t{1} << bitsPerPixel(format);
        converted.palette_ =
            isPaletteFormat(format_) && !palette_.empty() ? palette_ : defaultPalette(format);
        if (converted.palette_.size() > limit)
            converted.palette_.resize(limit);
    }
    converted.setSize(width_, height_);
    const bool keepIndices = isPaletteFormat(format_) && isPaletteFormat(format);
    const int limit = isPaletteFormat(format) ? (1 << bitsPerPixel(format)) : 0;
    for (int y = 0; y < height_; ++y) {
        for (int x = 0; x < width_; ++x) {
            if (keepIndices) {
                const int index = pixelIndex(x, y);
                if (index < limit)
                    converted.setPixelIndex(x, y, index);
                else
                    converted.setPixel(x, y, pixel(x, y));
            } else {
                converted.setPixel(x, y, pixel(x, y));
            }
        }
    }
    *this = std::move(converted);
    touch();
}

void Picture::setSize(int width, int height) {
    if (width < 0 || height < 0 || width > maxDimension || height > maxDimension)
        throw KuvitoError(kTooLarge, KuvitoError::Kind::InvalidPicture);
    if (width == width_ && height == height_ && !bits_.empty())
        return;
    const std::size_t newStride = strideFor(width, bitsPerPixel());
    std::vector<std::uint8_t> bits(newStride * static_cast<std::size_t>(height), 0);
    const std::size_t copyBytes = std::min(newStride, strideFor(std::min(width, width_), bitsPerPixel()));
    const int copyRows = std::min(height, height_);
    const int copyWidth = std::min(width, width_);
    const int bpp = bitsPerPixel();
    for (int y = 0; y < copyRows && copyBytes > 0; ++y) {
        const std::uint8_t* src = bits_.data() + static_cast<std::size_t>(y) * stride_;
        std::uint8_t* dst = bits.data() + static_cast<std::size_t>(y) * newStride;
        if (bpp < 8) {
            // Pixel by pixel, so that the bits past the new width stay zero
            // as padding must.
            for (int x = 0; x < copyWidth; ++x)
                writeIndex(dst, x, bpp, readIndex(src, x, bpp));
        } else {
            std::copy_n(src, static_cast<std::size_t>(copyWidth) * static_cast<std::size_t>(bpp / 8), dst);
        }
    }
    width_ = width;
    height_ = height;
    stride_ = newStride;
    bits_ = std::move(bits);
    touch();
}

void Picture::clear() {
    width_ = 0;
    height_ = 0;
    stride_ = 0;
    bits_.clear();
    touch();
}

Picture Picture::mirrored() const {
    Picture m = *this;
    const int bits = bitsPerPixel();
    for (int y = 0; y < height_; ++y) {
        const std::uint8_t* src = scanLine(y);
        std::uint8_t* dst = m.scanLine(y);
        if (isPaletteFormat(format_)) {
            for (int x = 0; x < width_; ++x)
                writeIndex(dst, width_ - 1 - x, bits, readIndex(src, x, bits));
        } else {
            const int bytes = bits / 8;
            for (int x = 0; x < width_; ++x)
                std::copy_n(src + x * bytes, bytes, dst + (width_ - 1 - x) * bytes);
        }
    }
    return m;
}

bool Picture::operator==(const Picture& other) const {
    return width_ == other.width_ && height_ == other.height_ && format_ == other.format_ &&
           palette_ == other.palette_ && bits_ == other.bits_;
}
