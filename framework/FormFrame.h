#pragma once

// The kind of frame a form asks the window system for, worked out from its
// border style: none (the client area is the whole window), the normal
// resizable frame, a dialog's frame (caption and close button), or a tool
// window's small caption.
enum class FormFrame { none, normal, dialog, tool };
