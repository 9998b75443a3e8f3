// What the QAction front end costs a host: one icon change of an action on a
// shown ActionToolbar, from QAction::setIcon until the toolbar has laid itself
// out again and repainted, next to a text change of the same action, which
// goes through the same relayout without an icon.
#include "MiniToolbars/ActionToolbar.h"

#include <QAction>
#include <QApplication>
#include <QCoreApplication>
#include <QIcon>
#include <QPainter>
#include <QPixmap>
#include <QWidget>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <vector>

using namespace MiniToolbars;

namespace {

constexpr int actionCount = 10;

// A two-size icon with soft edges, as an icon theme would give one.
QIcon makeIcon(const QColor& colour)
{
    QIcon icon;
    for (const int side : {16, 32}) {
        QPixmap pixmap(side, side);
        pixmap.fill(Qt::transparent);
        QPainter painter(&pixmap);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setBrush(colour);
        painter.setPen(Qt::NoPen);
        painter.drawEllipse(QRectF(1, 1, side - 2, side - 2));
        painter.end();
        icon.addPixmap(pixmap);
    }
    return icon;
}

// Lets the queued relayout, placement and repaint run.
void settle()
{
    for (int i = 0; i < 3; ++i)
        QCoreApplication::processEvents();
}

// Counts the paints of every widget but the host: the toolbar's window repaints once per change.
class PaintCounter : public QObject
{
public:
    explicit PaintCounter(const QWidget* host) : m_host(host) { qApp->installEventFilter(this); }
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Paint && watched != m_host)
            ++count;
        return false;
    }
    int count = 0;

private:
    const QWidget* m_host;
};

double fastest(const std::vector<double>& values)
{
    return values.empty() ? 0.0 : *std::min_element(values.begin(), values.end());
}

// A shown toolbar of actions with icons and the action in its middle.
struct ShownActions
{
    ShownActions()
    {
        host.setGeometry(100, 100, 600, 400);
        host.show();
        for (int i = 0; i < actionCount; ++i) {
            auto* action = new QAction(QStringLiteral("Action %1").arg(i), &host);
            action->setIcon(icons[0]);
            toolbar.addAction(action);
        }
        shown = toolbar.show(&host, QRect(250, 200, 100, 16));
        settle();
    }
    ~ShownActions() { toolbar.close(); }
    QAction* changed() const { return toolbar.actions().at(actionCount / 2); }

    QWidget host;
    ActionToolbar toolbar;
    const QIcon icons[2] = {makeIcon(Qt::darkBlue), makeIcon(QColor(200, 40, 40, 160))};
    bool shown = false;
};

// Alternates between two icons, so that every iteration is a change.
void BM_ActionIconChange(benchmark::State& state)
{
    ShownActions shown;
    if (!shown.shown)
        return state.SkipWithError("the toolbar did not show");
    const PaintCounter paints(&shown.host);
    int next = 1;
    for (auto _ : state) {
        shown.changed()->setIcon(shown.icons[next]);
        settle();
        next = 1 - next;
    }
    state.counters["paints"] = benchmark::Counter(paints.count, benchmark::Counter::kAvgIterations);
}
BENCHMARK(BM_ActionIconChange)->ComputeStatistics("min", fastest)->Unit(benchmark::kMicrosecond);

// The baseline: the same action's text changes between two of the same width.
void BM_ActionTextChange(benchmark::State& state)
{
    ShownActions shown;
    if (!shown.shown)
        return state.SkipWithError("the toolbar did not show");
    const QString texts[] = {QStringLiteral("Action A"), QStringLiteral("Action B")};
    const PaintCounter paints(&shown.host);
    int next = 0;
    for (auto _ : state) {
        shown.changed()->setText(texts[next]);
        settle();
        next = 1 - next;
    }
    state.counters["paints"] = benchmark::Counter(paints.count, benchmark::Counter::kAvgIterations);
}
BENCHMARK(BM_ActionTextChange)->ComputeStatistics("min", fastest)->Unit(benchmark::kMicrosecond);

} // namespace
