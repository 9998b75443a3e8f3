#ifndef MINITOOLBARS_MTBXCOMMANDITEM_H
#define MINITOOLBARS_MTBXCOMMANDITEM_H

#include "MTBxItem.h"

namespace MiniToolbars {

/// A command item: a button drawn as a command, sending Clicked.
/// Owned by the toolbar or list it is added to.
/// \ingroup items
class MINITOOLBARS_EXPORT MTBxCommandItem : public MTBxItem
{
public:
    /// A command item with the host's id; hostContext as for MTBxItem.
    MTBxCommandItem(const MTBxString& id, void* hostContext);
    /// Do not delete an item a toolbar or list still holds.
    ~MTBxCommandItem() override;
};

} // namespace MiniToolbars

#endif
