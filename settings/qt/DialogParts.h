#pragma once

#include <QFont>
#include <QString>

class Form;
class QLabel;
class QWidget;

// What the settings dialog and the about box are built from alike. Sizes
// are pixels at 96 dots per inch and are not scaled, so fonts are given in
// pixels as well.
namespace DialogParts {

// The dialogs' design font ("ＭＳ Ｐゴシック", drawn by its metric-compatible
// substitute).
QFont font(int pixels = 12, bool bold = false);

// A fixed-size dialog: a title bar with a close box only, never resized,
// shown modally, and never the window whose closing ends the program.
void makeFixedDialog(Form& dialog, int clientWidth, int clientHeight);

// A panel: a caption in the middle, with a raised inner and lowered outer
// bevel (QFrame's sunken box) or with no bevel at all.
QLabel* panel(QWidget* parent, const QString& caption, bool bevelled, int left, int top, int width,
              int height);

} // namespace DialogParts
