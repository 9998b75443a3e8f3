#ifndef MINITOOLBARS_MTBXNEWLINE_H
#define MINITOOLBARS_MTBXNEWLINE_H

#include "MTBxItem.h"

namespace MiniToolbars {

class MINITOOLBARS_EXPORT MTBxNewLine : public MTBxItem
{
public:
    explicit MTBxNewLine(const MTBxString& id = MTBxString(L"NewLine"));
    ~MTBxNewLine() override;
};

} // namespace MiniToolbars

#endif
