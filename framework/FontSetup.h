#pragma once

// The dialogs are designed in "ＭＳ Ｐゴシック"; inside this program that name
// (and its Latin spelling) resolves to the metric-compatible IPAPGothic. Only
// the program's own font table changes, never the user's configuration.
class FontSetup {
public:
    static void install();
};
