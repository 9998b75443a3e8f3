#ifndef MINITOOLBARS_ITEMDISPOSAL_H
#define MINITOOLBARS_ITEMDISPOSAL_H

namespace MiniToolbars {

class MTBxItem;

// Deletes an item that the library owns. A list-type item takes the children
// still in it along; a host that deletes a list item itself keeps its children.
void disposeItem(MTBxItem* item);

} // namespace MiniToolbars

#endif
