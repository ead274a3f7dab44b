// sway's IPC as the program reads it: the framing, the JSON and the walk over window trees recorded from a
// headless sway 1.7 with swaybar at the bottom of a 1024 x 768 output (tree-empty: workspace 1 focused and
// empty; tree-floating: a native zenity dialog floating and focused;
// tree-tiled: that dialog tiled beside a focused xmessage). Then the feed
// against a socket that plays sway.
#include "SwayFeed.h"
#include "SwayIpcReader.h"
#include "SwayTree.h"

#include <QCoreApplication>

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <regex>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace {

std::string recorded(const std::string& name) {
    std::ifstream in(std::string(KUVITO_SWAY_FIXTURES) + "/" + name, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// The one message a recorded frame holds, read through the reader.
SwayIpcMessage frameOf(const std::string& bytes) {
    SwayIpcReader reader;
    reader.feed(bytes);
    std::optional<SwayIpcMessage> message = reader.next();
    EXPECT_TRUE(message.has_value());
    EXPECT_FALSE(reader.next().has_value());
    return message.value_or(SwayIpcMessage{});
}

SwayFocus focusOf(const std::string& name, int ownPid = 0) {
    const std::optional<QJsonObject> tree = SwayTree::parse(frameOf(recorded(name)).payload);
    EXPECT_TRUE(tree.has_value()) << name;
    return tree ? SwayTree::focus(*tree, ownPid) : SwayFocus{};
}

TEST(SwayIpcReader, CutsMessagesWhereverTheBytesAreSplit) {
    const std::string real = recorded("tree-empty.bin");
    const std::string stream = real + SwayIpcMessage::encode(0x80000003u, "{}") + real;
    for (std::size_t cut = 0; cut <= stream.size(); cut += 7) {
        SwayIpcReader reader;
        std::vector<SwayIpcMessage> got;
        for (std::string_view piece :
             {std::string_view(stream).substr(0, cut), std::string_view(stream).substr(cut)}) {
            reader.feed(piece);
            while (auto m = reader.next())
                got.push_back(*m);
        }
        ASSERT_EQ(got.size(), 3u) << "cut at " << cut;
        EXPECT_EQ(got[0].type, SwayIpcMessage::kGetTree);
        EXPECT_FALSE(got[0].isEvent());
        EXPECT_EQ(got[0].payload.size(), real.size() - 14);
        EXPECT_TRUE(got[1].isEvent());
        EXPECT_EQ(got[1].payload, "{}");
        EXPECT_EQ(got[2].payload, got[0].payload);
    }
}

TEST(SwayIpcReader, RefusesAStreamThatIsNotSways) {
    auto announcing = [](std::size_t length) {
        std::string header = SwayIpcMessage::encode(4, "");
        const auto announced = static_cast<std::uint32_t>(length);
        std::memcpy(header.data() + 6, &announced, sizeof announced);
        return header;
    };
    const struct {
        const char* what;
        std::string bytes;
        bool broken;
    } cases[] = {
        {"wrong magic, seen before the header is complete", "i3-ipX", true},
        {"a payload over the limit", announcing(SwayIpcReader::kMaxPayload + 1), true},
        {"a payload at the limit, still to come", announcing(SwayIpcReader::kMaxPayload), false},
        {"half a header", "i3-ip", false},
    };
    for (const auto& c : cases) {
        SwayIpcReader reader;
        reader.feed(c.bytes);
        EXPECT_FALSE(reader.next().has_value()) << c.what;
        EXPECT_EQ(reader.broken(), c.broken) << c.what;
    }
}

TEST(SwayTree, FindsTheFocusedWindowsFrameAndItsWorkspace) {
    // swaybar takes the bottom 23 rows: the workspace ends at 745.
    const ScreenRect workspace{0, 0, 1024, 745};
    const struct {
        const char* tree;
        std::optional<CompositorReport::Window> window;
    } cases[] = {
        {"tree-empty.bin", std::nullopt},
        // Below the title bar: a tiled window's starts at the top (0).
        {"tree-floating.bin", CompositorReport::Window{5, {423, 312, 601, 434}}},
        {"tree-tiled.bin", CompositorReport::Window{6, {512, 25, 1024, 745}}},
    };
    for (const auto& c : cases) {
        const SwayFocus focus = focusOf(c.tree);
        EXPECT_EQ(focus.window, c.window) << c.tree;
        EXPECT_EQ(focus.workArea, workspace) << c.tree;
    }
    // The focused xmessage's process, as sway reports it.
    EXPECT_TRUE(focusOf("tree-tiled.bin", 16499).window->ownWindow);
}

TEST(SwayTree, TellsAFullScreenWindowByItsMode) {
    // 0: not full screen, 1: on its output, 2: over every output.
    for (const int mode : {0, 1, 2}) {
        const std::string text =
            R"({"type": "workspace", "rect": {"x": 0, "y": 0, "width": 800, "height": 600},
            "nodes": [{"type": "con", "focused": true, "id": 9, "fullscreen_mode": )" +
            std::to_string(mode) + R"(, "rect": {"x": 0, "y": 0, "width": 800, "height": 600}}]})";
        const SwayFocus focus = SwayTree::focus(*SwayTree::parse(text), 0);
        ASSERT_TRUE(focus.window.has_value()) << mode;
        EXPECT_EQ(focus.window->fullScreen, mode != 0) << mode;
    }
}

// A focused window `levels` containers down, each a node in its parent's
// "nodes": two levels of nesting per container. The window has no size (a
// window still) and an id no X11 client could have (reported as 0).
std::string nestedTree(int levels) {
    std::string text =
        R"({"type": "con", "focused": true, "id": -1, "rect": {"x": 1, "y": 2, "width": 0, "height": 0}})";
    for (int i = 0; i < levels; ++i)
        text = R"({"nodes": [)" + text + "]}";
    return text;
}

TEST(SwayTree, TakesNothingFromATreeOfAnotherShape) {
    for (const char* text :
         {R"({"focused": true, "type": "con", "rect": {"x": 1}})",
          R"({"focused": 1, "type": "con", "rect": {"x": 0, "y": 0, "width": 5, "height": 5}})",
          R"({"nodes": [{"type": "con", "focused": true,
                                 "rect": {"x": 0, "y": 0, "width": -1, "height": 10}}]})",
          R"({"type": "con", "focused": true, "rect": {"x": 0, "y": 0, "width": 5, "height": -1}})",
          R"({"nodes": {"type": "con", "focused": true,
                                 "rect": {"x": 0, "y": 0, "width": 5, "height": 10}}})"})
        EXPECT_EQ(SwayTree::focus(*SwayTree::parse(text), 0), SwayFocus{}) << text;
    // Deeper than the walk goes: refused whole, not walked past.
    const int deepest = (SwayTree::kMaxDepth - 1) / 2;
    EXPECT_EQ(SwayTree::focus(*SwayTree::parse(nestedTree(deepest)), 0).window,
              (CompositorReport::Window{0, {1, 2, 1, 2}}));
    EXPECT_EQ(SwayTree::focus(*SwayTree::parse(nestedTree(deepest + 1)), 0), SwayFocus{});
}

