#include "EventText.h"

#include <MiniToolbars/MTBxItemEvents.h>
#include <MiniToolbars/MTBxToolbarEvents.h>

QString itemEventName(int type)
{
    switch (type) {
    case MTBxItemEvents::Clicked: return QStringLiteral("Clicked");
    case MTBxItemEvents::CheckedChanged: return QStringLiteral("CheckedChanged");
    case MTBxItemEvents::HoverEnter: return QStringLiteral("HoverEnter");
    case MTBxItemEvents::HoverLeave: return QStringLiteral("HoverLeave");
    case MTBxItemEvents::DropDownAboutToShow: return QStringLiteral("DropDownAboutToShow");
    case MTBxItemEvents::TextEdited: return QStringLiteral("TextEdited");
    case MTBxItemEvents::FocusChanged: return QStringLiteral("FocusChanged");
    case MTBxItemEvents::KeyPressed: return QStringLiteral("KeyPressed");
    case MTBxItemEvents::ModifiedClick: return QStringLiteral("ModifiedClick");
    case MTBxItemEvents::RemoveRequested: return QStringLiteral("RemoveRequested");
    }
    return QStringLiteral("ItemEvent(%1)").arg(type);
}

QString toolbarEventName(int type)
{
    switch (type) {
    case MTBxToolbarEvents::ToolbarMoved: return QStringLiteral("ToolbarMoved");
    case MTBxToolbarEvents::ToolbarFaded: return QStringLiteral("ToolbarFaded");
    case MTBxToolbarEvents::ToolbarKeyDown: return QStringLiteral("ToolbarKeyDown");
    case MTBxToolbarEvents::ToolbarKeyUp: return QStringLiteral("ToolbarKeyUp");
    }
    return QStringLiteral("ToolbarEvent(%1)").arg(type);
}

QString describeItemEvent(const QString& itemId, int type, std::uintptr_t p1, std::uintptr_t p2)
{
    QString line = QStringLiteral("%1  %2").arg(itemEventName(type), itemId);
    switch (type) {
    case MTBxItemEvents::CheckedChanged:
        line += p1 ? QStringLiteral("  checked") : QStringLiteral("  unchecked");
        break;
    case MTBxItemEvents::FocusChanged:
        line += p1 ? QStringLiteral("  gained") : QStringLiteral("  lost");
        break;
    case MTBxItemEvents::KeyPressed:
        line += QStringLiteral("  key 0x%1").arg(static_cast<qulonglong>(p1), 0, 16);
        break;
    case MTBxItemEvents::ModifiedClick:
        line += QStringLiteral("  mask 0x%1").arg(static_cast<qulonglong>(p1), 0, 16);
        break;
    default:
        break;
    }
    Q_UNUSED(p2)
    return line;
}

QString describeToolbarEvent(const QString& toolbarId, int type, std::uintptr_t p1, std::uintptr_t p2)
{
    QString line = QStringLiteral("%1  %2").arg(toolbarEventName(type), toolbarId);
    switch (type) {
    case MTBxToolbarEvents::ToolbarMoved:
        // Origins may lie left of or above the desktop's corner.
        line += QStringLiteral("  to %1, %2").arg(static_cast<int>(p1)).arg(static_cast<int>(p2));
        break;
    case MTBxToolbarEvents::ToolbarKeyDown:
    case MTBxToolbarEvents::ToolbarKeyUp:
        line += QStringLiteral("  vk 0x%1").arg(static_cast<qulonglong>(p1), 0, 16);
        break;
    default:
        break;
    }
    return line;
}
