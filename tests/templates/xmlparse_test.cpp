#include <gtest/gtest.h>

#include <climits>
#include <cmath>

#include "templates/xmlparse.h"
#include "tests/templates/resourcetree.h"
#include "tests/testsupport.h"

namespace {

QString Name(pugi::xml_node node, const char* pszAttribute = "n")
{
    QString str;
    XMLParse::GetAttribute(node, pszAttribute, str);
    return str;
}

QByteArray Nested(int nDepth)
{
    QByteArray xml = "<root>";
    for (int i = 0; i < nDepth; ++i)
        xml += "<a>";
    for (int i = 0; i < nDepth; ++i)
        xml += "</a>";
    return xml + "</root>";
}

} // namespace

struct IntCase {
    const char* pszText;
    int nExpected;
};

void PrintTo(const IntCase& c, std::ostream* pOut)
{
    *pOut << Quoted(c.pszText);
}

class LeadingIntTest : public ::testing::TestWithParam<IntCase> { };

TEST_P(LeadingIntTest, ReadsTheLeadingDecimalInteger)
{
    EXPECT_EQ(LeadingInt(QString::fromUtf8(GetParam().pszText)), GetParam().nExpected) << GetParam().pszText;
}

INSTANTIATE_TEST_SUITE_P(Texts, LeadingIntTest,
    ::testing::Values(IntCase {"12.7", 12}, IntCase {"  -5x", -5}, IntCase {"\t+7", 7}, IntCase {"abc", 0},
        IntCase {"", 0}, IntCase {"-", 0}, IntCase {"0360", 360}, IntCase {"1 2", 1},
        IntCase {"99999999999999999999", INT_MAX}, IntCase {"-99999999999999999999", INT_MIN},
        IntCase {"-2147483648", INT_MIN}));

struct DoubleCase {
    const char* pszText;
    double dExpected;
};

void PrintTo(const DoubleCase& c, std::ostream* pOut)
{
    *pOut << Quoted(c.pszText);
}

class LeadingDoubleTest : public ::testing::TestWithParam<DoubleCase> { };

TEST_P(LeadingDoubleTest, ReadsTheLeadingNumberAndNeverAnInfinity)
{
    EXPECT_DOUBLE_EQ(LeadingDouble(QString::fromUtf8(GetParam().pszText)), GetParam().dExpected) << GetParam().pszText;
}

INSTANTIATE_TEST_SUITE_P(Texts, LeadingDoubleTest,
    ::testing::Values(DoubleCase {" 105.00", 105}, DoubleCase {"  -25.50", -25.5}, DoubleCase {".5", 0.5},
        DoubleCase {"1e3|", 1000}, DoubleCase {"2e", 2}, DoubleCase {"3.5e+x", 3.5}, DoubleCase {"abc", 0},
        DoubleCase {"", 0}, DoubleCase {"-.", 0}, DoubleCase {"1e999", 0}, DoubleCase {"inf", 0}, DoubleCase {"nan", 0},
        DoubleCase {"7,5", 7}));

TEST(TruncToIntTest, CutsTowardsZeroAndSaturates)
{
    EXPECT_EQ(TruncToInt(359.9), 359);
    EXPECT_EQ(TruncToInt(-12.5), -12);
    EXPECT_EQ(TruncToInt(1e300), INT_MAX);
    EXPECT_EQ(TruncToInt(-1e300), INT_MIN);
    EXPECT_EQ(TruncToInt(std::nan("")), 0);
}

TEST(XMLParseTest, FindsChildrenByNameAndPositionInDocumentOrder)
{
    ResourceTree tree;
    const QString strPath = tree.bytes(QStringLiteral("t.xml"),
        "<root><Scene><S n='a'/><Other/><S n='b'><S n='deep'/></S><!-- S --><?S x?>"
        "<S n='c' v='x &amp; &lt;y&gt; &#233;'/></Scene></root>");
    XMLParse parse;
    ASSERT_TRUE(parse.Load(strPath));
    const pugi::xml_node root = parse.FindNode(0, {}, "root");
    ASSERT_TRUE(root);
    EXPECT_FALSE(parse.FindNode(0, {}, "Scene")) << "without a parent only the document element is found";
    EXPECT_FALSE(parse.FindNode(1, {}, "root"));
    const pugi::xml_node scene = parse.FindNode(0, root, "Scene");
    ASSERT_TRUE(scene);

    EXPECT_EQ(XMLParse::CountNodes(scene, "S"), 3) << "the nested S, the comment and the instruction do not count";
    EXPECT_EQ(XMLParse::CountNodes(scene), 4);
    EXPECT_EQ(XMLParse::CountNodes(pugi::xml_node(), "S"), 0);
    EXPECT_EQ(Name(parse.FindNode(0, scene, "S")), QStringLiteral("a"));
    EXPECT_EQ(Name(parse.FindNode(1, scene, "S")), QStringLiteral("b"));
    EXPECT_EQ(Name(parse.FindNode(2, scene, "S")), QStringLiteral("c"));
    EXPECT_FALSE(parse.FindNode(3, scene, "S"));
    EXPECT_FALSE(parse.FindNode(-1, scene, "S"));
    EXPECT_FALSE(parse.FindNode(0, scene, nullptr));

    const pugi::xml_node second = XMLParse::NextNode(parse.FindNode(0, scene, "S"), "S");
    EXPECT_EQ(Name(second), QStringLiteral("b"));
    EXPECT_EQ(Name(XMLParse::NextNode(second, "S")), QStringLiteral("c"));
    EXPECT_FALSE(XMLParse::NextNode(XMLParse::NextNode(second, "S"), "S"));

    EXPECT_EQ(Name(parse.FindNode(2, scene, "S"), "v"), QStringLiteral("x & <y> \u00e9"));
}

