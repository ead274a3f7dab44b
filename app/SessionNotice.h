#pragma once

#include "DesktopQueries.h"
#include "MovementMode.h"

#include <string>

// What the user is told about a session that keeps something from the
// program (SessionLimits): which modes it limits and how, which modes work
// as usual, and what lifts the limits. Every mode's name and what it reads
// come from kMovementModes; each limit is one row in SessionNotice.cpp.
namespace SessionNotice {

// The notice for a session and the mode in effect (UTF-8), or an empty
// string when that mode reads nothing the session keeps.
std::string text(const SessionLimits& limits, MovementMode inEffect);

} // namespace SessionNotice
