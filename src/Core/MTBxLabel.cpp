#include "MiniToolbars/MTBxLabel.h"

namespace MiniToolbars {

MTBxLabel::MTBxLabel(const MTBxString& id, void* hostContext)
    : MTBxItem(Label, id, false, hostContext)
{
}

MTBxLabel::~MTBxLabel() = default;

} // namespace MiniToolbars
