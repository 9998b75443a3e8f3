#include "MiniToolbars/MTBxCommandItem.h"

namespace MiniToolbars {

MTBxCommandItem::MTBxCommandItem(const MTBxString& id, void* hostContext)
    : MTBxItem(CommandItem, id, false, hostContext)
{
}

MTBxCommandItem::~MTBxCommandItem() = default;

} // namespace MiniToolbars
