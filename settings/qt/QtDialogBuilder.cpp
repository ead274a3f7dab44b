#include "QtDialogBuilder.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QImageReader>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>

#include "DialogParts.h"
#include "Form.h"

namespace {

QLabel* label(QWidget* parent, const ControlDesign& c) {
    auto* lbl = new QLabel(QString::fromStdString(c.caption), parent);
    lbl->setTextFormat(Qt::PlainText);
    lbl->setAlignment((c.align == TextAlign::Centre ? Qt::AlignHCenter : Qt::AlignLeft) | Qt::AlignTop);
    lbl->setTextInteractionFlags(Qt::NoTextInteraction);
    if (c.blueText) {
        QPalette blue = lbl->palette();
        blue.setColor(QPalette::WindowText, QColor(0, 0, 255));
        lbl->setPalette(blue);
    }
    return lbl;
}

// A Windows-style group box: an etched frame that starts halfway down the
// caption, with the caption over the frame line near its left end. Fusion
// instead puts the frame below the caption, where it would run through the
// first option button.
QGroupBox* groupBox(QWidget* parent, const ControlDesign& c) {
    auto* box = new QGroupBox(QString::fromStdString(c.caption), parent);
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

QSlider* slider(QWidget* parent, const SliderDesign& range) {
    auto* s = new QSlider(Qt::Horizontal, parent);
    s->setRange(range.minimum, range.maximum);
    s->setSingleStep(1);
    s->setPageStep(1);
    s->setTickPosition(QSlider::TicksBelow);
    s->setTickInterval(1);
    s->setValue(range.position);
    s->setFocusPolicy(Qt::StrongFocus);
    return s;
}

// The program's icon, embedded in the program. The file may hold several
// images; the about box shows the 32 x 32 one (or the first) unscaled.
QPixmap programIcon() {
    QImageReader reader(QStringLiteral(":/kuvito/kuvito.ico"));
    QImage chosen;
    do {
        QImage image = reader.read();
        if (image.isNull())
            break;
        if (chosen.isNull() || image.size() == QSize(32, 32))
            chosen = image;
        if (image.size() == QSize(32, 32))
            break;
    } while (reader.jumpToNextImage());
    return QPixmap::fromImage(chosen);
}

QLabel* image(QWidget* parent) {
    auto* img = new QLabel(parent);
    img->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    img->setScaledContents(false);
    img->setPixmap(programIcon());
    return img;
}

} // namespace

QWidget* QtDialogBuilder::make(const ControlDesign& c, QWidget* parent) {
    const QString caption = QString::fromStdString(c.caption);
    switch (c.kind) {
    case ControlKind::Panel:
        // Panels are labels with a frame: a panel shows its caption centred,
        // which a QLabel does by itself.
        return DialogParts::panel(parent, caption, c.bevelled, c.left, c.top, c.width, c.height);
    case ControlKind::GroupBox:
        return groupBox(parent, c);
    case ControlKind::OptionButton: {
        auto* option = new QRadioButton(caption, parent);
        option->setChecked(c.checked);
        return option;
    }
    case ControlKind::CheckBox: {
        auto* box = new QCheckBox(caption, parent);
        box->setChecked(c.checked);
        return box;
    }
    case ControlKind::PushButton: {
        auto* button = new QPushButton(caption, parent);
        // Enter presses the default button anywhere in the dialog; Esc is the
        // dialog's own reject, which a cancel button does too.
        button->setDefault(c.isDefault);
        return button;
    }
    case ControlKind::Slider:
        return nullptr; // made by the caller, which knows the range
    case ControlKind::Label:
        return label(parent, c);
    case ControlKind::Image:
        return image(parent);
    }
    return nullptr;
}

QtDialogBuilder::QtDialogBuilder(Form& dialog, const DialogDesign& design) {
    dialog.setName(design.name);
    dialog.setObjectName(QString::fromStdString(design.name));
    dialog.setCaption(design.caption);
    DialogParts::makeFixedDialog(dialog, design.clientWidth, design.clientHeight);
    if (design.stayOnTop)
        dialog.setFormStyle(Form::TFormStyle::fsStayOnTop);
    dialog.setFont(DialogParts::font());

    for (const ControlDesign& c : design.controls) {
        QWidget* parent = &dialog;
        if (!c.parent.empty())
            parent = widgets_.at(c.parent);
        QWidget* w = c.kind == ControlKind::Slider ? slider(parent, design.sliders) : make(c, parent);
        w->setObjectName(QString::fromStdString(c.name));
        w->setGeometry(c.left, c.top, c.width, c.height);
        widgets_[c.name] = w;
    }

    // A style sheet cuts its widget's children off from the font they would
    // inherit, so every control gets its font explicitly.
    for (QWidget* w : dialog.findChildren<QWidget*>())
        w->setFont(DialogParts::font());
    for (const ControlDesign& c : design.controls) {
        QWidget* w = widgets_.at(c.name);
        if (c.font != ControlFont{})
            w->setFont(DialogParts::font(c.font.pixels, c.font.bold));
        if (c.kind == ControlKind::Label) {
            const LabelSpan span =
                fitLabel(c, w->fontMetrics().horizontalAdvance(QString::fromStdString(c.caption)));
            w->setGeometry(span.left, c.top, span.width, c.height);
        }
    }

    for (std::size_t i = 1; i < design.tabOrder.size(); ++i)
        QWidget::setTabOrder(widgets_.at(design.tabOrder[i - 1]), widgets_.at(design.tabOrder[i]));
}
