#include "Core/MTBxGrip.h"

namespace MiniToolbars {

// No owner yet, so setWidth asks for no relayout.
MTBxGrip::MTBxGrip()
    : MTBxItem(Button)
{
    setShowText(false);
    setWidth(4);
}

MTBxGrip::~MTBxGrip() = default;

} // namespace MiniToolbars
