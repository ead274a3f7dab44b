#include "SessionNotice.h"

#include "MovementModes.h"

#include <QStringList>

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

QString quoted(const MovementModeRow& mode) {
    return QString::fromUtf8("「") + QString::fromUtf8(mode.caption) + QString::fromUtf8("」");
}

// The names of the modes that pass the filter, in the settings dialog's
// order, joined as a list.
template <typename Filter> QString modeNames(Filter filter) {
    QStringList names;
    for (const MovementModeRow& mode : kMovementModes)
        if (filter(mode))
            names << quoted(mode);
    return names.join(QString::fromUtf8("と"));
}

} // namespace

QString SessionNotice::text(const SessionLimits& limits, MovementMode inEffect) {
    const MovementModeRow* const mode = movementModeRow(inEffect);
    if (!mode || !limited(limits, *mode))
        return {};
    QString text = QString::fromUtf8("Wayland のデスクトップでは見えないものがあります。\n");
    for (const LimitRow& row : kLimitRows) {
        if (!(limits.*row.limit))
            continue;
        const QString names = modeNames([&](const MovementModeRow& m) { return m.reads.*row.reading; });
        if (!names.isEmpty())
            text += names + QString::fromUtf8(row.whatTheyDo) + '\n';
    }
    if (limits.newLoginCompletesSetUp)
        text += QString::fromUtf8(
            "ログアウトしてログインし直すと準備が整い、どのモードも使えるようになります。\n");
    const QString working = modeNames([&](const MovementModeRow& m) { return !limited(limits, m); });
    if (!working.isEmpty())
        text += working + QString::fromUtf8("はいつもどおりに動きます。");
    return text;
}
