#ifndef MINITOOLBARS_MTBXDROPDOWNENTRY_H
#define MINITOOLBARS_MTBXDROPDOWNENTRY_H

#include "MTBxDropDownButton.h"

#include <memory>

namespace MiniToolbars {

class EntryFieldPopup;

/// An editable text field in a toolbar, with an arrow that opens a menu of
/// suggestions (the children) once it has any. The field exists while the
/// entry is drawn; until then focus and selection requests are remembered and
/// applied when it appears. The value follows the user's typing.
///
/// Events: TextEdited (first argument a std::wstring* with the whole new text,
/// valid only during the call), KeyPressed (Qt key code, before the edit),
/// FocusChanged (1 in, 0 out) and Clicked on a press into the field.
///
/// Owned by the toolbar it is added to; it owns its suggestions as MTBxListType
/// does. GUI thread only.
/// \ingroup items
class MINITOOLBARS_EXPORT MTBxDropDownEntry : public MTBxDropDownButton
{
public:
    /// An entry with the host's id and initial text value; hostContext as for MTBxItem.
    MTBxDropDownEntry(const MTBxString& id, const MTBxString& value, void* hostContext);
    /// Deletes the field, if any; not the suggestions (see MTBxListType).
    ~MTBxDropDownEntry() override;

    /// simulateFocusOut also makes the field look unfocused at once.
    void clearFocus(bool simulateFocusOut) override;
    void setEnabled(bool enabled) override;
    /// Sets the field's text without TextEdited.
    void setValue(const MTBxString& value) override;
    /// Only a click on the arrow of an entry with a splitter opens the menu.
    void itemClicked(ItemView* view) override;
    void draw(ItemView* view, float x, float y, double opacity) override;
    void cleanup(ItemView* view) override;
    void disconnectView() override;
    void cacheQtStoredProperties() override;
    void addItem(MTBxItem* item, MTBxItem* before = nullptr) override;

    /// Selects the whole text, at once or when the field appears.
    virtual void selectAll();
    /// Selects length characters from start; without a field it only cancels a
    /// pending selectAll().
    virtual void setSelection(int start, int length);
    /// end is start + selected length; without a selection both are the
    /// cursor position. Untouched while no field exists.
    virtual void getSelection(int& start, int& end);
    /// Gives the field the keyboard focus, or takes it away as clearFocus(false)
    /// does; remembered until the field appears.
    virtual void setFocus(bool focus);
    /// Whether the field holds the keyboard focus; false while no field exists.
    virtual bool hasFocus();
    /// The text cursor's position; -1 while no field exists.
    virtual int cursorPosition() const;
    /// Moves the text cursor; no-op while no field exists.
    virtual void setCursorPosition(int position);

    /// The colour of the text, and of the text while valueErrorFlag() is set.
    /// Components are taken modulo 256; the colour is opaque. Defaults: black, red.
    /// The getters answer 0xAARRGGBB.
    /// @{
    void setTextColor(int r, int g, int b);
    void setTextErrorColor(int r, int g, int b);
    unsigned int textColor() const { return m_textColor; }
    unsigned int textErrorColor() const { return m_textErrorColor; }
    /// @}

protected:
    /// Beside the field: the menu opens to the right of the entry.
    void getDropDownLocation(ItemView* view, float& x, float& y) override;

private:
    std::unique_ptr<EntryFieldPopup, PopupRelease> m_field;
    int m_savedSelectionStart;
    int m_savedSelectionLength;
    // The field's selection when a relayout may take the field along, for
    // the field that replaces it.
    int m_cachedSelectionStart;
    int m_cachedSelectionLength;
    bool m_pendingFocus;
    bool m_pendingSelectAll;
    unsigned int m_textColor;
    unsigned int m_textErrorColor;
};

} // namespace MiniToolbars

#endif
