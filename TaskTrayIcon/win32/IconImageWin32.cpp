#include "IconImage.h"

#include <windows.h>

#include <cstddef>

namespace {

class Win32IconImage : public IconImage {
public:
    explicit Win32IconImage(HICON icon) : icon_(icon) {}
    ~Win32IconImage() override { ::DestroyIcon(icon_); }
    Win32IconImage(const Win32IconImage&) = delete;
    Win32IconImage& operator=(const Win32IconImage&) = delete;

    IconHandle handle() const override { return {reinterpret_cast<std::uintptr_t>(icon_)}; }

private:
    HICON icon_;
};

std::uint32_t readLe(const std::vector<std::uint8_t>& bytes, std::size_t at, int size) {
    std::uint32_t value = 0;
    for (int i = size - 1; i >= 0; --i)
        value = value << 8 | bytes[at + static_cast<std::size_t>(i)];
    return value;
}

} // namespace

std::unique_ptr<const IconImage> IconImage::decode(const std::vector<std::uint8_t>& bytes) {
    // The file's directory: reserved 0, type 1 (icon), the image count, then
    // 16 bytes per image (width, height, ..., bit count, size, offset).
    if (bytes.size() < 6 || readLe(bytes, 0, 2) != 0 || readLe(bytes, 2, 2) != 1)
        return nullptr;
    const std::size_t count = readLe(bytes, 4, 2);
    if (bytes.size() < 6 + 16 * count)
        return nullptr;
    // The notification area shows the small icon size: the image of that
    // size with the most colours, else the smallest larger one, else the
    // largest; Windows scales what does not fit. Images that reach past the
    // file's end are passed over.
    const int want = ::GetSystemMetrics(SM_CXSMICON);
    std::size_t best = count;
    int bestSide = 0, bestBits = 0;
    const auto better = [want](int side, int bits, int otherSide, int otherBits) {
        const bool fits = side >= want, otherFits = otherSide >= want;
        if (fits != otherFits)
            return fits;
        if (side != otherSide)
            return fits ? side < otherSide : side > otherSide;
        return bits > otherBits;
    };
    for (std::size_t i = 0; i < count; ++i) {
        const std::size_t entry = 6 + 16 * i;
        const int side = bytes[entry] == 0 ? 256 : bytes[entry];
        const int bits = static_cast<int>(readLe(bytes, entry + 6, 2));
        const std::uint64_t size = readLe(bytes, entry + 8, 4);
        const std::uint64_t offset = readLe(bytes, entry + 12, 4);
        if (size == 0 || offset + size > bytes.size())
            continue;
        if (best == count || better(side, bits, bestSide, bestBits)) {
            best = i;
            bestSide = side;
            bestBits = bits;
        }
    }
    if (best == count)
        return nullptr;
    const std::size_t entry = 6 + 16 * best;
    const DWORD size = readLe(bytes, entry + 8, 4);
    const std::size_t offset = readLe(bytes, entry + 12, 4);
    // Windows reads the image (a bitmap or a PNG) and does not keep the bytes.
    HICON icon = ::CreateIconFromResourceEx(const_cast<PBYTE>(bytes.data() + offset), size, TRUE, 0x00030000,
                                            want, ::GetSystemMetrics(SM_CYSMICON), LR_DEFAULTCOLOR);
    if (!icon)
        return nullptr;
    return std::make_unique<Win32IconImage>(icon);
}
