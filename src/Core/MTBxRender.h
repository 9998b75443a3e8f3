#ifndef MINITOOLBARS_MTBXRENDER_H
#define MINITOOLBARS_MTBXRENDER_H

namespace MiniToolbars {

class ItemView;
class Text;

// Draws item views; the toolkit backend implements it.
class MTBxRender
{
public:
    virtual ~MTBxRender() = default;
    // Draws the whole item view with its top-left corner at layout point (x, y).
    virtual void drawItem(ItemView* view, float x, float y, double opacity) = 0;
    virtual void drawText(Text* text, float x, float y) = 0;
};

} // namespace MiniToolbars

#endif
