#include "KWinFeed.h"

#include "CompositorReceiver.h"
#include "KWinScriptLoader.h"

#include <QCoreApplication>

#include <cstdio>

std::unique_ptr<KWinFeed> KWinFeed::open() {
    const QString script = KWinScriptLoader::findScript(QCoreApplication::applicationDirPath());
    if (script.isEmpty())
        std::fprintf(stderr, "kuvito: the KWin script (kuvito/kwin) is not installed\n");
    // Without the script KWin tells nothing, and the session keeps what
    // XWayland alone keeps.
    const SessionLimits limits = script.isEmpty() ? SessionLimits{true, true} : SessionLimits{};
    std::unique_ptr<KWinFeed> feed(new KWinFeed);
    feed->receiver_ = CompositorReceiver::open(limits);
    if (!feed->receiver_)
        return nullptr;
    if (!script.isEmpty())
        feed->loader_ = std::make_unique<KWinScriptLoader>(script);
    return feed;
}

KWinFeed::~KWinFeed() = default;

const CompositorReport& KWinFeed::report() const {
    return receiver_->report();
}

SessionLimits KWinFeed::limits() const {
    return receiver_->limits();
}
