#include "DesktopList.h"

#include <algorithm>
#include <sstream>
#include <stdexcept>

namespace {

std::string trimmed(const std::string& s) {
    const auto first = s.find_first_not_of(" \t\r");
    if (first == std::string::npos)
        return {};
    return s.substr(first, s.find_last_not_of(" \t\r") - first + 1);
}

template <typename T>
T oneOf(const std::string& value, const std::vector<std::pair<const char*, T>>& names,
        const std::string& where) {
    for (const auto& [name, v] : names)
        if (value == name)
            return v;
    std::string known;
    for (const auto& [name, v] : names)
        known += std::string(known.empty() ? "" : ", ") + name;
    throw std::runtime_error(where + ": \"" + value + "\" is none of " + known);
}

double scaleValue(const std::string& text, const std::string& where) {
    std::size_t used = 0;
    double v = 0;
    try {
        v = std::stod(text, &used);
    } catch (const std::exception&) {
        used = 0;
    }
    if (used != text.size() || !(v >= 1 && v <= 4))
        throw std::runtime_error(where + ": \"" + text + "\" is no scale from 1 to 4");
    return v;
}

using S = VirtualDesktop::Session;
using M = VirtualDesktop::Monitors;

void setKey(DesktopRow& row, bool& hasSession, const std::string& key, const std::string& value,
            const std::vector<std::string>& cells, const std::string& where) {
    if (key == "title") {
        row.title = value;
    } else if (key == "session") {
        row.options.session = oneOf<S>(value,
                                       {{"openbox", S::Openbox},
                                        {"xfce", S::Xfce},
                                        {"fluxbox", S::Fluxbox},
                                        {"icewm", S::IceWM},
                                        {"i3", S::I3},
                                        {"sway", S::Sway},
                                        {"kwin", S::KWin},
                                        {"mutter", S::Mutter},
                                        {"gnome", S::Gnome}},
                                       where);
        hasSession = true;
    } else if (key == "monitors") {
        row.options.monitors = oneOf<M>(
            value, {{"one", M::One}, {"primary-left", M::PrimaryLeft}, {"primary-right", M::PrimaryRight}},
            where);
    } else if (key == "scale") {
        row.options.scale = scaleValue(value, where);
    } else if (key == "scales") {
        row.options.scales.clear();
        std::istringstream list(value);
        for (std::string one; std::getline(list, one, ',');)
            row.options.scales.push_back(scaleValue(trimmed(one), where));
    } else if (key == "tray") {
        using T = DesktopRow::Tray;
        row.tray = oneOf<T>(
            value,
            {{"xembed", T::XEmbed}, {"sni", T::Sni}, {"contextmenu", T::ContextMenu}, {"none", T::None}},
            where);
    } else if (key == "panel") {
        using P = DesktopRow::Panel;
        row.panel = oneOf<P>(value, {{"x11", P::X11}, {"swaybar", P::Swaybar}, {"screen", P::Screen}}, where);
    } else if (key == "pointer") {
        using P = DesktopRow::Pointer;
        row.pointer = oneOf<P>(value,
                               {{"xtest", P::XTest},
                                {"wlpointer", P::WlPointer},
                                {"gnome-shell", P::GnomeShell},
                                {"none", P::None}},
                               where);
    } else if (key == "workspaces") {
        using W = DesktopRow::Workspaces;
        row.workspaces = oneOf<W>(
            value, {{"ewmh", W::Ewmh}, {"i3", W::I3}, {"sway", W::Sway}, {"gnome-shell", W::GnomeShell}},
            where);
    } else if (key == "release") {
        row.release = oneOf<int>(value, {{"12", 12}, {"13", 13}}, where);
    } else if (key == "quick") {
        row.quick = oneOf<bool>(value, {{"yes", true}, {"no", false}}, where);
    } else if (key.starts_with("not.") &&
               std::find(cells.begin(), cells.end(), key.substr(4)) != cells.end()) {
        row.notApplicable[key.substr(4)] = value;
    } else {
        throw std::runtime_error(where + ": no such key \"" + key + "\"");
    }
}

} // namespace

double DesktopRow::primaryScale() const {
    if (options.scales.empty())
        return options.scale;
    const bool right = options.monitors == VirtualDesktop::Monitors::PrimaryRight;
    return options.scales.at(right && options.scales.size() > 1 ? 1 : 0);
}

std::vector<DesktopRow> readDesktopList(const std::string& text, const std::vector<std::string>& cells) {
    std::vector<DesktopRow> rows;
    bool hasSession = false;
    auto finish = [&] {
        if (!rows.empty() && !hasSession)
            throw std::runtime_error("desktop \"" + rows.back().name + "\" has no session");
        if (rows.empty() || rows.back().options.scales.empty())
            return;
        const std::size_t monitors = rows.back().options.monitors == VirtualDesktop::Monitors::One ? 1 : 2;
        if (rows.back().options.scales.size() != monitors)
            throw std::runtime_error("desktop \"" + rows.back().name + "\" has a scale for " +
                                     std::to_string(rows.back().options.scales.size()) + " monitors, not " +
                                     std::to_string(monitors));
    };
    std::istringstream lines(text);
    int number = 0;
    for (std::string line; std::getline(lines, line);) {
        ++number;
        line = trimmed(line);
        const std::string where = "desktop list, line " + std::to_string(number);
        if (line.empty() || line.front() == '#')
            continue;
        if (line.front() == '[') {
            const std::string name = line.back() == ']' ? line.substr(1, line.size() - 2) : "";
            if (name.empty() || !std::all_of(name.begin(), name.end(), [](char c) {
                    return (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9');
                }))
                throw std::runtime_error(where + ": a desktop's name is lower-case letters and digits");
            for (const auto& row : rows)
                if (row.name == name)
                    throw std::runtime_error(where + ": \"" + name + "\" is listed twice");
            finish();
            rows.push_back({});
            rows.back().name = rows.back().title = name;
            hasSession = false;
            continue;
        }
        const auto eq = line.find('=');
        if (eq == std::string::npos || rows.empty())
            throw std::runtime_error(where + ": neither \"[name]\" nor \"key = value\" under one");
        setKey(rows.back(), hasSession, trimmed(line.substr(0, eq)), trimmed(line.substr(eq + 1)), cells,
               where);
    }
    finish();
    return rows;
}
