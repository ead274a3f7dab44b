#pragma once

// Which way the character heads sideways; None only before the mascot window
// has set its first heading.
enum class HorizontalHeading : int { None = 0, Rightward = 1, Leftward = 2 };

// Which way the character heads up or down (only the screen wanderer uses
// it); None only before the mascot window has set its first heading.
enum class VerticalHeading : int { None = 0, Upward = 1, Downward = 2 };
