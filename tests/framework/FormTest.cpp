#include <gtest/gtest.h>

#include <QCloseEvent>
#include <QCoreApplication>

#include "FontSetup.h"
#include "FormWriter.h"
#include "KuvitoError.h"
#include "SimulatedDesktop.h"
#include "TestComponents.h"

namespace {
class FormTest : public ::testing::Test {
protected:
    void SetUp() override {
        auto sim = std::make_unique<SimulatedDesktop>();
        desk = sim.get();
        installDesktop(std::move(sim));
    }
    SimulatedDesktop* desk = nullptr;
};

StoredComponent formLayout() {
    StoredComponent c;
    c.className = "TTestForm";
    c.name = "FrmTest";
    c.properties = {{"Left", FormValue::fromInt(213)},
                    {"Top", FormValue::fromInt(111)},
                    {"BorderStyle", FormValue::fromIdent("bsDialog")},
                    {"Caption", FormValue::fromString("走れクヴィトくんの設定")},
                    {"ClientHeight", FormValue::fromInt(198)},
                    {"ClientWidth", FormValue::fromInt(365)},
                    {"Color", FormValue::fromIdent("clBtnFace")},
                    {"Font.Name", FormValue::fromString("ＭＳ Ｐゴシック")},
                    {"Font.Height", FormValue::fromInt(-12)},
                    {"FormStyle", FormValue::fromIdent("fsStayOnTop")},
                    {"OnCreate", FormValue::fromIdent("FormCreate")},
                    {"OnClose", FormValue::fromIdent("FormClose")},
                    {"PixelsPerInch", FormValue::fromInt(96)}};
    return c;
}
} // namespace

TEST_F(FormTest, LoadsStoredValuesAndRunsOnCreateAfterwards) {
    TestForm form;
    int created = 0;
    form.publishMethod("FormCreate", TNotifyEvent([&](Component* s) {
                           EXPECT_EQ(s, &form);
                           EXPECT_FALSE(form.isLoading());
                           ++created;
                           throw KuvitoError("作成に失敗");
                       }));
    form.publishMethod("FormClose", TCloseEvent([](Component*, TCloseAction&) {}));
    form.loadLayout(FormWriter::write(formLayout()));
    EXPECT_EQ(created, 1);
    // OnCreate's error is shown, not thrown.
    ASSERT_EQ(desk->errorBoxes().size(), 1u);
    EXPECT_EQ(form.Left(), 213);
    EXPECT_EQ(form.Top(), 111);
    EXPECT_EQ(form.width(), 365);
    EXPECT_EQ(form.height(), 198);
    EXPECT_EQ(form.Caption(), "走れクヴィトくんの設定");
    EXPECT_EQ(form.BorderStyle(), Form::TFormBorderStyle::bsDialog);
    EXPECT_EQ(form.FormStyle(), Form::TFormStyle::fsStayOnTop);
    EXPECT_TRUE(desk->isTopMost(form)) << "the desktop must know what the stored layout made the window";
    EXPECT_EQ(form.font().pixelSize(), 12);
}

TEST_F(FormTest, BorderlessAndClearBrushAreIdempotent) {
    TestForm form;
    // The desktop keeps windows off the taskbar with the tool type and may
    // set it first; going borderless keeps it.
    form.setWindowFlag(Qt::Tool, true);
    form.setWindowFlag(Qt::WindowStaysOnTopHint, true);
    form.setBorderStyleNone();
    EXPECT_TRUE(form.windowFlags() & Qt::FramelessWindowHint);
    EXPECT_EQ(form.windowType(), Qt::Tool);
    EXPECT_TRUE(form.windowFlags() & Qt::WindowStaysOnTopHint);
    const auto flags = form.windowFlags();
    form.setBorderStyleNone();
    EXPECT_EQ(form.windowFlags(), flags);
    form.setClearBrush();
    EXPECT_TRUE(form.hasClearBrush());
    EXPECT_FALSE(form.autoFillBackground());
}

TEST_F(FormTest, CloseHandlerDecidesWhetherTheFormCloses) {
    TestForm form;
    TCloseAction next = TCloseAction::caNone;
    int closes = 0;
    form.setOnClose([&](Component*, TCloseAction& action) {
        ++closes;
        EXPECT_EQ(action, TCloseAction::caHide);
        action = next;
    });
    form.show();
    form.close();
    EXPECT_TRUE(form.isVisible());
    next = TCloseAction::caHide;
    form.close();
    EXPECT_FALSE(form.isVisible());
    EXPECT_EQ(closes, 2);
}

TEST_F(FormTest, MovesGoThroughTheDesktop) {
    TestForm form;
    form.setLeft(40);
    form.setTop(50);
    ASSERT_EQ(desk->moves().size(), 2u);
    EXPECT_EQ(desk->moves()[1].left, 40);
    EXPECT_EQ(desk->moves()[1].top, 50);
    EXPECT_EQ(form.Left(), 40);
    EXPECT_EQ(form.Top(), 50);
    form.setLeft(40); // unchanged: no call
    EXPECT_EQ(desk->moves().size(), 2u);
}

TEST_F(FormTest, ABatchOfMovesReachesTheDesktopAsOneMoveToTheFinalPlace) {
    TestForm form;
    form.beginMoveBatch();
    form.setLeft(40);
    form.setTop(50);
    EXPECT_EQ(form.Left(), 40) << "readers see each set at once";
    form.setLeft(form.Left() + 10);
    form.beginMoveBatch(); // nested: only the outermost close moves
    form.setTop(60);
    form.endMoveBatch();
    EXPECT_TRUE(desk->moves().empty());
    form.endMoveBatch();
    ASSERT_EQ(desk->moves().size(), 1u);
    EXPECT_EQ(desk->moves()[0].left, 50);
    EXPECT_EQ(desk->moves()[0].top, 60);
    EXPECT_EQ(form.Left(), 50);
    EXPECT_EQ(form.Top(), 60);

    // A batch that ends where it began sends nothing.
    form.beginMoveBatch();
    form.setLeft(0);
    form.setLeft(50);
    form.endMoveBatch();
    EXPECT_EQ(desk->moves().size(), 1u);
}

TEST(FontSetup, DesignFontResolvesToIpaPGothic) {
    FontSetup::install();
    // Qt keeps family names in lower case.
    EXPECT_EQ(QFont::substitute("ＭＳ Ｐゴシック").toLower(), "ipapgothic");
    EXPECT_EQ(QFont::substitute("MS PGothic").toLower(), "ipapgothic");
}
