#pragma once

#include <optional>

// The program's GNOME Shell extension (kuvito@example.org), which reports
// the pointer, the focused window and the work area to the program. The
// package installs it for every user, but GNOME Shell runs an extension only
// once it is enabled, and finds new ones only when it starts: the program
// enables it itself, and where the running shell has not seen it yet (the
// package came after the user logged in) a new login completes the set-up.
class GnomeShellExtension {
public:
    static constexpr const char* kUuid = "kuvito@example.org";

    enum class Readiness {
        Ready,         // running, or just enabled
        NeedsNewLogin, // installed, but the running shell has not seen it
        Unavailable,   // not installed, or the shell refuses it
    };
    enum class Step { Ready, Enable, NeedsNewLogin, Unavailable };

    // What to do about the extension given the state the shell reports for
    // it (its ExtensionState number; nothing when the shell does not know
    // it) and whether it is installed where the shell looks.
    static Step stepFor(std::optional<int> shellState, bool installed);

    // Asks the running shell over org.gnome.Shell.Extensions and enables the
    // extension when that is what it takes. Start-up only: each call waits
    // for the shell's answer, at most a second.
    static Readiness prepare();
};
