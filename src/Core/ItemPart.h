#ifndef MINITOOLBARS_ITEMPART_H
#define MINITOOLBARS_ITEMPART_H

namespace MiniToolbars {

enum ItemPartKind {
    Caption = 0,
    Icon = 1,
    DropDownArrow = 3,
    EntryArrow = 5,
    CheckBox = 7,
    Splitter = 8,
    OptionBox = 9,
    LeadingMargin = 11,
    TrailingMargin = 12,
    EmptyCaption = 13,
    EntryField = 14,
    Grip = 15
};

// One horizontal piece of an item view; x is relative to the item's left edge.
struct ItemPart
{
    ItemPartKind kind = Caption;
    int x = -1;
    int width = 0;
    int gapBefore = 0;
    int gapAfter = 0;
};

} // namespace MiniToolbars

#endif
