#include "TFrmVer.h"

#include "DialogParts.h"

#include <QImageReader>
#include <QKeyEvent>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>

TFrmVer* FrmVer = nullptr;

namespace {

QLabel* label(QWidget* parent, const char* name, const QString& text, int l, int t, int w, int h,
              Qt::Alignment align = Qt::AlignLeft) {
    auto* lbl = new QLabel(text, parent);
    lbl->setObjectName(QLatin1String(name));
    lbl->setGeometry(l, t, w, h);
    lbl->setTextFormat(Qt::PlainText);
    lbl->setAlignment(align | Qt::AlignTop);
    lbl->setTextInteractionFlags(Qt::NoTextInteraction);
    return lbl;
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

} // namespace

TFrmVer::TFrmVer(Component* owner) : Form(owner) {
    setName("FrmVer");
    setObjectName(QStringLiteral("FrmVer"));
    setCaption("バージョン情報");
    DialogParts::makeFixedDialog(*this, 235, 161);
    setFont(DialogParts::font());
    buildControls();
}

TFrmVer::~TFrmVer() {
    if (FrmVer == this)
        FrmVer = nullptr;
}

void TFrmVer::buildControls() {
    Panel1 = DialogParts::panel(this, QStringLiteral(" "), true, 0, 0, 235, 130);
    Panel1->setObjectName(QStringLiteral("Panel1"));

    Image1 = new QLabel(Panel1);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setGeometry(8, 6, 39, 39);
    Image1->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    Image1->setScaledContents(false);
    Image1->setPixmap(programIcon());

    Label1 = label(Panel1, "Label1", QStringLiteral("走れクヴィトくん"), 66, 12, 106, 16);
    Label1->setFont(DialogParts::font(16, true));
    Label2 = label(Panel1, "Label2", QStringLiteral("Ver1.0"), 96, 32, 32, 12);
    // The credit lines are centred in their boxes so that they sit under
    // the title whatever their length.
    Label3 = label(Panel1, "Label3", QStringLiteral("Copyright © 2026"), 50, 54, 127, 12, Qt::AlignHCenter);
    Label4 = label(Panel1, "Label4", QStringLiteral("kuvito 開発チーム"), 66, 72, 97, 12, Qt::AlignHCenter);
    Label5 = label(Panel1, "Label5", QStringLiteral("kuvito — デスクトップマスコット"), 22, 88, 193, 12,
                   Qt::AlignHCenter);
    // Blue like a link, but plain text that does nothing when clicked.
    QPalette blue = Label5->palette();
    blue.setColor(QPalette::WindowText, QColor(0, 0, 255));
    Label5->setPalette(blue);
    Label6 =
        label(Panel1, "Label6", QStringLiteral("「走れクヴィトくん」はフリーソフトです。"), 24, 104, 189, 12);

    for (QLabel* text : {Label1, Label2, Label3, Label4, Label5, Label6})
        DialogParts::fitToText(text);

    Panel2 = DialogParts::panel(this, QStringLiteral(" "), false, 0, 130, 235, 31);
    Panel2->setObjectName(QStringLiteral("Panel2"));
    Button1 = new QPushButton(QStringLiteral("OK(&O)"), Panel2);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button1->setGeometry(78, 4, 75, 25);
    Button1->setDefault(true);
    connect(Button1, &QPushButton::clicked, this, [this] { Button1Click(); });
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
