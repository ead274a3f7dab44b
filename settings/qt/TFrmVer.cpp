#include "TFrmVer.h"

#include "DialogDesign.h"
#include "QtDialogBuilder.h"

#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>

TFrmVer* FrmVer = nullptr;

TFrmVer::TFrmVer(Component* owner) : Form(owner) {
    const QtDialogBuilder built(*this, aboutDialogDesign());
    Panel1 = built.control<QLabel>("Panel1");
    Panel2 = built.control<QLabel>("Panel2");
    Button1 = built.control<QPushButton>("Button1");
    Label1 = built.control<QLabel>("Label1");
    Label2 = built.control<QLabel>("Label2");
    Image1 = built.control<QLabel>("Image1");
    Label3 = built.control<QLabel>("Label3");
    Label4 = built.control<QLabel>("Label4");
    Label5 = built.control<QLabel>("Label5");
    Label6 = built.control<QLabel>("Label6");
    connect(Button1, &QPushButton::clicked, this, [this] { Button1Click(); });
}

TFrmVer::~TFrmVer() {
    if (FrmVer == this)
        FrmVer = nullptr;
}

void TFrmVer::Button1Click() {
    accept();
}

void TFrmVer::keyPressEvent(QKeyEvent* event) {
    // Without a cancel button Esc has nothing to press; QDialog would
    // otherwise treat it as a rejection and close the box.
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        event->accept();
        return;
    }
    Form::keyPressEvent(event);
}
