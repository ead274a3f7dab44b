// Bitmap file reading and writing for Picture. Every size read from the file
// is checked against the bytes actually present before anything is allocated,
// so a damaged or hostile file ends in a KuvitoError and never in an
// out-of-bounds read or an allocation the file cannot back.

#include "KuvitoError.h"
#include "Picture.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <fstream>
#include <iterator>
#include <limits>

namespace {

const char* const kMalformed = "ﾋﾞｯﾄﾏｯﾌﾟ ﾌｧｲﾙが正しくありません";
const char* const kUnsupported = "この形式のﾋﾞｯﾄﾏｯﾌﾟには対応していません";

constexpr std::uint32_t kBiRgb = 0;
constexpr std::uint32_t kBiBitfields = 3;
constexpr std::uint32_t kBiAlphaBitfields = 6;
constexpr std::size_t kFileHeaderSize = 14;
constexpr std::size_t kInfoHeaderSize = 40;

[[noreturn]] void malformed() {
    throw KuvitoError(kMalformed, KuvitoError::Kind::InvalidPicture);
}

std::uint16_t u16(const std::uint8_t* p) {
    return static_cast<std::uint16_t>(p[0] | (p[1] << 8));
}
std::uint32_t u32(const std::uint8_t* p) {
    return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
           (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}
std::int32_t i32(const std::uint8_t* p) {
    return static_cast<std::int32_t>(u32(p));
}

void put16(std::vector<std::uint8_t>& out, std::uint32_t v) {
    out.push_back(static_cast<std::uint8_t>(v));
    out.push_back(static_cast<std::uint8_t>(v >> 8));
}
void put32(std::vector<std::uint8_t>& out, std::uint32_t v) {
    put16(out, v & 0xFFFF);
    put16(out, v >> 16);
}

// One colour channel described by a bit mask of the file.
struct Channel {
    std::uint32_t mask = 0;
    int shift = 0;
    std::uint32_t max = 0;
    explicit Channel(std::uint32_t m) : mask(m) {
        if (m != 0) {
            shift = std::countr_zero(m);
            max = m >> shift;
        }
    }
    std::uint8_t value(std::uint32_t pixel) const {
        if (max == 0)
            return 0;
        return static_cast<std::uint8_t>(static_cast<std::uint64_t>((pixel & mask) >> shift) * 255 / max);
    }
};

} // namespace

// Reads the headers, checks them against the data, and fills a Picture. The
// steps run in the order of the file and each checks what it reads, so that a
// file that is both damaged and of an unsupported kind fails at its first
// fault.
class PictureBmpReader {
public:
    PictureBmpReader(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}

    Picture read() {
        readFileHeader();
        if (headerSize_ == 12)
            readCoreHeader();
        else
            readInfoHeader();
        checkGeometry();
        choosePixelFormat();
        readPalette();
        checkPixelBytes();
        return readRows();
    }

private:
    void readFileHeader() {
        if (data_ == nullptr || size_ < kFileHeaderSize + 4 || data_[0] != 'B' || data_[1] != 'M')
            malformed();
        offBits_ = u32(data_ + 10);
        headerSize_ = u32(data_ + 14);
        if (headerSize_ != 12 && headerSize_ < kInfoHeaderSize)
            malformed();
        if (headerSize_ > size_ - kFileHeaderSize)
            malformed();
        afterHeader_ = kFileHeaderSize + headerSize_;
    }

    // The oldest header, 12 bytes: 16-bit sizes and 3-byte palette entries.
    void readCoreHeader() {
        const std::uint8_t* h = data_ + kFileHeaderSize;
        width_ = u16(h + 4);
        height_ = u16(h + 6);
        planes_ = u16(h + 8);
        bits_ = u16(h + 10);
        paletteEntrySize_ = 3;
    }

    // The 40-byte header and its longer successors, with the colour masks
    // either inside the header or right after a plain 40-byte one.
    void readInfoHeader() {
        const std::uint8_t* h = data_ + kFileHeaderSize;
        width_ = i32(h + 4);
        height_ = i32(h + 8);
        planes_ = u16(h + 12);
        bits_ = u16(h + 14);
        compression_ = u32(h + 16);
        colorsUsed_ = u32(h + 32);
        if (compression_ != kBiBitfields && compression_ != kBiAlphaBitfields)
            return;
        const std::uint8_t* m = h + kInfoHeaderSize;
        if (headerSize_ < kInfoHeaderSize + 12) {
            const std::size_t maskBytes = compression_ == kBiAlphaBitfields ? 16 : 12;
            if (maskBytes > size_ - afterHeader_)
                malformed();
            m = data_ + afterHeader_;
            afterHeader_ += maskBytes;
        }
        masks_[0] = u32(m);
        masks_[1] = u32(m + 4);
        masks_[2] = u32(m + 8);
    }

