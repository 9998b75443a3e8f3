#include "MTBxString.h"

#include <gtest/gtest.h>

#include <cwchar>
#include <vector>

using MiniToolbars::MTBxString;

namespace {

std::vector<unsigned short> units(const MTBxString& s)
{
    const unsigned short* p = s;
    return std::vector<unsigned short>(p, p + s.length() + 1);
}

const wchar_t* wide(const MTBxString& s)
{
    return s;
}

} // namespace

TEST(MTBxString, storesUtf16AndReplacesWhatIsNoScalarValue)
{
    // Null and empty sources give an empty readable string; astral code points become surrogate pairs; surrogates and values past U+10FFFF become U+FFFD.
    for (const MTBxString& s : { MTBxString(), MTBxString(static_cast<const wchar_t*>(nullptr)),
                                 MTBxString(static_cast<const unsigned short*>(nullptr)), MTBxString(L"") }) {
        EXPECT_EQ(std::vector<unsigned short>{ 0 }, units(s));
        EXPECT_EQ(0, wide(s)[0]);
    }
    const MTBxString s(L"a\u00e9\U0001F600z\U0010FFFF");
    EXPECT_EQ((std::vector<unsigned short>{ u'a', 0xE9, 0xD83D, 0xDE00, u'z', 0xDBFF, 0xDFFF, 0 }), units(s));
    EXPECT_EQ(0, std::wcscmp(L"a\u00e9\U0001F600z\U0010FFFF", wide(s)));

    const wchar_t bad[] = { L'x', static_cast<wchar_t>(0xD800), static_cast<wchar_t>(0x110000), L'y', 0 };
    EXPECT_EQ((std::vector<unsigned short>{ u'x', 0xFFFD, 0xFFFD, u'y', 0 }), units(MTBxString(bad)));
    const unsigned short lone[] = { 0xDC00, u'a', 0xD800, 0 };
    EXPECT_EQ(0, std::wcscmp(L"\uFFFDa\uFFFD", wide(MTBxString(lone))));
}

TEST(MTBxString, copiesAreIndependentAndSelfAssignmentKeepsTheText)
{
    // Copies own their buffers; the wide copy follows every change; assigning from the string's own buffers keeps the text.
    MTBxString original(L"one");
    MTBxString copy(original);
    MTBxString assigned;
    assigned = original;
    original.assign(L"two");
    EXPECT_TRUE(copy == L"one" && assigned == L"one");
    copy.clear();
    EXPECT_EQ(0, std::wcscmp(L"two", wide(original)));
    EXPECT_EQ(0, std::wcscmp(L"", wide(copy)));

    MTBxString s(L"keep \U0001F600");
    s = *&s;
    s.assign(static_cast<const unsigned short*>(s));
    s.assign(wide(s));
    EXPECT_TRUE(s == L"keep \U0001F600");
    s.assign(static_cast<const unsigned short*>(s) + 5);
    EXPECT_TRUE(s == L"\U0001F600");

    const unsigned short abc[] = { u'a', u'b', u'c', 0 };
    EXPECT_TRUE(MTBxString(abc) == L"abc");
    EXPECT_TRUE(MTBxString(L"abc") != L"ab" && MTBxString(L"ab") != L"abc" && MTBxString(L"abc") != L"ABC");
    EXPECT_TRUE(MTBxString() == static_cast<const wchar_t*>(nullptr));
}
