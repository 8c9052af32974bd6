// Value generators of URL-template tasks: odometer stepping, range repair on load, stream bytes.
#include <climits>
#include <memory>

#include <gtest/gtest.h>

#include "core/BlobReader.h"
#include "core/BlobWriter.h"
#include "core/CharTemplate.h"
#include "core/NumberTemplate.h"
#include "core/StringTemplate.h"
#include "tests/support/PropBagBytes.h"

using testsupport::Bytes;

namespace {

// Values produced from the current one until the first carry, the carry's value included.
std::vector<std::string> Cycle(TemplateBase& g, size_t limit = 100)
{
    std::vector<std::string> values{g.GetValueText()};
    while (values.size() < limit) {
        const bool carry = g.Advance();
        values.push_back(g.GetValueText());
        if (carry)
            break;
    }
    return values;
}

}  // namespace

TEST(NumberTemplate, StepsThroughRangeAndCarriesBackToFirst)
{
    NumberTemplate g(1, 10, 3, 0);
    EXPECT_EQ(Cycle(g), (std::vector<std::string>{"1", "4", "7", "10", "1"}));

    NumberTemplate reversed(5, 1, 1, 0);  // from above to: one value, every advance carries
    EXPECT_TRUE(reversed.Advance());
    EXPECT_EQ(reversed.GetValueText(), "5");
    EXPECT_TRUE(reversed.Advance());
}

TEST(NumberTemplate, ZeroPaddingFollowsWidth)
{
    NumberTemplate g(7, 7, 1, 3);
    EXPECT_EQ(g.GetValueText(), "007");
    g.width = 0;
    EXPECT_EQ(g.GetValueText(), "7");
    g.width = 1000000;  // a stored width cannot make the text longer than 253 characters
    EXPECT_EQ(g.GetValueText().size(), 253u);
    g.width = -5;
    EXPECT_EQ(g.GetValueText(), "7");
}

TEST(NumberTemplate, CarriesNearTheTopOfTheIntegerRange)
{
    NumberTemplate g(INT_MAX - 4, INT_MAX, 3, 0);
    EXPECT_FALSE(g.Advance());
    EXPECT_EQ(g.current, INT_MAX - 1);
    EXPECT_TRUE(g.Advance());  // INT_MAX + 2 would wrap negative in 32 bits
    EXPECT_EQ(g.current, INT_MAX - 4);

    NumberTemplate top(INT_MAX, INT_MAX, INT_MAX, 0);
    EXPECT_TRUE(top.Advance());
    EXPECT_EQ(top.current, INT_MAX);
}

TEST(NumberTemplate, StepThatDoesNotMoveForwardGivesOneValue)
{
    NumberTemplate zero(1, 10, 0, 0);
    EXPECT_TRUE(zero.Advance());
    EXPECT_EQ(zero.current, 1);
    NumberTemplate negative(1, 10, -2, 0);
    EXPECT_TRUE(negative.Advance());
    EXPECT_EQ(negative.current, 1);
}

TEST(CharTemplate, RunsThroughLettersAndCarries)
{
    CharTemplate g('a', 'c');
    EXPECT_EQ(Cycle(g), (std::vector<std::string>{"a", "b", "c", "a"}));

    CharTemplate top(125, 127);  // ends at the largest signed character: must still carry
    EXPECT_EQ(Cycle(top).size(), 4u);
    EXPECT_EQ(top.current, 125);
}

TEST(StringTemplate, WalksTheListAndEmptyListCarriesAlways)
{
    StringTemplate g({"x", "y", "zz"});
    EXPECT_EQ(Cycle(g), (std::vector<std::string>{"x", "y", "zz", "x"}));

    StringTemplate empty;
    EXPECT_EQ(empty.GetValueText(), "");
    EXPECT_TRUE(empty.Advance());
    EXPECT_TRUE(empty.Advance());
}

TEST(StringTemplate, DisplayTextNamesTheFirstTwoStrings)
{
    StringTemplate none;
    const std::string kind = none.GetDisplayText();
    EXPECT_EQ(kind, "Strings");
    EXPECT_EQ(StringTemplate({"x"}).GetDisplayText(), kind + " (x, ...)");
    EXPECT_EQ(StringTemplate({"x", "y", "z"}).GetDisplayText(), kind + " (x, y, ...)");
    EXPECT_EQ(NumberTemplate(1, 10, 1, 0).GetDisplayText(), "Numbers (1 - 10)");
    EXPECT_EQ(CharTemplate('a', 'z').GetDisplayText(), "Chars (a - z)");
}

