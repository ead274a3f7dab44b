#include "AutostartEntry.h"

#include "Captions.h"
#include "KuvitoError.h"
#include "LanguageChoice.h"

#include <filesystem>
#include <fstream>
#include <string_view>

namespace fs = std::filesystem;

namespace {

// One argument of Exec as desktop entries want it: quoted
// when it holds a reserved character, with ", `, $ and \ escaped inside the
// quotes, and % doubled everywhere.
std::string execArgument(std::string_view argument) {
    const bool quote = argument.find_first_of(" \t\n\"'\\><~|&;$*?#()`") != std::string_view::npos;
    std::string out = quote ? "\"" : "";
    for (const char c : argument) {
        if (quote && (c == '"' || c == '`' || c == '$' || c == '\\'))
            out += '\\';
        if (c == '%')
            out += '%';
        out += c;
    }
    return quote ? out + "\"" : out;
}

// A string value: backslashes doubled (the escape the value itself goes
// through before Exec's own quoting is read).
std::string stringValue(std::string_view value) {
    std::string out;
    for (const char c : value) {
        if (c == '\\')
            out += '\\';
        out += c;
    }
    return out;
}

} // namespace

std::string AutostartEntry::path(const char* xdgConfigHome, const char* home) {
    const std::string config = xdgConfigHome && *xdgConfigHome == '/'
                                   ? std::string(xdgConfigHome)
                                   : std::string(home ? home : "") + "/.config";
    return config + "/autostart/kuvito.desktop";
}

std::string AutostartEntry::text(const std::string& executable, const std::string& installedExecutable) {
    const std::string exec = executable == installedExecutable ? "kuvito" : execArgument(executable);
    std::string entry = "[Desktop Entry]\nType=Application\n";
    const LanguageTable* english = Captions::table(LanguageChoice::kEnglish);
    entry += "Name=" + std::string(english ? Captions::find(*english, "app.title") : "kuvito") + "\n";
    for (const LanguageTable* table : Captions::tables())
        if (table != english)
            if (const char* name = Captions::find(*table, "app.title"))
                entry += "Name[" + std::string(table->code) + "]=" + name + "\n";
    entry += "Exec=" + stringValue(exec) + "\n";
    entry += "Icon=kuvito\nTerminal=false\nX-GNOME-Autostart-enabled=true\n";
    return entry;
}

bool AutostartEntry::exists(const std::string& entryPath) {
    std::error_code error;
    return fs::is_regular_file(entryPath, error);
}

void AutostartEntry::write(const std::string& entryPath, const std::string& entryText) {
    std::error_code error;
    fs::create_directories(fs::path(entryPath).parent_path(), error);
    // Written beside the entry and renamed over it, so that a session that
    // reads it meanwhile sees the old entry or the new one, whole.
    const std::string temporary = entryPath + ".new";
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        out << entryText;
        if (!out.flush())
            throw KuvitoError(Captions::fill("error.unwritable", "path", entryPath));
    }
    fs::rename(temporary, entryPath, error);
    if (error) {
        fs::remove(temporary, error);
        throw KuvitoError(Captions::fill("error.unwritable", "path", entryPath));
    }
}

void AutostartEntry::remove(const std::string& entryPath) {
    std::error_code error;
    fs::remove(entryPath, error);
    if (error && exists(entryPath))
        throw KuvitoError(Captions::fill("error.unwritable", "path", entryPath));
}
