#include "TFrmSettei.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QShowEvent>
#include <QSlider>

#include "DialogParts.h"
#include "ErrorDisplay.h"
#include "KuvitoError.h"
#include "ProgramState.h"
#include "SettingsStore.h"

TFrmSettei* FrmSettei = nullptr;

namespace {

template <typename W> W* place(QWidget* parent, int left, int top, int width, int height, W* widget) {
    widget->setParent(parent);
    widget->setGeometry(left, top, width, height);
    return widget;
}

QLabel* label(QWidget* parent, const QString& caption, int l, int t, int w, int h) {
    auto* lbl = place(parent, l, t, w, h, new QLabel(caption));
    lbl->setTextFormat(Qt::PlainText);
    lbl->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    return lbl;
}

// A Windows-style group box: an etched frame that starts halfway down the
// caption, with the caption over the frame line near its left end. Fusion
// instead puts the frame below the caption, where it would run through the
// first option button.
QGroupBox* groupBox(QWidget* parent, const QString& caption, int l, int t, int w, int h) {
    auto* box = place(parent, l, t, w, h, new QGroupBox(caption));
    // The caption covers the frame line with the dialog's own face colour
    // (a style sheet's palette(window) would be the application's).
    const QString face = box->palette().color(QPalette::Window).name();
    box->setStyleSheet(
        QStringLiteral("QGroupBox { border: 2px groove palette(mid); margin-top: 6px; padding: 0px; }"
                       "QGroupBox::title { subcontrol-origin: margin; subcontrol-position: top left; left: "
                       "7px; top: 0px;"
                       " padding: 0px 1px; background-color: %1; }")
            .arg(face));
    return box;
}

QSlider* slider(QWidget* parent, int l, int t, int w, int h) {
    auto* s = place(parent, l, t, w, h, new QSlider(Qt::Horizontal));
    s->setRange(0, 10);
    s->setSingleStep(1);
    s->setPageStep(1);
    s->setTickPosition(QSlider::TicksBelow);
    s->setTickInterval(1);
    s->setValue(5);
    s->setFocusPolicy(Qt::StrongFocus);
    return s;
}

} // namespace

TFrmSettei::TFrmSettei(Component* owner) : Form(owner) {
    setName("FrmSettei");
    setObjectName(QStringLiteral("FrmSettei"));
    setCaption("走れクヴィトくんの設定");
    DialogParts::makeFixedDialog(*this, 365, 198);
    setFormStyle(TFormStyle::fsStayOnTop);
    setFont(DialogParts::font());
    buildControls();
}

TFrmSettei::~TFrmSettei() {
    if (FrmSettei == this)
        FrmSettei = nullptr;
}

