#pragma once

#include <memory>

#include "DesktopLoops.h"
#include "DesktopProgram.h"
#include "DesktopQueries.h"
#include "DesktopTimers.h"
#include "DesktopTray.h"
#include "DesktopWindows.h"

// Everything the program asks of the desktop goes through these interfaces,
// so that the same logic runs on a real X11 desktop and on a simulated one
// that tests script. One desktop object provides them all; a caller reaches
// the one it needs through the matching accessor below (desktopWindows(),
// desktopQueries(), ...), so that what it depends on shows at the call. All
// calls come from the user-interface thread.
class DesktopServices : public DesktopWindows,
                        public DesktopQueries,
                        public DesktopLoops,
                        public DesktopTimers,
                        public DesktopTray,
                        public DesktopProgram {
public:
    ~DesktopServices() override = default;
};

// The desktop the program runs on. main() installs the X11 one, tests a
// simulated one; installing replaces (and destroys) the previous one. Each
// accessor throws KuvitoError while none is installed.
DesktopServices& desktop();
void installDesktop(std::unique_ptr<DesktopServices> services);

// The installed desktop, seen through one of its interfaces.
DesktopWindows& desktopWindows();
DesktopQueries& desktopQueries();
DesktopLoops& desktopLoops();
DesktopTimers& desktopTimers();
DesktopTray& desktopTray();
DesktopProgram& desktopProgram();
