// Tests of the profile file reader and writer, with the file's bytes compared after each write.
#include <dlfcn.h>
#include <gtest/gtest.h>
#include <sys/inotify.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <atomic>
#include <cerrno>
#include <functional>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/profilefile.h"
#include "support/tempdir.h"

using namespace std::string_view_literals;

namespace {

// While set, every fsync of this process fails with it, as on a disk that cannot keep what
// was written to it.
std::atomic<int> syncFailure{0};

}  // namespace

extern "C" int fsync(int descriptor) {
    if (const int failure = syncFailure.load()) {
        errno = failure;
        return -1;
    }
    static const auto real = reinterpret_cast<int (*)(int)>(::dlsym(RTLD_NEXT, "fsync"));
    return real(descriptor);
}

namespace {

QByteArray bytesOf(std::string_view text) {
    return QByteArray(text.data(), text.size());
}

struct ReadCase {
    const char* name;
    std::string_view file;
    const char* section;
    const char* key;
    std::u16string_view expected;
};

class ProfileRead : public ::testing::TestWithParam<ReadCase> {};

TEST_P(ProfileRead, FindsTheValue) {
    const ReadCase& c = GetParam();
    TestFolder folder;
    const QString file = folder.write(QStringLiteral("Gestar.ini"), bytesOf(c.file));
    const QString section = QString::fromLatin1(c.section);
    const QString key = QString::fromLatin1(c.key);
    const QString expected = QString::fromUtf16(c.expected.data(), c.expected.size());
    EXPECT_EQ(profile::Profile::load(file).value(section, key), expected);
    // A loaded file answers the same from what it read, whatever the file holds since.
    const profile::Profile loaded = profile::Profile::load(file);
    folder.write(QStringLiteral("Gestar.ini"), "[A]\r\nK=changed\r\n");
    EXPECT_EQ(loaded.value(section, key), expected);
}

const QByteArray kLongValue = QByteArray(150, 'x');

INSTANTIATE_TEST_SUITE_P(
    Rules, ProfileRead,
    ::testing::Values(
        ReadCase{"CrLf", "[AGENDA]\r\nSecondi=30\r\n", "AGENDA", "Secondi", u"30"},
        ReadCase{"LfOnly", "[A]\nX=1\nSecondi=30\n", "A", "Secondi", u"30"},
        ReadCase{"CrOnly", "[A]\rX=1\rSecondi=30", "A", "Secondi", u"30"},
        ReadCase{"NamesIgnoreCase", "[agenda]\r\nSECONDI=30", "Agenda", "secondi", u"30"},
        ReadCase{"NonAsciiNamesIgnoreCase", "[\xc0rea]\r\nCitt\xe0=1", "\xe0REA", "CITT\xc0", u"1"},
        ReadCase{"Utf8MarkStartsTheFile", "\xef\xbb\xbf[A]\r\nK=1\r\n[B]\r\nK=2", "A", "K", u"1"},
        ReadCase{"Utf8Text", "[BASE]\r\nOPERATORE=niccol\xc3\xb2", "BASE", "OPERATORE",
                 u"niccol\u00f2"},
        ReadCase{"Utf8NamesIgnoreCase", "[\xc3\x80rea]\r\nK=1", "\xe0REA", "K", u"1"},
        ReadCase{"Utf8MarkWithInvalidBytes", "\xef\xbb\xbf[A]\r\nK=\xc3\xb2\xe0", "A", "K",
                 u"\u00f2\ufffd"},
        ReadCase{"InvalidUtf8IsWindows1252", "[A]\r\nK=\xc3\xb2 \xe0", "A", "K",
                 u"\u00c3\u00b2 \u00e0"},
        ReadCase{"BlanksInsideBrackets", "  [ \tAGENDA ] trailing text\r\nK=1", "AGENDA", "K",
                 u"1"},
        ReadCase{"MissingClosingBracket", "[AGENDA\r\nK=1", "AGENDA", "K", u"1"},
        ReadCase{"SemicolonLineIsAComment", "[A]\r\n  ;K=1\r\nK=2", "A", "K", u"2"},
        ReadCase{"HashLineIsAKey", "[A]\r\n#K=1\r\nK=2", "A", "#K", u"1"},
        ReadCase{"CommentMarksInsideAValueAreText", "[A]\r\nK=a;b # c", "A", "K", u"a;b # c"},
        ReadCase{"LinesBeforeTheFirstHeaderBelongNowhere", "K=1\r\n[A]\r\nX=2", "A", "K", u""},
        ReadCase{"OnlyTheFirstSectionOfANameIsSearched", "[A]\r\nX=1\r\n[a]\r\nK=2", "A", "K", u""},
        ReadCase{"FirstKeyOfANameWins", "[A]\r\nK=1\r\nk=2", "A", "K", u"1"},
        ReadCase{"KeyOfTheNextSectionIsNotFound", "[A]\r\n[B]\r\nK=1", "A", "K", u""},
        ReadCase{"BlanksAroundAValueGo", "[A]\r\n \t K \t= \t3 0 \t", "A", "K", u"3 0"},
        ReadCase{"ACommentAfterBlanksKeepsOneBlank", "[A]\r\nK= \t; nota", "A", "K", u" ; nota"},
        ReadCase{"ACommentRightAfterEquals", "[A]\r\nK=; nota", "A", "K", u"; nota"},
        ReadCase{"QuotedBlanksStay", "[A]\r\nK=\"\t; nota\"", "A", "K", u"\t; nota"},
        ReadCase{"NamesAskedWithBlanks", "[A]\r\nK=1", " A\t", "\tK ", u"1"},
        ReadCase{"AllBlankValue", "[A]\r\nK=  \t ", "A", "K", u""},
        ReadCase{"EqualsSignInsideAValue", "[A]\r\nK= a=b", "A", "K", u"a=b"},
        ReadCase{"DoubleQuotesRemoved", "[A]\r\nK= \" a \" ", "A", "K", u" a "},
        ReadCase{"SingleQuotesRemoved", "[A]\r\nK='a'", "A", "K", u"a"},
        ReadCase{"OnlyOneQuotePairRemoved", "[A]\r\nK=\"\"a\"\"", "A", "K", u"\"a\""},
        ReadCase{"MismatchedQuotesStay", "[A]\r\nK=\"a'", "A", "K", u"\"a'"},
        ReadCase{"LoneQuoteStays", "[A]\r\nK=\"", "A", "K", u"\""},
        ReadCase{"EmptyValue", "[A]\r\nK=\r\n", "A", "K", u""},
        ReadCase{"LineWithoutEqualsIsNoKey", "[A]\r\nK\r\nK=1", "A", "K", u"1"},
        ReadCase{"Windows1252Text", "[A]\r\nK=\x80 \xe0", "A", "K", u"\u20ac \u00e0"},
        ReadCase{"NulStaysForTheCaller", "[A]\r\nK=a\0b"sv, "A", "K", u"a\0b"sv},
        ReadCase{"MissingSection", "[A]\r\nK=1", "B", "K", u""},
        ReadCase{"EmptyFile", "", "A", "K", u""}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ProfileReadLimit, LongValueComesBackAsItsFirst99Characters) {
    TestFolder folder;
    const QString file = folder.write(QStringLiteral("Gestar.ini"), "[A]\r\nK=\"" + kLongValue);
    EXPECT_EQ(profile::Profile::load(file).value(QStringLiteral("A"), QStringLiteral("K")),
              QString(QLatin1Char('"')) + QString(98, QLatin1Char('x')));
    folder.write(QStringLiteral("Gestar.ini"), "[A]\r\nK=\"" + kLongValue + '"');
    EXPECT_EQ(profile::Profile::load(file).value(QStringLiteral("A"), QStringLiteral("K")),
              QString(99, QLatin1Char('x')));
    // Characters, not bytes: a UTF-8 file's "ò" takes two.
    folder.write(QStringLiteral("Gestar.ini"), "[A]\r\nK=" + QByteArray("\xc3\xb2").repeated(150));
    EXPECT_EQ(profile::Profile::load(file).value(QStringLiteral("A"), QStringLiteral("K")),
              QString(99, QChar(0xf2)));
}

TEST(ProfileReadFile, MissingFileReadsEmpty) {
    TestFolder folder;
    EXPECT_EQ(profile::Profile::load(folder.path(QStringLiteral("none.ini")))
                  .value(QStringLiteral("A"), QStringLiteral("K")),
              QString());
}

// Keys and values, set in one write.
using KeyValues = std::vector<std::pair<const char*, const char16_t*>>;

QList<std::pair<QString, QString>> toQt(const KeyValues& keyValues) {
    QList<std::pair<QString, QString>> converted;
    for (const auto& [key, value] : keyValues) {
        converted.append({QString::fromLatin1(key), QString::fromUtf16(value)});
    }
    return converted;
}

struct WriteCase {
    const char* name;
    std::string_view before;
    const char* section;
    KeyValues keyValues;
    std::string_view after;
};

class ProfileWrite : public ::testing::TestWithParam<WriteCase> {};

TEST_P(ProfileWrite, ChangesOnlyThoseKeys) {
    const WriteCase& c = GetParam();
    TestFolder folder;
    const QString file = folder.write(QStringLiteral("Gestar.ini"), bytesOf(c.before));
    ASSERT_TRUE(profile::writeValues(file, QString::fromLatin1(c.section), toQt(c.keyValues)));
    EXPECT_EQ(TestFolder::read(file), bytesOf(c.after));
}

INSTANTIATE_TEST_SUITE_P(
    Rules, ProfileWrite,
    ::testing::Values(
        WriteCase{"ReplacesTheLineKeepingTheNameAsWritten",
                  "[agenda]\r\n  SECONDI = 30 ; old\r\nX=1\r\n",
                  "AGENDA",
                  {{"Secondi", u"45"}},
                  "[agenda]\r\nSECONDI=45\r\nX=1\r\n"},
        WriteCase{"EveryLineEndsInCrLf",
                  "[A]\rK=1\rX=2\n\nY=3",
                  "A",
                  {{"K", u"3"}},
                  "[A]\r\nK=3\r\nX=2\r\n\r\nY=3\r\n"},
        WriteCase{
            "ReplacesLastLineWithoutBreak", "[A]\nK=1", "A", {{"K", u"22"}}, "[A]\r\nK=22\r\n"},
        WriteCase{"ReplacesOnlyInTheFirstSectionOfTheName",
                  "[A]\nK=1\n[A]\nK=2\n",
                  "A",
                  {{"K", u"3"}},
                  "[A]\r\nK=3\r\n[A]\r\nK=2\r\n"},
        WriteCase{"ReplacesOnlyTheFirstKeyOfTheName",
                  "[A]\nK=1\nK=2\n",
                  "A",
                  {{"K", u"3"}},
                  "[A]\r\nK=3\r\nK=2\r\n"},
        WriteCase{
            "NewNamesWithoutBlanks", "", " sec ", {{"\tchiave ", u"1"}}, "[sec]\r\nchiave=1\r\n"},
        WriteCase{"NamesWithBlanksFindTheirLine",
                  "[sec]\r\nchiave=1\r\n",
                  " sec ",
                  {{" chiave", u"2"}},
                  "[sec]\r\nchiave=2\r\n"},
        WriteCase{"InsertsAfterTheSectionsLastKey",
                  "[A]\r\nX=1\r\n\r\n; note\r\n[B]\r\nK=0\r\n",
                  "A",
                  {{"K", u"60"}},
                  "[A]\r\nX=1\r\nK=60\r\n\r\n; note\r\n[B]\r\nK=0\r\n"},
        WriteCase{"InsertsAfterTheHeaderOfASectionWithoutKeys",
                  "[A]\n;K=1\n[B]\n",
                  "A",
                  {{"K", u"2"}},
                  "[A]\r\nK=2\r\n;K=1\r\n[B]\r\n"},
        WriteCase{"EndsAnOpenLastKeyLineBeforeInserting",
                  "[A]\r\nX=1",
                  "A",
                  {{"K", u"2"}},
                  "[A]\r\nX=1\r\nK=2\r\n"},
        WriteCase{
            "EndsAnOpenHeaderLineBeforeInserting", "[A]", "A", {{"K", u"2"}}, "[A]\r\nK=2\r\n"},
        WriteCase{"KeyBeforeTheFirstHeaderIsNotTheSectionsKey",
                  "K=0\n[A]\n",
                  "A",
                  {{"K", u"1"}},
                  "K=0\r\n[A]\r\nK=1\r\n"},
        WriteCase{"AppendsAMissingSection",
                  "[B]\nK=0\n",
                  "ListaApp",
                  {{"DIMX", u"9000"}},
                  "[B]\r\nK=0\r\n[ListaApp]\r\nDIMX=9000\r\n"},
        WriteCase{"AppendsAfterALineBreakWhenTheLastLineLacksOne",
                  "[B]\r\nK=0",
                  "A",
                  {{"K", u"1"}},
                  "[B]\r\nK=0\r\n[A]\r\nK=1\r\n"},
        WriteCase{"AppendsToAnEmptyFile", "", "A", {{"K", u"1"}}, "[A]\r\nK=1\r\n"},
        WriteCase{"EveryOtherByteStays",
                  "\xef\xbb\xbf;\x81\x8d\r\n[A]\n\tK\t=1\n\n[B]\r\nZ=\0\r"sv,
                  "A",
                  {{"K", u"2"}},
                  "\xef\xbb\xbf;\x81\x8d\r\n[A]\r\nK=2\r\n\r\n[B]\r\nZ=\0\r\n"sv},
        WriteCase{
            "WritesWindows1252", "[A]\r\n", "A", {{"K", u"\u20ac\u00e0"}}, "[A]\r\nK=\x80\xe0\r\n"},
        WriteCase{"KeepsWindows1252",
                  "[A]\r\nX=\xe0\r\n",
                  "A",
                  {{"K", u"\u00f2"}},
                  "[A]\r\nX=\xe0\r\nK=\xf2\r\n"},
        WriteCase{"KeepsUtf8",
                  "[A]\r\nX=\xc3\xa0\r\n",
                  "A",
                  {{"K", u"\u00f2\u2192"}},
                  "[A]\r\nX=\xc3\xa0\r\nK=\xc3\xb2\xe2\x86\x92\r\n"},
        WriteCase{"KeepsTheUtf8Mark",
                  "\xef\xbb\xbf[A]\r\nK=1\r\n",
                  "A",
                  {{"K", u"\u2192"}},
                  "\xef\xbb\xbf[A]\r\nK=\xe2\x86\x92\r\n"},
        WriteCase{"EmptyValue", "[A]\r\nK=1\r\n", "A", {{"K", u""}}, "[A]\r\nK=\r\n"},
        WriteCase{"SeveralKeysInTheirOrder",
                  "[A]\r\nX=1\r\n[B]\r\n",
                  "A",
                  {{"K", u"1"}, {"x", u"2"}, {"L", u"3"}},
                  "[A]\r\nX=2\r\nK=1\r\nL=3\r\n[B]\r\n"},
        WriteCase{"SeveralKeysOfANewSection",
                  "[B]\r\nZ=0",
                  "A",
                  {{"K", u"1"}, {"L", u"2"}},
                  "[B]\r\nZ=0\r\n[A]\r\nK=1\r\nL=2\r\n"},
        WriteCase{"AKeyNamedTwiceKeepsItsLastValue",
                  "[A]\r\n",
                  "A",
                  {{"K", u"1"}, {"k", u"2"}},
                  "[A]\r\nK=2\r\n"},
        // The first value's bytes would pass for UTF-8: the old file's encoding still holds.
        WriteCase{"OneEncodingForEveryKey",
                  "[A]\r\n",
                  "A",
                  {{"K", u"\u00c3\u00b2"}, {"L", u"\u00f2"}},
                  "[A]\r\nK=\xc3\xb2\r\nL=\xf2\r\n"},
        WriteCase{"NoKeysLeaveTheFileAsItWas", "[A]\nK=1", "A", {}, "[A]\nK=1"}),
    [](const auto& info) { return std::string(info.param.name); });

struct RefusalCase {
    const char* name;
    std::string_view before;
    const char* section;
    KeyValues keyValues;
    profile::WriteError error;
};

class ProfileWriteRefused : public ::testing::TestWithParam<RefusalCase> {};

// A line break in a name or value would add lines of its own (a sound file may be named
// "x\n[BASE]\nOPERATORE=y.wav"), and a character the file's encoding cannot hold would come
// back as another: such a write is refused and the file stays as it was.
TEST_P(ProfileWriteRefused, LeavesTheFileAsItWas) {
    TestFolder folder;
    const RefusalCase& c = GetParam();
    const QString file = folder.write(QStringLiteral("Gestar.ini"), bytesOf(c.before));
    EXPECT_EQ(profile::writeValues(file, QString::fromLatin1(c.section), toQt(c.keyValues)).error,
              c.error);
    EXPECT_EQ(TestFolder::read(file), bytesOf(c.before));
}

constexpr std::string_view kDing = "[AGENDA]\r\nSuonoFile=ding\r\n";
constexpr auto kLineBreak = profile::WriteError::LineBreak;
constexpr auto kUnencodable = profile::WriteError::Unencodable;

INSTANTIATE_TEST_SUITE_P(
    Names, ProfileWriteRefused,
    ::testing::Values(
        RefusalCase{
            "LfInValue", kDing, "AGENDA", {{"SuonoFile", u"x\n[BASE]\nOPERATORE=y"}}, kLineBreak},
        RefusalCase{"CrInValue", kDing, "AGENDA", {{"SuonoFile", u"x\ry"}}, kLineBreak},
        RefusalCase{"LfInKey", kDing, "AGENDA", {{"Suono\nFile", u"x"}}, kLineBreak},
        RefusalCase{"CrInSection", kDing, "AG\rENDA", {{"SuonoFile", u"x"}}, kLineBreak},
        RefusalCase{
            "OutsideWindows1252", kDing, "AGENDA", {{"SuonoFile", u"x\u2192y"}}, kUnencodable},
        RefusalCase{"LoneSurrogateInUtf8",
                    "[AGENDA]\r\nSuonoFile=d\xc3\xacng\r\n",
                    "AGENDA",
                    {{"SuonoFile", u"x\xd800"}},
                    kUnencodable},
        RefusalCase{"LfInALaterValue",
                    kDing,
                    "AGENDA",
                    {{"Secondi", u"5"}, {"SuonoFile", u"x\ny"}},
                    kLineBreak},
        RefusalCase{"ALaterValueOutsideWindows1252",
                    kDing,
                    "AGENDA",
                    {{"Secondi", u"5"}, {"SuonoFile", u"\u2192"}},
                    kUnencodable}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ProfileWriteFile, FailsWithoutCreatingAMissingFolder) {
    TestFolder folder;
    const QString file = folder.path(QStringLiteral("none/Gestar.ini"));
    EXPECT_FALSE(profile::writeValues(file, QStringLiteral("A"),
                                      {{QStringLiteral("K"), QStringLiteral("1")}}));
    EXPECT_FALSE(QFile::exists(folder.path(QStringLiteral("none"))));
}

TEST(ProfileWriteFile, FailsOnAFolderInsteadOfAFile) {
    TestFolder folder;
    folder.write(QStringLiteral("Gestar.ini/inside"), "x");
    EXPECT_FALSE(profile::writeValues(folder.path(QStringLiteral("Gestar.ini")),
                                      QStringLiteral("A"),
                                      {{QStringLiteral("K"), QStringLiteral("1")}}));
    EXPECT_EQ(TestFolder::read(folder.path(QStringLiteral("Gestar.ini/inside"))), "x");
}

// A new file that may not be on the disk is never renamed over the old one.
TEST(ProfileWriteFile, AFailedSyncLeavesTheOldFileAndNoTrace) {
    TestFolder folder;
    const QString file = folder.write(QStringLiteral("Gestar.ini"), "[A]\r\nK=1\r\n");
    syncFailure = EIO;
    const profile::WriteResult result = profile::writeValues(
        file, QStringLiteral("A"), {{QStringLiteral("K"), QStringLiteral("2")}});
    syncFailure = 0;
    EXPECT_EQ(result.error, profile::WriteError::System);
    EXPECT_EQ(result.systemError, EIO);
    EXPECT_EQ(TestFolder::read(file), "[A]\r\nK=1\r\n");
    EXPECT_EQ(QDir(QFileInfo(file).absolutePath()).entryList(QDir::Files | QDir::Hidden),
              QStringList{"Gestar.ini"});
}

// The host product may be reading the file at that moment: it must keep seeing the whole
// old file, never a truncated or half-written one.
TEST(ProfileWriteFile, AnOpenReaderKeepsTheWholeOldFile) {
    TestFolder folder;
    const QByteArray old = "[A]\r\nK=1\r\n" + QByteArray(4096, ';') + "\r\n";
    const QString file = folder.write(QStringLiteral("Gestar.ini"), old);
    QFile reader(file);
    ASSERT_TRUE(reader.open(QIODevice::ReadOnly));
    ASSERT_TRUE(profile::writeValues(file, QStringLiteral("A"),
                                     {{QStringLiteral("K"), QStringLiteral("2")}}));
    EXPECT_EQ(reader.readAll(), old);
}

// How many files were renamed into `folder` while `write` ran, -1 when it cannot be watched;
// `written` tells whether the write succeeded.
int renamesInto(const QString& folder, const std::function<bool()>& write, bool& written) {
    const int watch = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    if (watch < 0) return -1;
    int renames = -1;
    // Counted by the names moved from, each its own: identical events in a row would merge.
    if (::inotify_add_watch(watch, QFile::encodeName(folder).constData(), IN_MOVED_FROM) >= 0) {
        written = write();
        alignas(inotify_event) char events[4096];
        const ssize_t got = ::read(watch, events, sizeof events);
        renames = 0;
        for (ssize_t at = 0; at < got; ++renames) {
            at += sizeof(inotify_event) + reinterpret_cast<const inotify_event*>(events + at)->len;
        }
    }
    ::close(watch);
    return renames;
}

// Several keys, one replacement: the new file arrives once, so no reader ever meets a file
// with only some of the keys.
TEST(ProfileWriteFile, SeveralKeysReplaceTheFileOnce) {
    TestFolder folder;
    const QString file = folder.write(QStringLiteral("Gestar.ini"), "[AGENDA]\r\nSecondi=30\r\n");
    bool written = false;
    const int renames = renamesInto(
        folder.path(QString()),
        [&] {
            return bool(
                profile::writeValues(file, QStringLiteral("AGENDA"),
                                     {{QStringLiteral("Secondi"), QStringLiteral("5")},
                                      {QStringLiteral("SuonoSN"), QStringLiteral("S")},
                                      {QStringLiteral("SuonoPath"), QStringLiteral("/suoni")}}));
        },
        written);
    EXPECT_TRUE(written);
    EXPECT_EQ(renames, 1);
    EXPECT_EQ(TestFolder::read(file),
              QByteArray("[AGENDA]\r\nSecondi=5\r\nSuonoSN=S\r\nSuonoPath=/suoni\r\n"));
}

TEST(ProfileWriteFile, KeepsThePermissions) {
    TestFolder folder;
    const QString file = folder.write(QStringLiteral("Gestar.ini"), "[A]\r\nK=1\r\n");
    const QFile::Permissions permissions = QFile::ReadOwner | QFile::WriteOwner | QFile::ReadUser |
                                           QFile::WriteUser | QFile::ReadGroup;
    ASSERT_TRUE(QFile::setPermissions(file, permissions));
    ASSERT_TRUE(profile::writeValues(file, QStringLiteral("A"),
                                     {{QStringLiteral("K"), QStringLiteral("2")}}));
    EXPECT_EQ(QFile::permissions(file), permissions);
}

// A Gestar.ini that the office group shares stays theirs after root has written it.
TEST(ProfileWriteFile, KeepsTheOwnerAndGroup) {
    if (::geteuid() != 0) GTEST_SKIP() << "giving a file to another user needs root";
    TestFolder folder;
    const QString file = folder.write(QStringLiteral("Gestar.ini"), "[A]\r\nK=1\r\n");
    ASSERT_EQ(::chown(QFile::encodeName(file).constData(), 1000, 100), 0);
    ASSERT_EQ(::chmod(QFile::encodeName(file).constData(), 0664), 0);
    ASSERT_TRUE(profile::writeValues(file, QStringLiteral("A"),
                                     {{QStringLiteral("K"), QStringLiteral("2")}}));
    struct stat after {};
    ASSERT_EQ(::stat(QFile::encodeName(file).constData(), &after), 0);
    EXPECT_EQ(after.st_uid, 1000u);
    EXPECT_EQ(after.st_gid, 100u);
    EXPECT_EQ(after.st_mode & 07777, 0664u);
    EXPECT_EQ(TestFolder::read(file), QByteArray("[A]\r\nK=2\r\n"));
}

TEST(ProfileWriteFile, WritesThroughASymbolicLink) {
    TestFolder folder;
    const QString target = folder.write(QStringLiteral("shared/Gestar.ini"), "[A]\r\nK=1\r\n");
    const QString link = folder.path(QStringLiteral("Gestar.ini"));
    ASSERT_TRUE(QFile::link(target, link));
    ASSERT_TRUE(profile::writeValues(link, QStringLiteral("A"),
                                     {{QStringLiteral("K"), QStringLiteral("2")}}));
    EXPECT_EQ(QFile::symLinkTarget(link), target);
    EXPECT_EQ(TestFolder::read(target), QByteArray("[A]\r\nK=2\r\n"));
}

// No caching: each read sees the file as another program left it.
TEST(ProfileReadFile, SeesEveryChange) {
    TestFolder folder;
    const QString file = folder.write(QStringLiteral("Gestar.ini"), "[A]\r\nK=1\r\n");
    const QString section = QStringLiteral("A");
    const QString key = QStringLiteral("K");
    EXPECT_EQ(profile::Profile::load(file).value(section, key), QStringLiteral("1"));
    ASSERT_TRUE(profile::writeValues(file, section, {{key, QStringLiteral("2")}}));
    EXPECT_EQ(profile::Profile::load(file).value(section, key), QStringLiteral("2"));
    folder.write(QStringLiteral("Gestar.ini"), "[A]\r\nK=3\r\n");
    EXPECT_EQ(profile::Profile::load(file).value(section, key), QStringLiteral("3"));
}

}  // namespace
