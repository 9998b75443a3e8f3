// Cost of one full paint of a laid-out 20-item toolbar through the renderer,
// next to a QToolBar with the same texts and icons rendered by QWidget::render
// onto an image of the same size.
#include "Core/ItemView.h"
#include "Core/MTBxFlowLayout.h"
#include "Core/Style.h"
#include "MiniToolbars/MiniToolbar.h"
#include "MiniToolbars/MTBxButton.h"
#include "MiniToolbars/MTBxCommandItem.h"
#include "MiniToolbars/MTBxLabel.h"
#include "MiniToolbars/MTBxSeparator.h"
#include "Qt/QmtbRender.h"

#include <QAction>
#include <QIcon>
#include <QImage>
#include <QLayout>
#include <QPainter>
#include <QToolBar>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

using namespace MiniToolbars;

namespace {

const int kItemCount = 20;
const QPoint kOrigin(16, 4);

const wchar_t* const kIcons[] = {
    L":/MiniToolbars/Options_L.svg",
    L":/MiniToolbars/Checkbox_On_L.svg",
    L":/MiniToolbars/menuArrowRight_L.svg",
    L":/MiniToolbars/Checkbox_Off_L.svg",
};

struct ItemRecipe
{
    enum Kind { Button, Command, Label, Separator } kind;
    std::wstring text;
    const wchar_t* icon;
    bool checkable;
    bool optionBox;
};

// Icon buttons, captioned buttons, check items, a label, command items with an
// option box, and separators: one row of twenty.
std::vector<ItemRecipe> recipes()
{
    std::vector<ItemRecipe> result;
    for (int i = 0; i < kItemCount; ++i) {
        const std::wstring caption = L"Item " + std::to_wstring(i);
        switch (i % 7) {
        case 3:
            result.push_back({ItemRecipe::Separator, L"", nullptr, false, false});
            break;
        case 5:
            result.push_back({ItemRecipe::Label, caption, nullptr, false, false});
            break;
        case 6:
            result.push_back({ItemRecipe::Command, caption, kIcons[i % 4], false, true});
            break;
        default:
            result.push_back({ItemRecipe::Button, i % 2 ? caption : L"", kIcons[i % 4], i % 4 == 1,
                              false});
            break;
        }
    }
    return result;
}

struct MiniToolbarScene
{
    MiniToolbarScene()
        : toolbar(MTBxString(L"paint"), nullptr)
        , layout(&toolbar, nullptr)
    {
        static int context = 0;
        for (const ItemRecipe& recipe : recipes()) {
            MTBxItem* item = nullptr;
            switch (recipe.kind) {
            case ItemRecipe::Separator:
                item = new MTBxSeparator;
                break;
            case ItemRecipe::Label:
                item = new MTBxLabel(MTBxString(L"label"), &context);
                break;
            case ItemRecipe::Command:
                item = new MTBxCommandItem(MTBxString(L"command"), &context);
                break;
            case ItemRecipe::Button:
                item = new MTBxButton(MTBxString(L"button"), &context);
                break;
            }
            if (!recipe.text.empty()) {
                item->setText(MTBxString(recipe.text.c_str()));
                item->setShowText(true);
            }
            if (recipe.icon)
                item->setIcon(MTBxString(recipe.icon));
            item->setCheckable(recipe.checkable);
            item->setOptionBox(recipe.optionBox);
            toolbar.addItem(item);
        }
        toolbar.setView(&layout);
        layout.rebuild(true);
        layout.setShown(true);
    }
    ~MiniToolbarScene() { toolbar.setView(nullptr); }

    QSize pixelSize() const
    {
        float top = 0, left = 0, bottom = 0, right = 0;
        layout.getBounds(top, left, bottom, right);
        return QSize(kOrigin.x() + static_cast<int>(std::ceil(right)) + 2,
                     kOrigin.y() + static_cast<int>(std::ceil(top - bottom)) + 2);
    }

    MiniToolbar toolbar;
    MTBxFlowLayout layout;
};

struct QtToolbarScene
{
    QtToolbarScene()
    {
        bar.setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
        bar.setIconSize(QSize(16, 16));
        for (const ItemRecipe& recipe : recipes()) {
            if (recipe.kind == ItemRecipe::Separator) {
                bar.addSeparator();
                continue;
            }
            QAction* action = bar.addAction(QString::fromStdWString(recipe.text));
            if (recipe.icon)
                action->setIcon(QIcon(QString::fromWCharArray(recipe.icon)));
            action->setCheckable(recipe.checkable);
        }
        bar.ensurePolished();
        if (bar.layout())
            bar.layout()->activate();
        bar.resize(bar.sizeHint());
    }

    QToolBar bar;
};

QSize commonSize(const MiniToolbarScene& mini, const QtToolbarScene& qt)
{
    return mini.pixelSize().expandedTo(qt.bar.size());
}

void BM_PaintMiniToolbar(benchmark::State& state)
{
    Style::setXHeightOverride(6);
    MiniToolbarScene mini;
    QtToolbarScene qt;
    QImage image(commonSize(mini, qt), QImage::Format_ARGB32_Premultiplied);
    QmtbRender render;
    render.setOrigin(kOrigin);
    for (auto _ : state) {
        image.fill(Qt::transparent);
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        render.setPainter(&painter);
        mini.layout.draw(&render, true);
        render.setPainter(nullptr);
        painter.end();
        benchmark::DoNotOptimize(image.constBits());
    }
    state.counters["items"] = kItemCount;
    state.counters["width"] = image.width();
    state.counters["height"] = image.height();
}
BENCHMARK(BM_PaintMiniToolbar)->Unit(benchmark::kMicrosecond);

void BM_PaintQToolBar(benchmark::State& state)
{
    Style::setXHeightOverride(6);
    MiniToolbarScene mini;
    QtToolbarScene qt;
    QImage image(commonSize(mini, qt), QImage::Format_ARGB32_Premultiplied);
    for (auto _ : state) {
        image.fill(Qt::transparent);
        qt.bar.render(&image);
        benchmark::DoNotOptimize(image.constBits());
    }
    state.counters["items"] = kItemCount;
    state.counters["width"] = image.width();
    state.counters["height"] = image.height();
}
BENCHMARK(BM_PaintQToolBar)->Unit(benchmark::kMicrosecond);

} // namespace
