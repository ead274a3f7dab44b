#include "MascotFixture.h"

#include "GeneratorDraws.h"
#include "MascotLayoutBuilder.h"
#include "Picture.h"
#include "Region.h"
#include "TRgn.h"
#include "TTaskTrayIcon.h"
#include "TTimer.h"

#include <QBuffer>
#include <QImage>

#include <fstream>
#include <unistd.h>

namespace fs = std::filesystem;

std::array<Picture, 6> standInFrames() {
    std::array<Picture, 6> frames;
    const Picture::Rgb background{0, 128, 192};
    const Picture::Rgb body{22, 235, 91};
    for (int n = 1; n <= 6; ++n) {
        Picture& p = frames[n - 1];
        p = Picture(53, 87, Picture::PixelFormat::pf24bit);
        for (int y = 0; y < 87; ++y)
            for (int x = 0; x < 53; ++x) {
                // A body that reaches the bottom row, narrower and shorter for
                // each frame, so that no two outlines are alike.
                const bool figure = y >= 4 * n && x >= n + 2 && x < 48 - n;
                p.setPixel(x, y, figure ? body : background);
            }
    }
    return frames;
}

std::vector<std::uint8_t> standInIcon() {
    QImage image(32, 32, QImage::Format_ARGB32);
    image.fill(QColor(22, 235, 91));
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "ICO");
    const QByteArray& bytes = buffer.data();
    return {bytes.begin(), bytes.end()};
}

const std::vector<std::uint8_t>& standInLayout() {
    static const std::vector<std::uint8_t> layout = [] {
        // Design time runs on a desktop of its own, as the build tool does.
        auto designDesktop = std::make_unique<SimulatedDesktop>();
        installDesktop(std::move(designDesktop));
        return MascotLayoutBuilder::build(standInFrames(), standInIcon());
    }();
    return layout;
}

void MascotFixture::SetUp() {
    registerRegionClasses();
    registerTaskTrayIconClasses();
    (void)standInLayout();
    dir = fs::temp_directory_path() / ("kuvito-app-" + std::to_string(::getpid()) + "-" +
                                       ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(dir);
    fs::create_directories(dir);
    auto desktop = std::make_unique<SimulatedDesktop>();
    sim = desktop.get();
    sim->setExecutablePath((dir / "kuvito").string());
    installDesktop(std::move(desktop));
    resetProgramState();
}

void MascotFixture::TearDown() {
    form.reset();
    resetProgramState();
    std::error_code ignored;
    fs::remove_all(dir, ignored);
}

void MascotFixture::writeIni(const std::string& lines) {
    std::ofstream out(dir / "kuvito.ini", std::ios::binary);
    out << "[kuvito]\n" << lines;
}

bool MascotFixture::iniExists() const {
    return fs::exists(dir / "kuvito.ini");
}

void MascotFixture::create(int left, int top) {
    form = std::make_unique<TFrmMain>(nullptr, standInLayout());
    ASSERT_EQ(FrmMain, form.get());
    auto draws = std::make_unique<ScriptedDraws>();
    draws_ = draws.get();
    form->setDrawSource(std::move(draws));
    place(left, top);
}

void MascotFixture::place(int left, int top) {
    form->setLeft(left);
    form->setTop(top);
    ASSERT_EQ(form->Left(), left);
    ASSERT_EQ(form->Top(), top);
}

void MascotFixture::tick() {
    const int period = timer1Interval();
    ASSERT_GT(period, 0) << "Timer1 is not running";
    sim->advance(period);
}

void MascotFixture::useGenerator(std::uint32_t seed) {
    draws_ = nullptr;
    form->setDrawSource(std::make_unique<GeneratorDraws>());
    form->draws().seed(seed);
}

int MascotFixture::shownFrame() const {
    const std::array<TRgn*, 6> frames{form->Rgn1, form->Rgn2, form->Rgn3, form->Rgn4, form->Rgn5, form->Rgn6};
    int shown = 0;
    for (int i = 0; i < 6; ++i) {
        if (frames[i]->Shown()) {
            if (shown != 0)
                return 0;
            shown = i + 1;
        }
    }
    return shown;
}

int MascotFixture::timer1Interval() const {
    return form->Timer1->Interval();
}

int MascotFixture::timer2Interval() const {
    return form->Timer2->Interval();
}
