// Japanese, the program's own language: every id the program asks for is
// here, and every other table has the same ids.
#include "CaptionTable.h"

namespace {
const CaptionRow kRows[] = {
    // The program's name: window titles, message boxes, the about box.
    {"app.title", "走れクヴィトくん"},

    // The tray icon's menu (stored in the mascot window's layout).
    {"menu.settings", "設定"},
    {"menu.about", "バージョン情報(&A)"},
    {"menu.exit", "終了"},
    {"menu.hideFullScreen", "全画面のときは隠れる"},
    {"menu.autostart", "ログイン時に起動"},

    // The movement modes, as the settings dialog and the notices name them.
    {"mode.chase", "マウスを追いかける"},
    {"mode.wanderScreen", "画面中をうろうろ"},
    {"mode.wanderTaskbar", "画面の下でうろうろ"},
    {"mode.walkOnWindow", "ウィンンドウの上でうろうろ"},
    {"mode.stepInPlace", "足踏み"},

    // The settings dialog.
    {"settings.title", "走れクヴィトくんの設定"},
    {"settings.movement", "動き"},
    {"settings.stayOnTop", "常に手前に表示"},
    {"settings.speed", "速さ"},
    {"settings.fast", "速い"},
    {"settings.slow", "遅い"},
    {"settings.stepSize", "移動量"},
    {"settings.large", "多い"},
    {"settings.small", "少ない"},
    {"button.ok", "OK(&O)"},
    {"button.cancel", "ｷｬﾝｾﾙ(&C)"},

    // The about box.
    {"about.title", "バージョン情報"},
    {"about.team", "kuvito 開発チーム"},
    {"about.what", "kuvito — デスクトップマスコット"},
    {"about.free", "「走れクヴィトくん」はフリーソフトです。"},

    // With no notification area, the menu is on the character.
    {"noTray.hint", "右クリックでメニュー（設定・終了）"},
    {"noTray.notice", "通知領域が見つからないため、アイコンを表示できません。\n"
                      "キャラクターを右クリックするとメニューが開きます。"
                      "終了もそこからできます。"},

    // What a Wayland session keeps from the program. {modes} is a list of
    // mode names, each in session.quote, joined with session.and.
    {"session.intro", "Wayland のデスクトップでは見えないものがあります。"},
    {"session.pointer", "{modes}は、マウスが X11 のウィンドウの上にあるときだけマウスの方へ向かいます。"},
    {"session.frontWindow",
     "{modes}は X11 のウィンドウの上だけを歩き、Wayland のアプリが手前にあるときは画面中をうろうろします。"},
    {"session.panel", "{modes}は、パネルの場所がわからないため、画面のいちばん下を歩きます。"},
    {"session.helperSwitchedOff", "kuvito の GNOME Shell "
                                  "拡張機能がオフになっています。オンに戻すには「拡張機能」アプリを使うか、gn"
                                  "ome-extensions enable {uuid} を実行してください。"},
    {"session.helperOutOfDate",
     "この GNOME Shell は kuvito の拡張機能 {uuid} を別の版のためのものとして読み込みません。この GNOME "
     "に合った kuvito を入れてください。"},
    {"session.helperFailed", "kuvito の GNOME Shell 拡張機能 {uuid} がエラーで止まりました。gnome-extensions "
                             "info {uuid} で理由が分かります。ログインし直すと直ることがあります。"},
    {"session.helperMissing",
     "kuvito の GNOME Shell 拡張機能が見つかりません。kuvito をパッケージから入れ直してください。"},
    {"session.newLogin", "ログアウトしてログインし直すと準備が整い、どのモードも使えるようになります。"},
    {"session.working", "{modes}はいつもどおりに動きます。"},
    {"session.quote", "「{mode}」"},
    {"session.and", "と"},

    // Error messages.
    {"error.unexpected", "予期しないエラーが発生しました"},
    {"error.unwritable", "{path} に書き込めません"},
    {"error.windowClass", "ウィンドウクラスが登録できません"},
    {"error.window", "ウィンドウが作成できません"},
};
} // namespace

extern const LanguageTable kLanguage_ja{"ja", kRows};
