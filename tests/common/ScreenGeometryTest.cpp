#include "common/ScreenGeometry.h"

#include "QtPrinters.h"

#include <gtest/gtest.h>

namespace quorx {
namespace {

TEST(ScreenGeometryTest, KeepOnScreen)
{
    const QRect primary(0, 0, 1920, 1080);
    const QRect second(1920, 0, 1280, 1024); // a second screen to the right
    const struct
    {
        const char* what;
        QRect window;
        QRect screen;
        bool sizeable;
        bool maximised;
        QRect expected;
    } cases[] = {
        {"inside stays", {100, 100, 800, 600}, primary, true, false, {100, 100, 800, 600}},
        {"maximised is left alone", {-8, -8, 3000, 2000}, primary, true, true, {-8, -8, 3000, 2000}},
        {"negative left and top", {-50, -20, 800, 600}, primary, false, false, {0, 0, 800, 600}},
        {"past the right edge", {1800, 100, 400, 300}, primary, false, false, {1520, 100, 400, 300}},
        {"past the bottom edge", {100, 1000, 400, 300}, primary, false, false, {100, 780, 400, 300}},
        {"ends exactly on the edge", {1520, 780, 400, 300}, primary, false, false, {1520, 780, 400, 300}},
        {"sizeable and too large", {300, 200, 2500, 1500}, primary, true, false, {0, 0, 1920, 1080}},
        {"too wide only", {300, 200, 2500, 500}, primary, true, false, {0, 200, 1920, 500}},
        // A fixed-size window larger than the screen keeps its title bar reachable.
        {"fixed size and too large", {300, 200, 2500, 1500}, primary, false, false, {0, 0, 2500, 1500}},
        // The rules hold relative to the screen's own origin.
        {"left of a second screen", {1900, -20, 400, 300}, second, false, false, {1920, 0, 400, 300}},
        {"past a second screen", {3100, 900, 400, 300}, second, false, false, {2800, 724, 400, 300}},
        {"too large for a second screen", {2000, 0, 1600, 1200}, second, true, false, {1920, 0, 1280, 1024}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(KeepOnScreen(c.window, c.screen, c.sizeable, c.maximised), c.expected);
    }
}

} // namespace
} // namespace quorx
