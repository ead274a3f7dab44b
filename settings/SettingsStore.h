#pragma once

#include "SettingsLocation.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// The settings file kuvito.ini, section "kuvito": temae (stay on top: 1 on,
// 2 off), idou (movement mode), speed (speed index) and idour (step index),
// and zengamen (step aside for a full-screen window: 1 on, 2 off), which
// versions before it ignore and which only the tray menu's item writes.
// ReadSettings fills the program-wide settings (ProgramState.h) once at
// start-up; WriteSettings stores a confirmed settings dialog. Which file is
// read and which written is SettingsLocation's rule.

// Where the settings are read and written for the running program.
SettingsLocation currentSettingsLocation();

// Reads the four keys in the order temae, idou, speed, idour into StayOnTop,
// MoveMode, SpeedIndex and StepIndex of the program-wide settings. Missing or unreadable values give the
// defaults (on, 1, 5, 5); ranges are not checked. Then zengamen into
// hideForFullScreen: anything but 2 (a missing key included) is on. Never
// raises.
void ReadSettings();

// Writes speed, idour, temae and idou in that order, setting each field right
// after its key was written. A key that cannot be written raises KuvitoError
// error.unwritable ("<path> に書き込めません" in Japanese) and stops
// there: earlier keys and their fields are already changed, that key and the
// later ones are not.
void WriteSettings(int speedIndex, int stepIndex, bool stayOnTop, int moveMode);

// Writes zengamen alone and then sets hideForFullScreen; a file that cannot be
// written raises as WriteSettings does and leaves the setting unchanged.
void WriteHideForFullScreen(bool on);

// The text-to-integer rule of the settings file: leading blanks skipped, then
// an optional sign and either decimal digits or "$" and up to 32 bits of
// hexadecimal digits, to the end of the text, fitting a signed 32-bit
// integer. Nothing when the text is anything else (empty included).
std::optional<std::int32_t> textToInt(std::string_view text);

// How one stored value reads: a leading "0x"/"0X" of a text longer than two
// characters stands for "$", then textToInt, or def when that fails.
std::int32_t storedTextToInt(std::string text, std::int32_t def);
