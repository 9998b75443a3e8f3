#ifndef MINITOOLBARS_QMTBACCESSIBILITY_H
#define MINITOOLBARS_QMTBACCESSIBILITY_H

namespace MiniToolbars {

class ItemView;
class QmtbView;

// Screen reader access to toolbar windows and their items through
// QAccessible: the interfaces, and the events that tell a reader what changed.
namespace QmtbAccessibility {

// Registers the interface factory (idempotent).
void install();
// The keyboard's focus ring moved to view.
void focusMoved(QmtbView* window, const ItemView* view);
// The window is being destroyed.
void forget(QmtbView* window);
// The window repaints: items whose check state or name changed are announced.
void refreshed(QmtbView* window);

} // namespace QmtbAccessibility
} // namespace MiniToolbars

#endif
