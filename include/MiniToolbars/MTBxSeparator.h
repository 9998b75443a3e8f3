#ifndef MINITOOLBARS_MTBXSEPARATOR_H
#define MINITOOLBARS_MTBXSEPARATOR_H

#include "MTBxItem.h"

namespace MiniToolbars {

class MINITOOLBARS_EXPORT MTBxSeparator : public MTBxItem
{
public:
    explicit MTBxSeparator(const MTBxString& id = MTBxString(L"Separator"));
    ~MTBxSeparator() override;
};

} // namespace MiniToolbars

#endif
