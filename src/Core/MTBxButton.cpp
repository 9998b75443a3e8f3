#include "MiniToolbars/MTBxButton.h"

namespace MiniToolbars {

MTBxButton::MTBxButton(const MTBxString& id, void* hostContext)
    : MTBxItem(Button, id, false, hostContext)
{
}

MTBxButton::~MTBxButton() = default;

} // namespace MiniToolbars
