#include "Core/Geometry.h"
#include "Core/Point.h"
#include "Core/Rect.h"
#include "Core/UnitTests.h"
#include "Core/Vector.h"
#include "MiniToolbars/MTBxString.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cwchar>
#include <string>
#include <vector>

using namespace MiniToolbars;

namespace {

struct RecordingReporter : SelfTestReporter
{
    void failed(const char* message, const char*, int) override { failures.push_back(message); }
    void succeeded(const char* message) override { successes.push_back(message); }
    std::vector<std::string> failures, successes;
};

std::vector<float> edges(const Rect& r) { return { r.left(), r.top(), r.right(), r.bottom() }; }

std::vector<unsigned short> units(const MTBxString& s)
{
    const unsigned short* p = s;
    return std::vector<unsigned short>(p, p + s.length() + 1);
}

const wchar_t* wide(const MTBxString& s) { return s; }

} // namespace

TEST(Geometry, vectorsStayDefinedAndRectanglesHangDownFromTheirTop)
{
    // The self test passes; lengths follow setters, near-opposite vectors give 180 degrees; a rectangle's bottom is top minus height and it contains its edges.
    RecordingReporter reporter;
    EXPECT_TRUE(runGeometrySelfTest(reporter) && reporter.failures.empty());
    EXPECT_EQ(std::vector<std::string>{ "Tests Successful" }, reporter.successes);
    Vector v(3, 4);
    v.setX(0);
    EXPECT_EQ(4.0, v.length());
    v.set(6, 8);
    EXPECT_TRUE(v.scaled(0.5).length() == 5.0 && Vector(1, 2).dot(Vector(4, 9)) == 22.0 && distance(4, 5, 1, 1) == 5.0);
    EXPECT_NEAR(180.0, Vector(0.1, 0.7).angleTo(Vector(-0.3, -2.1)), 1e-6);
    EXPECT_FALSE(std::isnan(Vector(1e-3, 3e-3).angleTo(Vector(-7e5, -21e5))));
    EXPECT_TRUE(Vector(1, 2) == Vector(1, 2) && Point(1, 2) == Point(1, 2));
    EXPECT_FALSE(Vector(1, 2) == Vector(1, 3) || Vector(1, 2) == Vector(0, 2) || Point(1, 2) == Point(1, 3) || Point(1, 2) == Point(0, 2));

    const Rect r(0, 0, 10, 4);
    EXPECT_EQ(edges(r), (std::vector<float>{ 0, 0, 10, -4 }));
    for (const auto& p : std::vector<std::pair<float, float>>{ { 10, -4 }, { 0, 0 }, { 0, -4 }, { 10, 0 }, { 5, -2 } })
        EXPECT_TRUE(r.contains(p.first, p.second)) << p.first << "," << p.second;
    for (const auto& p : std::vector<std::pair<float, float>>{ { 0, 1 }, { -0.01f, -2 }, { 10.01f, -2 }, { 5, -4.01f }, { std::nanf(""), -2 } })
        EXPECT_FALSE(r.contains(p.first, p.second)) << p.first << "," << p.second;
    Rect moved(7, 3);
    moved.translate(2, -1);
    const std::vector<float> translated = edges(moved);
    moved.resize(4, 5);
    EXPECT_TRUE(translated == (std::vector<float>{ 2, -1, 9, -4 }) && edges(moved) == (std::vector<float>{ 2, -1, 6, -6 }));
}

TEST(MTBxString, storesUtf16AndReplacesWhatIsNoScalarValue)
{
    // Null and empty sources give an empty readable string; astral code points become surrogate pairs; surrogates and values past U+10FFFF become U+FFFD; control characters stay.
    for (const MTBxString& s : { MTBxString(), MTBxString(static_cast<const wchar_t*>(nullptr)),
                                 MTBxString(static_cast<const unsigned short*>(nullptr)), MTBxString(L"") })
        EXPECT_TRUE(units(s) == std::vector<unsigned short>{ 0 } && wide(s)[0] == 0);
    const MTBxString s(L"a\u00e9\U0001F600z\U0010FFFF");
    EXPECT_EQ((std::vector<unsigned short>{ u'a', 0xE9, 0xD83D, 0xDE00, u'z', 0xDBFF, 0xDFFF, 0 }), units(s));
    EXPECT_EQ(0, std::wcscmp(L"a\u00e9\U0001F600z\U0010FFFF", wide(s)));
    const wchar_t bad[] = { L'x', static_cast<wchar_t>(0xD800), static_cast<wchar_t>(0x110000), 1, L'y', 0 };
    EXPECT_EQ((std::vector<unsigned short>{ u'x', 0xFFFD, 0xFFFD, 1, u'y', 0 }), units(MTBxString(bad)));
    const unsigned short lone[] = { 0xDC00, 1, u'a', 0xD800, 0 };
    const wchar_t replaced[] = { 0xFFFD, 1, L'a', 0xFFFD, 0 };
    EXPECT_EQ(0, std::wcscmp(replaced, wide(MTBxString(lone))));
}

TEST(MTBxString, copiesAreIndependentAndSelfAssignmentKeepsTheText)
{
    // Copies own their buffers; the wide copy follows every change; assigning from the string's own buffers keeps the text.
    MTBxString original(L"one"), copy(original), assigned;
    assigned = original;
    EXPECT_EQ(0, std::wcscmp(L"one", wide(original)));
    original.assign(L"two");
    copy.clear();
    EXPECT_TRUE(assigned == L"one" && std::wcscmp(L"two", wide(original)) == 0 && std::wcscmp(L"", wide(copy)) == 0);
    MTBxString s(L"keep \U0001F600");
    s = *&s;
    s.assign(static_cast<const unsigned short*>(s)), s.assign(wide(s));
    EXPECT_TRUE(s == L"keep \U0001F600");
    s.assign(static_cast<const unsigned short*>(s) + 5);
    const unsigned short abc[] = { u'a', u'b', u'c', 0 };
    EXPECT_TRUE(s == L"\U0001F600" && MTBxString(abc) == L"abc" && MTBxString() == static_cast<const wchar_t*>(nullptr));
    EXPECT_TRUE(MTBxString(L"abc") != L"ab" && MTBxString(L"ab") != L"abc" && MTBxString(L"abc") != L"ABC");
}
