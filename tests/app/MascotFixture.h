#pragma once

#include "ProgramStateAccess.h"
#include "ScriptedDraws.h"
#include "SimulatedDesktop.h"
#include "TFrmMain.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <filesystem>
#include <initializer_list>
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
// when the test says so, with draws that the test scripts. The settings file
// lives in a fresh directory beside a pretend executable, and the
// program-wide state starts fresh.
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
    // The draws of thirty that begin a pause and that turn the character.
    static constexpr int kPause = 1;
    static constexpr int kTurn = 0;
    // The movers' next draws, in order; every draw after them is the plain
    // one (see ScriptedDraws). A new window starts with none scripted.
    void willDraw(std::initializer_list<int> draws) { draws_->script(draws); }
    std::size_t drawsLeft() const { return draws_->left(); }
    const std::vector<int>& drawRanges() const { return draws_->ranges(); }
    // Gives the window the program's own generator, seeded, instead.
    void useGenerator(std::uint32_t seed);

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

private:
    ScriptedDraws* draws_ = nullptr; // owned by form
};
