// The rule that places an ActionToolbar next to its anchor, on rectangles alone.
#include "Qt/ActionToolbarPlacement.h"

#include <gtest/gtest.h>

#include <climits>
#include <ostream>

// Failures name the point.
void PrintTo(const QPoint& point, std::ostream* out)
{
    *out << "(" << point.x() << ", " << point.y() << ")";
}

using namespace MiniToolbars;

namespace {

constexpr ActionToolbar::Side Above = ActionToolbar::Above;
constexpr ActionToolbar::Side Below = ActionToolbar::Below;

TEST(ActionToolbarPlacementTest, sideFlipsAndShiftsFollowTheRoom)
{
    // Each row is one situation in a 400 x 300 room, gap 6: the preferred side when it fits, else the other one,
    // else the roomier one; then shifted inside at each edge, the room's top-left corner winning for a toolbar larger
    // than the room; degenerate and extreme sizes give a defined point.
    const QRect room(0, 0, 400, 300);
    const QSize bar(100, 20);
    const struct {
        const char* situation;
        QRect anchor;
        QSize size;
        ActionToolbar::Side preferred;
        QPoint expected;
        QRect room = QRect(0, 0, 400, 300);
    } cases[] = {
        {"above fits", QRect(150, 100, 100, 16), bar, Above, {149, 74}},
        {"below fits", QRect(150, 100, 100, 16), bar, Below, {149, 122}},
        {"only below fits", QRect(150, 10, 100, 16), bar, Above, {149, 32}},
        {"only above fits", QRect(150, 280, 100, 16), bar, Below, {149, 254}},
        {"neither fits, more room below", QRect(150, 5, 100, 280), bar, Above, {149, 280}},
        {"neither fits, more room above", QRect(150, 15, 100, 280), bar, Below, {149, 0}},
        {"neither fits, as much room either side", QRect(150, 10, 100, 280), bar, Above, {149, 280}},
        {"shifted right at the left edge", QRect(0, 100, 20, 16), bar, Above, {0, 74}},
        {"shifted left at the right edge", QRect(380, 100, 20, 16), bar, Above, {300, 74}},
        {"shifted down at the top edge", QRect(150, -50, 100, 16), bar, Above, {149, 0}},
        {"shifted up at the bottom edge", QRect(150, 350, 100, 16), bar, Below, {149, 280}},
        {"anchor left of the room", QRect(-300, 100, 100, 16), bar, Above, {0, 74}},
        {"wider and taller than the room", QRect(150, 100, 100, 16), QSize(500, 400), Above, {0, 0}},
        {"wider than the room", QRect(150, 100, 100, 16), QSize(500, 20), Above, {0, 74}},
        {"empty toolbar", QRect(150, 100, 100, 16), QSize(0, 0), Above, {199, 94}},
        {"negative size counts as empty", QRect(150, 100, 100, 16), QSize(-5, -5), Above, {199, 94}},
        {"empty anchor", QRect(200, 150, 0, 0), bar, Above, {149, 124}},
        {"empty room", QRect(150, 100, 100, 16), bar, Above, {0, 0}, QRect()},
        {"room off the origin", QRect(1150, 600, 100, 16), bar, Below, {1149, 622}, QRect(1000, 500, 400, 300)},
        {"largest size", QRect(150, 100, 100, 16), QSize(INT_MAX, INT_MAX), Below, {0, 0}},
        {"anchor at the far ends", QRect(QPoint(INT_MIN, INT_MIN), QPoint(INT_MAX, INT_MAX)), bar, Above, {0, 280}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.situation);
        const QPoint at = placeNextTo(c.anchor, c.size, c.room, 6, c.preferred);
        EXPECT_EQ(at, c.expected);
        const QRect drawn(at, c.size.expandedTo(QSize(0, 0)));
        if (c.size.width() <= c.room.width() && c.size.height() <= c.room.height())
            EXPECT_TRUE(drawn.isEmpty() || c.room.contains(drawn)) << "a toolbar that fits stays inside the room";
    }
    // The anchor's own coordinates are bounded; the toolbar beside a bounded far anchor is still in the room.
    const QRect far = boundedAnchor(QRect(QPoint(INT_MIN, INT_MIN), QPoint(INT_MAX, INT_MAX)));
    EXPECT_LT(far.left(), -(1 << 20));
    EXPECT_GT(far.right(), 1 << 20);
    EXPECT_TRUE(room.contains(QRect(placeNextTo(far, bar, room, 6, Above), bar)));
}

} // namespace