TEST(CreateTemplate, KnowsExactlyTheThreeKindNames)
{
    for (const char* name : {"NumberTemplate", "CharTemplate", "StringTemplate"}) {
        std::unique_ptr<TemplateBase> g(CreateTemplate(name));
        ASSERT_NE(g, nullptr) << name;
        EXPECT_STREQ(g->GetTypeName(), name);
    }
    EXPECT_EQ(CreateTemplate("numbertemplate"), nullptr);
    EXPECT_EQ(CreateTemplate("NumberTemplate "), nullptr);
    EXPECT_EQ(CreateTemplate(""), nullptr);

    std::unique_ptr<CharTemplate> created(static_cast<CharTemplate*>(CreateTemplate("CharTemplate")));
    EXPECT_EQ(created->from, 'a');
    EXPECT_EQ(created->to, 'z');
    EXPECT_EQ(created->current, 'a');
}

TEST(TemplateStreams, DefinitionAndCurrentBytesAreRawLittleEndianFields)
{
    NumberTemplate n(1, 300, 2, 4);
    n.current = 5;
    CharTemplate c('b', 'y');
    c.current = 'q';
    StringTemplate s({"ab", ""});
    s.index = 1;

    BlobWriter out;
    n.SaveDefinition(out);
    n.SaveCurrent(out);
    c.SaveDefinition(out);
    c.SaveCurrent(out);
    s.SaveDefinition(out);
    s.SaveCurrent(out);

    Bytes golden;
    testsupport::PutU32(golden, 1);
    testsupport::PutU32(golden, 300);
    testsupport::PutU32(golden, 2);
    testsupport::PutU32(golden, 4);
    testsupport::PutU32(golden, 5);
    golden.insert(golden.end(), {'b', 'y', 'q'});
    testsupport::PutU32(golden, 2);
    testsupport::PutCounted(golden, "ab");
    testsupport::PutCounted(golden, "");
    testsupport::PutU32(golden, 1);
    EXPECT_EQ(out.Bytes(), golden);

    // Read back into fresh generators: same definitions and values.
    BlobReader in(golden);
    NumberTemplate n2;
    CharTemplate c2;
    StringTemplate s2;
    ASSERT_TRUE(n2.LoadDefinition(in) && n2.LoadCurrent(in));
    ASSERT_TRUE(c2.LoadDefinition(in) && c2.LoadCurrent(in));
    ASSERT_TRUE(s2.LoadDefinition(in) && s2.LoadCurrent(in));
    EXPECT_TRUE(in.AtEnd());
    EXPECT_EQ(n2.GetValueText(), "0005");
    EXPECT_EQ(n2.to, 300);
    EXPECT_EQ(c2.GetValueText(), "q");
    EXPECT_EQ(s2.strings, (std::vector<std::string>{"ab", ""}));
    EXPECT_EQ(s2.index, 1);
}

TEST(TemplateStreams, LoadedValuesOutsideTheRangeGoBackToTheFirst)
{
    Bytes b;
    testsupport::PutU32(b, 99);
    NumberTemplate n(1, 10, 1, 0);
    BlobReader in(b);
    ASSERT_TRUE(n.LoadCurrent(in));
    EXPECT_EQ(n.current, 1);

    Bytes neg;
    testsupport::PutU32(neg, static_cast<uint32_t>(-3));
    StringTemplate s({"a", "b"});
    s.index = 1;
    BlobReader in2(neg);
    ASSERT_TRUE(s.LoadCurrent(in2));
    EXPECT_EQ(s.index, 0);

    CharTemplate c('c', 'f');
    Bytes ch{'a'};
    BlobReader in3(ch);
    ASSERT_TRUE(c.LoadCurrent(in3));
    EXPECT_EQ(c.current, 'c');
}

TEST(TemplateStreams, ShortOrInflatedStreamsFailWithoutHarm)
{
    // A string list that claims two billion strings of which one is there.
    Bytes b;
    testsupport::PutU32(b, 0x7FFFFFFF);
    testsupport::PutCounted(b, "only");
    StringTemplate s;
    BlobReader in(b);
    EXPECT_FALSE(s.LoadDefinition(in));
    EXPECT_EQ(s.strings, (std::vector<std::string>{"only"}));

    // A string whose length runs past the end.
    Bytes c;
    testsupport::PutU32(c, 1);
    testsupport::PutU32(c, 0xFFFFFFFF);
    c.push_back('x');
    StringTemplate s2;
    BlobReader in2(c);
    EXPECT_FALSE(s2.LoadDefinition(in2));
    EXPECT_TRUE(s2.strings.empty());

    // A number definition cut at every length keeps the old definition.
    Bytes full;
    for (uint32_t v : {3u, 9u, 2u, 1u})
        testsupport::PutU32(full, v);
    for (size_t cut = 0; cut < full.size(); ++cut) {
        NumberTemplate n(1, 2, 1, 0);
        BlobReader part(full.data(), cut);
        EXPECT_FALSE(n.LoadDefinition(part));
        EXPECT_EQ(n.from, 1);
        EXPECT_EQ(n.to, 2);
    }
}
