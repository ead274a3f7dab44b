#include "SessionNotice.h"

#include "Captions.h"
#include "MovementModes.h"

#include <string>
#include <utility>

namespace {

// One row per thing a session may keep from the program: the limit, the
// reading it takes away, and the id of the sentence that says what the modes
// that read it do without it (their names fill its {modes}).
struct LimitRow {
    bool SessionLimits::*limit;
    bool DesktopReadings::*reading;
    const char* whatTheyDoId;
};

constexpr LimitRow kLimitRows[] = {
    {&SessionLimits::pointerOnlyOverX11Windows, &DesktopReadings::pointer, "session.pointer"},
    {&SessionLimits::onlyX11WindowsInFront, &DesktopReadings::frontWindow, "session.frontWindow"},
    {&SessionLimits::panelUnknown, &DesktopReadings::panel, "session.panel"},
};

bool limited(const SessionLimits& limits, const MovementModeRow& mode) {
    for (const LimitRow& row : kLimitRows)
        if (limits.*row.limit && mode.reads.*row.reading)
            return true;
    return false;
}

std::string quoted(const MovementModeRow& mode) {
    return Captions::fill("session.quote", "mode", Captions::text(mode.captionId));
}

// The names of the modes that pass the filter, in the settings dialog's
// order, joined as a list.
template <typename Filter> std::string modeNames(Filter filter) {
    const std::string joiner = Captions::text("session.and");
    std::string names;
    for (const MovementModeRow& mode : kMovementModes)
        if (filter(mode))
            names += (names.empty() ? "" : joiner) + quoted(mode);
    return names;
}

} // namespace

std::string SessionNotice::text(const SessionLimits& limits, MovementMode inEffect) {
    const MovementModeRow* const mode = movementModeRow(inEffect);
    if (!mode || !limited(limits, *mode))
        return {};
    std::string text = Captions::text("session.intro") + '\n';
    for (const LimitRow& row : kLimitRows) {
        if (!(limits.*row.limit))
            continue;
        const std::string names = modeNames([&](const MovementModeRow& m) { return m.reads.*row.reading; });
        if (!names.empty())
            text += Captions::fill(row.whatTheyDoId, "modes", names) + '\n';
    }
    // What became of the shell's helper, and what the user can do about it.
    const std::pair<const char*, const char*> helper[] = {
        {limits.helperSwitchedOff, "session.helperSwitchedOff"},
        {limits.helperOutOfDate, "session.helperOutOfDate"},
        {limits.helperFailed, "session.helperFailed"},
    };
    for (const auto& [uuid, id] : helper)
        if (uuid)
            text += Captions::fill(id, "uuid", uuid) + '\n';
    if (limits.helperMissing)
        text += Captions::text("session.helperMissing") + '\n';
    if (limits.newLoginCompletesSetUp)
        text += Captions::text("session.newLogin") + '\n';
    const std::string working = modeNames([&](const MovementModeRow& m) { return !limited(limits, m); });
    if (!working.empty())
        text += Captions::fill("session.working", "modes", working);
    return text;
}
