#include "DropDownMenu.h"
#include "Factories.h"
#include "QmtbView.h"

namespace MiniToolbars {

DropDownPopup* createDropDownMenu(MTBxDropDownButton* button, ToolbarWindow* window)
{
    auto* const view = dynamic_cast<QmtbView*>(window);
    return button && view ? new DropDownMenu(button, view) : nullptr;
}

} // namespace MiniToolbars
