#include "MiniToolbars/MTBxString.h"

#include <cstring>
#include <vector>

namespace MiniToolbars {

namespace {

const unsigned short s_emptyUtf16[1] = { 0 };
const wchar_t s_emptyWide[1] = { 0 };

constexpr char32_t replacementCharacter = 0xFFFD;

bool isSurrogate(char32_t c)
{
    return c >= 0xD800 && c <= 0xDFFF;
}

unsigned int utf16Length(const unsigned short* text)
{
    unsigned int length = 0;
    while (text[length] != 0)
        ++length;
    return length;
}

unsigned short* duplicate(const unsigned short* text)
{
    if (!text)
        return nullptr;
    const unsigned int length = utf16Length(text);
    auto* copy = new unsigned short[length + 1];
    std::memcpy(copy, text, (length + 1) * sizeof(unsigned short));
    return copy;
}

// wchar_t holds UTF-32 here; values that are no Unicode scalar value become U+FFFD.
unsigned short* duplicate(const wchar_t* text)
{
    if (!text)
        return nullptr;
    std::vector<unsigned short> units;
    for (const wchar_t* p = text; *p != 0; ++p) {
        auto c = static_cast<char32_t>(*p);
        if (isSurrogate(c) || c > 0x10FFFF)
            c = replacementCharacter;
        if (c > 0xFFFF) {
            c -= 0x10000;
            units.push_back(static_cast<unsigned short>(0xD800 + (c >> 10)));
            units.push_back(static_cast<unsigned short>(0xDC00 + (c & 0x3FF)));
        } else {
            units.push_back(static_cast<unsigned short>(c));
        }
    }
    auto* copy = new unsigned short[units.size() + 1];
    if (!units.empty())
        std::memcpy(copy, units.data(), units.size() * sizeof(unsigned short));
    copy[units.size()] = 0;
    return copy;
}

// Lone surrogates cannot be represented in UTF-32 and become U+FFFD.
wchar_t* toWide(const unsigned short* text, unsigned int length)
{
    auto* wide = new wchar_t[length + 1];
    unsigned int out = 0;
    for (unsigned int i = 0; i < length; ++i) {
        const char32_t unit = text[i];
        char32_t c = unit;
        if (unit >= 0xD800 && unit <= 0xDBFF && i + 1 < length && text[i + 1] >= 0xDC00
            && text[i + 1] <= 0xDFFF) {
            c = 0x10000 + ((unit - 0xD800) << 10) + (text[i + 1] - 0xDC00);
            ++i;
        } else if (isSurrogate(unit)) {
            c = replacementCharacter;
        }
        wide[out++] = static_cast<wchar_t>(c);
    }
    wide[out] = 0;
    return wide;
}

} // namespace

MTBxString::MTBxString()
    : m_buffer(nullptr)
    , m_wideCache(nullptr)
{
}

MTBxString::MTBxString(const MTBxString& other)
    : m_buffer(duplicate(other.m_buffer))
    , m_wideCache(nullptr)
{
}

MTBxString::MTBxString(const wchar_t* text)
    : m_buffer(duplicate(text))
    , m_wideCache(nullptr)
{
}

MTBxString::MTBxString(const unsigned short* text)
    : m_buffer(duplicate(text))
    , m_wideCache(nullptr)
{
}

MTBxString::~MTBxString()
{
    clear();
}

// Each assign duplicates before releasing, so a source inside this string's
// own buffer (or its wide copy) survives.
MTBxString& MTBxString::assign(const MTBxString& other)
{
    unsigned short* copy = duplicate(other.m_buffer);
    clear();
    m_buffer = copy;
    return *this;
}

MTBxString& MTBxString::assign(const wchar_t* text)
{
    unsigned short* copy = duplicate(text);
    clear();
    m_buffer = copy;
    return *this;
}

MTBxString& MTBxString::assign(const unsigned short* text)
{
    unsigned short* copy = duplicate(text);
    clear();
    m_buffer = copy;
    return *this;
}

MTBxString& MTBxString::operator=(const MTBxString& other)
{
    return assign(other);
}

MTBxString::operator const wchar_t*() const
{
    if (!m_buffer || m_buffer[0] == 0)
        return s_emptyWide;
    if (!m_wideCache)
        m_wideCache = toWide(m_buffer, utf16Length(m_buffer));
    return m_wideCache;
}

MTBxString::operator const unsigned short*() const
{
    return m_buffer ? m_buffer : s_emptyUtf16;
}

bool MTBxString::empty() const
{
    return length() == 0;
}

unsigned int MTBxString::length() const
{
    return m_buffer ? utf16Length(m_buffer) : 0;
}

void MTBxString::clear()
{
    dropWideCache();
    delete[] m_buffer;
    m_buffer = nullptr;
}

bool MTBxString::equals(const MTBxString& other) const
{
    const unsigned short* a = *this;
    const unsigned short* b = other;
    while (*a != 0 && *a == *b) {
        ++a;
        ++b;
    }
    return *a == *b;
}

bool MTBxString::equals(const wchar_t* text) const
{
    return equals(MTBxString(text));
}

void MTBxString::dropWideCache() const
{
    delete[] m_wideCache;
    m_wideCache = nullptr;
}

} // namespace MiniToolbars
