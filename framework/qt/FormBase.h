#pragma once

#include <QDialog>

#include <cstdint>
#include <string>

#include "Cursors.h"
#include "FormFrame.h"
#include "WindowHandle.h"

// The Qt side of a form: a QDialog, so that dialogs can be shown modally
// through desktopLoops().execModal, with the few calls the shared Form makes
// of its window in the program's own types. Esc closes it only while it runs
// modally.
class FormBase : public QDialog {
public:
    // The window as the desktop knows it.
    WindowHandle desktopHandle() const;

protected:
    FormBase();

    int outerWidth() const { return frameGeometry().width(); }
    int outerHeight() const { return frameGeometry().height(); }
    int clientWidth() const { return width(); }
    int clientHeight() const { return height(); }
    // A fixed size keeps the user from resizing, not the program.
    void resizeClient(int width, int height, bool fixed);
    std::string windowCaption() const;
    void setWindowCaption(const std::string& caption);
    // Changes the window's frame; the window stays shown if it was.
    void applyFrame(FormFrame frame, bool fixed);
    // The window no longer fills its background.
    void stopFillingBackground();
    void setBackground(std::uint8_t red, std::uint8_t green, std::uint8_t blue);
    void showCursorShape(TCursor cursor);
    void setFontFamily(const std::string& family);
    void setFontPixelSize(int pixels);

    // The form's answers to the window's events. closeRequested returns
    // whether the window may close.
    virtual bool closeRequested() { return true; }
    virtual void shown() {}

    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
};
