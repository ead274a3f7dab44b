#include "FormBase.h"

#include <QCloseEvent>
#include <QKeyEvent>

#include "QtCursors.h"
#include "QtWindowHandle.h"

FormBase::FormBase() : QDialog(nullptr, Qt::Window) {}

WindowHandle FormBase::desktopHandle() const {
    return handleOf(*this);
}

void FormBase::resizeClient(int w, int h, bool fixed) {
    if (fixed)
        setFixedSize(w, h);
    else
        resize(w, h);
}

std::string FormBase::windowCaption() const {
    return windowTitle().toStdString();
}

void FormBase::setWindowCaption(const std::string& caption) {
    setWindowTitle(QString::fromStdString(caption));
}

void FormBase::applyFrame(FormFrame frame, bool fixed) {
    const bool wasVisible = isVisible();
    // Only the window type and the frame hints change; the rest (stay on
    // top, the tool type the desktop uses to keep the window off the
    // taskbar, hints a dialog set itself) is kept.
    const bool tool = windowType() == Qt::Tool;
    Qt::WindowFlags flags = windowFlags() & ~(Qt::WindowType_Mask | Qt::FramelessWindowHint);
    switch (frame) {
    case FormFrame::none:
        flags |= (tool ? Qt::Tool : Qt::Window) | Qt::FramelessWindowHint;
        break;
    case FormFrame::dialog:
        flags |= (tool ? Qt::Tool : Qt::Dialog) | Qt::WindowTitleHint | Qt::WindowCloseButtonHint;
        break;
    case FormFrame::tool:
        flags |= Qt::Tool | Qt::WindowTitleHint | Qt::WindowCloseButtonHint;
        break;
    case FormFrame::normal:
        flags |= tool ? Qt::Tool : Qt::Window;
        break;
    }
    setWindowFlags(flags);
    // Fixed borders do not let the user resize the window.
    if (fixed) {
        setFixedSize(size());
    } else {
        setMinimumSize(0, 0);
        setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    }
    if (wasVisible)
        show();
}

void FormBase::stopFillingBackground() {
    setAutoFillBackground(false);
    setAttribute(Qt::WA_NoSystemBackground, true);
}

void FormBase::setBackground(std::uint8_t red, std::uint8_t green, std::uint8_t blue) {
    QPalette p = palette();
    p.setColor(QPalette::Window, QColor(red, green, blue));
    setPalette(p);
}

void FormBase::showCursorShape(TCursor cursor) {
    setCursor(QCursor(toQtCursor(cursor)));
}

void FormBase::setFontFamily(const std::string& family) {
    QFont f = font();
    f.setFamily(QString::fromStdString(family));
    setFont(f);
}

void FormBase::setFontPixelSize(int pixels) {
    QFont f = font();
    f.setPixelSize(pixels);
    setFont(f);
}

void FormBase::closeEvent(QCloseEvent* event) {
    if (!closeRequested()) {
        event->ignore();
        return;
    }
    QDialog::closeEvent(event);
}

void FormBase::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    shown();
}

void FormBase::keyPressEvent(QKeyEvent* event) {
    // QDialog closes on Esc; a form that is not running modally (the main
    // window) must not.
    if (event->key() == Qt::Key_Escape && windowModality() == Qt::NonModal) {
        QWidget::keyPressEvent(event);
        return;
    }
    QDialog::keyPressEvent(event);
}
