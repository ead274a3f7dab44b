#pragma once

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <fstream>
#include <functional>
#include <memory>
#include <sstream>
#include <string>

#include "DesktopServices.h"
#include "ErrorDisplay.h"
#include "ProgramStateAccess.h"
#include "SimulatedDesktop.h"

// One row of a dialog's control table.
struct ControlRow {
    const char* name;
    const char* kind; // label, panel, groupbox, radio, checkbox, slider, button, image
    const char* parent;
    int left, top, width, height;
    const char* caption; // nullptr: no caption to compare
};

inline std::ostream& operator<<(std::ostream& out, const ControlRow& row) {
    return out << row.name;
}

// The kind of a widget in the terms of the control tables.
inline std::string kindOf(const QWidget* w) {
    if (qobject_cast<const QRadioButton*>(w))
        return "radio";
    if (qobject_cast<const QCheckBox*>(w))
        return "checkbox";
    if (qobject_cast<const QPushButton*>(w))
        return "button";
    if (qobject_cast<const QSlider*>(w))
        return "slider";
    if (qobject_cast<const QGroupBox*>(w))
        return "groupbox";
    if (auto* label = qobject_cast<const QLabel*>(w)) {
        if (!label->pixmap().isNull() || w->objectName().startsWith("Image"))
            return "image";
        return label->frameShape() != QFrame::NoFrame || w->objectName().startsWith("Panel") ? "panel"
                                                                                             : "label";
    }
    return "other";
}

inline QString captionOf(const QWidget* w) {
    if (auto* b = qobject_cast<const QAbstractButton*>(w))
        return b->text();
    if (auto* g = qobject_cast<const QGroupBox*>(w))
        return g->title();
    if (auto* l = qobject_cast<const QLabel*>(w))
        return l->text();
    return {};
}

// Checks one row against the dialog's widgets.
inline void expectRow(QWidget& dialog, const ControlRow& row) {
    auto* w = dialog.findChild<QWidget*>(QString::fromLatin1(row.name));
    ASSERT_NE(w, nullptr) << row.name;
    EXPECT_EQ(kindOf(w), row.kind);
    const QWidget* parent = w->parentWidget();
    ASSERT_NE(parent, nullptr);
    if (std::string(row.parent) == "dialog")
        EXPECT_EQ(parent, &dialog);
    else
        EXPECT_EQ(parent->objectName().toStdString(), row.parent);
    QRect expected(row.left, row.top, row.width, row.height);
    if (auto* label = qobject_cast<const QLabel*>(w); label && kindOf(w) == "label") {
        // The stand-in font sets some texts wider than the design font did;
        // such a label grows to fit instead of clipping its text.
        const int needed = label->fontMetrics().horizontalAdvance(label->text());
        EXPECT_LE(needed, w->width()) << "clipped text";
        if (needed > row.width && !(label->alignment() & Qt::AlignHCenter))
            expected.setWidth(needed);
    }
    EXPECT_EQ(w->geometry(), expected);
    if (row.caption) {
        EXPECT_EQ(captionOf(w).toStdString(), row.caption);
    }
}

inline void pressKey(QWidget& target, int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QKeyEvent press(QEvent::KeyPress, key, modifiers);
    QApplication::sendEvent(&target, &press);
    QKeyEvent release(QEvent::KeyRelease, key, modifiers);
    QApplication::sendEvent(&target, &release);
}

inline std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// A simulated desktop whose executable lies in a fresh temporary directory,
// so that kuvito.ini is written there, and settings that a test sets.
class DialogFixture : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir_.isValid());
        auto sim = std::make_unique<SimulatedDesktop>();
        sim_ = sim.get();
        sim_->setExecutablePath(dir_.filePath("kuvito").toStdString());
        installDesktop(std::move(sim));
        ErrorDisplay::setTitle("走れクヴィトくん");
        resetProgramState();
    }
    void TearDown() override {
        resetProgramState();
        installDesktop(std::make_unique<SimulatedDesktop>());
    }
    void setSettings(bool top, int mode, int speed, int step) {
        settings().StayOnTop = top;
        settings().MoveMode = static_cast<MovementMode>(mode); // as stored
        settings().SpeedIndex = speed;
        settings().StepIndex = step;
    }
    // What a dialog under test calls on OK in place of the mascot window.
    std::function<void()> countApplied() {
        return [this] { ++applied_; };
    }
    std::string iniPath() const { return dir_.filePath("kuvito.ini").toStdString(); }

    SimulatedDesktop& sim() { return *sim_; }

    QTemporaryDir dir_;
    SimulatedDesktop* sim_ = nullptr;
    int applied_ = 0;
};
