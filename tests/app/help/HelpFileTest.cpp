// The help file model: topics, index, lookup, links, HTML and the errors of malformed files.
#include "app/help/HelpFile.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using velmora::app::HelpFile;
using velmora::app::HelpFileError;

namespace
{

const char *const kSample = "# sample help\r\n"
                            "\r\n"
                            "@topic Contents\r\n"
                            "Start with [[mov]] or [[Flags|the flags]].\r\n"
                            "- [[ADD]]\r\n"
                            "@topic MOV\r\n"
                            "@keywords mov, copy\r\n"
                            "@keywords Load\r\n"
                            "Copies a <value> & more.\r\n"
                            "Second line.\r\n"
                            "\r\n"
                            "    mov ax, [[Flags]] ; x < y\r\n"
                            "== See also\r\n"
                            "- [[add]]\r\n"
                            "\r\n"
                            "@topic ADD\r\n"
                            "@keywords add, arithmetic\r\n"
                            "Adds.\r\n"
                            "@topic Flags\r\n"
                            "@keywords arithmetic, ADD\r\n"
                            "@@data, not a directive\r\n";

HelpFile sample()
{
    return HelpFile::parse(QString::fromUtf8(kSample), QStringLiteral("sample"));
}

std::string parseError(const char *text)
{
    try {
        HelpFile::parse(QString::fromUtf8(text), QStringLiteral("bad.hlp"));
    } catch (const HelpFileError &e) {
        return e.what();
    }
    return "no error";
}

} // namespace

TEST(HelpFile, ReadsTopicsKeywordsAndBodies)
{
    const HelpFile help = sample();
    ASSERT_EQ(help.topics().size(), 4);
    EXPECT_EQ(help.topics()[0].title, "Contents");
    const auto &mov = help.topics()[1];
    EXPECT_EQ(mov.title, "MOV");
    EXPECT_EQ(mov.keywords, QStringList({"mov", "copy", "Load"}));
    EXPECT_EQ(mov.line, 6);
    // Trailing blank lines dropped, line ends without CR.
    EXPECT_EQ(mov.body.size(), 6);
    EXPECT_EQ(mov.body.last(), "- [[add]]");
    EXPECT_EQ(help.topics()[3].body, QStringList({"@data, not a directive"}));
}

TEST(HelpFile, IndexIsSortedMergedAndPointsToAllTopics)
{
    const HelpFile help = sample();
    QStringList keywords;
    for (const auto &entry : help.index())
        keywords << entry.keyword;
    // "add" and "ADD" are one entry, spelled as first written; order ignores letter case.
    EXPECT_EQ(keywords, QStringList({"add", "arithmetic", "copy", "Load", "mov"}));
    EXPECT_EQ(help.index()[0].topics, QList<int>({2, 3}));
    EXPECT_EQ(help.index()[1].topics, QList<int>({2, 3}));
}

TEST(HelpFile, FindsByTitleThenKeywordIgnoringCase)
{
    const HelpFile help = sample();
    EXPECT_EQ(help.find("contents"), 0);
    EXPECT_EQ(help.find("  Mov "), 1);
    EXPECT_EQ(help.find("LOAD"), 1);
    EXPECT_EQ(help.find("Arithmetic"), 2); // first topic carrying the keyword
    EXPECT_EQ(help.find("flags"), 3);      // title, although "ADD" is also its keyword
    EXPECT_EQ(help.find("add"), 2);
    EXPECT_EQ(help.find("sub"), -1);
    EXPECT_EQ(help.find(""), -1);
}

TEST(HelpFile, ResolvesLinksWithTheirTexts)
{
    const HelpFile help = sample();
    const auto &links = help.topics()[0].links;
    ASSERT_EQ(links.size(), 3);
    EXPECT_EQ(links[0].target, 1);
    EXPECT_EQ(links[0].text, "mov");
    EXPECT_EQ(links[1].target, 3);
    EXPECT_EQ(links[1].text, "the flags");
    EXPECT_EQ(links[2].target, 2);
    ASSERT_EQ(help.topics()[1].links.size(), 2);
    EXPECT_EQ(help.topics()[1].links[1].target, 2);
}

TEST(HelpFile, RendersTopicAsHtmlWithFollowableLinks)
{
    const HelpFile help = sample();
    const QString html = help.topicHtml(1);
    EXPECT_TRUE(html.contains("<h2>MOV</h2>"));
    EXPECT_TRUE(html.contains("<p>Copies a &lt;value&gt; &amp; more. Second line.</p>"));
    EXPECT_TRUE(html.contains("<pre>mov ax, <a href=\"topic:3\">Flags</a> ; x &lt; y\n</pre>"));
    EXPECT_TRUE(html.contains("<h3>See also</h3>"));
    EXPECT_TRUE(html.contains("<ul>\n<li><a href=\"topic:2\">add</a></li>\n</ul>"));

    const QString contents = help.topicHtml(0);
    EXPECT_TRUE(contents.contains("<a href=\"topic:3\">the flags</a>"));
    EXPECT_EQ(help.topicOfHref("topic:3"), 3);
    EXPECT_EQ(help.topicOfHref("topic:4"), -1);
    EXPECT_EQ(help.topicOfHref("topic:-1"), -1);
    EXPECT_EQ(help.topicOfHref("topic:x"), -1);
    EXPECT_EQ(help.topicOfHref("https://example.org"), -1);
}

TEST(HelpFile, RejectsMalformedFilesNamingTheLine)
{
    const struct {
        const char *text;
        const char *message;
    } cases[] = {
        {"@topic A\n@topic\n", "bad.hlp:2: topic without a title"},
        {"@topic A\n@topic   \n", "bad.hlp:2: topic without a title"},
        {"@topic Mov\ntext\n@topic MOV\n", "bad.hlp:3: duplicate topic \"MOV\" (first at line 1)"},
        {"@topic A\nsee [[B]]\n", "bad.hlp:2: link to unknown topic \"B\""},
        {"@topic A\nsee [[A\n", "bad.hlp:2: unclosed link"},
        {"@topic A\nsee [[ |x]]\n", "bad.hlp:2: link without a topic"},
        {"\nloose text\n@topic A\n", "bad.hlp:2: text before the first @topic"},
        {"@keywords a\n@topic A\n", "bad.hlp:1: @keywords before the first @topic"},
        {"@topic A\n@keywords a,,b\n", "bad.hlp:2: empty keyword"},
        {"@topic A\n@title B\n", "bad.hlp:2: unknown directive \"@title\""},
        {"# only a comment\n\n", "bad.hlp: no topics"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(parseError(c.text), c.message) << c.text;
}

TEST(HelpFile, LoadReportsUnreadableFiles)
{
    QTemporaryDir dir;
    const QString missing = dir.filePath("missing.hlp");
    EXPECT_THROW(HelpFile::load(missing), HelpFileError);

    const QString latin = dir.filePath("latin.hlp");
    QFile file(latin);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("@topic Caf\xe9\n");
    file.close();
    try {
        HelpFile::load(latin);
        ADD_FAILURE() << "invalid UTF-8 accepted";
    } catch (const HelpFileError &e) {
        EXPECT_TRUE(std::string(e.what()).ends_with("not valid UTF-8 text"));
    }

    const QString good = dir.filePath("good.hlp");
    QFile goodFile(good);
    ASSERT_TRUE(goodFile.open(QIODevice::WriteOnly));
    goodFile.write("\xef\xbb\xbf@topic Caf\xc3\xa9\n");
    goodFile.close();
    EXPECT_EQ(HelpFile::load(good).topics()[0].title, QString::fromUtf8("Caf\xc3\xa9"));
}