void TFrmSettei::buildControls() {
    Panel1 = DialogParts::panel(this, QStringLiteral(" "), true, 0, 0, 365, 166);

    GroupBox3 = groupBox(Panel1, QStringLiteral("動き"), 8, 6, 163, 116);
    RadioButton1 = place(GroupBox3, 7, 15, 133, 17, new QRadioButton(moveModeCaption(1)));
    RadioButton2 = place(GroupBox3, 7, 35, 113, 17, new QRadioButton(moveModeCaption(2)));
    RadioButton3 = place(GroupBox3, 7, 55, 131, 17, new QRadioButton(moveModeCaption(3)));
    RadioButton4 = place(GroupBox3, 7, 74, 154, 17, new QRadioButton(moveModeCaption(4)));
    RadioButton5 = place(GroupBox3, 7, 94, 113, 17, new QRadioButton(moveModeCaption(5)));
    RadioButton1->setChecked(true);

    Panel3 = DialogParts::panel(Panel1, QStringLiteral("\u3000"), true, 8, 128, 163, 30);
    CbxTemae = place(Panel3, 8, 7, 123, 17, new QCheckBox(QStringLiteral("常に手前に表示")));

    GroupBox1 = groupBox(Panel1, QStringLiteral("速さ"), 177, 7, 179, 74);
    TrBar = slider(GroupBox1, 18, 21, 143, 25);
    Label2 = label(GroupBox1, QStringLiteral("速い"), 14, 48, 23, 12);
    Label3 = label(GroupBox1, QStringLiteral("遅い"), 144, 48, 23, 12);

    GroupBox2 = groupBox(Panel1, QStringLiteral("移動量"), 177, 84, 180, 74);
    TrBarIdouR = slider(GroupBox2, 18, 21, 143, 25);
    Label5 = label(GroupBox2, QStringLiteral("多い"), 16, 48, 23, 12);
    Label6 = label(GroupBox2, QStringLiteral("少ない"), 137, 48, 34, 12);

    Panel2 = DialogParts::panel(this, QStringLiteral(" "), false, 0, 166, 365, 32);
    Button1 = place(Panel2, 96, 4, 77, 25, new QPushButton(QStringLiteral("OK(&O)")));
    Button2 = place(Panel2, 198, 4, 77, 25, new QPushButton(QStringLiteral("ｷｬﾝｾﾙ(&C)")));
    // Enter presses OK anywhere in the dialog; Esc is the dialog's own
    // reject, which is what Cancel does too.
    Button1->setDefault(true);

    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel2->setObjectName(QStringLiteral("Panel2"));
    Panel3->setObjectName(QStringLiteral("Panel3"));
    Button1->setObjectName(QStringLiteral("Button1"));
    Button2->setObjectName(QStringLiteral("Button2"));
    GroupBox1->setObjectName(QStringLiteral("GroupBox1"));
    GroupBox2->setObjectName(QStringLiteral("GroupBox2"));
    GroupBox3->setObjectName(QStringLiteral("GroupBox3"));
    TrBar->setObjectName(QStringLiteral("TrBar"));
    TrBarIdouR->setObjectName(QStringLiteral("TrBarIdouR"));
    Label2->setObjectName(QStringLiteral("Label2"));
    Label3->setObjectName(QStringLiteral("Label3"));
    Label5->setObjectName(QStringLiteral("Label5"));
    Label6->setObjectName(QStringLiteral("Label6"));
    RadioButton1->setObjectName(QStringLiteral("RadioButton1"));
    RadioButton2->setObjectName(QStringLiteral("RadioButton2"));
    RadioButton3->setObjectName(QStringLiteral("RadioButton3"));
    RadioButton4->setObjectName(QStringLiteral("RadioButton4"));
    RadioButton5->setObjectName(QStringLiteral("RadioButton5"));
    CbxTemae->setObjectName(QStringLiteral("CbxTemae"));

    // A style sheet cuts its widget's children off from the font they would
    // inherit, so every control gets the dialog's font explicitly.
    for (QWidget* control : findChildren<QWidget*>())
        control->setFont(DialogParts::font());
    for (QLabel* caption : {Label2, Label3, Label5, Label6})
        DialogParts::fitToText(caption);

    setTabOrder(RadioButton1, RadioButton2);
    setTabOrder(RadioButton2, RadioButton3);
    setTabOrder(RadioButton3, RadioButton4);
    setTabOrder(RadioButton4, RadioButton5);
    setTabOrder(RadioButton5, CbxTemae);
    setTabOrder(CbxTemae, TrBar);
    setTabOrder(TrBar, TrBarIdouR);
    setTabOrder(TrBarIdouR, Button1);
    setTabOrder(Button1, Button2);

    connect(Button1, &QPushButton::clicked, this, [this] { Button1Click(); });
    connect(Button2, &QPushButton::clicked, this, [this] { Button2Click(); });
}

void TFrmSettei::showEvent(QShowEvent* event) {
    Form::showEvent(event);
    // Restoring the dialog from the window manager (a spontaneous show) is
    // not a new showing: the user's unconfirmed values stay.
    if (!event->spontaneous())
        FormShow();
}

void TFrmSettei::FormShow() {
    const MascotSettings& settings = programState().settings;
    CbxTemae->setChecked(settings.StayOnTop);
    QRadioButton* const options[] = {RadioButton1, RadioButton2, RadioButton3, RadioButton4, RadioButton5};
    // Option n stands for the mode stored as n. A mode the dialog cannot
    // show keeps the option selected at creation.
    const int mode = static_cast<int>(settings.MoveMode);
    if (mode >= 1 && mode <= 5)
        options[mode - 1]->setChecked(true);
    // The sliders clamp out-of-range indices to their nearer end.
    TrBar->setValue(settings.SpeedIndex);
    TrBarIdouR->setValue(settings.StepIndex);
}

QString TFrmSettei::moveModeCaption(int mode) {
    switch (mode) {
    case 1:
        return QStringLiteral("マウスを追いかける");
    case 2:
        return QStringLiteral("画面中をうろうろ");
    case 3:
        return QStringLiteral("画面の下でうろうろ");
    case 4:
        return QStringLiteral("ウィンンドウの上でうろうろ");
    case 5:
        return QStringLiteral("足踏み");
    default:
        return {};
    }
}

int TFrmSettei::selectedMoveMode() const {
    const QRadioButton* const options[] = {RadioButton1, RadioButton2, RadioButton3, RadioButton4,
                                           RadioButton5};
    for (int i = 0; i < 5; ++i)
        if (options[i]->isChecked())
            return i + 1;
    return 1;
}

void TFrmSettei::Button1Click() {
    try {
        WriteSettings(TrBar->value(), TrBarIdouR->value(), CbxTemae->isChecked(), selectedMoveMode());
    } catch (const KuvitoError& error) {
        // The user keeps the values and may try again or cancel; the
        // mascot is not re-configured from a half-written file.
        ErrorDisplay::showException(error);
        return;
    }
    applySettingsOnMascot();
    accept();
}

void TFrmSettei::Button2Click() {
    reject();
}
