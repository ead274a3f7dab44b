// What a compositor helper's pushes do to the report (each argument checked,
// a refused call changing nothing), the panel found from a work area, and
// what the program does about its GNOME Shell extension in each state.

#include "CompositorPushes.h"
#include "GnomeShellExtension.h"
#include "PanelFromWorkArea.h"

#include <gtest/gtest.h>

#include <functional>
#include <limits>
#include <vector>

namespace {

using Report = CompositorReport;

// A report that already knows everything, so that a refused call shows as
// nothing having changed.
Report known() {
    Report r;
    r.pointer = Report::Point{5, 6};
    r.frontWindowKnown = true;
    r.frontWindow = Report::Window{7, ScreenRect{10, 20, 110, 220}, false};
    r.workArea = ScreenRect{0, 32, 1024, 768};
    return r;
}

struct PushCase {
    const char* name;
    std::function<bool(Report&)> push;
    bool accepted;
    std::function<void(Report&)> expect; // applied to known() when accepted
};

void PrintTo(const PushCase& c, std::ostream* os) {
    *os << c.name;
}

class Pushes : public ::testing::TestWithParam<PushCase> {};

TEST_P(Pushes, AcceptOnlyWhatAnX11ClientCouldUse) {
    const PushCase& c = GetParam();
    Report report = known();
    EXPECT_EQ(c.push(report), c.accepted);
    Report expected = known();
    if (c.accepted)
        c.expect(expected);
    EXPECT_EQ(report, expected);
}

constexpr int kMax = std::numeric_limits<int>::max();
constexpr int kMin = std::numeric_limits<int>::min();

// Two monitors side by side, the primary at 0, 0 and another to its left.
constexpr ScreenRect kScreens{-1024, 0, 1024, 768};

PushCase pointerAt(const char* name, int x, int y, bool accepted) {
    return {name, [x, y](Report& r) { return CompositorPushes::pointer(r, kScreens, x, y); }, accepted,
            [x, y](Report& r) {
                r.pointer = Report::Point{x, y};
            }};
}

PushCase frontWindow(const char* name, std::uint64_t id, int x, int y, int width, int height, bool accepted) {
    return {
        name,
        [=](Report& r) { return CompositorPushes::frontWindow(r, kScreens, id, true, x, y, width, height); },
        accepted,
        [=](Report& r) {
            r.frontWindow = Report::Window{id, {x, y, x + width, y + height}, true};
        }};
}

PushCase workArea(const char* name, int x, int y, int width, int height, bool accepted) {
    return {name, [=](Report& r) { return CompositorPushes::workArea(r, kScreens, x, y, width, height); },
            accepted,
            [=](Report& r) {
                r.workArea = ScreenRect{x, y, x + width, y + height};
            }};
}

INSTANTIATE_TEST_SUITE_P(
    Helper, Pushes,
    ::testing::Values(pointerAt("PointerInTheLeftMonitorsBottomCorner", -1024, 767, true),
                      pointerAt("PointerPastTheRightEdge", 1024, 0, false),
                      pointerAt("PointerPastTheBottomEdge", 0, 768, false),
                      pointerAt("PointerAboveTheTop", 0, -1, false),
                      pointerAt("PointerLeftOfEveryMonitor", -1025, 0, false),
                      frontWindow("WindowHangingOverTheLeftEdge", 1ULL << 40, -1100, 30, 200, 100, true),
                      frontWindow("WindowWhollyRightOfTheMonitors", 1, 1024, 0, 100, 100, false),
                      frontWindow("WindowWhollyAbove", 1, 0, -100, 100, 100, false),
                      frontWindow("WindowWhollyBelow", 1, 0, 768, 100, 100, false),
                      frontWindow("WindowWhollyLeft", 1, -1124, 0, 100, 100, false),
                      // The extremes X can still express.
                      frontWindow("ThinnestTallestWindow", 2, 0, 0, 1, 32767, true),
                      frontWindow("WindowFromX11sLeftmostPlace", 3, -32768, 0, 32767, 10, true),
                      frontWindow("WindowLeftOfX11", 3, -32769, 0, 32767, 10, false),
                      frontWindow("EmptyWindow", 1, 0, 0, 0, 100, false),
                      frontWindow("NegativeHeight", 1, 0, 0, 100, -1, false),
                      frontWindow("NegativeEverything", 1, -32768, -32768, -1, -1, false),
                      frontWindow("WindowWiderThanX11", 1, 0, 0, 32768, 10, false),
                      frontWindow("WindowOverflowingInt", 1, kMax, kMin, kMax, kMax, false),
                      workArea("WorkAreaOverBothMonitors", -1024, 0, 2048, 768, true),
                      workArea("WorkAreaBelowGnomesBar", 0, 27, 1024, 741, true),
                      workArea("WorkAreaBelowTheMonitors", 0, 27, 1024, 742, false),
                      workArea("WorkAreaRightOfTheMonitors", 1, 0, 1024, 768, false),
                      workArea("WorkAreaLeftOfTheMonitors", -1025, 0, 10, 10, false),
                      workArea("WorkAreaAboveTheMonitors", 0, -1, 10, 10, false),
                      workArea("WorkAreaWithNoHeight", 0, 27, 1024, 0, false),
                      workArea("WorkAreaFarOff", 32767, 32767, 65534, 65534, false),
                      PushCase{"FullScreenWindowIsKeptAsSuch",
                               [](Report& r) {
                                   return CompositorPushes::frontWindow(r, kScreens, 3, false, 0, 0, 1024,
                                                                        768, true);
                               },
                               true,
                               [](Report& r) {
                                   r.frontWindow = Report::Window{3, {0, 0, 1024, 768}, false, true};
                               }},
                      PushCase{"NoFrontWindowIsKnownAsNone",
                               [](Report& r) {
                                   CompositorPushes::noFrontWindow(r);
                                   return true;
                               },
                               true, [](Report& r) { r.frontWindow.reset(); }}),
    [](const auto& c) { return std::string(c.param.name); });

TEST(Pushes, FrontWindowBecomesKnownOnlyWhenTold) {
    Report report;
    EXPECT_FALSE(CompositorPushes::frontWindow(report, kScreens, 1, false, 0, 0, -1, 1));
    EXPECT_FALSE(report.frontWindowKnown);
    CompositorPushes::noFrontWindow(report);
    EXPECT_TRUE(report.frontWindowKnown);
}

struct PanelCase {
    const char* name;
    ScreenRect workArea;
    std::optional<ScreenRect> panel;
};

class Panel : public ::testing::TestWithParam<PanelCase> {};

TEST_P(Panel, IsTheEdgeTheWorkAreaLeavesOut) {
    const ScreenRect monitor{100, 50, 1124, 818};
    EXPECT_EQ(PanelFromWorkArea::find(monitor, GetParam().workArea), GetParam().panel);
}

INSTANTIATE_TEST_SUITE_P(
    WorkArea, Panel,
    ::testing::Values(PanelCase{"Bottom", {100, 50, 1124, 788}, ScreenRect{100, 788, 1124, 818}},
                      PanelCase{"Top", {100, 77, 1124, 818}, ScreenRect{100, 50, 1124, 77}},
                      PanelCase{"Right", {100, 50, 1080, 818}, ScreenRect{1080, 50, 1124, 818}},
                      PanelCase{"Left", {148, 50, 1124, 818}, ScreenRect{100, 50, 148, 818}},
                      // Two panels: the bottom one is the taskbar.
                      PanelCase{"BottomBeforeTop", {100, 77, 1124, 788}, ScreenRect{100, 788, 1124, 818}},
                      PanelCase{"None", {100, 50, 1124, 818}, std::nullopt}),
    [](const auto& c) { return std::string(c.param.name); });

using Step = GnomeShellExtension::Step;

struct ExtensionCase {
    std::optional<int> state;
    bool installed;
    bool enabledBefore;
    Step step;
};

TEST(GnomeShellExtension, StepFollowsTheShellsStateTheDiskAndWhatWasEnabledBefore) {
    // ExtensionState numbers as GNOME Shell 43 and 45+ report them.
    const ExtensionCase cases[] = {
        {std::nullopt, true, false, Step::NeedsNewLogin}, // installed after the shell started
        {std::nullopt, false, true, Step::Unavailable},   // not installed at all
        {1, true, false, Step::Ready},                    // enabled (active)
        {8, true, true, Step::Ready},                     // activating
        {6, true, false, Step::Enable},                   // initialized, never enabled
        {6, true, true, Step::SwitchedOff},               // switched off in an earlier session
        {2, true, false, Step::SwitchedOff},              // switched off in this session
        {7, true, true, Step::SwitchedOff},               // being switched off
        {3, true, false, Step::Unavailable},              // error
        {4, true, false, Step::Unavailable},              // out of date
        {99, false, false, Step::Unavailable},            // uninstalled
    };
    for (const ExtensionCase& c : cases)
        EXPECT_EQ(GnomeShellExtension::stepFor(c.state, c.installed, c.enabledBefore), c.step)
            << "state " << c.state.value_or(-1) << (c.installed ? " installed" : "")
            << (c.enabledBefore ? " enabled before" : "");
}

// One package carries the extension for the shells before 45 and after,
// under two UUIDs: the shell loads one, calls the other out of date (4),
// and the program goes on with the one it loads, whichever comes first.
TEST(GnomeShellExtension, GoesOnWithTheFormTheShellLoadsAndElseSaysWhyNone) {
    using R = GnomeShellExtension::Readiness;
    using States = std::vector<std::optional<int>>;
    EXPECT_EQ(GnomeShellExtension::loadableForm(States{1, 4}), 0u);            // GNOME 48
    EXPECT_EQ(GnomeShellExtension::loadableForm(States{4, 1}), 1u);            // GNOME 43
    EXPECT_EQ(GnomeShellExtension::loadableForm(States{4, 6}), 1u);            // never enabled
    EXPECT_EQ(GnomeShellExtension::loadableForm(States{std::nullopt, 2}), 1u); // one form only
    EXPECT_EQ(GnomeShellExtension::loadableForm(States{3, 4}), std::nullopt);  // none loads
    EXPECT_EQ(GnomeShellExtension::loadableForm(States{std::nullopt, std::nullopt}), std::nullopt);
    EXPECT_EQ(GnomeShellExtension::whyNoneLoads(States{4, 3}, true), R::Failed);
    EXPECT_EQ(GnomeShellExtension::whyNoneLoads(States{4, 4}, true), R::OutOfDate);
    EXPECT_EQ(GnomeShellExtension::whyNoneLoads(States{std::nullopt, std::nullopt}, true), R::NeedsNewLogin);
    EXPECT_EQ(GnomeShellExtension::whyNoneLoads(States{std::nullopt, std::nullopt}, false), R::Missing);
}

} // namespace