TEST(SwayTree, ParsesOnlyOneValidObject) {
    const struct {
        std::string text;
        bool valid;
    } cases[] = {
        {R"({"name": "x\u00e9\ud83d\ude00"})", true},
        {"[]", false},
        {R"({"a": 1} {})", false},
        {"{\"name\": \"\xff\"}", false}, // invalid UTF-8
        {"{\"name\": \"\xc3\"}", false}, // a cut sequence
    };
    for (const auto& c : cases)
        EXPECT_EQ(SwayTree::parse(c.text).has_value(), c.valid) << c.text;
}

// A socket in a temporary folder that plays sway for one feed.
class FakeSway {
public:
    FakeSway() {
        char folder[] = "/tmp/kuvito-sway.XXXXXX";
        dir_ = ::mkdtemp(folder);
        path_ = dir_ + "/sway.sock";
        listener_ = ::socket(AF_UNIX, SOCK_STREAM, 0);
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        std::strcpy(address.sun_path, path_.c_str());
        ::bind(listener_, reinterpret_cast<const sockaddr*>(&address), sizeof address);
        ::listen(listener_, 1);
    }
    ~FakeSway() {
        hangUp();
        ::close(listener_);
        std::filesystem::remove_all(dir_);
    }
    const std::string& path() const { return path_; }
    void accept() { client_ = ::accept(listener_, nullptr, nullptr); }
    void hangUp() {
        if (client_ >= 0)
            ::close(client_);
        client_ = -1;
    }
    void send(const std::string& bytes) {
        ASSERT_EQ(::write(client_, bytes.data(), bytes.size()), ssize_t(bytes.size()));
    }
    // The requests the feed has sent so far, without waiting.
    std::vector<SwayIpcMessage> messages() {
        char buffer[4096];
        ssize_t n;
        while ((n = ::recv(client_, buffer, sizeof buffer, MSG_DONTWAIT)) > 0)
            reader_.feed(std::string_view(buffer, std::size_t(n)));
        std::vector<SwayIpcMessage> out;
        while (auto m = reader_.next())
            out.push_back(*m);
        return out;
    }
    // Their types only.
    std::vector<std::uint32_t> requests() {
        std::vector<std::uint32_t> types;
        for (const auto& m : messages())
            types.push_back(m.type);
        return types;
    }

private:
    std::string dir_, path_;
    int listener_ = -1, client_ = -1;
    SwayIpcReader reader_;
};

