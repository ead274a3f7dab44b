#pragma once

#include <optional>
#include <string>

#include "FormValue.h"

// The classic cursor numbers, which stored layouts use (by name, such as
// "crHandPoint", or by number). Each toolkit shows its own cursor for them
// (QtCursors, Win32Cursors).
using TCursor = int;
namespace Cursors {
constexpr TCursor crDefault = 0;
constexpr TCursor crNone = -1;
constexpr TCursor crArrow = -2;
constexpr TCursor crCross = -3;
constexpr TCursor crIBeam = -4;
constexpr TCursor crSizeNESW = -6;
constexpr TCursor crSizeNS = -7;
constexpr TCursor crSizeNWSE = -8;
constexpr TCursor crSizeWE = -9;
constexpr TCursor crUpArrow = -10;
constexpr TCursor crHourGlass = -11;
constexpr TCursor crDrag = -12;
constexpr TCursor crNoDrop = -13;
constexpr TCursor crHSplit = -14;
constexpr TCursor crVSplit = -15;
constexpr TCursor crMultiDrag = -16;
constexpr TCursor crSQLWait = -17;
constexpr TCursor crNo = -18;
constexpr TCursor crAppStart = -19;
constexpr TCursor crHelp = -20;
constexpr TCursor crHandPoint = -21;
constexpr TCursor crSizeAll = -22;

std::optional<TCursor> fromName(const std::string& name);
// A stored cursor value: a name such as "crHandPoint" or a number. An
// unknown name or an out-of-range number is a KuvitoError.
TCursor fromStored(const FormValue& value);
// The name of a known cursor number, or empty.
std::string toName(TCursor cursor);
} // namespace Cursors
