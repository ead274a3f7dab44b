// English, for everyone whose language has no table of its own.
#include "CaptionTable.h"

namespace {
const CaptionRow kRows[] = {
    {"app.title", "Run, Kuvito!"},

    {"menu.settings", "&Settings"},
    {"menu.about", "&About"},
    {"menu.exit", "E&xit"},
    {"menu.hideFullScreen", "Hide during full-screen programs"},
    {"menu.autostart", "Start at login"},

    {"mode.chase", "Chase the pointer"},
    {"mode.wanderScreen", "Roam anywhere"},
    {"mode.wanderTaskbar", "Roam the taskbar"},
    {"mode.walkOnWindow", "Walk on the window"},
    {"mode.stepInPlace", "Step in place"},

    {"settings.title", "Run, Kuvito! Settings"},
    {"settings.movement", "Movement"},
    {"settings.stayOnTop", "Always on top"},
    {"settings.speed", "Speed"},
    {"settings.fast", "Fast"},
    {"settings.slow", "Slow"},
    {"settings.stepSize", "Step size"},
    {"settings.large", "Large"},
    {"settings.small", "Small"},
    {"button.ok", "&OK"},
    {"button.cancel", "&Cancel"},

    {"about.title", "About"},
    {"about.team", "The kuvito team"},
    {"about.what", "kuvito — a desktop mascot"},
    {"about.free", "“Run, Kuvito!” is free software."},

    {"noTray.hint", "Right-click for the menu (Settings, Exit)"},
    {"noTray.notice", "No notification area was found, so the icon cannot be shown.\n"
                      "Right-click the character to open the menu; Exit is there too."},

    {"session.intro", "A Wayland desktop hides some things from the program."},
    {"session.pointer", "In {modes}, the character follows the pointer only while it is over an X11 window."},
    {"session.frontWindow", "In {modes}, the character walks only on X11 windows, and roams the screen while "
                            "a Wayland program is in front."},
    {"session.panel",
     "In {modes}, the character walks along the bottom of the screen, since the panel's place "
     "is unknown."},
    {"session.helperSwitchedOff", "kuvito's GNOME Shell extension is switched off. To turn it back on, use "
                                  "the Extensions app or run gnome-extensions enable {uuid}."},
    {"session.helperOutOfDate", "This GNOME Shell does not load kuvito's extension {uuid}: it is made for "
                                "another version of GNOME. Install the kuvito made for this GNOME."},
    {"session.helperFailed", "kuvito's GNOME Shell extension {uuid} failed in the shell; gnome-extensions "
                             "info {uuid} tells why. Logging out and in again may help."},
    {"session.helperMissing",
     "kuvito's GNOME Shell extension is not installed. Install kuvito again from its package."},
    {"session.newLogin", "Log out and log in again to finish the set-up; then every mode works."},
    {"session.working", "In {modes}, everything works as usual."},
    {"session.quote", "“{mode}”"},
    {"session.and", " and "},

    {"error.unexpected", "An unexpected error occurred"},
    {"error.unwritable", "Cannot write to {path}"},
    {"error.windowClass", "The window class cannot be registered"},
    {"error.window", "The window cannot be created"},
};
} // namespace

extern const LanguageTable kLanguage_en{"en", kRows};
