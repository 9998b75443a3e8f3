#ifndef MINITOOLBARS_MTBXLABEL_H
#define MINITOOLBARS_MTBXLABEL_H

#include "MTBxItem.h"

namespace MiniToolbars {

/// A caption without click behaviour: never hovered, pressed or clicked.
/// Owned by the toolbar or list it is added to.
/// \ingroup items
class MINITOOLBARS_EXPORT MTBxLabel : public MTBxItem
{
public:
    /// A label with the host's id; hostContext as for MTBxItem.
    MTBxLabel(const MTBxString& id, void* hostContext);
    /// Do not delete an item a toolbar or list still holds.
    ~MTBxLabel() override;
};

} // namespace MiniToolbars

#endif
