#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

class GnomeExtensionMemory;

// The program's GNOME Shell extension (ProgramIdentity::kExtensionUuid),
// which reports the pointer, the focused window and the work area to the
// program. The package installs it for every user, but GNOME Shell runs an
// extension only once it is enabled, and finds new ones only when it
// starts. The program enables it once, the first time it finds it
// installed and never enabled; after that the choice is the user's: found
// off, it stays off and the program works as without it. Where the
// running shell has not seen it yet (the package came after the user
// logged in) a new login completes the set-up.
class GnomeShellExtension {
public:
    enum class Readiness {
        Ready,         // running, or just enabled
        NeedsNewLogin, // installed, but the running shell has not seen it
        SwitchedOff,   // the user switched it off after it had been on
        OutOfDate,     // the shell loads none of its forms: made for other shells
        Failed,        // the shell ran it and it failed
        Missing,       // installed nowhere the shell looks
        Unavailable,   // not installed, or the shell refuses it
    };
    // How it went, and which form (its UUID) it was about.
    struct Outcome {
        Readiness readiness;
        const char* uuid;
    };
    enum class Step { Ready, Enable, NeedsNewLogin, SwitchedOff, Unavailable };

    // What to do about the extension given the state the shell reports for
    // it (its ExtensionState number; nothing when the shell does not know
    // it), whether it is installed where the shell looks, and whether it
    // has been on before (GnomeExtensionMemory).
    static Step stepFor(std::optional<int> shellState, bool installed, bool enabledBefore);

    // Of the extension's forms, in the order asked, the first the running
    // shell can load, given the state it reports for each (nothing for one
    // it does not know); nothing when it loads none of them.
    static std::optional<std::size_t> loadableForm(const std::vector<std::optional<int>>& states);
    // Why the shell loads none of the forms: one failed, they are made for
    // other shells, or they are installed where the running shell has not
    // looked yet, or nowhere.
    static Readiness whyNoneLoads(const std::vector<std::optional<int>>& states, bool installed);

    // Whether the program may enable the extension the shell found at
    // path: only the one the package installed under dataDir, or the build
    // tree's (buildCopy, in a development build; empty otherwise), and
    // only if nobody but root and the user could have changed it. Empty
    // when it may; otherwise why not.
    static std::string enableRefusal(const std::string& path, const std::string& dataDir,
                                     const std::string& buildCopy, unsigned user);
    // The same for the form named uuid.
    static std::string enableRefusal(const std::string& uuid, const std::string& path,
                                     const std::string& dataDir, const std::string& buildCopy, unsigned user);

    // Asks the running shell over org.gnome.Shell.Extensions and enables the
    // extension when that is what it takes; switches off the extension the
    // releases before this one installed, which would report to a name
    // the program no longer owns. Start-up only: each call waits for the
    // shell's answer, at most a second.
    static Outcome prepare(GnomeExtensionMemory& memory);
};
