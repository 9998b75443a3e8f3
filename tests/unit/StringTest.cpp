#include "MTBxString.h"

#include <gtest/gtest.h>

#include <cwchar>

using MiniToolbars::MTBxString;

namespace {

const unsigned short* units(const MTBxString& s)
{
    return s;
}

const wchar_t* wide(const MTBxString& s)
{
    return s;
}

} // namespace

TEST(MTBxString, emptyFormsAreEmptyButNeverNull)
{
    // Default, null-pointer and zero-length sources all give an empty string with a readable pointer.
    const MTBxString byDefault;
    const MTBxString fromNullWide(static_cast<const wchar_t*>(nullptr));
    const MTBxString fromNullUnits(static_cast<const unsigned short*>(nullptr));
    const MTBxString fromEmpty(L"");
    for (const MTBxString* s : { &byDefault, &fromNullWide, &fromNullUnits, &fromEmpty }) {
        EXPECT_TRUE(s->empty());
        EXPECT_EQ(0u, s->length());
        ASSERT_NE(nullptr, units(*s));
        EXPECT_EQ(0, units(*s)[0]);
        ASSERT_NE(nullptr, wide(*s));
        EXPECT_EQ(0, wide(*s)[0]);
    }
    EXPECT_TRUE(byDefault == fromEmpty);

    MTBxString assigned(L"text");
    assigned.assign(static_cast<const wchar_t*>(nullptr));
    EXPECT_TRUE(assigned.empty());
    assigned.assign(L"again");
    assigned.assign(static_cast<const unsigned short*>(nullptr));
    EXPECT_TRUE(assigned.empty());
    assigned.clear();
    assigned.clear();
    EXPECT_TRUE(assigned.empty());
}

TEST(MTBxString, shouldStoreUtf16AndGiveBackUtf32)
{
    // BMP text is stored unit for unit; a code point above U+FFFF becomes a surrogate pair.
    const MTBxString s(L"a\u00e9\U0001F600z");
    ASSERT_EQ(5u, s.length());
    EXPECT_EQ(u'a', units(s)[0]);
    EXPECT_EQ(0x00E9, units(s)[1]);
    EXPECT_EQ(0xD83D, units(s)[2]);
    EXPECT_EQ(0xDE00, units(s)[3]);
    EXPECT_EQ(u'z', units(s)[4]);
    EXPECT_EQ(0, units(s)[5]);
    EXPECT_EQ(0, std::wcscmp(L"a\u00e9\U0001F600z", wide(s)));

    const MTBxString highest(L"\U0010FFFF");
    EXPECT_EQ(0xDBFF, units(highest)[0]);
    EXPECT_EQ(0xDFFF, units(highest)[1]);
    EXPECT_EQ(0, std::wcscmp(L"\U0010FFFF", wide(highest)));
}

TEST(MTBxString, shouldReplaceValuesThatAreNoScalarValues)
{
    // Surrogates and values beyond U+10FFFF in wide input, and lone surrogates in UTF-16, become U+FFFD.
    const wchar_t bad[] = { L'x', static_cast<wchar_t>(0xD800), static_cast<wchar_t>(0x110000),
                            static_cast<wchar_t>(0xDFFF), L'y', 0 };
    const MTBxString s(bad);
    ASSERT_EQ(5u, s.length());
    EXPECT_EQ(0xFFFD, units(s)[1]);
    EXPECT_EQ(0xFFFD, units(s)[2]);
    EXPECT_EQ(0xFFFD, units(s)[3]);
    EXPECT_EQ(u'y', units(s)[4]);

    const unsigned short lone[] = { 0xDC00, u'a', 0xD800, 0 };
    const MTBxString fromUnits(lone);
    EXPECT_EQ(3u, fromUnits.length());
    EXPECT_EQ(0, std::wcscmp(L"\uFFFDa\uFFFD", wide(fromUnits)));
}

TEST(MTBxString, copiesShouldBeIndependent)
{
    // Copy construction and assignment duplicate the buffer; changing one copy leaves the other and renews its wide copy.
    MTBxString original(L"one");
    MTBxString copy(original);
    MTBxString assigned;
    assigned = original;
    EXPECT_NE(units(original), units(copy));
    EXPECT_NE(units(original), units(assigned));

    original.assign(L"two");
    EXPECT_TRUE(copy == L"one");
    EXPECT_TRUE(assigned == L"one");
    copy.clear();
    EXPECT_TRUE(original == L"two");
    EXPECT_TRUE(assigned == L"one");
    // The wide copy is rebuilt after every change instead of showing stale text.
    EXPECT_EQ(0, std::wcscmp(L"two", wide(original)));
    EXPECT_EQ(0, std::wcscmp(L"", wide(copy)));
    const unsigned short third[] = { u't', u'h', 0 };
    original.assign(third);
    EXPECT_EQ(0, std::wcscmp(L"th", wide(original)));

    const MTBxString nothing;
    MTBxString fromNothing(nothing);
    EXPECT_TRUE(fromNothing.empty());
}

TEST(MTBxString, shouldKeepTextWhenAssignedFromItself)
{
    // Self-assignment and assignment from the string's own buffers keep the text.
    MTBxString s(L"keep \U0001F600");
    MTBxString& alias = s;
    s = alias;
    EXPECT_TRUE(s == L"keep \U0001F600");
    s.assign(alias);
    EXPECT_TRUE(s == L"keep \U0001F600");
    s.assign(units(s));
    EXPECT_TRUE(s == L"keep \U0001F600");
    s.assign(wide(s));
    EXPECT_TRUE(s == L"keep \U0001F600");
    s.assign(units(s) + 5);
    EXPECT_EQ(2u, s.length());
    EXPECT_TRUE(s == L"\U0001F600");
}

TEST(MTBxString, equalityComparesCodeUnits)
{
    // Equal texts compare equal however they were built; prefixes and case differences do not.
    const unsigned short abc[] = { u'a', u'b', u'c', 0 };
    EXPECT_TRUE(MTBxString(abc) == MTBxString(L"abc"));
    EXPECT_TRUE(MTBxString(abc) == L"abc");
    EXPECT_TRUE(MTBxString(L"abc") != L"ab");
    EXPECT_TRUE(MTBxString(L"ab") != L"abc");
    EXPECT_TRUE(MTBxString(L"abc") != L"ABC");
    EXPECT_TRUE(MTBxString() == static_cast<const wchar_t*>(nullptr));
    EXPECT_TRUE(MTBxString(L"a") != static_cast<const wchar_t*>(nullptr));
}
