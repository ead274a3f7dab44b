#include "MascotLayoutBuilder.h"

#include "Captions.h"
#include "Cursors.h"
#include "Form.h"
#include "FormStorer.h"
#include "TIcon.h"
#include "TMenuItem.h"
#include "TPopupMenu.h"
#include "TRgn.h"
#include "TRgnList.h"
#include "TTaskTrayIcon.h"
#include "TTimer.h"

#include <memory>
#include <string>

namespace {

// The mascot window as the designer sees it: the right class name for the
// stored layout, and none of the run-time behaviour of the real window.
class DesignedMainForm : public Form {
public:
    DesignedMainForm() : Form(nullptr) {}
    std::string className() const override { return "TFrmMain"; }
};

template <typename T> T* designed(Form& form, const char* name) {
    auto* component = new T(&form);
    component->setName(name);
    component->setDesigning(true);
    return component;
}

TRgn* frame(Form& form, const char* name, const Picture& picture, bool autoSize) {
    TRgn* rgn = designed<TRgn>(form, name);
    rgn->setParentComponent(&form);
    rgn->setBounds(0, 0, 53, 87);
    rgn->setCursorNumber(Cursors::crHandPoint);
    rgn->setTransparent(true);
    if (autoSize)
        rgn->setAutoSize(true);
    rgn->bindEventName("OnDblClick", "Rgn1DblClick");
    rgn->bindEventName("OnMouseDown", "Rgn1MouseDown");
    // In design mode assigning the picture also works out its outline, which
    // is stored beside it.
    rgn->setRgnBitmap(picture);
    return rgn;
}

// The layout is stored with the Japanese captions, whatever language the
// builder runs in; the program shows them in the user's (by this text).
std::string japanese(const char* id) {
    return Captions::find(*Captions::table(Captions::kJapanese), id);
}

} // namespace

std::vector<std::uint8_t> MascotLayoutBuilder::build(const std::array<Picture, 6>& frames,
                                                     const std::vector<std::uint8_t>& icoFile) {
    DesignedMainForm form;
    form.setName("FrmMain");
    form.setDesigning(true);
    // Stored but not used: the program puts the window at 0, 0.
    form.setLeft(213);
    form.setTop(111);
    form.setWidth(112);
    form.setHeight(117);
    form.setCaption(japanese("app.title"));
    form.setCursorNumber(Cursors::crHandPoint);
    form.setFormStyle(Form::TFormStyle::fsStayOnTop);
    form.bindEventName("OnCreate", "FormCreate");
    form.bindEventName("OnClose", "FormClose");

    // Created in the window's declaration order, except that the menu items
    // follow their menu in the menu's own order: a stored layout nests them
    // under the menu, so that order is what loading gives back, both for
    // the menu and for the component order.
    frame(form, "Rgn1", frames[0], false);
    frame(form, "Rgn2", frames[1], false);
    TRgnList* rgnList = designed<TRgnList>(form, "RgnList1");
    rgnList->readProperty("Left", FormValue::fromInt(30));
    rgnList->readProperty("Top", FormValue::fromInt(64));
    TTimer* timer1 = designed<TTimer>(form, "Timer1");
    timer1->setInterval(200);
    timer1->bindEventName("OnTimer", "Timer1Timer");
    TTaskTrayIcon* tray = designed<TTaskTrayIcon>(form, "TaskTrayIcon1");
    TPopupMenu* popup = designed<TPopupMenu>(form, "PopupMenu1");
    popup->bindEventName("OnPopup", "PopupMenu1Popup");
    struct Item {
        const char* name;
        const char* captionId; // null: a separator
        const char* onClick;
    };
    for (const Item& i : {Item{"N2", "menu.settings", "N2Click"}, Item{"N3", "menu.about", "N3Click"},
                          Item{"FullScreen1", "menu.hideFullScreen", "FullScreen1Click"},
                          Item{"Autostart1", "menu.autostart", "Autostart1Click"},
                          Item{"N1", nullptr, nullptr}, Item{"Exit1", "menu.exit", "Exit1Click"}}) {
        TMenuItem* item = designed<TMenuItem>(form, i.name);
        item->setCaption(i.captionId ? japanese(i.captionId) : "-");
        item->setParentComponent(popup);
        if (i.onClick)
            item->bindEventName("OnClick", i.onClick);
    }
    frame(form, "Rgn3", frames[2], false);
    frame(form, "Rgn4", frames[3], false);
    frame(form, "Rgn5", frames[4], false);
    frame(form, "Rgn6", frames[5], true);
    TTimer* timer2 = designed<TTimer>(form, "Timer2");
    timer2->setInterval(0);
    timer2->bindEventName("OnTimer", "Timer2Timer");

    TIcon icon;
    icon.loadFromIcoFile(icoFile);
    tray->setIcon(icon);
    tray->setPopUpMenuR(popup);

    return FormStorer::storeForm(form);
}
