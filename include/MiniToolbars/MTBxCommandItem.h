#ifndef MINITOOLBARS_MTBXCOMMANDITEM_H
#define MINITOOLBARS_MTBXCOMMANDITEM_H

#include "MTBxItem.h"

namespace MiniToolbars {

class MINITOOLBARS_EXPORT MTBxCommandItem : public MTBxItem
{
public:
    MTBxCommandItem(const MTBxString& id, void* hostContext);
    ~MTBxCommandItem() override;
};

} // namespace MiniToolbars

#endif
