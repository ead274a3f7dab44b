#include "PictureProperty.h"

#include "KuvitoError.h"

Picture PictureProperty::read(const FormValue& value) {
    if (value.type != FormValue::Type::Binary)
        throw KuvitoError("ﾋﾞｯﾄﾏｯﾌﾟのﾃﾞｰﾀが正しくありません", KuvitoError::Kind::InvalidPicture);
    const std::vector<std::uint8_t>& b = value.bytes;
    if (b.empty())
        return Picture();
    if (b.size() < 4)
        throw KuvitoError("ﾋﾞｯﾄﾏｯﾌﾟのﾃﾞｰﾀが正しくありません", KuvitoError::Kind::InvalidPicture);
    const std::uint64_t count = static_cast<std::uint64_t>(b[0]) | (static_cast<std::uint64_t>(b[1]) << 8) |
                                (static_cast<std::uint64_t>(b[2]) << 16) |
                                (static_cast<std::uint64_t>(b[3]) << 24);
    if (count != b.size() - 4)
        throw KuvitoError("ﾋﾞｯﾄﾏｯﾌﾟのﾃﾞｰﾀが正しくありません", KuvitoError::Kind::InvalidPicture);
    if (count == 0)
        return Picture();
    return Picture::loadBmp(b.data() + 4, static_cast<std::size_t>(count));
}

FormValue PictureProperty::write(const Picture& picture) {
    const std::vector<std::uint8_t> file = picture.saveBmp();
    std::vector<std::uint8_t> bytes;
    bytes.reserve(file.size() + 4);
    const auto n = static_cast<std::uint32_t>(file.size());
    for (int i = 0; i < 4; ++i)
        bytes.push_back(static_cast<std::uint8_t>(n >> (8 * i)));
    bytes.insert(bytes.end(), file.begin(), file.end());
    return FormValue::fromBinary(std::move(bytes));
}
