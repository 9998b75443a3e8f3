#ifndef MINITOOLBARS_MTBXNEWLINE_H
#define MINITOOLBARS_MTBXNEWLINE_H

#include "MTBxItem.h"

namespace MiniToolbars {

/// Ends the current row: the next item starts a new one. Sends no events.
/// Owned by the toolbar it is added to.
/// \ingroup items
class MINITOOLBARS_EXPORT MTBxNewLine : public MTBxItem
{
public:
    /// An item with the given id and no host context.
    explicit MTBxNewLine(const MTBxString& id = MTBxString(L"NewLine"));
    /// Do not delete an item a toolbar still holds.
    ~MTBxNewLine() override;
};

} // namespace MiniToolbars

#endif
