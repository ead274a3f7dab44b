#include "SessionNotice.h"

#include "MovementModes.h"

#include <string>

namespace {

// One row per thing a session may keep from the program: the limit, the
// reading it takes away, and what the modes that read it do without it
// (the sentence follows their names).
struct LimitRow {
    bool SessionLimits::*limit;
    bool DesktopReadings::*reading;
    const char* whatTheyDo;
};

constexpr LimitRow kLimitRows[] = {
    {&SessionLimits::pointerOnlyOverX11Windows, &DesktopReadings::pointer,
     "は、マウスが X11 のウィンドウの上にあるときだけマウスの方へ向かいます。"},
    {&SessionLimits::onlyX11WindowsInFront, &DesktopReadings::frontWindow,
     "は X11 のウィンドウの上だけを歩き、Wayland のアプリが手前にあるときは画面中をうろうろします。"},
    {&SessionLimits::panelUnknown, &DesktopReadings::panel,
     "は、パネルの場所がわからないため、画面のいちばん下を歩きます。"},
};

bool limited(const SessionLimits& limits, const MovementModeRow& mode) {
    for (const LimitRow& row : kLimitRows)
        if (limits.*row.limit && mode.reads.*row.reading)
            return true;
    return false;
}

std::string quoted(const MovementModeRow& mode) {
    return std::string("「") + mode.caption + "」";
}

// The names of the modes that pass the filter, in the settings dialog's
// order, joined as a list.
template <typename Filter> std::string modeNames(Filter filter) {
    std::string names;
    for (const MovementModeRow& mode : kMovementModes)
        if (filter(mode))
            names += (names.empty() ? "" : "と") + quoted(mode);
    return names;
}

} // namespace

std::string SessionNotice::text(const SessionLimits& limits, MovementMode inEffect) {
    const MovementModeRow* const mode = movementModeRow(inEffect);
    if (!mode || !limited(limits, *mode))
        return {};
    std::string text = "Wayland のデスクトップでは見えないものがあります。\n";
    for (const LimitRow& row : kLimitRows) {
        if (!(limits.*row.limit))
            continue;
        const std::string names = modeNames([&](const MovementModeRow& m) { return m.reads.*row.reading; });
        if (!names.empty())
            text += names + row.whatTheyDo + '\n';
    }
    if (limits.helperSwitchedOff)
        text += std::string("kuvito の GNOME Shell "
                            "拡張機能がオフになっています。オンに戻すには「拡張機能」アプリを使うか、"
                            "gnome-extensions enable ") +
                limits.helperSwitchedOff + " を実行してください。\n";
    if (limits.newLoginCompletesSetUp)
        text += "ログアウトしてログインし直すと準備が整い、どのモードも使えるようになります。\n";
    const std::string working = modeNames([&](const MovementModeRow& m) { return !limited(limits, m); });
    if (!working.empty())
        text += working + "はいつもどおりに動きます。";
    return text;
}
