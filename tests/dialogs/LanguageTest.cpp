// Every language's captions on the real widgets: the dialogs' texts fit their
// controls without clipping, and the mascot window's stored Japanese
// captions are replaced by the language's.

#include <QGroupBox>
#include <QStyle>

#include "../app/MascotFixture.h"
#include "Captions.h"
#include "DialogTestSupport.h"
#include "TFrmSettei.h"
#include "TFrmVer.h"
#include "TMenuItem.h"

namespace {

// The width a control's caption needs, in pixels: the text and, beside it,
// the indicator of an option or check box, a push button's margins, a group
// box's title inset.
int neededWidth(const QWidget* w) {
    const QString text = captionOf(w);
    QString shown = text;
    shown.remove(QLatin1Char('&'));
    const int advance = w->fontMetrics().horizontalAdvance(shown);
    const QStyle* style = w->style();
    if (qobject_cast<const QRadioButton*>(w))
        return style->pixelMetric(QStyle::PM_ExclusiveIndicatorWidth) +
               style->pixelMetric(QStyle::PM_RadioButtonLabelSpacing) + advance;
    if (qobject_cast<const QCheckBox*>(w))
        return style->pixelMetric(QStyle::PM_IndicatorWidth) +
               style->pixelMetric(QStyle::PM_CheckBoxLabelSpacing) + advance;
    if (qobject_cast<const QPushButton*>(w))
        return advance + 2 * style->pixelMetric(QStyle::PM_ButtonMargin);
    if (qobject_cast<const QGroupBox*>(w))
        return advance + 16;
    return advance;
}

void expectEveryCaptionFits(QWidget& dialog) {
    for (const QWidget* w : dialog.findChildren<QWidget*>()) {
        if (captionOf(w).trimmed().isEmpty() || kindOf(w) == "panel")
            continue;
        SCOPED_TRACE(w->objectName().toStdString() + ": " + captionOf(w).toStdString());
        EXPECT_LE(neededWidth(w), w->width()) << "clipped";
    }
}

class DialogLanguage : public DialogFixture, public ::testing::WithParamInterface<const char*> {
protected:
    void SetUp() override {
        DialogFixture::SetUp();
        Captions::useLanguage(GetParam());
    }
    void TearDown() override {
        Captions::useLanguage(Captions::kJapanese);
        DialogFixture::TearDown();
    }
};

TEST_P(DialogLanguage, EveryCaptionFitsItsControl) {
    TFrmSettei settings(countApplied());
    EXPECT_EQ(settings.windowTitle().toStdString(), Captions::text("settings.title"));
    expectEveryCaptionFits(settings);
    TFrmVer about;
    EXPECT_EQ(about.windowTitle().toStdString(), Captions::text("about.title"));
    expectEveryCaptionFits(about);
}

std::vector<const char*> languageCodes() {
    std::vector<const char*> codes;
    for (const LanguageTable* table : Captions::tables())
        codes.push_back(table->code);
    return codes;
}

INSTANTIATE_TEST_SUITE_P(Languages, DialogLanguage, ::testing::ValuesIn(languageCodes()),
                         [](const auto& test) { return std::string(test.param); });

class MenuLanguage : public MascotFixture {
protected:
    void TearDown() override {
        Captions::useLanguage(Captions::kJapanese);
        MascotFixture::TearDown();
    }
};

// The layout is stored in Japanese; the window shows its menu and title in
// the language chosen before it was made.
TEST_F(MenuLanguage, TheStoredCaptionsAreShownInTheLanguageInUse) {
    Captions::useLanguage("en");
    create();
    std::vector<std::string> shown;
    for (const char* name : {"N2", "N3", "N1", "Exit1"})
        shown.push_back(dynamic_cast<TMenuItem*>(form->findComponent(name))->Caption());
    EXPECT_EQ(shown, (std::vector<std::string>{Captions::text("menu.settings"), Captions::text("menu.about"),
                                               "-", Captions::text("menu.exit")}));
    EXPECT_EQ(form->Caption(), Captions::text("app.title"));
}

} // namespace
