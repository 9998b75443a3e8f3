#ifndef MINITOOLBARS_MTBXSEPARATOR_H
#define MINITOOLBARS_MTBXSEPARATOR_H

#include "MTBxItem.h"

namespace MiniToolbars {

/// A vertical line between two items of a row; sends no events.
/// Owned by the toolbar it is added to.
/// \ingroup items
class MINITOOLBARS_EXPORT MTBxSeparator : public MTBxItem
{
public:
    /// An item with the given id and no host context.
    explicit MTBxSeparator(const MTBxString& id = MTBxString(L"Separator"));
    /// Do not delete an item a toolbar still holds.
    ~MTBxSeparator() override;
};

} // namespace MiniToolbars

#endif
