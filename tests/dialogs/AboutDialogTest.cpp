// The about box: its controls, the icon and how it closes.

#include <QFontInfo>
#include <QMouseEvent>

#include "DialogTestSupport.h"
#include "TFrmVer.h"

namespace {

const ControlRow kVerRows[] = {
    {"Panel1", "panel", "dialog", 0, 0, 235, 130, " "},
    {"Image1", "image", "Panel1", 8, 6, 39, 39, nullptr},
    {"Label1", "label", "Panel1", 66, 12, 106, 16, "走れクヴィトくん"},
    {"Label2", "label", "Panel1", 96, 32, 32, 12, "Ver1.0"},
    {"Label3", "label", "Panel1", 50, 54, 127, 12, nullptr},
    {"Label4", "label", "Panel1", 66, 72, 97, 12, nullptr},
    {"Label5", "label", "Panel1", 22, 88, 193, 12, nullptr},
    {"Label6", "label", "Panel1", 24, 104, 189, 12, "「走れクヴィトくん」はフリーソフトです。"},
    {"Panel2", "panel", "dialog", 0, 130, 235, 31, " "},
    {"Button1", "button", "Panel2", 78, 4, 75, 25, "OK(&O)"},
};

class VerLayout : public DialogFixture, public ::testing::WithParamInterface<ControlRow> {};

TEST_P(VerLayout, ControlMatchesItsRow) {
    TFrmVer dialog;
    expectRow(dialog, GetParam());
}

INSTANTIATE_TEST_SUITE_P(Table, VerLayout, ::testing::ValuesIn(kVerRows),
                         [](const auto& test) { return std::string(test.param.name); });

using VerDialog = DialogFixture;

TEST_F(VerDialog, WindowIsAFixedNormalDialogWithACloseBoxOnly) {
    TFrmVer dialog;
    EXPECT_EQ(dialog.windowTitle().toStdString(), "バージョン情報");
    EXPECT_EQ(dialog.size(), QSize(235, 161));
    EXPECT_EQ(dialog.minimumSize(), dialog.maximumSize());
    const Qt::WindowFlags flags = dialog.windowFlags();
    EXPECT_TRUE(flags & Qt::WindowTitleHint);
    EXPECT_TRUE(flags & Qt::WindowCloseButtonHint);
    EXPECT_TRUE(flags & Qt::CustomizeWindowHint) << "else the window manager adds its own boxes";
    EXPECT_FALSE(dialog.testAttribute(Qt::WA_QuitOnClose)) << "closing a dialog must not end the program";
    EXPECT_FALSE(flags & Qt::WindowMinimizeButtonHint);
    EXPECT_FALSE(flags & Qt::WindowMaximizeButtonHint);
    EXPECT_FALSE(flags & Qt::WindowStaysOnTopHint);
    EXPECT_TRUE(dialog.Button1->isDefault());
}

TEST_F(VerDialog, FontsAndTheBlueCreditLine) {
    TFrmVer dialog;
    EXPECT_EQ(dialog.Label1->font().pixelSize(), 16);
    EXPECT_TRUE(dialog.Label1->font().bold());
    EXPECT_EQ(QFontInfo(dialog.Label1->font()).family().toStdString(), "IPAPGothic");
    for (QLabel* l : {dialog.Label2, dialog.Label3, dialog.Label4, dialog.Label5, dialog.Label6}) {
        EXPECT_EQ(l->font().pixelSize(), 12);
        EXPECT_FALSE(l->font().bold());
        EXPECT_FALSE(l->text().isEmpty());
        EXPECT_FALSE(l->text().contains("http")) << "no address of anything";
    }
    EXPECT_EQ(dialog.Label5->palette().color(QPalette::WindowText), QColor(0, 0, 255));
    EXPECT_EQ(dialog.Label5->textFormat(), Qt::PlainText);
    EXPECT_FALSE(dialog.Label5->openExternalLinks());
}

TEST_F(VerDialog, ImageShowsTheProgramIconAtItsOwnSizeFromTheTopLeft) {
    TFrmVer dialog;
    const QPixmap icon = dialog.Image1->pixmap();
    ASSERT_FALSE(icon.isNull()) << "the embedded icon is missing";
    EXPECT_EQ(icon.size(), QSize(32, 32));
    EXPECT_FALSE(dialog.Image1->hasScaledContents());
    EXPECT_EQ(dialog.Image1->alignment(), Qt::AlignLeft | Qt::AlignTop);
}

TEST_F(VerDialog, EscDoesNotCloseButEnterAndTheCloseBoxDo) {
    {
        TFrmVer dialog;
        bool openAfterEsc = false, closedByClick = false;
        sim().setModalScript([&](SimulatedDesktop&, QDialog&) {
            pressKey(dialog, Qt::Key_Escape);
            openAfterEsc = dialog.isVisible();
            // Clicking the blue line does nothing either.
            QMouseEvent click(QEvent::MouseButtonPress, QPointF(5, 5), QPointF(5, 5), Qt::LeftButton,
                              Qt::LeftButton, Qt::NoModifier);
            QApplication::sendEvent(dialog.Label5, &click);
            EXPECT_TRUE(dialog.isVisible());
            pressKey(dialog, Qt::Key_Return);
            closedByClick = !dialog.isVisible();
        });
        EXPECT_EQ(desktopLoops().execModal(dialog), QDialog::Accepted);
        EXPECT_TRUE(openAfterEsc);
        EXPECT_TRUE(closedByClick);
    }
    {
        TFrmVer dialog;
        sim().setModalScript([&](SimulatedDesktop&, QDialog&) { dialog.close(); });
        desktopLoops().execModal(dialog);
        EXPECT_FALSE(dialog.isVisible());
    }
}

} // namespace
