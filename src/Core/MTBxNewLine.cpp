#include "MiniToolbars/MTBxNewLine.h"

namespace MiniToolbars {

MTBxNewLine::MTBxNewLine(const MTBxString& id)
    : MTBxItem(NewLine, id, nullptr)
{
}

MTBxNewLine::~MTBxNewLine() = default;

} // namespace MiniToolbars
