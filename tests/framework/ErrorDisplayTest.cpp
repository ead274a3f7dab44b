#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QEvent>

#include "ErrorDisplay.h"
#include "KuvitoError.h"
#include "SimulatedDesktop.h"

TEST(ErrorDisplay, FullStopRule) {
    struct Case {
        const char* text;
        const char* shown;
    };
    const Case cases[] = {
        {"", ""},
        {"abc", "abc."},
        {"abc.", "abc."},
        {"abc!", "abc!"},
        {"abc)", "abc)"},
        {"abc/", "abc/."}, // '/' is the byte after '.'
        {"abc-", "abc-"},
        {"12", "12."},
        {"Rgn1 のﾘｰｼﾞｮﾝ情報がありません", "Rgn1 のﾘｰｼﾞｮﾝ情報がありません."},
        {"ﾘｰｼﾞｮﾝが合成できません．", "ﾘｰｼﾞｮﾝが合成できません．."}, // a full-width stop is not "."
        {"é", "é."},
        {"\xF0\x9F\x98\x80", "\xF0\x9F\x98\x80."},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ErrorDisplay::errorBoxText(c.text), c.shown) << c.text;
}

namespace {
class ErrorDisplayTest : public ::testing::Test {
protected:
    void SetUp() override {
        auto sim = std::make_unique<SimulatedDesktop>();
        desk = sim.get();
        installDesktop(std::move(sim));
    }
    SimulatedDesktop* desk = nullptr;
};

// Throws from inside Qt's event delivery, as a handler would.
class Thrower : public QObject {
public:
    bool event(QEvent* e) override {
        if (e->type() == QEvent::User)
            throw KuvitoError("ﾊﾝﾄﾞﾗが失敗しました");
        return QObject::event(e);
    }
};
} // namespace

TEST_F(ErrorDisplayTest, GuardedShowsOnceAndContains) {
    bool after = false;
    EXPECT_FALSE(ErrorDisplay::guarded([] { throw KuvitoError("失敗"); }));
    EXPECT_TRUE(ErrorDisplay::guarded([&] { after = true; }));
    EXPECT_TRUE(after);
    EXPECT_FALSE(ErrorDisplay::guarded([] { throw 42; }));
    ASSERT_EQ(desk->errorBoxes().size(), 2u);
    EXPECT_EQ(desk->errorBoxes()[0].title.toStdString(), "走れクヴィトくん");
    EXPECT_EQ(desk->errorBoxes()[0].text.toStdString(), "失敗.");
    EXPECT_FALSE(desk->errorBoxes()[1].text.isEmpty());
}

TEST_F(ErrorDisplayTest, TitleIsSettable) {
    ErrorDisplay::setTitle("別の題");
    ErrorDisplay::showMessage("x");
    ErrorDisplay::setTitle("走れクヴィトくん");
    ASSERT_EQ(desk->errorBoxes().size(), 1u);
    EXPECT_EQ(desk->errorBoxes()[0].title.toStdString(), "別の題");
}

TEST_F(ErrorDisplayTest, ApplicationCatchesWhatLeavesAnEventHandler) {
    Thrower thrower;
    QEvent event(QEvent::User);
    EXPECT_FALSE(QCoreApplication::sendEvent(&thrower, &event));
    ASSERT_EQ(desk->errorBoxes().size(), 1u);
    EXPECT_EQ(desk->errorBoxes()[0].text.toStdString(), "ﾊﾝﾄﾞﾗが失敗しました.");
    // The application goes on delivering events.
    QEvent other(QEvent::User);
    QCoreApplication::sendEvent(&thrower, &other);
    EXPECT_EQ(desk->errorBoxes().size(), 2u);
}
