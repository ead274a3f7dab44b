#include "TFrmVer.h"

#include "DialogDesign.h"

TFrmVer* FrmVer = nullptr;

TFrmVer::TFrmVer(Component* owner) : Win32DialogForm(owner, aboutDialogDesign()) {}

TFrmVer::~TFrmVer() {
    if (FrmVer == this)
        FrmVer = nullptr;
}

void TFrmVer::clicked(const std::string& name) {
    if (name == "Button1")
        Button1Click();
}

void TFrmVer::Button1Click() {
    accept();
}
