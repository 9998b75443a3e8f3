#ifndef MINITOOLBARS_LIVETOOLBARS_H
#define MINITOOLBARS_LIVETOOLBARS_H

namespace MiniToolbars {

class MiniToolbar;

// Every toolbar that exists. A host may destroy a toolbar from inside a
// callback that one of our calls on that toolbar made; the call asks here
// before it touches the toolbar again.
namespace LiveToolbars {
void add(const MiniToolbar* toolbar);
void remove(const MiniToolbar* toolbar);
bool contains(const MiniToolbar* toolbar);
} // namespace LiveToolbars

} // namespace MiniToolbars

#endif
