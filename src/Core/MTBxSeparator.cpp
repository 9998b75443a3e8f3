#include "MiniToolbars/MTBxSeparator.h"

namespace MiniToolbars {

MTBxSeparator::MTBxSeparator(const MTBxString& id)
    : MTBxItem(Separator, id, nullptr)
{
}

MTBxSeparator::~MTBxSeparator() = default;

} // namespace MiniToolbars