TEST(XMLParseTest, MissingAttributeLeavesTheTextUnchanged)
{
    ResourceTree tree;
    XMLParse parse;
    ASSERT_TRUE(parse.Load(tree.bytes(QStringLiteral("t.xml"), "<root a='1'/>")));
    const pugi::xml_node root = parse.FindNode(0, {}, "root");
    QString str = QStringLiteral("before");
    EXPECT_FALSE(XMLParse::GetAttribute(root, "b", str));
    EXPECT_FALSE(XMLParse::GetAttribute(root, nullptr, str));
    EXPECT_FALSE(XMLParse::GetAttribute(pugi::xml_node(), "a", str));
    EXPECT_EQ(str, QStringLiteral("before"));
    EXPECT_TRUE(XMLParse::GetAttribute(root, "a", str));
    EXPECT_EQ(str, QStringLiteral("1"));
}

TEST(XMLParseTest, ByteOrderMarkDecidesOverTheDeclaredEncoding)
{
    ResourceTree tree;
    const QString strPath = tree.bytes(QStringLiteral("u.plk"),
        Utf16LeFile(
            u"<?xml version=\"1.0\" encoding=\"UNICODE\" standalone=\"yes\"?><TheData t=\"\u00e9\u20ac\U0001F389\"/>"));
    XMLParse parse;
    ASSERT_TRUE(parse.Load(strPath));
    EXPECT_EQ(Name(parse.FindNode(0, {}, "TheData"), "t"), QString::fromUtf16(u"\u00e9\u20ac\U0001F389"));
}

struct RejectCase {
    const char* pszName;
    QByteArray data;
};

void PrintTo(const RejectCase& c, std::ostream* pOut)
{
    *pOut << c.pszName;
}

class XMLParseRejectTest : public ::testing::TestWithParam<RejectCase> { };

TEST_P(XMLParseRejectTest, LoadFailsAndKeepsNoDocument)
{
    ResourceTree tree;
    XMLParse parse;
    EXPECT_FALSE(parse.Load(tree.bytes(QStringLiteral("bad.xml"), GetParam().data)));
    EXPECT_FALSE(parse.m_pDoc);
    EXPECT_FALSE(parse.FindNode(0, {}, "root"));
}

INSTANTIATE_TEST_SUITE_P(Files, XMLParseRejectTest,
    ::testing::Values(RejectCase {"Empty", QByteArray()}, RejectCase {"Unclosed", "<root><a></root>"},
        RejectCase {"TwoDocumentElements", "<root/><root/>"}, RejectCase {"Garbage", QByteArray(1000, '\x01')},
        RejectCase {"TooDeep", Nested(kMaxXmlDepth + 1)}, RejectCase {"BareAmpersand", "<root a=\"x & y\"/>"},
        RejectCase {"BareLessThan", "<root a=\"x < y\"/>"},
        RejectCase {"DuplicateAttribute", "<root a=\"1\" a=\"2\"/>"},
        RejectCase {"UndefinedEntity", "<root a=\"&nope;\"/>"},
        RejectCase {"InvalidCharacterReference", "<root a=\"&#0;\"/>"},
        RejectCase {"InvalidUtf8", "<root a=\"\xC3\x28\"/>"}, RejectCase {"JunkAfterRoot", "<root/>junk"}),
    [](const auto& info) { return std::string(info.param.pszName); });

TEST(XMLParseTest, NestingUpToTheLimitIsAccepted)
{
    ResourceTree tree;
    XMLParse parse;
    EXPECT_TRUE(parse.Load(tree.bytes(QStringLiteral("ok.xml"), Nested(kMaxXmlDepth - 1))));
}

TEST(XMLParseTest, HostileNestingIsRejectedWithoutExhaustingTheStack)
{
    ResourceTree tree;
    const QString strPath = tree.bytes(QStringLiteral("deep.xml"), Nested(1000000));
    XMLParse parse;
    EXPECT_FALSE(parse.Load(strPath));
}

TEST(XMLParseTest, NestedDoctypeSectionsDoNotExhaustTheStack)
{
    ResourceTree tree;
    QByteArray xml = "<!DOCTYPE root [";
    for (int i = 0; i < 500000; ++i)
        xml += "<![";
    XMLParse parse;
    EXPECT_FALSE(parse.Load(tree.bytes(QStringLiteral("doctype.xml"), xml)));
}

// A file of exactly the limit is read whole; one byte more is refused.
TEST(XMLParseTest, TheLimitItselfIsReadToTheEnd)
{
    ResourceTree tree;
    for (const qint64 nSize : {kMaxXmlFileBytes, kMaxXmlFileBytes + 1}) {
        QByteArray xml = "<root a='";
        xml += QByteArray(nSize - 12, 'x');
        xml += "'/>";
        ASSERT_EQ(xml.size(), nSize);
        XMLParse parse;
        ASSERT_EQ(parse.Load(tree.bytes(QStringLiteral("limit.xml"), xml)), nSize <= kMaxXmlFileBytes) << nSize;
        if (parse.m_pDoc) {
            EXPECT_EQ(AttributeText(parse.FindNode(0, {}, "root"), "a").size(), nSize - 12);
        }
    }
}

TEST(XMLParseTest, MissingOversizedAndUnnamedFilesAreRefused)
{
    ResourceTree tree;
    XMLParse parse;
    EXPECT_FALSE(parse.Load(QString()));
    EXPECT_FALSE(parse.Load(tree.path(QStringLiteral("none.xml"))));
    QByteArray big = "<root a='";
    big += QByteArray(kMaxXmlFileBytes, 'x');
    big += "'/>";
    EXPECT_FALSE(parse.Load(tree.bytes(QStringLiteral("big.xml"), big)));
}
