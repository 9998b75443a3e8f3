#ifndef MINITOOLBARS_MTBXLABEL_H
#define MINITOOLBARS_MTBXLABEL_H

#include "MTBxItem.h"

namespace MiniToolbars {

class MINITOOLBARS_EXPORT MTBxLabel : public MTBxItem
{
public:
    MTBxLabel(const MTBxString& id, void* hostContext);
    ~MTBxLabel() override;
};

} // namespace MiniToolbars

#endif
