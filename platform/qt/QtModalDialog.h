#pragma once

#include <QDialog>

#include "ModalDialog.h"
#include "QtWindowHandle.h"

// A plain QDialog seen as a ModalDialog, for dialogs that are not forms.
class QtModalDialog : public ModalDialog {
public:
    explicit QtModalDialog(QDialog& dialog) : dialog_(dialog) {}

    WindowHandle dialogWindow() const override { return handleOf(dialog_); }
    void beginModal() override { dialog_.setResult(0); }
    std::optional<int> modalResult() const override {
        if (dialog_.isVisible())
            return std::nullopt;
        return dialog_.result();
    }

    // The dialog behind a ModalDialog on the Qt desktops, whose windows are
    // all widgets; a form is a QDialog.
    static QDialog& dialogOf(const ModalDialog& dialog) {
        return static_cast<QDialog&>(widgetOf(dialog.dialogWindow()));
    }

private:
    QDialog& dialog_;
};
