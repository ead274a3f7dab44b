#include "X11FramePictures.h"

#include <QGuiApplication>
#include <QImage>

#include <gtest/gtest.h>

// Xlib after Qt: its macros would clash with Qt's names.
#include <X11/Xlib.h>

#include <X11/Xutil.h>

#include <memory>

namespace {

// A connection and a 32-bit visual of the test's own, and the pixels of the
// pixmaps the pictures are kept in: what a compositor reads.
class X11FramePicturesTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (qEnvironmentVariableIsEmpty("DISPLAY") || QGuiApplication::platformName() != "xcb")
            GTEST_SKIP() << "needs an X display";
        dpy_ = XOpenDisplay(nullptr);
        ASSERT_NE(dpy_, nullptr);
        if (!XMatchVisualInfo(dpy_, DefaultScreen(dpy_), 32, TrueColor, &argb_))
            GTEST_SKIP() << "the X server offers no 32-bit visual";
        pictures_ = std::make_unique<X11FramePictures>(dpy_, argb_.visual, 32, true);
    }
    void TearDown() override {
        pictures_.reset();
        if (dpy_)
            XCloseDisplay(dpy_);
    }
    // The picture's pixel at a point of the form, as alpha and colour.
    unsigned long pixel(int frame, QPoint inForm) {
        const auto& f = pictures_->at(frame);
        const QPoint at = inForm - pictures_->area().topLeft();
        XImage* image =
            XGetImage(dpy_, static_cast<Pixmap>(f.picture), at.x(), at.y(), 1, 1, AllPlanes, ZPixmap);
        const unsigned long value = image ? XGetPixel(image, 0, 0) : 0xdeadbeef;
        if (image)
            XDestroyImage(image);
        return value;
    }
    // What the form looks like when painted: one colour each side of x = 20.
    static QImage painted() {
        QImage image(60, 40, QImage::Format_RGB32);
        image.fill(qRgb(255, 0, 0));
        for (int y = 0; y < 40; ++y)
            for (int x = 20; x < 60; ++x)
                image.setPixel(x, y, qRgb(0, 0, 255));
        return image;
    }

    Display* dpy_ = nullptr;
    XVisualInfo argb_{};
    std::unique_ptr<X11FramePictures> pictures_;
};

constexpr unsigned long kOpaqueRed = 0xffff0000, kOpaqueBlue = 0xff0000ff, kClear = 0;

// Opaque inside the outline, fully transparent outside it, in every picture
// and wherever the area has grown to since the picture was made.
TEST_F(X11FramePicturesTest, OpaqueInsideTheOutlineAndClearOutside) {
    // An L: the hole at its top right lies within its bounds.
    const QRegion first = QRegion(5, 10, 5, 20) + QRegion(5, 25, 15, 5);
    const int a = pictures_->add(first, painted());
    EXPECT_EQ(pictures_->area(), QRect(5, 10, 15, 20));
    EXPECT_EQ(pixel(a, {6, 11}), kOpaqueRed);
    EXPECT_EQ(pixel(a, {15, 12}), kClear);

    // Reaches beyond the first on three sides: the area grows, the first
    // picture keeps its pixels where they were in the form.
    const QRegion second(2, 0, 33, 8);
    const int b = pictures_->add(second, painted());
    EXPECT_EQ(pictures_->area(), QRect(2, 0, 33, 30));
    EXPECT_EQ(pixel(b, {30, 5}), kOpaqueBlue);
    EXPECT_EQ(pixel(b, {3, 5}), kOpaqueRed);
    EXPECT_EQ(pixel(b, {6, 11}), kClear);
    EXPECT_EQ(pixel(a, {6, 11}), kOpaqueRed);
    EXPECT_EQ(pixel(a, {19, 29}), kOpaqueRed);
    EXPECT_EQ(pixel(a, {4, 11}), kClear);
    EXPECT_EQ(pixel(a, {30, 5}), kClear);

    // Inside the area but away from its corner.
    const int c = pictures_->add(QRegion(22, 15, 4, 4), painted());
    EXPECT_EQ(pictures_->area(), QRect(2, 0, 33, 30));
    EXPECT_EQ(pixel(c, {22, 15}), kOpaqueBlue);
    EXPECT_EQ(pixel(c, {21, 15}), kClear);
    EXPECT_EQ(pictures_->find(first), a);
    EXPECT_EQ(pictures_->find(QRegion(1, 1, 1, 1)), -1);
}

} // namespace
