#include "editor/core/keyfiles/KeywordFiles.h"
#include "editor/core/keyfiles/DefaultKeywordList.h"
#include "editor/core/keyfiles/KeyEntry.h"
#include "editor/core/keyfiles/KeywordList.h"
#include "editor/core/keyfiles/StartStopKeyList.h"
#include "editor/core/text/TaggedValue.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <stdexcept>

#include <unistd.h>

using namespace velmora::core;

namespace
{

class KeywordFiles : public ::testing::Test
{
protected:
    void SetUp() override
    {
        dir_ =
            std::filesystem::temp_directory_path() / ("velmora-kwfiles-" + std::to_string(::getpid()) + "-" +
                                                      ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::create_directories(dir_);
    }
    void TearDown() override { std::filesystem::remove_all(dir_); }

    std::filesystem::path file(const char *name) const { return dir_ / name; }

    static std::string contents(const std::filesystem::path &path)
    {
        std::ifstream in(path, std::ios::binary);
        std::ostringstream s;
        s << in.rdbuf();
        return s.str();
    }
    static void write(const std::filesystem::path &path, std::string_view bytes)
    {
        std::ofstream(path, std::ios::binary) << bytes;
    }

    std::filesystem::path dir_;
};

TKeywordList &defaultList()
{
    static TKeywordList list;
    if (list.Count() == 0)
        fillDefaultKeywordList(list);
    return list;
}

void fillStartStop(TStartStopKeyList &list)
{
    list.AddKey("/*", "*/", 0, 2, 5, 0, -1, 0x808080, false);
    list.AddKey("'", "'", 1, 0, 6, -21, 0xFF, -1, true);
    list.SetKeyExtras(1, 3, 4, kKeyStaysInParagraph | kKeyCollapsible);
    list.AddKey("begin", "end", 2, 1, 7, 0, -1, -1, false);
}

} // namespace

TEST_F(KeywordFiles, PlainListSplitsLinesAndStartStopPairs)
{
    const auto keywords = parsePlainKeyList("mov\r\nadd\n\nsub\rjmp", KeyListKind::Keywords);
    ASSERT_EQ(keywords.size(), 4u);
    EXPECT_EQ(keywords[3].Text, "jmp");
    EXPECT_EQ(keywords[0], freshKeyEntry("mov"));
    EXPECT_EQ(keywords[0].Attributes.ContextNum, 1);
    EXPECT_EQ(keywords[0].Attributes.Foreground, -1);

    const auto keys = parsePlainKeyList("/*|*/\r\na|b|c\r\nnostop\r\n|x\r\n", KeyListKind::StartStopKeys);
    ASSERT_EQ(keys.size(), 4u);
    EXPECT_EQ(keys[0].Text + " " + keys[0].StopText, "/* */");
    EXPECT_EQ(keys[1].Text + " " + keys[1].StopText, "a b|c"); // split at the first bar
    EXPECT_EQ(keys[2].Text, "nostop");
    EXPECT_EQ(keys[2].StopText, "");
    EXPECT_EQ(keys[3].Text, "");

    // Entries without text are not written; what is written reads back the same.
    EXPECT_EQ(formatPlainKeyList(keys, KeyListKind::StartStopKeys), "/*|*/\r\na|b|c\r\nnostop|\r\n");
    write(file("keys.txt"), formatPlainKeyList(keywords, KeyListKind::Keywords));
    EXPECT_EQ(loadPlainKeyList(file("keys.txt"), KeyListKind::Keywords), keywords);
}

TEST_F(KeywordFiles, AttributeFileHoldsTheTextFormInItsSection)
{
    write(file("attr.ini"), "[Other]\nkeep=1\n[Keywords]\nold=1,1,1,0,-1,-1,\n");
    write(file("attr.ini"), attributeFileBytes(file("attr.ini"), defaultList()));
    const std::string text = contents(file("attr.ini"));
    EXPECT_NE(text.find("AND=2,1,7,0,-1,16119285,0,0,"), std::string::npos);
    EXPECT_NE(text.find("keep=1"), std::string::npos);
    EXPECT_EQ(text.find("old="), std::string::npos); // the section was replaced

    TKeywordList loaded;
    loadAttributeFile(file("attr.ini"), loaded);
    EXPECT_EQ(keyEntriesOf(loaded), keyEntriesOf(defaultList()));

    TStartStopKeyList keys;
    fillStartStop(keys);
    write(file("attr.ini"), attributeFileBytes(file("attr.ini"), keys));
    EXPECT_NE(contents(file("attr.ini")).find("[Sections]"), std::string::npos);
    TStartStopKeyList keysLoaded;
    loadAttributeFile(file("attr.ini"), keysLoaded);
    ASSERT_EQ(keysLoaded.Count(), 3);
    // The plain start-stop list reads the stays-in-paragraph bit of the flags only.
    EXPECT_EQ(keysLoaded.Item(1).KeyFlags, kKeyStaysInParagraph);
    EXPECT_EQ(keysLoaded.Item(0).StartKey + keysLoaded.Item(2).StopKey, "/*END"); // names as matched
    EXPECT_EQ(static_cast<const TKeyAttributes &>(keysLoaded.Item(1)),
              static_cast<const TKeyAttributes &>(keys.Item(1)));
    TKeywordList stillThere;
    loadAttributeFile(file("attr.ini"), stillThere);
    EXPECT_EQ(stillThere.Count(), defaultList().Count());
}

TEST_F(KeywordFiles, AttributeFileKeepsOneLinePerName)
{
    std::vector<KeyEntry> entries{freshKeyEntry("mov"), freshKeyEntry("add"), freshKeyEntry("MOV")};
    entries[2].Attributes.ContextNum = 9;
    TKeywordList list;
    fillKeywordList(list, entries);
    write(file("dup.ini"), attributeFileBytes(file("dup.ini"), list));
    TKeywordList loaded;
    loadAttributeFile(file("dup.ini"), loaded);
    ASSERT_EQ(loaded.Count(), 2);
    EXPECT_EQ(loaded.Get(0), "MOV"); // the later entry's values at the earlier entry's place
    EXPECT_EQ(loaded.Item(0).ContextNum, 9);
    EXPECT_EQ(loaded.Get(1), "add");

    // Section and names compare as the name=value form does: without regard to case.
    write(file("case.ini"), "[keywords]\nmov=2,1,7,0,-1,-1,\nMov=1,1,1,0,-1,-1,\n");
    loadAttributeFile(file("case.ini"), loaded);
    ASSERT_EQ(loaded.Count(), 1);
    EXPECT_EQ(loaded.Item(0).KeyOptions, kOptMatchCase);
}

TEST_F(KeywordFiles, BadFilesFailWithClearErrors)
{
    TKeywordList list;
    try {
        loadAttributeFile(file("missing.ini"), list);
        FAIL() << "no error for a missing file";
    } catch (const KeywordFileError &e) {
        EXPECT_NE(std::string(e.what()).find("Cannot open file"), std::string::npos);
    }
    EXPECT_THROW(loadPlainKeyList(file("missing.txt"), KeyListKind::Keywords), KeywordFileError);
    EXPECT_THROW(loadKbnFile(dir_, list), KeywordFileError); // a folder does not read
    write(dir_ / "other.ini", "[Keywords]\nmov=1,1,1,0,-1,-1,\n");
    std::filesystem::permissions(dir_ / "other.ini", std::filesystem::perms::none);
    if (::geteuid() != 0) { // an unreadable file to merge the list into is an error, not an empty file
        EXPECT_THROW(attributeFileBytes(dir_ / "other.ini", list), KeywordFileError);
    }

    write(file("bad.ini"), "[Keywords]\nmov=2,1,x,0,-1,-1,\n");
    try {
        loadAttributeFile(file("bad.ini"), list);
        FAIL() << "no error for a bad number";
    } catch (const std::invalid_argument &e) {
        EXPECT_NE(std::string(e.what()).find("'x'"), std::string::npos);
    }
}

TEST_F(KeywordFiles, KbnFileIsAHeaderAndTheStoredList)
{
    TStartStopKeyList keys;
    fillStartStop(keys);
    const std::string keywordBytes = kbnBytes(defaultList());
    const std::string keyBytes = kbnBytes(keys);
    EXPECT_EQ(keywordBytes.substr(0, 19), std::string("\x06\x11") + "Extended keywords");
    EXPECT_EQ(keyBytes.substr(0, 26), std::string("\x06\x18") + "Extended start-stop keys");
    EXPECT_EQ(keywordBytes[19], 1); // the list begins
    EXPECT_EQ(keywordBytes.back(), 0);

    ASSERT_GT(keywordBytes.size(), 3000u);
    write(file("k.kbn"), kbnBytes(defaultList()));
    EXPECT_EQ(contents(file("k.kbn")), keywordBytes);
    TKeywordList loaded;
    loadKbnFile(file("k.kbn"), loaded);
    EXPECT_EQ(keyEntriesOf(loaded), keyEntriesOf(defaultList()));

    write(file("s.kbn"), kbnBytes(keys));
    TStartStopKeyList keysLoaded;
    loadKbnFile(file("s.kbn"), keysLoaded);
    ASSERT_EQ(keysLoaded.Count(), 3);
    EXPECT_EQ(keysLoaded.Item(1).KeyFlags, keys.Item(1).KeyFlags);
    EXPECT_EQ(keysLoaded.Item(1).Scope, 3);
    EXPECT_EQ(keysLoaded.Item(2).StartKey, "BEGIN"); // texts as matched
}

TEST_F(KeywordFiles, KbnOfTheOtherKindOrWithoutHeaderIsRefused)
{
    TStartStopKeyList keys;
    fillStartStop(keys);
    const auto expectMessage = [](auto &&read, const char *message) {
        try {
            read();
            ADD_FAILURE() << "no error, expected " << message;
        } catch (const KeywordFileError &e) {
            EXPECT_STREQ(e.what(), message);
        }
    };
    TStartStopKeyList asKeys;
    TKeywordList asKeywords;
    expectMessage([&] { readKbn(kbnBytes(defaultList()), asKeys); }, kInvalidStartStopFile);
    expectMessage([&] { readKbn(kbnBytes(keys), asKeywords); }, kInvalidKeywordFile);
    for (const std::string &bytes : {std::string(), std::string("\x02\x05", 2), std::string("\x06\x40short"),
                                     std::string("\x06\x11") + "Extended keyword!"})
        expectMessage([&] { readKbn(bytes, asKeywords); }, kInvalidKeywordFile);
}

TEST_F(KeywordFiles, TruncatedOrCorruptedKbnNeverReadsPastItsEnd)
{
    TStartStopKeyList keys;
    fillStartStop(keys);
    const std::string keywordBytes = kbnBytes(defaultList());
    const std::string keyBytes = kbnBytes(keys);
    TKeywordList target;
    target.AddKeyword("kept", 0, 0, 1, 0, -1, -1);
    // Every cut before the list end fails and leaves the list it was read into alone.
    for (std::size_t cut = 0; cut < keywordBytes.size(); cut += 7) {
        EXPECT_ANY_THROW(readKbn(std::string_view(keywordBytes).substr(0, cut), target)) << cut;
        ASSERT_EQ(target.Count(), 1);
    }
    TStartStopKeyList keyTarget;
    for (std::size_t cut = 0; cut < keyBytes.size(); ++cut)
        EXPECT_ANY_THROW(readKbn(std::string_view(keyBytes).substr(0, cut), keyTarget)) << cut;
    EXPECT_EQ(keyTarget.Count(), 0);

    // Random byte damage either reads or fails with an error; the sanitizer build checks
    // that nothing is read out of bounds.
    std::mt19937 random(20261208);
    for (int round = 0; round < 300; ++round) {
        std::string damaged = round % 2 ? keyBytes : keywordBytes.substr(0, 400);
        for (int hits = 1 + round % 4; hits > 0; --hits)
            damaged[random() % damaged.size()] = static_cast<char>(random());
        TKeywordList k;
        TStartStopKeyList s;
        try {
            readKbn(damaged, k);
        } catch (const std::exception &) {
            EXPECT_EQ(k.Count(), 0);
        }
        try {
            readKbn(damaged, s);
        } catch (const std::exception &) {
            EXPECT_EQ(s.Count(), 0);
        }
    }
}

TEST(KeyEntries, ListsRebuildFromEntriesLeavingOutEmptyTexts)
{
    TKeywordList list;
    std::vector<KeyEntry> entries = keyEntriesOf(defaultList());
    entries[5].Scope = 12;
    entries[5].Priority = -3;
    entries.insert(entries.begin() + 2, freshKeyEntry());
    fillKeywordList(list, entries);
    entries.erase(entries.begin() + 2);
    EXPECT_EQ(keyEntriesOf(list), entries);

    TStartStopKeyList keys;
    fillStartStop(keys);
    std::vector<KeyEntry> keyEntries = keyEntriesOf(keys);
    keyEntries.push_back(freshKeyEntry("", "stop"));
    TStartStopKeyList rebuilt;
    fillStartStopList(rebuilt, keyEntries);
    keyEntries.pop_back();
    EXPECT_EQ(keyEntriesOf(rebuilt), keyEntries);

    // A key too long for the list is refused before the list changes.
    keyEntries.push_back(freshKeyEntry(std::string(kMaxStartStopKeyLength + 1, 'a')));
    EXPECT_THROW(fillStartStopList(rebuilt, keyEntries), std::length_error);
    EXPECT_EQ(rebuilt.Count(), 3);
}

TEST_F(KeywordFiles, RandomListsSurviveEveryForm)
{
    std::mt19937 random(5400);
    const auto randomText = [&] {
        std::string text;
        for (int n = 1 + static_cast<int>(random() % 12); n > 0; --n)
            text += static_cast<char>(random() % 8 == 0 ? 0xC0 + random() % 64 : '!' + random() % 90);
        std::erase_if(text, [](char c) { return c == '=' || c == '|' || c == ';' || c == '[' || c == ' '; });
        return text;
    };
    for (int round = 0; round < 20; ++round) {
        std::vector<KeyEntry> entries;
        for (int n = static_cast<int>(random() % 40); n > 0; --n) {
            // A number ahead keeps the names apart.
            KeyEntry e = freshKeyEntry(std::to_string(entries.size()) + "_" + randomText());
            e.Attributes.KeyOptions = static_cast<std::uint8_t>(random() % 32);
            e.Attributes.KeyStyle = static_cast<std::uint8_t>(random() % 64);
            e.Attributes.ContextNum = static_cast<std::int16_t>(random());
            e.Attributes.Cursor = static_cast<std::int16_t>(-static_cast<int>(random() % 23));
            e.Attributes.Foreground = static_cast<std::int32_t>(random() % 0x1000000);
            e.Scope = static_cast<std::int16_t>(random());
            e.Priority = static_cast<std::int16_t>(random());
            entries.push_back(e);
        }
        TKeywordList list;
        fillKeywordList(list, entries);

        TKeywordList fromKbn;
        readKbn(kbnBytes(list), fromKbn);
        EXPECT_EQ(keyEntriesOf(fromKbn), entries) << round;

        write(file("r.ini"), attributeFileBytes(file("r.ini"), list));
        TKeywordList fromIni;
        loadAttributeFile(file("r.ini"), fromIni);
        auto withoutExtras = entries; // the plain keyword list reads no scope or priority
        for (auto &e : withoutExtras)
            e.Scope = e.Priority = 0;
        EXPECT_EQ(keyEntriesOf(fromIni), withoutExtras) << round;

        const auto fromText =
            parsePlainKeyList(formatPlainKeyList(entries, KeyListKind::Keywords), KeyListKind::Keywords);
        ASSERT_EQ(fromText.size(), entries.size());
        for (std::size_t i = 0; i < entries.size(); ++i)
            EXPECT_EQ(fromText[i], freshKeyEntry(entries[i].Text));
    }
}
