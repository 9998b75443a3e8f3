#include "Core/Backend.h"
#include "Core/MTBxImage.h"
#include "Core/Style.h"
#include "Core/Text.h"
#include "Core/ThemePalette.h"

#include <benchmark/benchmark.h>

#include <memory>

using namespace MiniToolbars;

namespace {

// Recomputing every metric: font measurement of the x-height, the derivations
// and re-rasterising the ten theme images. Alternates between two factors so
// that every iteration does real work.
void BM_StyleComputeMetrics(benchmark::State& state)
{
    Style* style = Style::instance();
    const float factors[2] = {1.0f, static_cast<float>(state.range(0))};
    int i = 0;
    for (auto _ : state) {
        style->setScalingFactor(factors[i++ & 1]);
        benchmark::DoNotOptimize(style->itemHeight());
    }
    style->setScalingFactor(1.0f);
}
BENCHMARK(BM_StyleComputeMetrics)->Arg(2)->Unit(benchmark::kMicrosecond);

// Creating (and so measuring) one caption in the style font.
void BM_MeasureCaption(benchmark::State& state)
{
    Style::instance()->setScalingFactor(static_cast<float>(state.range(0)));
    const MTBxString caption(L"Insert hyperlink");
    for (auto _ : state) {
        std::unique_ptr<Text> text(Backend::instance().createText(caption, 0));
        benchmark::DoNotOptimize(text->width());
    }
    Style::instance()->setScalingFactor(1.0f);
}
BENCHMARK(BM_MeasureCaption)->Arg(1)->Arg(2)->Unit(benchmark::kMicrosecond);

// Rasterising the ten theme images at their sizes for scaling 1 and 2 (images
// loaded once outside the loop).
void BM_RasteriseThemeImages(benchmark::State& state)
{
    Style* style = Style::instance();
    style->setScalingFactor(static_cast<float>(state.range(0)));
    const int height = style->itemHeight();
    constexpr int count = static_cast<int>(ThemeImage::Count);
    std::unique_ptr<MTBxImage> images[count];
    float sizes[count];
    for (int i = 0; i < count; ++i) {
        const auto which = static_cast<ThemeImage>(i);
        images[i].reset(Backend::instance().createImage(style->palette().iconName(which)));
        sizes[i] = which == ThemeImage::Grip ? static_cast<float>(height) : style->image(which)->height();
    }
    for (auto _ : state) {
        for (int i = 0; i < count; ++i)
            images[i]->render(sizes[i], 0.0f, false);
        benchmark::DoNotOptimize(images[count - 1]->width());
    }
    style->setScalingFactor(1.0f);
}
BENCHMARK(BM_RasteriseThemeImages)->Arg(1)->Arg(2)->Unit(benchmark::kMicrosecond);

// Loading (parsing) the ten theme SVGs of a theme switch.
void BM_LoadThemeImages(benchmark::State& state)
{
    Style* style = Style::instance();
    int theme = 0;
    for (auto _ : state) {
        theme ^= 1;
        style->setTheme(theme);
        benchmark::DoNotOptimize(style->image(ThemeImage::Grip));
    }
    style->setTheme(0);
}
BENCHMARK(BM_LoadThemeImages)->Unit(benchmark::kMicrosecond);

} // namespace
