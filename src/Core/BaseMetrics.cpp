#include "Core/BaseMetrics.h"

namespace MiniToolbars {

namespace {

constexpr BaseMetrics designValues()
{
    BaseMetrics m{};
    m.fontPoints = 8;
    m.refXHeight = 6;
    m.refAscent = 8;
    m.refDescent = 6;
    m.refBorder = 1;
    m.refInner = m.refXHeight + m.refAscent + m.refDescent;
    m.refItem = m.refInner + 2 * m.refBorder;
    m.cornerX = 10.0;
    m.cornerY = 20.0;
    m.gripCornerX = 5.0;
    m.gripCornerY = 5.0;
    m.minWidth = 20;
    m.widthStep = 5;
    m.dropArea = 20;
    m.splitter = 1;
    m.iconSize = 16;
    m.arrowRL = 9;
    m.arrowUD = 6;
    m.checkBox = 12;
    m.bigIcon = 16;
    const int gaps[9] = {8, 2, 2, 2, 2, 5, 2, 5, 5};
    for (int i = 0; i < 9; ++i)
        m.gaps[i] = gaps[i];
    // Grip: distance of its left edge before the first item, handle width and item width.
    m.gripOffset = 12;
    m.gripPart = 6;
    m.gripWidth = 4;
    // Room for the "..." that follows a cut caption.
    m.ellipsisBox = 10;
    return m;
}

// Constant-initialised, so the table is valid even before the load-time glue runs.
BaseMetrics s_table = designValues();

} // namespace

const BaseMetrics& BaseMetrics::table()
{
    return s_table;
}

void BaseMetrics::fill()
{
    s_table = designValues();
}

} // namespace MiniToolbars
