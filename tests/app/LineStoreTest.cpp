#include "app/LineStore.h"

#include <gtest/gtest.h>

#include <string>

namespace {

struct Sample
{
    const char *name;
    std::u16string text;
};

std::u16string withNul()
{
    return std::u16string(u"vor\0nach", 8);
}

std::u16string loneSurrogates()
{
    return std::u16string{u'a', char16_t(0xD800), u'b', char16_t(0xDC00)};
}

const Sample samples[] = {
    {"ascii", u"Ereignis: OnRing (ID: 7) -    Nummer: 123 - MSN: 45"},
    {"empty", u""},
    {"latin1", u"Zuletzt: Grüße aus Köln, ÄÖÜß ÿ"},
    {"beyondLatin1", u"Łódź – 電話"},
    {"surrogatePair", u"Anruf 📞 von 0301"},
    {"loneSurrogates", loneSurrogates()},
    {"embeddedNul", withNul()},
    {"firstWideCharacter", u"\u00FF\u0100"},
    {"longerThanABlock", std::u16string(3 * app::LineStore::blockSize / 2, u'x')},
    {"wideLongerThanABlock", std::u16string(app::LineStore::blockSize, u'€')},
};

class LineStoreRoundTrip : public ::testing::TestWithParam<Sample>
{
};

TEST_P(LineStoreRoundTrip, ComesBackExactlyBetweenItsNeighbours)
{
    const std::u16string &text = GetParam().text;
    app::LineStore store;
    store.append(u"davor");
    store.append(text);
    store.append(u"danach");

    ASSERT_EQ(store.size(), 3u);
    EXPECT_EQ(store.length(1), text.size());
    EXPECT_EQ(store.at(1), text);
    EXPECT_EQ(store.at(0), u"davor");
    EXPECT_EQ(store.at(2), u"danach");
}

INSTANTIATE_TEST_SUITE_P(Lines, LineStoreRoundTrip, ::testing::ValuesIn(samples),
                         [](const auto &info) { return std::string(info.param.name); });

// Lines of every length, narrow and wide mixed, so that many of them straddle block edges.
std::u16string mixedLine(std::size_t i)
{
    std::u16string line(i % 101, char16_t(u'a' + i % 26));
    if (i % 3 == 0)
        line += u'€';
    if (i % 7 == 0)
        line += char16_t(0);
    return line;
}

TEST(LineStore, KeepsEveryLineAcrossManyBlocks)
{
    app::LineStore store;
    const std::size_t count = 20000;
    for (std::size_t i = 0; i < count; ++i)
        store.append(mixedLine(i));

    ASSERT_EQ(store.size(), count);
    EXPECT_GT(store.allocatedBytes(), 10 * app::LineStore::blockSize);
    for (std::size_t i = 0; i < count; ++i)
        ASSERT_EQ(store.at(i), mixedLine(i)) << "line " << i;
}

TEST(LineStore, TypicalLinesTakeAboutOneByteACharacter)
{
    app::LineStore store;
    const std::u16string line =
        u"Ereignis: OnConnected (ID: 1234567) -    Nummer: 0301234567 - MSN: 4711";
    const std::size_t count = 50000;
    for (std::size_t i = 0; i < count; ++i)
        store.append(line);

    // Text, an 8-byte index entry and at most a block of slack.
    EXPECT_LE(store.allocatedBytes(),
              count * (line.size() + sizeof(std::uint64_t)) + app::LineStore::blockSize);
}

TEST(LineStore, ClearReleasesEverythingAndStartsAfresh)
{
    app::LineStore store;
    for (std::size_t i = 0; i < 5000; ++i)
        store.append(mixedLine(i));
    ASSERT_GT(store.allocatedBytes(), 0u);

    store.clear();

    EXPECT_EQ(store.size(), 0u);
    EXPECT_EQ(store.allocatedBytes(), 0u);
    store.append(u"neu");
    ASSERT_EQ(store.size(), 1u);
    EXPECT_EQ(store.at(0), u"neu");
}

} // namespace
