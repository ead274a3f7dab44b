// The program's loop on Linux, as Qt runs it: an exception from one event's
// handler is handed to the program (which shows it) and the loop goes on with
// the next event, also after one from a loop nested in a handler; quit()
// ends run() with its code. The loop makes the program's QApplication, so
// this program has a main() of gtest's and no other QApplication.
#include "QtMessageLoop.h"
#include "ShownExceptions.h"

#include <gtest/gtest.h>

#include <QEventLoop>
#include <QTimer>

#include <stdexcept>
#include <string>
#include <vector>

namespace {

TEST(QtMessageLoopTest, AnExceptionFromAHandlerIsShownAndTheLoopGoesOnUntilQuit) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    ShownExceptions shown;
    int argc = 1;
    char name[] = "test";
    char* argv[] = {name, nullptr};
    QtMessageLoop loop(argc, argv);
    std::vector<int> handled;
    QTimer::singleShot(0, [&] {
        handled.push_back(0);
        throw std::runtime_error("in the main loop");
    });
    QTimer::singleShot(0, [&] {
        handled.push_back(1);
        QEventLoop nested;
        QTimer::singleShot(0, [&] {
            handled.push_back(2);
            throw std::runtime_error("in a nested loop");
        });
        QTimer::singleShot(0, &nested, [&] {
            handled.push_back(3);
            nested.quit();
        });
        nested.exec();
        QTimer::singleShot(0, [&] {
            handled.push_back(4);
            loop.quit(7);
        });
    });

    EXPECT_EQ(loop.run(), 7);
    EXPECT_EQ(handled, (std::vector<int>{0, 1, 2, 3, 4}));
    EXPECT_EQ(shown.texts, (std::vector<std::string>{"in the main loop", "in a nested loop"}));
}

} // namespace
