#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// One message on sway's IPC socket (the i3 IPC framing): the six bytes
// "i3-ipc", the payload's length and the message type as 32-bit integers in
// the machine's own byte order, then the payload (JSON). Replies carry the
// type of the request; events have the high bit set.
struct SwayIpcMessage {
    std::uint32_t type = 0;
    std::string payload;

    static constexpr std::uint32_t kRunCommand = 0;
    static constexpr std::uint32_t kGetWorkspaces = 1;
    static constexpr std::uint32_t kSubscribe = 2;
    static constexpr std::uint32_t kGetTree = 4;
    static constexpr std::uint32_t kEventBit = 0x80000000u;

    bool isEvent() const { return (type & kEventBit) != 0; }
    // The bytes that send a request.
    static std::string encode(std::uint32_t type, std::string_view payload);
};

// Cuts the bytes read from the socket, in whatever pieces they arrive, into
// messages. A stream that does not start a message with the magic bytes,
// or announces a payload larger than kMaxPayload, is broken for good: the
// reader stops and the connection is to be dropped.
class SwayIpcReader {
public:
    // sway writes under a kilobyte per window, so a tree of a few thousand
    // windows stays far below this; a payload this large is still parsed
    // quickly enough on the user-interface thread.
    static constexpr std::size_t kMaxPayload = 8u << 20;

    void feed(std::string_view bytes);
    // The next complete message, or nothing until more bytes come.
    std::optional<SwayIpcMessage> next();
    bool broken() const { return broken_; }

private:
    std::string buffer_;
    std::size_t start_ = 0; // where the next message begins in buffer_
    bool broken_ = false;
};
