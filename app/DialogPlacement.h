#pragma once

#include "ScreenPoint.h"

class Form;

// How the mascot's dialogs are put on the screen, for each toolkit: the
// caller knows the rule (TFrmMain::PlaceNearTaskbar), the toolkit knows the
// dialog's outer size, its window frame included.
namespace DialogPlacement {

// Where a dialog's outer corner goes, given its outer width and height.
using PlaceRule = ScreenPoint (*)(int outerWidth, int outerHeight);

// Readies `dialog` to be shown modally over `mascot`: modal to the mascot
// window only (the tray icon stays reachable), without a taskbar button, its
// Top and then its Left set so that its outer corner lands where `place`
// puts a window of its outer size. Where the window frame is known only once
// the dialog is shown, it is placed by the last frame seen and moved once if
// its own turns out different.
void prepareModal(Form& dialog, Form& mascot, PlaceRule place);

// Brings an open dialog to the front.
void bringForward(Form& dialog);

} // namespace DialogPlacement
