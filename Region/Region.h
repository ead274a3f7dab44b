#pragma once

// Registers TRgn, TRgnList and TRgnBtn, in that order, by class name with the
// component registry, so that stored layouts naming them can be read. Called
// once at start-up; calling it again changes nothing.
void registerRegionClasses();
