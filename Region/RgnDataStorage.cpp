#include "RgnDataStorage.h"

#include "KuvitoError.h"

#include <algorithm>
#include <limits>

namespace RgnDataStorage {

void read(const std::string& name, const std::vector<std::uint8_t>& stream,
          std::unique_ptr<std::uint8_t[]>& buf, std::int32_t& size) {
    // The size is kept as a 32-bit count; a larger value is refused rather
    // than wrapped.
    if (stream.size() > static_cast<std::size_t>(std::numeric_limits<std::int32_t>::max()))
        throw KuvitoError(name + " のﾘｰｼﾞｮﾝ情報が大きすぎます");
    buf.reset();
    size = static_cast<std::int32_t>(stream.size());
    if (size > 0) {
        buf.reset(new std::uint8_t[stream.size()]);
        std::copy(stream.begin(), stream.end(), buf.get());
    }
}

void readProperty(const std::string& name, const FormValue& value, std::unique_ptr<std::uint8_t[]>& buf,
                  std::int32_t& size) {
    if (value.type != FormValue::Type::Binary)
        throw KuvitoError(name + " のﾘｰｼﾞｮﾝ情報が正しくありません", KuvitoError::Kind::Conversion);
    read(name, value.bytes, buf, size);
}

void write(const std::unique_ptr<std::uint8_t[]>& buf, std::int32_t size, std::vector<std::uint8_t>& stream) {
    if (buf)
        stream.insert(stream.end(), buf.get(), buf.get() + size);
}

} // namespace RgnDataStorage
