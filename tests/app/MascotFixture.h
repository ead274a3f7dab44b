#pragma once

#include "MascotSettings.h"
#include "SimulatedDesktop.h"
#include "TFrmMain.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

class Picture;

// Stand-in frames: 53 x 87 pictures on the artwork's background colour,
// each with a figure of its own shape so that every frame's outline differs.
std::array<Picture, 6> standInFrames();
// A small valid icon file.
std::vector<std::uint8_t> standInIcon();
// The mascot window's stored layout built from the stand-ins (once).
const std::vector<std::uint8_t>& standInLayout();

// Runs the real mascot window on a simulated desktop whose clock only moves
// when the test says so. The settings file lives in a fresh directory beside
// a pretend executable.
class MascotFixture : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Writes kuvito.ini (section [kuvito] plus the given lines) before the
    // window is created.
    void writeIni(const std::string& lines);
    bool iniExists() const;
    // Creates FrmMain as the program does and puts it at Left, Top.
    void create(int left = 0, int top = 0);

    // One movement tick: moves the clock by Timer1's period, which is exactly
    // when its next tick falls due while it runs undisturbed.
    void tick();
    // Moves the clock by ms.
    void advance(std::int64_t ms) { sim->advance(ms); }
    // Seeds the program's generator so that the next draws satisfy `draws`
    // (which takes them through Random, as the movers do), and leaves it
    // ready to give exactly those draws again.
    void seedWhere(const std::function<bool()>& draws);
    // Seeds for a tick of a wandering mode that neither pauses nor turns,
    // and in mode 2 makes no vertical step.
    void seedPlainTick();

    // The one frame painting now (1..6), 0 when none or several do.
    int shownFrame() const;
    int left() const { return form->Left(); }
    int top() const { return form->Top(); }
    void place(int left, int top);
    int timer1Interval() const;
    int timer2Interval() const;
    std::size_t moveCount() const { return sim->moves().size(); }

    SimulatedDesktop* sim = nullptr;
    std::unique_ptr<TFrmMain> form;
    std::filesystem::path dir;
};
