#pragma once

#include <QObject>
#include <QString>

#include <memory>

// Keeps kuvito's KWin script (platform/wayland/helpers/kwin) loaded in the running
// KWin for as long as this object lives. KWin loads scripts over the session
// bus without a restart; a script of the same name that a killed kuvito
// left behind is unloaded first, so the new one replaces it instead of
// refusing to load beside it. Loading is asynchronous (the program never
// waits on KWin while it starts); unloading, when the program quits or this
// object goes, whichever comes first, waits briefly.
class KWinScriptLoader {
public:
    // The name KWin knows the script by.
    static constexpr const char* kPluginName = "kuvito";

    // Whether KWin runs the session (its service is on the session bus).
    static bool kwinOnBus();
    // The script's main file beside the program (the build tree), under the
    // program's own prefix, or in the system's data folders; empty when none
    // is found.
    static QString findScript(const QString& programDir);

    explicit KWinScriptLoader(const QString& mainScript);
    ~KWinScriptLoader();

    KWinScriptLoader(const KWinScriptLoader&) = delete;
    KWinScriptLoader& operator=(const KWinScriptLoader&) = delete;

private:
    void load(const QString& mainScript);
    void unload();

    std::unique_ptr<QObject> guard_; // owns the pending calls' watchers
    // Once a load is asked for, the script is unloaded at the end, even
    // if KWin has not answered yet.
    bool loadAsked_ = false;
};