    void checkGeometry() {
        if (planes_ != 1)
            malformed();
        topDown_ = height_ < 0;
        if (topDown_)
            height_ = -height_;
        if (width_ < 0 || width_ > Picture::maxDimension || height_ > Picture::maxDimension)
            malformed();
    }

    // The picture's format from the bit count and the masks; masks other
    // than the two 16-bit layouts and the plain 32-bit one are unpacked into
    // a custom 32-bit picture.
    void choosePixelFormat() {
        switch (bits_) {
        case 1:
            format_ = Picture::PixelFormat::pf1bit;
            break;
        case 4:
            format_ = Picture::PixelFormat::pf4bit;
            break;
        case 8:
            format_ = Picture::PixelFormat::pf8bit;
            break;
        case 16:
            format_ = Picture::PixelFormat::pf15bit;
            if (compression_ != kBiRgb) {
                if (masks_[0] == 0xF800 && masks_[1] == 0x07E0 && masks_[2] == 0x001F)
                    format_ = Picture::PixelFormat::pf16bit;
                else if (!(masks_[0] == 0x7C00 && masks_[1] == 0x03E0 && masks_[2] == 0x001F))
                    custom_ = true;
            }
            break;
        case 24:
            format_ = Picture::PixelFormat::pf24bit;
            break;
        case 32:
            format_ = Picture::PixelFormat::pf32bit;
            if (compression_ != kBiRgb &&
                !(masks_[0] == 0xFF0000 && masks_[1] == 0xFF00 && masks_[2] == 0xFF))
                custom_ = true;
            break;
        default:
            throw KuvitoError(kUnsupported, KuvitoError::Kind::InvalidPicture);
        }
        const bool masked = compression_ == kBiBitfields || compression_ == kBiAlphaBitfields;
        if (compression_ != kBiRgb && !(masked && (bits_ == 16 || bits_ == 32)))
            throw KuvitoError(kUnsupported, KuvitoError::Kind::InvalidPicture);
    }

    // The palette lies between the header and the pixels.
    void readPalette() {
        if (bits_ > 8) {
            if (offBits_ < afterHeader_)
                malformed();
            return;
        }
        const std::size_t most = std::size_t{1} << bits_;
        const std::size_t count =
            headerSize_ == 12 || colorsUsed_ == 0 ? most : std::min<std::size_t>(colorsUsed_, most);
        if (count * paletteEntrySize_ > size_ - std::min(size_, afterHeader_) ||
            afterHeader_ + count * paletteEntrySize_ > offBits_)
            malformed();
        palette_.reserve(count);
        for (std::size_t i = 0; i < count; ++i) {
            const std::uint8_t* e = data_ + afterHeader_ + i * paletteEntrySize_;
            palette_.push_back({e[2], e[1], e[0]});
        }
    }

    // Every row must be present.
    void checkPixelBytes() {
        fileStride_ = ((static_cast<std::uint64_t>(width_) * bits_ + 31) / 32) * 4;
        const std::uint64_t pixelBytes = fileStride_ * static_cast<std::uint64_t>(height_);
        if (offBits_ > size_ || pixelBytes > size_ - offBits_)
            malformed();
    }

    Picture readRows() {
        Picture picture;
        picture.format_ = custom_ ? Picture::PixelFormat::pfCustom : format_;
        picture.palette_ = std::move(palette_);
        picture.setSize(static_cast<int>(width_), static_cast<int>(height_));
        const std::size_t usedBytes = (static_cast<std::size_t>(width_) * bits_ + 7) / 8;
        for (std::int64_t row = 0; row < height_ && usedBytes > 0; ++row) {
            const std::int64_t y = topDown_ ? row : height_ - 1 - row;
            const std::uint8_t* src = data_ + offBits_ + static_cast<std::size_t>(row) * fileStride_;
            std::uint8_t* dst = picture.bits_.data() + static_cast<std::size_t>(y) * picture.stride_;
            if (custom_)
                unpackMaskedRow(src, dst);
            else
                copyRow(src, dst, usedBytes);
        }
        return picture;
    }

