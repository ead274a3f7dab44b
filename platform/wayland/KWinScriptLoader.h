#pragma once

#include "ProgramIdentity.h"

#include <QObject>
#include <QString>

#include <memory>
#include <string>

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
    static constexpr const char* kPluginName = ProgramIdentity::kKWinPluginId;
    // KWin's own name on the session bus.
    static constexpr const char* kService = "org.kde.KWin";

    // Whether KWin runs the session (its service is on the session bus).
    static bool kwinOnBus();
    // The script's main file where the package installed it or, in a
    // development build, the build tree's copy; nowhere else, since KWin
    // runs what it is given with the whole session's rights. Empty, with
    // the reason in why, when the file is missing or others than root and
    // the user could have changed it (HelperFileCheck).
    static QString findScript(std::string& why);

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
