#pragma once

#include <string>

// What the program remembers of its GNOME Shell extension between runs:
// whether it has ever found it enabled (or enabled it itself), so that an
// extension found off after that was switched off by the user and stays
// off, and whether it has told the user so. It lives in a small file of
// its own in the user's state folder ($XDG_STATE_HOME/kuvito, by default
// ~/.local/state/kuvito), not in kuvito.ini: that file holds the settings
// the user chooses in the settings dialog, and a user who resets or copies
// them must not thereby have an extension they switched off switched on
// again. One fact per line, each naming the extension's UUID, so that a
// new UUID starts afresh. Standard library only.
class GnomeExtensionMemory {
public:
    explicit GnomeExtensionMemory(std::string path) : path_(std::move(path)) {}
    // $XDG_STATE_HOME/kuvito/gnome-shell-extension, or under
    // $HOME/.local/state when XDG_STATE_HOME is not set.
    static std::string defaultPath();
    const std::string& path() const { return path_; }

    bool enabledOnce(const std::string& uuid) const { return has("enabled " + uuid); }
    bool toldSwitchedOff(const std::string& uuid) const { return has("told-switched-off " + uuid); }
    // Each returns false when the fact could not be written down.
    bool rememberEnabled(const std::string& uuid) { return add("enabled " + uuid); }
    bool rememberToldSwitchedOff(const std::string& uuid) { return add("told-switched-off " + uuid); }

private:
    bool has(const std::string& fact) const;
    bool add(const std::string& fact);

    std::string path_;
};
