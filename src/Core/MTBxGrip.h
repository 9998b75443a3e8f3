#ifndef MINITOOLBARS_MTBXGRIP_H
#define MINITOOLBARS_MTBXGRIP_H

#include "MiniToolbars/MTBxItem.h"

namespace MiniToolbars {

// The drag handle every flow layout shows left of its first row.
class MTBxGrip : public MTBxItem
{
public:
    MTBxGrip();
    ~MTBxGrip() override;
};

} // namespace MiniToolbars

#endif
