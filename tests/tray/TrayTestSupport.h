#pragma once

#include <QBuffer>
#include <QColor>
#include <QImage>
#include <QImageWriter>

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "DesktopServices.h"
#include "ErrorDisplay.h"
#include "Form.h"
#include "SimulatedDesktop.h"
#include "TIcon.h"
#include "TTaskTrayIcon.h"

// The .ico file of a plain 32 x 32 square of one colour.
inline std::vector<std::uint8_t> icoFile(QColor colour) {
    QImage image(32, 32, QImage::Format_ARGB32);
    image.fill(colour);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "ico");
    EXPECT_TRUE(writer.write(image)) << writer.errorString().toStdString();
    return {bytes.begin(), bytes.end()};
}

// A simulated desktop, an owner form and a tray icon on it, loaded the way a
// stored layout loads it.
class TrayFixture : public ::testing::Test {
protected:
    void SetUp() override {
        auto sim = std::make_unique<SimulatedDesktop>();
        sim_ = sim.get();
        installDesktop(std::move(sim));
        ErrorDisplay::setTitle("走れクヴィトくん");
        form_ = std::make_unique<Form>(nullptr);
        form_->setName("FrmMain");
    }
    void TearDown() override {
        form_.reset();
        installDesktop(std::make_unique<SimulatedDesktop>());
    }

    // A tray icon owned by the form, with its stored values applied by
    // `store` while loading, then loading completed.
    template <typename Store> TTaskTrayIcon* loadTray(Store&& store) {
        auto* tray = new TTaskTrayIcon(form_.get());
        tray->setName("TaskTrayIcon1");
        tray->setLoading(true);
        store(*tray);
        tray->loaded();
        return tray;
    }
    TTaskTrayIcon* loadTray() {
        return loadTray([](TTaskTrayIcon&) {});
    }

    SimulatedDesktop& sim() { return *sim_; }

    SimulatedDesktop* sim_ = nullptr;
    std::unique_ptr<Form> form_;
};
