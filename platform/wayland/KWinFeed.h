#pragma once

#include "CompositorFeed.h"
#include "CompositorReceiver.h"

#include <memory>

class KWinScriptLoader;

// KWin's answers: kuvito's KWin script, loaded into the running KWin for as
// long as this feed lives, pushes to a CompositorReceiver. The receiver
// owns the program's bus name before the script is loaded, so the script
// finds its owner at once.
class KWinFeed : public CompositorFeed {
public:
    // Null when the receiver cannot own the name (no session bus, or
    // another kuvito runs in the session).
    static std::unique_ptr<KWinFeed> open(const CompositorReceiver::Screens& screens);
    ~KWinFeed() override;

    const CompositorReport& report() const override;
    SessionLimits limits() const override;

private:
    KWinFeed() = default;

    std::unique_ptr<CompositorReceiver> receiver_;
    // Destroyed first: the script is unloaded before the name is given up.
    std::unique_ptr<KWinScriptLoader> loader_;
};
