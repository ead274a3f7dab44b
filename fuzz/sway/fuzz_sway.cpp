// Fuzzes what the program reads from sway's IPC socket: the bytes are cut
// into messages (in two pieces, at a place the first byte picks), and every
// payload is parsed as JSON and walked as a window tree. Checks, besides
// memory safety and bounded recursion: the reader hands out no more payload
// than it was fed, and a frame the tree walk reports has no negative size.
#include "SwayIpcReader.h"
#include "SwayTree.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 1)
        return 0;
    const std::string_view bytes(reinterpret_cast<const char*>(data) + 1, size - 1);
    const std::size_t cut = std::min<std::size_t>(data[0] * 16u, bytes.size());
    SwayIpcReader reader;
    std::size_t handedOut = 0;
    for (std::string_view piece : {bytes.substr(0, cut), bytes.substr(cut)}) {
        reader.feed(piece);
        while (auto message = reader.next()) {
            handedOut += message->payload.size();
            if (handedOut > bytes.size())
                std::abort();
            if (auto tree = SwayTree::parse(message->payload)) {
                const SwayFocus focus = SwayTree::focus(*tree, 1);
                if (focus.window && (focus.window->frame.right < focus.window->frame.left ||
                                     focus.window->frame.bottom < focus.window->frame.top))
                    std::abort();
            }
        }
    }
    // The payload alone, unframed, as JSON too.
    if (auto tree = SwayTree::parse(bytes))
        SwayTree::focus(*tree, 1);
    return 0;
}
