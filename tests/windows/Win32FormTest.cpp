// The shared Form and its shaped frames over the Windows side of the
// framework: what Windows makes of them, read back from Windows.
#include "Form.h"
#include "FormTestDesktop.h"
#include "KuvitoError.h"
#include "MessagePump.h"
#include "ShownExceptions.h"
#include "TRgn.h"
#include "TRgnList.h"
#include "Win32MessageLoop.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <memory>

#include <string>
#include <vector>

void FormTestDesktop::showErrorBox(const std::string& title, const std::string& text) {
    ADD_FAILURE() << "error box " << title << ": " << text;
}

namespace {

constexpr int side = 40, barTop = 5, barBottom = 35;

// A frame whose figure is one upright bar from column `left` to `right`
// (exclusive) on the key colour.
Picture bar(int left, int right) {
    Picture picture(side, side, Picture::PixelFormat::pf24bit);
    for (int y = 0; y < side; ++y)
        for (int x = 0; x < side; ++x)
            picture.setPixel(x, y,
                             x >= left && x < right && y >= barTop && y < barBottom
                                 ? Picture::Rgb{22, 235, 91}
                                 : Picture::Rgb{0, 128, 192});
    return picture;
}

void click(int x, int y) {
    ::SetCursorPos(x, y);
    INPUT inputs[2]{};
    inputs[0].type = inputs[1].type = INPUT_MOUSE;
    inputs[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    inputs[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    ::SendInput(2, inputs, sizeof(INPUT));
}

TEST(Win32Form, TheShownFrameShapesTheWindowAndTakesTheClick) {
    struct Frame {
        const char* name;
        int left, right;
        TRgn* rgn = nullptr;
    };
    Frame frames[] = {{"left bar", 5, 15}, {"right bar", 24, 36}};
    installDesktop(std::make_unique<FormTestDesktop>());
    Form form;
    form.setClientWidth(side);
    form.setClientHeight(side);
    std::vector<std::string> pressed;
    for (Frame& f : frames) {
        f.rgn = new TRgn(&form);
        f.rgn->setBounds(0, 0, side, side);
        f.rgn->setTransparent(true);
        f.rgn->setRgnBitmap(bar(f.left, f.right));
        f.rgn->setOnMouseDown(
            [&pressed, name = f.name](Component*, TMouseButton button, TShiftState, int, int) {
                if (button == TMouseButton::mbLeft)
                    pressed.push_back(name);
            });
    }
    auto* list = new TRgnList(&form);
    const HWND hwnd = reinterpret_cast<HWND>(form.desktopHandle().id);
    const int formLeft = 200, formTop = 150;
    desktopWindows().moveWindow(form.desktopHandle(), formLeft, formTop);
    // Both frames stand at the same place, the second above the first: a
    // click must reach the one shown, wherever it lies in the stack.
    for (const Frame& f : frames) {
        SCOPED_TRACE(f.name);
        list->AddRgn(f.rgn);
        list->ApplyRgn();
        form.show();
        ::SetWindowPos(hwnd, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
        ASSERT_TRUE(pumpUntil([&] { return ::IsWindowVisible(hwnd) != FALSE; }));

        const HRGN shape = ::CreateRectRgn(0, 0, 0, 0);
        const HRGN expected = ::CreateRectRgn(f.left, barTop, f.right, barBottom);
        ASSERT_NE(::GetWindowRgn(hwnd, shape), ERROR);
        EXPECT_TRUE(::EqualRgn(shape, expected));
        ::DeleteObject(shape);
        ::DeleteObject(expected);
        EXPECT_EQ(form.Left(), formLeft);
        EXPECT_EQ(form.Top(), formTop);

        const std::size_t before = pressed.size();
        click(formLeft + (f.left + f.right) / 2, formTop + side / 2);
        ASSERT_TRUE(pumpUntil([&] { return pressed.size() > before; }));
        EXPECT_EQ(pressed.back(), f.name);
    }
}

// What a control's handler throws is shown and the form goes on: it must
// not unwind through Windows' own frames between the message and the form.
TEST(Win32Form, AnExceptionFromAControlsHandlerIsShownAndTheFormGoesOn) {
    ShownExceptions shown;
    installDesktop(std::make_unique<FormTestDesktop>());
    Form form;
    form.setClientWidth(side);
    form.setClientHeight(side);
    auto* rgn = new TRgn(&form);
    rgn->setBounds(0, 0, side, side);
    rgn->setRgnBitmap(bar(0, side));
    int presses = 0;
    rgn->setOnMouseDown([&](Component*, TMouseButton, TShiftState, int, int) {
        if (++presses == 1)
            throw KuvitoError("from the handler");
    });
    const HWND hwnd = reinterpret_cast<HWND>(form.desktopHandle().id);
    for (int i = 0; i < 2; ++i) {
        ::SendMessageW(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(side / 2, side / 2));
        ::SendMessageW(hwnd, WM_LBUTTONUP, 0, MAKELPARAM(side / 2, side / 2));
    }
    EXPECT_EQ(presses, 2);
    EXPECT_EQ(shown.texts, std::vector<std::string>{"from the handler"});
    EXPECT_TRUE(::IsWindow(hwnd));
}

} // namespace
