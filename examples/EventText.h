#ifndef MINITOOLBARS_DEMO_EVENTTEXT_H
#define MINITOOLBARS_DEMO_EVENTTEXT_H

#include <QString>

#include <cstdint>

// One log line for an item event: its name, the item's id and the arguments
// that mean something for that event.
QString describeItemEvent(const QString& itemId, int type, std::uintptr_t p1, std::uintptr_t p2);
// The same for a toolbar event.
QString describeToolbarEvent(const QString& toolbarId, int type, std::uintptr_t p1, std::uintptr_t p2);

QString itemEventName(int type);
QString toolbarEventName(int type);

#endif
