#include "KWinFeed.h"

#include "CompositorReceiver.h"
#include "KWinScriptLoader.h"

#include <cstdio>

std::unique_ptr<KWinFeed> KWinFeed::open(const CompositorReceiver::Screens& screens) {
    std::string why;
    const QString script = KWinScriptLoader::findScript(why);
    if (script.isEmpty())
        std::fprintf(stderr, "kuvito: running without the KWin script: %s\n", why.c_str());
    // Without the script KWin tells nothing, and the session keeps what
    // XWayland alone keeps.
    const SessionLimits limits = script.isEmpty() ? SessionLimits{true, true} : SessionLimits{};
    std::unique_ptr<KWinFeed> feed(new KWinFeed);
    feed->receiver_ =
        CompositorReceiver::open(limits, QString::fromLatin1(KWinScriptLoader::kService), screens);
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
