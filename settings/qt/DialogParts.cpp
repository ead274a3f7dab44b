#include "DialogParts.h"

#include "Form.h"

#include <QLabel>

namespace DialogParts {

QFont font(int pixels, bool bold) {
    QFont f(QStringLiteral("ＭＳ Ｐゴシック"));
    f.setPixelSize(pixels);
    f.setBold(bold);
    return f;
}

void makeFixedDialog(Form& dialog, int clientWidth, int clientHeight) {
    dialog.setBorderStyle(Form::TFormBorderStyle::bsDialog);
    dialog.setFixedSize(clientWidth, clientHeight);
    dialog.setSizeGripEnabled(false);
    // The dialog is only ever shown modally; saying so up front also lets
    // Esc act on it as on a modal dialog whichever way it is shown.
    dialog.setWindowModality(Qt::ApplicationModal);
    // Only the mascot window's end ends the program; closing a dialog never
    // does, even while the mascot is the kind of window Qt does not count.
    dialog.setAttribute(Qt::WA_QuitOnClose, false);
    // Title bar with a close box only: without the customise hint the
    // window manager adds its own minimise and maximise boxes.
    dialog.setWindowFlag(Qt::CustomizeWindowHint, true);
    dialog.setWindowFlag(Qt::WindowMinMaxButtonsHint, false);
}

QLabel* panel(QWidget* parent, const QString& caption, bool bevelled, int left, int top, int width,
              int height) {
    auto* p = new QLabel(caption, parent);
    p->setGeometry(left, top, width, height);
    p->setAlignment(Qt::AlignCenter);
    p->setTextFormat(Qt::PlainText);
    p->setFrameStyle(bevelled ? (QFrame::Box | QFrame::Sunken) : QFrame::NoFrame);
    p->setLineWidth(1);
    p->setMidLineWidth(0);
    return p;
}

} // namespace DialogParts
