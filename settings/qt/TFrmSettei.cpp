#include "TFrmSettei.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QShowEvent>
#include <QSlider>

#include <utility>

#include "ConfirmSettings.h"
#include "DialogDesign.h"
#include "MovementModes.h"
#include "ProgramState.h"
#include "QtDialogBuilder.h"

TFrmSettei* FrmSettei = nullptr;

TFrmSettei::TFrmSettei(std::function<void()> applyOnMascot, Component* owner)
    : Form(owner), applyOnMascot_(std::move(applyOnMascot)) {
    const QtDialogBuilder built(*this, settingsDialogDesign());
    Panel1 = built.control<QLabel>("Panel1");
    Panel2 = built.control<QLabel>("Panel2");
    Panel3 = built.control<QLabel>("Panel3");
    Button1 = built.control<QPushButton>("Button1");
    Button2 = built.control<QPushButton>("Button2");
    GroupBox1 = built.control<QGroupBox>("GroupBox1");
    GroupBox2 = built.control<QGroupBox>("GroupBox2");
    GroupBox3 = built.control<QGroupBox>("GroupBox3");
    TrBar = built.control<QSlider>("TrBar");
    TrBarIdouR = built.control<QSlider>("TrBarIdouR");
    Label2 = built.control<QLabel>("Label2");
    Label3 = built.control<QLabel>("Label3");
    Label5 = built.control<QLabel>("Label5");
    Label6 = built.control<QLabel>("Label6");
    CbxTemae = built.control<QCheckBox>("CbxTemae");
    for (std::size_t i = 0; i < options_.size(); ++i)
        options_[i] = built.control<QRadioButton>("RadioButton" + std::to_string(i + 1));
    RadioButton1 = options_[0];
    RadioButton2 = options_[1];
    RadioButton3 = options_[2];
    RadioButton4 = options_[3];
    RadioButton5 = options_[4];

    connect(Button1, &QPushButton::clicked, this, [this] { Button1Click(); });
    connect(Button2, &QPushButton::clicked, this, [this] { Button2Click(); });
}

TFrmSettei::~TFrmSettei() {
    if (FrmSettei == this)
        FrmSettei = nullptr;
}

void TFrmSettei::showEvent(QShowEvent* event) {
    Form::showEvent(event);
    // Restoring the dialog from the window manager (a spontaneous show) is
    // not a new showing: the user's unconfirmed values stay.
    if (!event->spontaneous())
        FormShow();
}

SettingsDialogValues TFrmSettei::shownValues() const {
    SettingsDialogValues v;
    v.speedPosition = TrBar->value();
    v.stepPosition = TrBarIdouR->value();
    v.stayOnTop = CbxTemae->isChecked();
    for (std::size_t i = 0; i < options_.size(); ++i)
        if (options_[i]->isChecked())
            v.option = i;
    return v;
}

void TFrmSettei::FormShow() {
    const SettingsDialogValues v = valuesToShow(programState().settings, shownValues());
    CbxTemae->setChecked(v.stayOnTop);
    options_[v.option]->setChecked(true);
    TrBar->setValue(v.speedPosition);
    TrBarIdouR->setValue(v.stepPosition);
}

int TFrmSettei::selectedMoveMode() const {
    return moveModeOfOption(shownValues().option);
}

void TFrmSettei::Button1Click() {
    if (confirmSettings(shownValues(), applyOnMascot_))
        accept();
}

void TFrmSettei::Button2Click() {
    reject();
}
