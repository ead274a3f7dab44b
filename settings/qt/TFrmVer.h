#pragma once

#include "Form.h"

class QKeyEvent;
class QLabel;
class QPushButton;

// TFrmVer (Ver: version). The about box: the program's name, version, icon and credit. The opener
// creates one for each showing, places it, shows it modally and releases it.
// It closes only through its OK button (click, Enter, Alt+O) or the close
// box; having no cancel button, it ignores Esc.
class TFrmVer : public Form {
public:
    explicit TFrmVer(Component* owner = nullptr);
    ~TFrmVer() override;

    std::string className() const override { return "TFrmVer"; }

    QLabel* Panel1 = nullptr;
    QLabel* Panel2 = nullptr;
    QPushButton* Button1 = nullptr;
    QLabel* Label1 = nullptr;
    QLabel* Label2 = nullptr;
    QLabel* Image1 = nullptr;
    QLabel* Label3 = nullptr;
    QLabel* Label4 = nullptr;
    QLabel* Label5 = nullptr;
    QLabel* Label6 = nullptr;

    // OK: closes the dialog.
    void Button1Click();

protected:
    void keyPressEvent(QKeyEvent* event) override;
};

// The about dialog while its opener holds it, otherwise null.
extern TFrmVer* FrmVer;
