#ifndef MINITOOLBARS_MTBXSTRING_H
#define MINITOOLBARS_MTBXSTRING_H

#include "MiniToolbarsGlobal.h"

namespace MiniToolbars {

/// The one string type of the interface: an owned, NUL-terminated UTF-16 buffer.
/// wchar_t text (UTF-32 on Linux) is converted on the way in and out. Every
/// copy owns its buffer; a null pointer argument gives an empty string.
/// \ingroup support
class MINITOOLBARS_EXPORT MTBxString
{
public:
    /// An empty string.
    MTBxString();
    /// Copies the buffer.
    MTBxString(const MTBxString& other);
    /// Converts NUL-terminated wide text.
    MTBxString(const wchar_t* text);
    /// Copies NUL-terminated UTF-16, such as QString::utf16().
    MTBxString(const unsigned short* text);
    /// Frees the buffer; pointers from the conversion operators dangle after it.
    ~MTBxString();

    /// Replaces the contents, as the matching constructor would; returns *this.
    /// @{
    MTBxString& assign(const MTBxString& other);
    MTBxString& assign(const wchar_t* text);
    MTBxString& assign(const unsigned short* text);
    MTBxString& operator=(const MTBxString& other);
    /// @}

    /// Never null: an empty string gives a pointer to a static empty string.
    /// The wchar_t form is a UTF-32 copy owned by this string, valid until it changes.
    operator const wchar_t*() const;
    /// The UTF-16 buffer, valid until the string changes or dies.
    operator const unsigned short*() const;

    /// True without code units.
    bool empty() const;
    /// The number of UTF-16 code units, without the terminator.
    unsigned int length() const;
    /// Makes the string empty.
    void clear();

    /// Code-unit equality; a null and an empty buffer compare equal.
    /// @{
    bool equals(const MTBxString& other) const;
    bool equals(const wchar_t* text) const;
    /// @}

private:
    void dropWideCache() const;

    unsigned short* m_buffer;
    mutable wchar_t* m_wideCache;
};

/// Code-unit (in)equality, as MTBxString::equals().
/// @{
inline bool operator==(const MTBxString& a, const MTBxString& b) { return a.equals(b); }
inline bool operator!=(const MTBxString& a, const MTBxString& b) { return !a.equals(b); }
inline bool operator==(const MTBxString& a, const wchar_t* b) { return a.equals(b); }
inline bool operator!=(const MTBxString& a, const wchar_t* b) { return !a.equals(b); }
/// @}

} // namespace MiniToolbars

#endif
