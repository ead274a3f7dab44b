// What the tray icon hands to the notification area, and when.

#include <cstring>
#include <map>

#include "ComponentRegistry.h"
#include "PropertyWriter.h"
#include "TPopupMenu.h"
#include "TrayTestSupport.h"

namespace {

using Op = TrayOperation;

std::vector<Op> operations(const SimulatedDesktop& sim) {
    std::vector<Op> ops;
    for (const auto& call : sim.trayCalls())
        ops.push_back(call.operation);
    return ops;
}

using TrayRecord = TrayFixture;

TEST_F(TrayRecord, StoresTheLeftMenuVisibleAndWhatEveryComponentStores) {
    auto* tray = loadTray();
    auto* left = new TPopupMenu(form_.get());
    left->setName("MenuL");
    tray->setPopUpMenuL(left);
    tray->setVisible(false);
    ASSERT_TRUE(tray->readProperty("Tag", FormValue::fromInt(3)));
    PropertyWriter writer;
    tray->writeProperties(writer);
    std::map<std::string, FormValue> stored(writer.properties().begin(), writer.properties().end());
    EXPECT_EQ(stored["PopUpMenuL"], FormValue::fromIdent("MenuL"));
    EXPECT_EQ(stored["Visible"], FormValue::fromBool(false));
    EXPECT_EQ(stored["Tag"], FormValue::fromInt(3));
    EXPECT_EQ(stored.count("PopUpMenuR"), 0u);
}

TEST_F(TrayRecord, ConstructionAddsNothingButCreatesTheMessageWindow) {
    auto* tray = new TTaskTrayIcon(form_.get());
    EXPECT_TRUE(tray->Visible());
    EXPECT_TRUE(tray->Icon().empty());
    EXPECT_TRUE(sim().trayCalls().empty());
    EXPECT_NE(tray->handle(), 0u);
    EXPECT_TRUE(sim().hasMessageWindow(tray->handle()));
}

TEST_F(TrayRecord, LoadingCompleteAddsTheIconWithTheFullRecord) {
    const auto ico = icoFile(Qt::red);
    TIcon icon;
    icon.loadFromIcoFile(ico);
    auto* tray = loadTray([&](TTaskTrayIcon& t) {
        t.setHint("くゔぃと");
        t.setIcon(icon);
    });
    ASSERT_EQ(operations(sim()), std::vector<Op>{Op::NIM_ADD});
    const NotifyIconData& data = sim().trayCalls()[0].data;
    EXPECT_EQ(data.cbSize, 88u);
    EXPECT_EQ(data.hWnd, tray->handle());
    EXPECT_EQ(data.uID, 1u);
    EXPECT_EQ(data.uFlags, 7u);
    EXPECT_EQ(data.uCallbackMessage, 1124u);
    EXPECT_STREQ(data.szTip, "くゔぃと");
    EXPECT_FALSE(sim().trayCalls()[0].icon.isNull());
    ASSERT_TRUE(sim().trayIcon().has_value());
    EXPECT_EQ(sim().trayIcon()->hWnd, tray->handle());
}

TEST_F(TrayRecord, StoredVisibleFalseShowsNothingUntilMadeVisible) {
    auto* tray = loadTray([](TTaskTrayIcon& t) {
        t.setVisible(false);
        t.setHint("later");
    });
    EXPECT_TRUE(sim().trayCalls().empty());
    tray->setHint("still hidden");
    tray->setIcon(TIcon());
    EXPECT_TRUE(sim().trayCalls().empty()) << "changes while hidden are only stored";
    tray->setVisible(true);
    ASSERT_EQ(operations(sim()), std::vector<Op>{Op::NIM_ADD});
    EXPECT_STREQ(sim().trayCalls()[0].data.szTip, "still hidden");
}

TEST_F(TrayRecord, HintAndIconAssignmentRules) {
    auto* tray = loadTray([](TTaskTrayIcon& t) { t.setHint("same"); });
    const std::size_t afterAdd = sim().trayCalls().size();

    tray->setHint("same");
    tray->setIcon(tray->Icon());
    EXPECT_EQ(sim().trayCalls().size(), afterAdd) << "same text and own icon object make no call";

    tray->setHint("different");
    ASSERT_EQ(sim().trayCalls().size(), afterAdd + 1);
    EXPECT_EQ(sim().trayCalls().back().operation, Op::NIM_MODIFY);
    EXPECT_EQ(sim().trayIcon()->tip, "different");

    TIcon blue;
    blue.loadFromIcoFile(icoFile(Qt::blue));
    tray->setIcon(blue);
    ASSERT_EQ(sim().trayCalls().size(), afterAdd + 2);
    EXPECT_EQ(sim().trayCalls().back().operation, Op::NIM_MODIFY);
    EXPECT_EQ(tray->Icon().data(), blue.data()) << "the image is copied into the component's own icon";
    EXPECT_NE(&tray->Icon(), &blue);
}

TEST_F(TrayRecord, VisibleTogglesAddAndDeleteOnlyOnChange) {
    auto* tray = loadTray();
    tray->setVisible(true);
    tray->setVisible(false);
    tray->setVisible(false);
    tray->setVisible(true);
    EXPECT_EQ(operations(sim()), (std::vector<Op>{Op::NIM_ADD, Op::NIM_DELETE, Op::NIM_ADD}));
}

TEST_F(TrayRecord, DesignModeMakesNoCalls) {
    auto* tray = new TTaskTrayIcon(form_.get());
    tray->setDesigning(true);
    tray->setLoading(true);
    tray->loaded();
    tray->setHint("x");
    tray->setVisible(false);
    tray->setVisible(true);
    delete tray;
    EXPECT_TRUE(sim().trayCalls().empty());
}

TEST_F(TrayRecord, DestroyingRemovesAVisibleIconAndTheMessageWindow) {
    auto* tray = loadTray();
    const auto window = tray->handle();
    delete tray;
    EXPECT_EQ(operations(sim()), (std::vector<Op>{Op::NIM_ADD, Op::NIM_DELETE}));
    EXPECT_FALSE(sim().trayIcon().has_value());
    EXPECT_FALSE(sim().hasMessageWindow(window));

    auto* hidden = loadTray([](TTaskTrayIcon& t) { t.setVisible(false); });
    const std::size_t before = sim().trayCalls().size();
    delete hidden;
    EXPECT_EQ(sim().trayCalls().size(), before) << "an icon that is not shown is not deleted";
}

TEST_F(TrayRecord, LogOffQueryRemovesTheIconAndAgrees) {
    auto* tray = loadTray();
    EXPECT_EQ(sim().sendMessage(tray->handle(), 17, 0, 0), 1);
    EXPECT_EQ(operations(sim()), (std::vector<Op>{Op::NIM_ADD, Op::NIM_DELETE}));
    EXPECT_TRUE(tray->Visible()) << "Visible is not changed by the query";
    EXPECT_FALSE(sim().trayIcon().has_value());
    // It comes back only through Visible going false and true again.
    tray->setVisible(false);
    tray->setVisible(true);
    EXPECT_TRUE(sim().trayIcon().has_value());
}

TEST_F(TrayRecord, UnknownMessagesGetTheDefaultAnswer) {
    auto* tray = loadTray();
    EXPECT_EQ(sim().sendMessage(tray->handle(), 0x0010, 0, 0), 0);
    EXPECT_EQ(sim().trayCalls().size(), 1u);
}

struct TipCase {
    const char* name;
    std::string hint;
    std::string expected;
};

class TrayTip : public TrayFixture, public ::testing::WithParamInterface<TipCase> {};

TEST_P(TrayTip, TipIsAtMost63BytesAndNeverSplitsACharacter) {
    const TipCase& c = GetParam();
    loadTray([&](TTaskTrayIcon& t) { t.setHint(c.hint); });
    const NotifyIconData& data = sim().trayCalls().at(0).data;
    EXPECT_EQ(std::string(data.szTip), c.expected);
    EXPECT_EQ(data.szTip[63], '\0');
}

const std::string kana = "あ"; // three bytes in UTF-8

INSTANTIATE_TEST_SUITE_P(
    Cases, TrayTip,
    ::testing::Values(TipCase{"empty", "", ""},
                      TipCase{"exactly63", std::string(63, 'a'), std::string(63, 'a')},
                      TipCase{"ascii70", std::string(70, 'b'), std::string(63, 'b')},
                      // 21 kana fill 63 bytes exactly; the 22nd is dropped whole.
                      TipCase{"kanaFits",
                              [] {
                                  std::string s;
                                  for (int i = 0; i < 30; ++i)
                                      s += "あ";
                                  return s;
                              }(),
                              [] {
                                  std::string s;
                                  for (int i = 0; i < 21; ++i)
                                      s += "あ";
                                  return s;
                              }()},
                      // 62 + 3 bytes: the kana would straddle the limit.
                      TipCase{"kanaStraddles", std::string(62, 'c') + "あ", std::string(62, 'c')},
                      TipCase{"kanaStraddlesByOne", std::string(61, 'd') + "あ", std::string(61, 'd')},
                      // A four-byte character after 60 bytes ends at 64: left out.
                      TipCase{"emoji", std::string(60, 'e') + "\xF0\x9F\x90\x88" + "z",
                              std::string(60, 'e')}),
    [](const auto& test) { return std::string(test.param.name); });

TEST_F(TrayRecord, StoredMenuReferencesResolveWhenLoadingCompletes) {
    auto* tray = new TTaskTrayIcon(form_.get());
    tray->setName("TaskTrayIcon1");
    tray->setLoading(true);
    EXPECT_TRUE(tray->readProperty("PopUpMenuR", FormValue::fromIdent("PopupMenu1")));
    // The menu comes later in the layout than the icon.
    auto* menu = new TPopupMenu(form_.get());
    menu->setName("PopupMenu1");
    EXPECT_EQ(tray->PopUpMenuR(), nullptr);
    tray->loaded();
    EXPECT_EQ(tray->PopUpMenuR(), menu);
    EXPECT_EQ(tray->PopUpMenuL(), nullptr);

    auto* broken = new TTaskTrayIcon(form_.get());
    broken->setName("TaskTrayIcon2");
    broken->setLoading(true);
    broken->readProperty("PopUpMenuL", FormValue::fromIdent("NoSuchMenu"));
    EXPECT_THROW(broken->loaded(), KuvitoError);
}

TEST_F(TrayRecord, HostsThatOpenMenusThemselvesAreOfferedTheRightButtonMenu) {
    auto* menu = new TPopupMenu(form_.get());
    auto* tray = loadTray([&](TTaskTrayIcon& t) { t.setPopUpMenuR(menu); });
    ASSERT_TRUE(sim().trayIcon().has_value());
    EXPECT_EQ(sim().trayIcon()->menu, &menu->menu()) << "offered once the icon is shown";

    auto* other = new TPopupMenu(form_.get());
    tray->setPopUpMenuL(other);
    EXPECT_EQ(sim().trayIcon()->menu, &menu->menu()) << "the left-button menu is not the icon's menu";
    tray->setPopUpMenuR(other);
    EXPECT_EQ(sim().trayIcon()->menu, &other->menu());
    delete other;
    EXPECT_EQ(sim().trayIcon()->menu, nullptr) << "a destroyed menu is withdrawn";

    tray->setPopUpMenuR(menu);
    tray->setVisible(false);
    tray->setVisible(true);
    ASSERT_TRUE(sim().trayIcon().has_value());
    EXPECT_EQ(sim().trayIcon()->menu, &menu->menu()) << "a re-added icon offers it again";
}

TEST_F(TrayRecord, StoredIconDataRoundTripsAndRejectsABadCount) {
    const auto ico = icoFile(Qt::green);
    std::vector<std::uint8_t> stored{std::uint8_t(ico.size()), std::uint8_t(ico.size() >> 8), 0, 0};
    stored.insert(stored.end(), ico.begin(), ico.end());

    auto* tray = loadTray(
        [&](TTaskTrayIcon& t) { EXPECT_TRUE(t.readProperty("Icon.Data", FormValue::fromBinary(stored))); });
    EXPECT_EQ(tray->Icon().data(), ico);
    EXPECT_EQ(tray->Icon().writeData(), stored);

    auto tooLong = stored;
    tooLong[2] = 1; // count 64 KiB past the real bytes
    try {
        tray->readProperty("Icon.Data", FormValue::fromBinary(tooLong));
        FAIL() << "a count past the data must be refused";
    } catch (const KuvitoError& e) {
        EXPECT_EQ(std::string(e.what()), "TaskTrayIcon1:Icon のｱｲｺﾝが正しくありません");
    }
    EXPECT_EQ(tray->Icon().data(), ico) << "a refused icon leaves the old one";

    std::vector<std::uint8_t> garbage{4, 0, 0, 0, 1, 2, 3, 4};
    EXPECT_THROW(tray->readProperty("Icon.Data", FormValue::fromBinary(garbage)), KuvitoError);
}

TEST_F(TrayRecord, RegisteredUnderItsClassName) {
    registerTaskTrayIconClasses();
    Component* made = ComponentRegistry::instance().create("TTaskTrayIcon", form_.get());
    auto* tray = dynamic_cast<TTaskTrayIcon*>(made);
    ASSERT_NE(tray, nullptr);
    EXPECT_EQ(tray->owner(), form_.get());
}

} // namespace
