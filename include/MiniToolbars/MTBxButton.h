#ifndef MINITOOLBARS_MTBXBUTTON_H
#define MINITOOLBARS_MTBXBUTTON_H

#include "MTBxItem.h"

namespace MiniToolbars {

/// A button; a checkable one toggles on a click and sends CheckedChanged before Clicked.
/// Owned by the toolbar or list it is added to.
/// \ingroup items
class MINITOOLBARS_EXPORT MTBxButton : public MTBxItem
{
public:
    /// A button with the host's id; hostContext as for MTBxItem.
    MTBxButton(const MTBxString& id, void* hostContext);
    /// Do not delete an item a toolbar or list still holds.
    ~MTBxButton() override;
};

} // namespace MiniToolbars

#endif
