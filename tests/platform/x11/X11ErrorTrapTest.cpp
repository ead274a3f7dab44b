#include "X11ErrorTrap.h"

#include "QtWindowHandle.h"
#include "RgnRegion.h"
#include "X11Desktop.h"

#include <QGuiApplication>
#include <QWidget>

#include <gtest/gtest.h>

// Xlib after Qt: its macros would clash with Qt's names.
#include <X11/Xlib.h>

namespace {

// The handler the process had before: it notes which connection's errors
// reached it.
std::vector<Display*>& reached() {
    static std::vector<Display*> list;
    return list;
}
int noteError(Display* dpy, XErrorEvent*) {
    reached().push_back(dpy);
    return 0;
}

class X11ErrorTrapTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (qEnvironmentVariableIsEmpty("DISPLAY") || QGuiApplication::platformName() != "xcb")
            GTEST_SKIP() << "needs an X display";
        mine_ = XOpenDisplay(nullptr);
        other_ = XOpenDisplay(nullptr);
        ASSERT_TRUE(mine_ && other_);
        reached().clear();
        before_ = XSetErrorHandler(noteError);
    }
    void TearDown() override {
        if (before_)
            XSetErrorHandler(before_);
        for (Display* dpy : {mine_, other_})
            if (dpy)
                XCloseDisplay(dpy);
    }
    // A window id no client has: every request about it fails.
    static constexpr Window kGone = 1;
    Display* mine_ = nullptr;
    Display* other_ = nullptr;
    XErrorHandler before_ = nullptr;
};

// A failing request on the trapped connection is the trap's; one on another
// connection goes to the handler the process had, which is back once the
// trap ends. Asynchronous errors are waited for when the trap says it syncs.
TEST_F(X11ErrorTrapTest, CatchesOnlyItsConnectionsErrorsForItsLifetime) {
    struct Case {
        const char* what;
        bool onMine;
        bool roundTrip;
    };
    for (const Case c : {Case{"reply on mine", true, true}, Case{"one-way on mine", true, false},
                         Case{"reply on another", false, true}, Case{"one-way on another", false, false}}) {
        SCOPED_TRACE(c.what);
        reached().clear();
        Display* target = c.onMine ? mine_ : other_;
        bool ok = true;
        {
            X11ErrorTrap trap(mine_, true);
            X11ErrorTrap inner(mine_, false); // traps nest
            XWindowAttributes attributes;
            if (c.roundTrip)
                XGetWindowAttributes(target, kGone, &attributes);
            else
                XMapWindow(target, kGone);
            // An error on another connection arrives when that one syncs;
            // the trap's own are waited for by the trap.
            if (!c.onMine)
                XSync(other_, False);
            ok = trap.ok() && inner.ok();
        }
        EXPECT_EQ(ok, !c.onMine);
        EXPECT_EQ(reached().size(), c.onMine ? 0u : 1u);
    }
    reached().clear();
    XMapWindow(mine_, kGone);
    XSync(mine_, False);
    EXPECT_EQ(reached(), std::vector<Display*>{mine_}) << "the process's handler is back";
}

// The mascot's stand-in window traps its own errors; the process's handler
// stays the one it was.
TEST_F(X11ErrorTrapTest, ShowingAShapedWindowLeavesTheProcesssHandler) {
    X11Desktop desk;
    QWidget w(nullptr, Qt::FramelessWindowHint);
    w.setGeometry(100, 100, 40, 40);
    desk.setWindowRegion(handleOf(w), RgnRegion::rects(QRegion(0, 0, 20, 20)));
    w.show();
    desk.setWindowRegion(handleOf(w), RgnRegion::rects(QRegion(10, 10, 20, 20)));
    desk.moveWindow(handleOf(w), 120, 130);
    QCoreApplication::processEvents();
    EXPECT_EQ(XSetErrorHandler(noteError), &noteError);
}

} // namespace
