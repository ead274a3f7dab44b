#include "SwayIpcReader.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr std::string_view kMagic = "i3-ipc";
constexpr std::size_t kHeader = kMagic.size() + 2 * sizeof(std::uint32_t);

} // namespace

std::string SwayIpcMessage::encode(std::uint32_t type, std::string_view payload) {
    const auto length = static_cast<std::uint32_t>(payload.size());
    std::string out(kMagic);
    out.append(reinterpret_cast<const char*>(&length), sizeof length);
    out.append(reinterpret_cast<const char*>(&type), sizeof type);
    out.append(payload);
    return out;
}

void SwayIpcReader::feed(std::string_view bytes) {
    if (broken_)
        return;
    // What was handed out already is dropped before the buffer grows.
    if (start_ > 0) {
        buffer_.erase(0, start_);
        start_ = 0;
    }
    buffer_.append(bytes);
}

std::optional<SwayIpcMessage> SwayIpcReader::next() {
    if (broken_)
        return std::nullopt;
    const std::string_view rest = std::string_view(buffer_).substr(start_);
    // The magic is checked as soon as its bytes are there, so that a stream
    // that is not sway's is refused before anything is buffered for it.
    const std::size_t seen = std::min(rest.size(), kMagic.size());
    if (rest.substr(0, seen) != kMagic.substr(0, seen)) {
        broken_ = true;
        return std::nullopt;
    }
    if (rest.size() < kHeader)
        return std::nullopt;
    std::uint32_t length = 0, type = 0;
    std::memcpy(&length, rest.data() + kMagic.size(), sizeof length);
    std::memcpy(&type, rest.data() + kMagic.size() + sizeof length, sizeof type);
    if (length > kMaxPayload) {
        broken_ = true;
        return std::nullopt;
    }
    if (rest.size() - kHeader < length)
        return std::nullopt;
    SwayIpcMessage message{type, std::string(rest.substr(kHeader, length))};
    start_ += kHeader + length;
    return message;
}