TEST(SwayFeed, FindsSwaysSocketByItsVariableOrAsTheOneInTheRuntimeFolder) {
    char folder[] = "/tmp/kuvito-runtime.XXXXXX";
    const std::string runtime = ::mkdtemp(folder);
    const std::string mine = "sway-ipc." + std::to_string(::getuid()) + ".";
    auto socketFile = [&](const std::string& name) {
        const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        std::strcpy(address.sun_path, (runtime + "/" + name).c_str());
        ::bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address);
        ::close(fd);
    };
    std::ofstream(runtime + "/" + mine + "1.sock");                       // a plain file of that name
    socketFile("sway-ipc." + std::to_string(::getuid() + 1) + ".2.sock"); // another user's
    socketFile(mine + "3.sock.old");
    const char* before = std::getenv("XDG_RUNTIME_DIR");
    const std::string keptRuntime = before ? before : "";
    ::setenv("XDG_RUNTIME_DIR", runtime.c_str(), 1);
    ::unsetenv("SWAYSOCK");
    EXPECT_EQ(SwayFeed::findSocket(), "");
    socketFile(mine + "4.sock");
    EXPECT_EQ(SwayFeed::findSocket(), runtime + "/" + mine + "4.sock");
    ::setenv("SWAYSOCK", "/named/by/sway", 1);
    EXPECT_EQ(SwayFeed::findSocket(), "/named/by/sway");
    ::unsetenv("SWAYSOCK");
    socketFile(mine + "5.sock"); // two sways: which one is ours is unknown
    EXPECT_EQ(SwayFeed::findSocket(), "");
    if (before)
        ::setenv("XDG_RUNTIME_DIR", keptRuntime.c_str(), 1);
    else
        ::unsetenv("XDG_RUNTIME_DIR");
    std::filesystem::remove_all(runtime);
}

// Runs the event loop until the feed has heard something or a generous
// bound of rounds has passed.
void pump(const int& heard, int before) {
    for (int i = 0; i < 200 && heard == before; ++i)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 10);
}

TEST(SwayFeed, AsksForTheTreeOnlyWhenAnEventCanMoveSomething) {
    FakeSway sway;
    int heard = 0;
    CompositorReport last;
    auto feed = SwayFeed::open(sway.path(), [&](const CompositorReport& r) {
        ++heard;
        last = r;
    });
    ASSERT_TRUE(feed);
    sway.accept();
    EXPECT_EQ(sway.requests(),
              (std::vector<std::uint32_t>{SwayIpcMessage::kSubscribe, SwayIpcMessage::kGetTree}));

    sway.send(recorded("tree-floating.bin"));
    pump(heard, 0);
    ASSERT_EQ(heard, 1);
    EXPECT_TRUE(last.frontWindowKnown);
    EXPECT_EQ(last.frontWindow->id, 5u);
    EXPECT_FALSE(last.pointer.has_value());
    EXPECT_EQ(last.workArea, (ScreenRect{0, 0, 1024, 745}));

    // A new title moves nothing; a focus change is followed by one request.
    const std::uint32_t windowEvent = SwayIpcMessage::kEventBit | 3;
    sway.send(SwayIpcMessage::encode(windowEvent, R"({"change": "title"})"));
    sway.send(SwayIpcMessage::encode(windowEvent, R"({"change": "focus"})"));
    sway.send(SwayIpcMessage::encode(windowEvent, R"({"change": "focus"})"));
    for (int i = 0; i < 20; ++i)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    EXPECT_EQ(sway.requests(), std::vector<std::uint32_t>{SwayIpcMessage::kGetTree});

    // The second focus event came while the tree was asked for: once that
    // answer is in, the tree is asked for once more.
    sway.send(recorded("tree-tiled.bin"));
    pump(heard, 1);
    EXPECT_EQ(last.frontWindow->id, 6u);
    for (int i = 0; i < 20; ++i)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    EXPECT_EQ(sway.requests(), std::vector<std::uint32_t>{SwayIpcMessage::kGetTree});

    // sway goes away: the report is emptied, so nothing stale is used.
    sway.hangUp();
    pump(heard, 2);
    EXPECT_EQ(last, CompositorReport{});
}

// After a drag sway is asked to send the pointer's place again: its cursor
// moves and comes back to where it was, in commands sway runs in order.
TEST(SwayFeed, RepeatsThePointerByMovingSwaysCursorThereAndBack) {
    FakeSway sway;
    auto feed = SwayFeed::open(sway.path());
    ASSERT_TRUE(feed);
    sway.accept();
    sway.messages();
    ASSERT_TRUE(feed->repeatPointer());
    const auto sent = sway.messages();
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(sent[0].type, SwayIpcMessage::kRunCommand);
    int x = 0, y = 0, moves = 0, away = 0;
    const std::regex move(R"(seat - cursor move (-?\d+) (-?\d+))");
    for (auto it = std::sregex_iterator(sent[0].payload.begin(), sent[0].payload.end(), move);
         it != std::sregex_iterator(); ++it, ++moves) {
        x += std::stoi((*it)[1].str());
        y += std::stoi((*it)[2].str());
        away += x != 0 || y != 0;
    }
    EXPECT_GE(moves, 2);
    EXPECT_GE(away, 1) << sent[0].payload;
    EXPECT_EQ(x, 0) << sent[0].payload;
    EXPECT_EQ(y, 0) << sent[0].payload;
    // Without sway nothing is asked.
    sway.hangUp();
    for (int i = 0; i < 50 && feed->repeatPointer(); ++i)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 10);
    EXPECT_FALSE(feed->repeatPointer());
}

} // namespace
