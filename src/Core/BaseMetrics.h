#ifndef MINITOOLBARS_BASEMETRICS_H
#define MINITOOLBARS_BASEMETRICS_H

namespace MiniToolbars {

// Design values at the reference size. Filled once when the library loads.
struct BaseMetrics
{
    int fontPoints;
    int refXHeight;
    int refAscent;
    int refDescent;
    int refBorder;
    int refInner;
    int refItem;
    double cornerX;
    double cornerY;
    double gripCornerX;
    double gripCornerY;
    int minWidth;
    int widthStep;
    int dropArea;
    int splitter;
    int iconSize;
    int arrowRL;
    int arrowUD;
    int checkBox;
    int bigIcon;
    int gaps[9];
    int gripOffset;
    int gripPart;
    int gripWidth;
    int ellipsisBox;

    static const BaseMetrics& table();
    // Called by the library's load-time glue; harmless to call again.
    static void fill();
};

} // namespace MiniToolbars

#endif
