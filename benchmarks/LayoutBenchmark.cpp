// Cost of laying out a toolbar: building the item views (text measuring and
// icon rasterising included) and placing them, for growing item counts.
#include "Core/MTBxFlowLayout.h"
#include "MiniToolbars/MiniToolbar.h"
#include "MiniToolbars/MTBxButton.h"
#include "MiniToolbars/MTBxCommandItem.h"
#include "MiniToolbars/MTBxLabel.h"
#include "MiniToolbars/MTBxNewLine.h"
#include "MiniToolbars/MTBxSeparator.h"

#include <benchmark/benchmark.h>

#include <memory>
#include <string>

using namespace MiniToolbars;

namespace {

const wchar_t* const icons[] = {
    L":/MiniToolbars/Checkbox_On_L.svg",
    L":/MiniToolbars/Checkbox_Off_L.svg",
    L":/MiniToolbars/Options_L.svg",
    L":/MiniToolbars/menuArrowDown_L.svg",
};

// A realistic mix: icon buttons, captioned buttons, check items, labels,
// drop-downs and option boxes, with separators and a line break now and then.
void fill(MiniToolbar& toolbar, int count)
{
    static int context = 0;
    for (int i = 0; i < count; ++i) {
        const std::wstring id = L"item" + std::to_wstring(i);
        MTBxItem* item = nullptr;
        switch (i % 10) {
        case 3:
            item = new MTBxSeparator;
            break;
        case 9:
            item = i % 20 == 19 ? static_cast<MTBxItem*>(new MTBxNewLine) : new MTBxSeparator;
            break;
        case 5:
            item = new MTBxLabel(MTBxString(id.c_str()), &context);
            item->setText(L"Label");
            item->setShowText(true);
            break;
        case 7:
            item = new MTBxCommandItem(MTBxString(id.c_str()), &context);
            item->setText(L"Command");
            item->setShowText(true);
            item->setOptionBox(true);
            break;
        default:
            item = new MTBxButton(MTBxString(id.c_str()), &context);
            item->setIcon(icons[i % 4]);
            if (i % 2 == 0) {
                item->setText(L"Caption");
                item->setShowText(true);
            }
            item->setCheckable(i % 4 == 1);
            item->setHasDropDown(i % 10 == 8);
            break;
        }
        toolbar.addItem(item);
    }
}

struct Fixture
{
    explicit Fixture(int count)
        : toolbar(MTBxString(L"benchmark"), nullptr)
        , layout(&toolbar, nullptr)
    {
        fill(toolbar, count);
        toolbar.setView(&layout);
        layout.rebuild(true);
    }
    ~Fixture() { toolbar.setView(nullptr); }

    MiniToolbar toolbar;
    MTBxFlowLayout layout;
};

void BM_RelayoutForced(benchmark::State& state)
{
    Fixture fixture(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        fixture.layout.rebuild(true);
        benchmark::DoNotOptimize(fixture.layout.bounds());
    }
    state.SetComplexityN(state.range(0));
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

void BM_RelayoutUnchanged(benchmark::State& state)
{
    Fixture fixture(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        fixture.layout.rebuild(false);
        benchmark::DoNotOptimize(fixture.layout.bounds());
    }
    state.SetComplexityN(state.range(0));
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

} // namespace

BENCHMARK(BM_RelayoutForced)->Arg(10)->Arg(50)->Arg(200)->Complexity(benchmark::oN)
    ->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_RelayoutUnchanged)->Arg(10)->Arg(50)->Arg(200)->Complexity(benchmark::oN)
    ->Unit(benchmark::kMicrosecond);
