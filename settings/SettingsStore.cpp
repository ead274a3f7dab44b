#include "SettingsStore.h"

#include "Captions.h"
#include "DesktopServices.h"
#include "IniProfile.h"
#include "KuvitoError.h"
#include "ProgramState.h"
#include "SettingsLocation.h"

#include <limits>

namespace {

constexpr const char* kSection = "kuvito";
// Written only by the tray menu's item; older versions never read it.
constexpr const char* kFullScreenKey = "zengamen";
// The reader sees at most this many bytes of a value, its terminator
// included.
constexpr std::size_t kReadBufferSize = 2048;

bool isBlank(char c) {
    return c == ' ' || c == '\t';
}

int hexDigit(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

std::int32_t readIntKey(const std::string& path, const char* key, std::int32_t def) {
    if (path.empty())
        return def;
    return storedTextToInt(IniProfile::getPrivateProfileString(kSection, key, "", kReadBufferSize, path),
                           def);
}

void writeIntKey(const std::string& path, const char* key, std::int32_t value) {
    if (!IniProfile::writePrivateProfileString(kSection, key, std::to_string(value), path))
        throw KuvitoError(Captions::fill("error.unwritable", "path", path));
}

} // namespace

std::optional<std::int32_t> textToInt(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && isBlank(text[i]))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    if (i < text.size() && text[i] == '$') {
        ++i;
        if (i == text.size())
            return std::nullopt;
        std::uint64_t value = 0;
        for (; i < text.size(); ++i) {
            const int digit = hexDigit(text[i]);
            if (digit < 0)
                return std::nullopt;
            value = value * 16 + static_cast<std::uint64_t>(digit);
            if (value > 0xFFFFFFFFu)
                return std::nullopt;
        }
        // Eight hexadecimal digits fill the 32 bits and wrap into the
        // negative numbers, as the platform's conversion does.
        const auto bits = static_cast<std::uint32_t>(value);
        const auto magnitude = static_cast<std::int64_t>(static_cast<std::int32_t>(bits));
        const std::int64_t result = negative ? -magnitude : magnitude;
        if (result < std::numeric_limits<std::int32_t>::min() ||
            result > std::numeric_limits<std::int32_t>::max())
            return std::nullopt;
        return static_cast<std::int32_t>(result);
    }
    if (i == text.size())
        return std::nullopt;
    std::int64_t value = 0;
    const std::int64_t limit = negative ? std::int64_t{1} << 31 : (std::int64_t{1} << 31) - 1;
    for (; i < text.size(); ++i) {
        const char c = text[i];
        if (c < '0' || c > '9')
            return std::nullopt;
        value = value * 10 + (c - '0');
        if (value > limit)
            return std::nullopt;
    }
    return static_cast<std::int32_t>(negative ? -value : value);
}

std::int32_t storedTextToInt(std::string text, std::int32_t def) {
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X'))
        text.replace(0, 2, "$");
    return textToInt(text).value_or(def);
}

SettingsLocation currentSettingsLocation() {
    return SettingsLocation::forProgram(desktopProgram().executablePath());
}

void ReadSettings() {
    const std::string path = currentSettingsLocation().readFile();
    MascotSettings& settings = programState().settings;
    settings.StayOnTop = readIntKey(path, "temae", 1) == 1;
    settings.MoveMode = static_cast<MovementMode>(readIntKey(path, "idou", 1));
    settings.SpeedIndex = readIntKey(path, "speed", 5);
    settings.StepIndex = readIntKey(path, "idour", 5);
    settings.hideForFullScreen = readIntKey(path, kFullScreenKey, 1) != 2;
}

namespace {

// The file to write and its folders made: without any home folder there is
// no file to name but the rule itself.
std::string preparedWriteFile() {
    const SettingsLocation location = currentSettingsLocation();
    const std::string path =
        location.writeFile().empty() ? "$XDG_CONFIG_HOME/kuvito/kuvito.ini" : location.writeFile();
    if (location.perUser() && !SettingsLocation::createFoldersFor(path))
        throw KuvitoError(Captions::fill("error.unwritable", "path", path));
    return path;
}

} // namespace

void WriteSettings(int speedIndex, int stepIndex, bool stayOnTop, int moveMode) {
    const std::string path = preparedWriteFile();
    MascotSettings& settings = programState().settings;
    writeIntKey(path, "speed", speedIndex);
    settings.SpeedIndex = speedIndex;
    writeIntKey(path, "idour", stepIndex);
    settings.StepIndex = stepIndex;
    writeIntKey(path, "temae", stayOnTop ? 1 : 2);
    settings.StayOnTop = stayOnTop;
    writeIntKey(path, "idou", moveMode);
    settings.MoveMode = static_cast<MovementMode>(moveMode);
}

void WriteHideForFullScreen(bool on) {
    writeIntKey(preparedWriteFile(), kFullScreenKey, on ? 1 : 2);
    programState().settings.hideForFullScreen = on;
}
