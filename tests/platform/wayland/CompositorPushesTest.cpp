// What a compositor helper's pushes do to the report (each argument checked,
// a refused call changing nothing), the panel found from a work area, and
// what the program does about its GNOME Shell extension in each state.

#include "CompositorPushes.h"
#include "GnomeShellExtension.h"
#include "PanelFromWorkArea.h"

#include <gtest/gtest.h>

#include <functional>
#include <limits>

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

INSTANTIATE_TEST_SUITE_P(
    Helper, Pushes,
    ::testing::Values(
        PushCase{"PointerOnAnotherMonitorLeftOfThePrimary",
                 [](Report& r) { return CompositorPushes::pointer(r, -32768, 32767); }, true,
                 [](Report& r) {
                     r.pointer = Report::Point{-32768, 32767};
                 }},
        PushCase{
            "PointerBeyondX11", [](Report& r) { return CompositorPushes::pointer(r, 32768, 0); }, false, {}},
        PushCase{
            "PointerBelowX11", [](Report& r) { return CompositorPushes::pointer(r, 0, -32769); }, false, {}},
        PushCase{
            "OwnWindowIsKeptWithItsFrame",
            [](Report& r) { return CompositorPushes::frontWindow(r, 1ULL << 40, true, -5, 30, 200, 100); },
            true,
            [](Report& r) {
                r.frontWindow = Report::Window{1ULL << 40, {-5, 30, 195, 130}, true};
            }},
        PushCase{"NoFrontWindowIsKnownAsNone",
                 [](Report& r) {
                     CompositorPushes::noFrontWindow(r);
                     return true;
                 },
                 true, [](Report& r) { r.frontWindow.reset(); }},
        // The extremes X can still express.
        PushCase{"ThinnestTallestWindow",
                 [](Report& r) { return CompositorPushes::frontWindow(r, 2, false, 0, 0, 1, 32767); }, true,
                 [](Report& r) {
                     r.frontWindow = Report::Window{2, {0, 0, 1, 32767}, false};
                 }},
        PushCase{"WidestFlattestWorkArea",
                 [](Report& r) { return CompositorPushes::workArea(r, 0, 0, 32767, 1); }, true,
                 [](Report& r) {
                     r.workArea = ScreenRect{0, 0, 32767, 1};
                 }},
        PushCase{"EmptyWindow",
                 [](Report& r) { return CompositorPushes::frontWindow(r, 1, false, 0, 0, 0, 100); },
                 false,
                 {}},
        PushCase{"NegativeHeight",
                 [](Report& r) { return CompositorPushes::frontWindow(r, 1, false, 0, 0, 100, -1); },
                 false,
                 {}},
        PushCase{"WindowWiderThanX11",
                 [](Report& r) { return CompositorPushes::frontWindow(r, 1, false, 0, 0, 32768, 10); },
                 false,
                 {}},
        PushCase{"WindowOverflowingInt",
                 [](Report& r) { return CompositorPushes::frontWindow(r, 1, false, kMax, kMin, kMax, kMax); },
                 false,
                 {}},
        PushCase{"WorkAreaBelowGnomesBar",
                 [](Report& r) { return CompositorPushes::workArea(r, 0, 27, 1024, 741); }, true,
                 [](Report& r) {
                     r.workArea = ScreenRect{0, 27, 1024, 768};
                 }},
        PushCase{"WorkAreaWithNoHeight",
                 [](Report& r) { return CompositorPushes::workArea(r, 0, 27, 1024, 0); },
                 false,
                 {}},
        PushCase{"WorkAreaTallerThanX11",
                 [](Report& r) { return CompositorPushes::workArea(r, 0, 0, 1, 32768); },
                 false,
                 {}},
        PushCase{"WorkAreaFarLeft",
                 [](Report& r) { return CompositorPushes::workArea(r, -32769, 0, 10, 10); },
                 false,
                 {}}),
    [](const auto& c) { return std::string(c.param.name); });

TEST(Pushes, FrontWindowBecomesKnownOnlyWhenTold) {
    Report report;
    EXPECT_FALSE(CompositorPushes::frontWindow(report, 1, false, 0, 0, -1, 1));
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
    Step step;
};

TEST(GnomeShellExtension, StepFollowsTheShellsStateAndTheDisk) {
    // ExtensionState numbers as GNOME Shell 43 and 45+ report them.
    const ExtensionCase cases[] = {
        {std::nullopt, true, Step::NeedsNewLogin}, // installed after the shell started
        {std::nullopt, false, Step::Unavailable},  // not installed at all
        {1, true, Step::Ready},                    // enabled (active)
        {8, true, Step::Ready},                    // activating
        {2, true, Step::Enable},                   // disabled (inactive)
        {6, true, Step::Enable},                   // initialized, never enabled
        {7, true, Step::Enable},                   // deactivating
        {3, true, Step::Unavailable},              // error
        {4, true, Step::Unavailable},              // out of date
        {99, false, Step::Unavailable},            // uninstalled
    };
    for (const ExtensionCase& c : cases)
        EXPECT_EQ(GnomeShellExtension::stepFor(c.state, c.installed), c.step)
            << "state " << c.state.value_or(-1) << (c.installed ? " installed" : "");
}

} // namespace
