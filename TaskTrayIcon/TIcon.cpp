#include "TIcon.h"

#include "IconImage.h"
#include "KuvitoError.h"

namespace {

[[noreturn]] void invalidIcon() {
    throw KuvitoError("ｱｲｺﾝが正しくありません", KuvitoError::Kind::InvalidPicture);
}

} // namespace

IconHandle TIcon::handle() const {
    return image_ ? image_->handle() : IconHandle{};
}

void TIcon::assign(const TIcon& other) {
    if (&other == this)
        return;
    data_ = other.data_;
    image_ = other.image_;
}

void TIcon::clear() {
    data_.clear();
    image_.reset();
}

void TIcon::loadFromIcoFile(std::vector<std::uint8_t> bytes) {
    if (bytes.empty()) {
        clear();
        return;
    }
    std::shared_ptr<const IconImage> decoded = IconImage::decode(bytes);
    if (!decoded)
        invalidIcon();
    data_ = std::move(bytes);
    image_ = std::move(decoded);
}

void TIcon::readData(const std::vector<std::uint8_t>& stored) {
    if (stored.size() < 4)
        invalidIcon();
    const std::uint64_t count = std::uint64_t(stored[0]) | std::uint64_t(stored[1]) << 8 |
                                std::uint64_t(stored[2]) << 16 | std::uint64_t(stored[3]) << 24;
    // Never trust the count over the block's real length: a count past the
    // end would read beyond the stored bytes.
    if (count > stored.size() - 4)
        invalidIcon();
    const auto first = stored.begin() + 4;
    loadFromIcoFile(std::vector<std::uint8_t>(first, first + static_cast<std::ptrdiff_t>(count)));
}

std::vector<std::uint8_t> TIcon::writeData() const {
    const auto count = static_cast<std::uint32_t>(data_.size());
    std::vector<std::uint8_t> out;
    out.reserve(4 + data_.size());
    for (int shift = 0; shift < 32; shift += 8)
        out.push_back(static_cast<std::uint8_t>(count >> shift));
    out.insert(out.end(), data_.begin(), data_.end());
    return out;
}