    void copyRow(const std::uint8_t* src, std::uint8_t* dst, std::size_t usedBytes) const {
        std::memcpy(dst, src, usedBytes);
        // Unused bits of a last partial byte are zeroed like padding.
        const unsigned tailBits = static_cast<unsigned>((static_cast<std::size_t>(width_) * bits_) % 8);
        if (tailBits != 0)
            dst[usedBytes - 1] &= static_cast<std::uint8_t>(0xFF << (8 - tailBits));
    }

    void unpackMaskedRow(const std::uint8_t* src, std::uint8_t* dst) const {
        const Channel red(masks_[0]), green(masks_[1]), blue(masks_[2]);
        for (std::int64_t x = 0; x < width_; ++x) {
            const std::uint32_t v = bits_ == 16 ? u16(src + 2 * x) : u32(src + 4 * x);
            std::uint8_t* p = dst + 4 * x;
            p[0] = blue.value(v);
            p[1] = green.value(v);
            p[2] = red.value(v);
            p[3] = 0;
        }
    }

    const std::uint8_t* data_;
    std::size_t size_;
    std::uint32_t offBits_ = 0;
    std::uint32_t headerSize_ = 0;
    std::size_t afterHeader_ = 0;
    std::int64_t width_ = 0;
    std::int64_t height_ = 0;
    bool topDown_ = false;
    unsigned planes_ = 0;
    unsigned bits_ = 0;
    std::uint32_t compression_ = kBiRgb;
    std::uint32_t colorsUsed_ = 0;
    std::size_t paletteEntrySize_ = 4;
    std::uint32_t masks_[3] = {0, 0, 0};
    Picture::PixelFormat format_ = Picture::PixelFormat::pfCustom;
    bool custom_ = false;
    std::vector<Picture::Rgb> palette_;
    std::uint64_t fileStride_ = 0;
};

Picture Picture::loadBmp(const std::uint8_t* data, std::size_t size) {
    return PictureBmpReader(data, size).read();
}

Picture Picture::loadBmpFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in)
        throw KuvitoError("ﾌｧｲﾙが開けません: " + path);
    std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    return loadBmp(bytes);
}

std::vector<std::uint8_t> Picture::saveBmp() const {
    const int bits = bitsPerPixel();
    const bool palettized = bits <= 8;
    const bool withMasks = format_ == PixelFormat::pf16bit;
    const std::size_t paletteBytes = palettized ? palette_.size() * 4 : 0;
    const std::size_t offBits = kFileHeaderSize + kInfoHeaderSize + (withMasks ? 12 : 0) + paletteBytes;
    const std::size_t imageBytes = stride_ * static_cast<std::size_t>(height_);
    const std::size_t fileSize = offBits + imageBytes;
    if (fileSize > std::numeric_limits<std::uint32_t>::max())
        throw KuvitoError("ﾋﾞｯﾄﾏｯﾌﾟが大きすぎます", KuvitoError::Kind::InvalidPicture);

    std::vector<std::uint8_t> out;
    out.reserve(fileSize);
    out.push_back('B');
    out.push_back('M');
    put32(out, static_cast<std::uint32_t>(fileSize));
    put32(out, 0);
    put32(out, static_cast<std::uint32_t>(offBits));
    put32(out, kInfoHeaderSize);
    put32(out, static_cast<std::uint32_t>(width_));
    put32(out, static_cast<std::uint32_t>(height_));
    put16(out, 1);
    put16(out, static_cast<std::uint32_t>(bits));
    put32(out, withMasks ? kBiBitfields : kBiRgb);
    put32(out, static_cast<std::uint32_t>(imageBytes));
    put32(out, 0);
    put32(out, 0);
    const std::size_t fullPalette = palettized ? (std::size_t{1} << bits) : 0;
    put32(out,
          palettized && palette_.size() != fullPalette ? static_cast<std::uint32_t>(palette_.size()) : 0);
    put32(out, 0);
    if (withMasks) {
        put32(out, 0xF800);
        put32(out, 0x07E0);
        put32(out, 0x001F);
    }
    if (palettized) {
        for (const Rgb& c : palette_) {
            out.push_back(c.blue);
            out.push_back(c.green);
            out.push_back(c.red);
            out.push_back(0);
        }
    }
    for (int y = height_ - 1; y >= 0; --y) {
        const std::uint8_t* row = scanLine(y);
        out.insert(out.end(), row, row + stride_);
    }
    return out;
}

void Picture::saveBmpFile(const std::string& path) const {
    const std::vector<std::uint8_t> bytes = saveBmp();
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    if (!out)
        throw KuvitoError("ﾌｧｲﾙに書き込めません: " + path);
}
