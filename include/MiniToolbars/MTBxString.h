#ifndef MINITOOLBARS_MTBXSTRING_H
#define MINITOOLBARS_MTBXSTRING_H

#include "MiniToolbarsGlobal.h"

namespace MiniToolbars {

/// The one string type of the interface: an owned, NUL-terminated UTF-16 buffer.
/// wchar_t text (UTF-32 on Linux) is converted on the way in and out.
class MINITOOLBARS_EXPORT MTBxString
{
public:
    MTBxString();
    MTBxString(const MTBxString& other);
    MTBxString(const wchar_t* text);
    MTBxString(const unsigned short* text);
    ~MTBxString();

    MTBxString& assign(const MTBxString& other);
    MTBxString& assign(const wchar_t* text);
    MTBxString& assign(const unsigned short* text);
    MTBxString& operator=(const MTBxString& other);

    /// Never null: an empty string gives a pointer to a static empty string.
    /// The wchar_t form is a UTF-32 copy owned by this string, valid until it changes.
    operator const wchar_t*() const;
    operator const unsigned short*() const;

    bool empty() const;
    unsigned int length() const;
    void clear();

    /// Code-unit equality; a null and an empty buffer compare equal.
    bool equals(const MTBxString& other) const;
    bool equals(const wchar_t* text) const;

private:
    void dropWideCache() const;

    unsigned short* m_buffer;
    mutable wchar_t* m_wideCache;
};

inline bool operator==(const MTBxString& a, const MTBxString& b) { return a.equals(b); }
inline bool operator!=(const MTBxString& a, const MTBxString& b) { return !a.equals(b); }
inline bool operator==(const MTBxString& a, const wchar_t* b) { return a.equals(b); }
inline bool operator!=(const MTBxString& a, const wchar_t* b) { return !a.equals(b); }

} // namespace MiniToolbars

#endif
