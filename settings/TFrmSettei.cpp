#include "TFrmSettei.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QShowEvent>
#include <QSlider>

#include <iterator>
#include <utility>

#include "DialogParts.h"
#include "ErrorDisplay.h"
#include "KuvitoError.h"
#include "MovementModes.h"
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

// Where each mode's option button goes in the group box, in the order of
// kMovementModes. The group box and the dialog are sized for these five: a
// new mode needs a place here, and room for it.
struct OptionPlace {
    int left, top, width, height;
};
constexpr OptionPlace kOptionPlaces[] = {
    {7, 15, 133, 17}, {7, 35, 113, 17}, {7, 55, 131, 17}, {7, 74, 154, 17}, {7, 94, 113, 17},
};
static_assert(std::size(kOptionPlaces) == kMovementModes.size(),
              "every movement mode needs a place in the dialog");

} // namespace

TFrmSettei::TFrmSettei(std::function<void()> applyOnMascot, Component* owner)
    : Form(owner), applyOnMascot_(std::move(applyOnMascot)) {
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
    for (std::size_t i = 0; i < kMovementModes.size(); ++i) {
        const OptionPlace& at = kOptionPlaces[i];
        options_[i] = place(GroupBox3, at.left, at.top, at.width, at.height,
                            new QRadioButton(QString::fromUtf8(kMovementModes[i].caption)));
        options_[i]->setObjectName(QStringLiteral("RadioButton%1").arg(i + 1));
    }
    RadioButton1 = options_[0];
    RadioButton2 = options_[1];
    RadioButton3 = options_[2];
    RadioButton4 = options_[3];
    RadioButton5 = options_[4];
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
    CbxTemae->setObjectName(QStringLiteral("CbxTemae"));

    // A style sheet cuts its widget's children off from the font they would
    // inherit, so every control gets the dialog's font explicitly.
    for (QWidget* control : findChildren<QWidget*>())
        control->setFont(DialogParts::font());
    for (QLabel* caption : {Label2, Label3, Label5, Label6})
        DialogParts::fitToText(caption);

    for (std::size_t i = 1; i < options_.size(); ++i)
        setTabOrder(options_[i - 1], options_[i]);
    setTabOrder(options_.back(), CbxTemae);
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
    // A mode the dialog cannot show keeps the option selected at creation.
    for (std::size_t i = 0; i < kMovementModes.size(); ++i)
        if (kMovementModes[i].mode == settings.MoveMode)
            options_[i]->setChecked(true);
    // The sliders clamp out-of-range indices to their nearer end.
    TrBar->setValue(settings.SpeedIndex);
    TrBarIdouR->setValue(settings.StepIndex);
}

int TFrmSettei::selectedMoveMode() const {
    for (std::size_t i = 0; i < kMovementModes.size(); ++i)
        if (options_[i]->isChecked())
            return static_cast<int>(kMovementModes[i].mode);
    return static_cast<int>(kMovementModes.front().mode);
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
    if (applyOnMascot_)
        applyOnMascot_();
    accept();
}

void TFrmSettei::Button2Click() {
    reject();
}
