#include "DropDownPopup.h"
#include "Factories.h"

namespace MiniToolbars {

// No menu widget yet: a drop-down button still announces DropDownAboutToShow
// and then shows nothing.
DropDownPopup* createDropDownMenu(MTBxDropDownButton*, ToolbarWindow*)
{
    return nullptr;
}

} // namespace MiniToolbars
