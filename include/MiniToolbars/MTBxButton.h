#ifndef MINITOOLBARS_MTBXBUTTON_H
#define MINITOOLBARS_MTBXBUTTON_H

#include "MTBxItem.h"

namespace MiniToolbars {

class MINITOOLBARS_EXPORT MTBxButton : public MTBxItem
{
public:
    MTBxButton(const MTBxString& id, void* hostContext);
    ~MTBxButton() override;
};

} // namespace MiniToolbars

#endif
