// The drawing rules that keep every frame usable as a window outline,
// checked on small synthetic figures.
#include "FigureRenderer.h"
#include "BmpFile.h"
#include "EllipseShape.h"
#include "StrokeShape.h"

#include <gtest/gtest.h>

namespace {

using namespace kuvito::art;

const Material green{{12, 128, 86}, {22, 235, 91}, {186, 255, 166}, 0.3, 18.0, Rgb{16, 66, 40}};

std::vector<Part> ring() {
    // A closed loop of stroke around a background pocket in its middle.
    auto loop = std::make_shared<StrokeShape>(
        std::vector<StrokeNode>{{4, 4, 1.6}, {15, 4, 1.6}, {15, 15, 1.6}, {4, 15, 1.6}, {4, 4, 1.6}});
    return {Part{loop, green, 0, -1}};
}

TEST(FigureRendererTest, EveryFigurePixelTouchingTheBackgroundIsTheEdgeColour) {
    const FigureRenderer renderer(20, 20);
    const Raster r =
        renderer.render({Part{std::make_shared<EllipseShape>(Vec2{10, 10}, 7, 5), green, 0, -1}}, true);
    int edge = 0;
    int inside = 0;
    for (int y = 0; y < 20; ++y) {
        for (int x = 0; x < 20; ++x) {
            if (r.at(x, y) == FigureRenderer::background) {
                continue;
            }
            bool touches = false;
            for (int dy = -1; dy <= 1; ++dy) {
                for (int dx = -1; dx <= 1; ++dx) {
                    touches = touches || r.at(x + dx, y + dy) == FigureRenderer::background;
                }
            }
            if (touches) {
                EXPECT_EQ(r.at(x, y), FigureRenderer::edge) << x << "," << y;
                ++edge;
            } else {
                ++inside;
            }
        }
    }
    EXPECT_GT(edge, 20);
    EXPECT_GT(inside, 40);
}

TEST(FigureRendererTest, EnclosedBackgroundIsFilledOnlyWhenAsked) {
    const FigureRenderer renderer(20, 20);
    const Raster open = renderer.render(ring(), false);
    const Raster filled = renderer.render(ring(), true);
    EXPECT_EQ(open.at(10, 10), FigureRenderer::background);
    EXPECT_EQ(filled.at(10, 10), FigureRenderer::crevice);
    // Outside the loop nothing changes either way.
    EXPECT_EQ(filled.at(0, 0), FigureRenderer::background);
    EXPECT_EQ(filled.at(19, 10), FigureRenderer::background);
}

TEST(FigureRendererTest, MarkingShowsOnlyOverItsHost) {
    // A marking larger than its host must not widen the figure.
    auto host = std::make_shared<EllipseShape>(Vec2{10, 10}, 5, 5);
    auto marking = std::make_shared<EllipseShape>(Vec2{10, 10}, 9, 9);
    const Material white{{255, 255, 255}, {255, 255, 255}, {255, 255, 255}, 0.0, 1.0, std::nullopt};
    const FigureRenderer renderer(20, 20);
    const Raster r = renderer.render({Part{host, green, 0, -1}, Part{marking, white, 1, 0}}, true);
    EXPECT_EQ(r.at(2, 10), FigureRenderer::background);
    const Rgb centre = r.at(10, 10);
    EXPECT_TRUE(centre.r > 240 && centre.g > 240 && centre.b > 240) << "the marking covers its host";
}

TEST(BmpFileTest, RowsAreStoredBottomFirstAndPaddedToFourBytes) {
    Raster r(3, 2, Rgb{1, 2, 3});
    r.set(0, 0, Rgb{10, 20, 30});
    const auto bytes = encodeBmp(r);
    ASSERT_EQ(bytes.size(), 54u + 2 * 12);
    // The bottom row comes first; the top-left pixel opens the second row.
    EXPECT_EQ(bytes[54], 3);
    EXPECT_EQ(bytes[54 + 12], 30);
    EXPECT_EQ(bytes[54 + 13], 20);
    EXPECT_EQ(bytes[54 + 14], 10);
    for (std::size_t pad = 54 + 9; pad < 54 + 12; ++pad) {
        EXPECT_EQ(bytes[pad], 0);
    }
}

} // namespace
