#include "SwayFeed.h"

#include "SwayTree.h"

#include <QSocketNotifier>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>

#include <fcntl.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace {

constexpr std::uint32_t kWindowEvent = SwayIpcMessage::kEventBit | 3;

// Window events that change neither the focus nor a rectangle.
bool movesNothing(const SwayIpcMessage& event) {
    if (event.type != kWindowEvent)
        return false;
    const std::optional<QJsonObject> body = SwayTree::parse(event.payload);
    const QString what = body ? body->value(QLatin1StringView("change")).toString() : QString();
    return what == QLatin1StringView("title") || what == QLatin1StringView("mark") ||
           what == QLatin1StringView("urgent");
}

} // namespace

std::string SwayFeed::findSocket() {
    if (const char* named = std::getenv("SWAYSOCK"); named && *named)
        return named;
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    if (!runtime || !*runtime)
        return {};
    // sway names it sway-ipc.UID.PID.sock; two of them (two sways) leave
    // the program unable to tell which one it runs on.
    const std::string prefix = "sway-ipc." + std::to_string(::getuid()) + ".";
    std::string found;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(runtime, error)) {
        const std::string name = entry.path().filename().string();
        if (name.rfind(prefix, 0) != 0 || !name.ends_with(".sock") || !entry.is_socket(error))
            continue;
        if (!found.empty())
            return {};
        found = entry.path().string();
    }
    return found;
}

std::unique_ptr<SwayFeed> SwayFeed::open(const std::string& socketPath, Listener onChange) {
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    if (socketPath.empty() || socketPath.size() >= sizeof address.sun_path)
        return nullptr;
    std::memcpy(address.sun_path, socketPath.c_str(), socketPath.size() + 1);
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return nullptr;
    // A local socket connects at once or not at all; from then on it is
    // never waited on.
    if (::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0 ||
        ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) | O_NONBLOCK) != 0) {
        ::close(fd);
        return nullptr;
    }
    return std::unique_ptr<SwayFeed>(new SwayFeed(fd, std::move(onChange)));
}

SwayFeed::SwayFeed(int socket, Listener onChange) : socket_(socket), onChange_(std::move(onChange)) {
    readNotifier_ = std::make_unique<QSocketNotifier>(socket_, QSocketNotifier::Read);
    QObject::connect(readNotifier_.get(), &QSocketNotifier::activated, [this] { readable(); });
    writeNotifier_ = std::make_unique<QSocketNotifier>(socket_, QSocketNotifier::Write);
    writeNotifier_->setEnabled(false);
    QObject::connect(writeNotifier_.get(), &QSocketNotifier::activated, [this] { flush(); });
    send(SwayIpcMessage::kSubscribe, R"(["window","workspace","output"])");
    askTree();
}

SwayFeed::~SwayFeed() {
    readNotifier_.reset();
    writeNotifier_.reset();
    if (socket_ >= 0)
        ::close(socket_);
}

void SwayFeed::send(std::uint32_t type, std::string_view payload) {
    outgoing_ += SwayIpcMessage::encode(type, payload);
    flush();
}

void SwayFeed::flush() {
    while (!outgoing_.empty() && socket_ >= 0) {
        const ssize_t n = ::send(socket_, outgoing_.data(), outgoing_.size(), MSG_NOSIGNAL);
        if (n > 0) {
            outgoing_.erase(0, static_cast<std::size_t>(n));
        } else if (n < 0 && errno == EINTR) {
            continue;
        } else if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
            break; // the rest goes when the socket can take it
        } else {
            drop();
            return;
        }
    }
    if (writeNotifier_)
        writeNotifier_->setEnabled(!outgoing_.empty());
}

void SwayFeed::readable() {
    char buffer[65536];
    for (;;) {
        const ssize_t n = ::recv(socket_, buffer, sizeof buffer, 0);
        if (n > 0) {
            reader_.feed(std::string_view(buffer, static_cast<std::size_t>(n)));
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK))
            break;
        drop(); // sway has gone
        return;
    }
    while (std::optional<SwayIpcMessage> message = reader_.next()) {
        handle(*message);
        if (socket_ < 0)
            return;
    }
    if (reader_.broken())
        drop();
}

void SwayFeed::handle(const SwayIpcMessage& message) {
    if (message.isEvent()) {
        if (!movesNothing(message))
            askTree();
        return;
    }
    if (message.type != SwayIpcMessage::kGetTree)
        return;
    treeAsked_ = false;
    // Something moved while sway wrote this tree: one more is asked for,
    // and this one stands until it comes.
    if (treeStale_)
        askTree();
    const std::optional<QJsonObject> tree = SwayTree::parse(message.payload);
    if (!tree)
        return;
    const SwayFocus focus = SwayTree::focus(*tree, static_cast<int>(::getpid()));
    CompositorReport next = report_;
    next.frontWindowKnown = true;
    next.frontWindow = focus.window;
    next.workArea = focus.workArea;
    if (next == report_)
        return;
    report_ = next;
    if (onChange_)
        onChange_(report_);
}

bool SwayFeed::repeatPointer() {
    if (socket_ < 0)
        return false;
    send(SwayIpcMessage::kRunCommand, "seat - cursor move 1 0; seat - cursor move -1 0");
    return true;
}

const CompositorReport& SwayFeed::report() const {
    // Reading the report is const to its readers; asking sway again is
    // what keeps it true, and it never waits.
    if (socket_ >= 0 && std::chrono::steady_clock::now() - treeAskedAt_ >= kRefresh)
        const_cast<SwayFeed*>(this)->askTree();
    return report_;
}

void SwayFeed::askTree() {
    if (treeAsked_) {
        treeStale_ = true;
        return;
    }
    treeAsked_ = true;
    treeStale_ = false;
    treeAskedAt_ = std::chrono::steady_clock::now();
    send(SwayIpcMessage::kGetTree, {});
}

void SwayFeed::drop() {
    if (socket_ < 0)
        return;
    readNotifier_->setEnabled(false);
    writeNotifier_->setEnabled(false);
    ::close(socket_);
    socket_ = -1;
    outgoing_.clear();
    if (report_ == CompositorReport{})
        return;
    report_ = {};
    if (onChange_)
        onChange_(report_);
}
