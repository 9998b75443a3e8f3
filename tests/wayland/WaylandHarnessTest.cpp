// A plain Qt host on a headless Weston: the harness finds it on the output, and the test seat's
// clicks, keys, moves and wheel turns reach the right widget once, at the right place.
#include "support/WaylandHostSupport.h"

#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QWheelEvent>
#include <QWidget>

#include <gtest/gtest.h>

#include <memory>
#include <vector>

using namespace MiniToolbars::Testing;

namespace {

const QColor hostColour(40, 160, 90);

// A top-level host in one flat colour with a button and a line edit; records its own pointer input.
struct HostWindow : QWidget
{
    HostWindow()
    {
        setAutoFillBackground(true);
        QPalette p = palette();
        p.setColor(QPalette::Window, hostColour);
        setPalette(p);
        setMouseTracking(true);
        setFixedSize(480, 320);
        button->setGeometry(20, 20, 120, 32);
        lineEdit->setGeometry(20, 80, 200, 32);
        QObject::connect(button, &QPushButton::clicked, [this] { ++clicks; });
    }
    void mouseMoveEvent(QMouseEvent* event) override { moves.push_back(event->pos()); }
    void wheelEvent(QWheelEvent* event) override { wheelDeltas.push_back(event->angleDelta()); }

    QPushButton* button = new QPushButton(QStringLiteral("Press"), this);
    QLineEdit* lineEdit = new QLineEdit(this);
    int clicks = 0;
    std::vector<QPoint> moves, wheelDeltas;
};

class WaylandHarnessTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        if (!waylandDisplay() || !seat.isConnected())
            GTEST_SKIP() << "needs tests/wayland/run-under-weston.sh";
        host = std::make_unique<HostWindow>();
        host->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(host.get()));
        area = locateWindow(seat, hostColour, host->size());
        ASSERT_FALSE(area.isNull()) << "the host's colour never covered a " << host->width() << "x" << host->height()
                                    << " area of the output";
    }
    void TearDown() override
    {
        if (host)
            EXPECT_EQ(waylandConnectionError(), 0);
    }
    // A point of the host in output pixels.
    QPoint onOutput(const QPoint& local) const { return area.topLeft() + local; }

    WestonSeat seat;
    std::unique_ptr<HostWindow> host;
    QRect area;
};

TEST_F(WaylandHarnessTest, ClickPressesTheButtonExactlyOnce)
{
    ASSERT_TRUE(seat.click(onOutput(host->button->geometry().center())));
    EXPECT_EQ(host->clicks, 1);
    ASSERT_TRUE(roundTrip());
    EXPECT_EQ(host->clicks, 1);
}

TEST_F(WaylandHarnessTest, KeysReachTheFocusedLineEdit)
{
    ASSERT_TRUE(seat.click(onOutput(host->lineEdit->geometry().center())));
    EXPECT_TRUE(host->lineEdit->hasFocus());
    ASSERT_TRUE(seat.pressKey(KEY_LEFTSHIFT));
    ASSERT_TRUE(seat.typeKeys({ KEY_H }));
    ASSERT_TRUE(seat.releaseKey(KEY_LEFTSHIFT));
    ASSERT_TRUE(seat.typeKeys({ KEY_I, KEY_1 }));
    EXPECT_EQ(host->lineEdit->text(), QStringLiteral("Hi1"));
}

TEST_F(WaylandHarnessTest, PointerMovesArriveAtTheirLocalPosition)
{
    // Qt's client-side decoration takes the content's outermost left and top pixels and three
    // on the right and bottom for itself, so the points near the edges stay just inside those.
    for (const QPoint local : { QPoint(300, 200), QPoint(1, 1), QPoint(476, 316), QPoint(250, 4), QPoint(3, 300) }) {
        host->moves.clear();
        ASSERT_TRUE(seat.movePointer(onOutput(local)));
        ASSERT_FALSE(host->moves.empty()) << local.x() << "," << local.y();
        // Output and surface coordinates are whole pixels at scale 1, so nothing rounds.
        EXPECT_EQ(host->moves.back(), local) << local.x() << "," << local.y() << " arrived at "
                                             << host->moves.back().x() << "," << host->moves.back().y();
    }
}

TEST_F(WaylandHarnessTest, WheelTurnsArriveWithTheirDirection)
{
    ASSERT_TRUE(seat.wheel(onOutput(QPoint(300, 200)), 1));
    ASSERT_TRUE(seat.wheel(onOutput(QPoint(300, 200)), -2));
    ASSERT_EQ(host->wheelDeltas.size(), 2u);
    EXPECT_GT(host->wheelDeltas[0].y(), 0);
    EXPECT_LT(host->wheelDeltas[1].y(), 0);
    EXPECT_EQ(host->wheelDeltas[1].y(), -2 * host->wheelDeltas[0].y());
}

} // namespace
