// The favorites file: line splitting, the placeholder rule, CP932 and UTF-8 text, atomic saves.
#include "app/Cp932Codec.h"
#include "app/FavoritesFile.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

#include <random>

#include <unistd.h>

namespace
{
QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeAll(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}
} // namespace

class TestFavoritesFile : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void parse_data();
    void parse();
    void roundTripKeepsEveryLine();
    void cp932Characters_data();
    void cp932Characters();
    void characterOutsideCp932IsSavedAsUtf8();
    void missingFileIsThePlaceholder();
    void placeholderDeletesTheFile();
    void saveIntoReadOnlyFolderKeepsOldFile();
    void saveReplacesWholeFile();
    void readOnlyFileIsNotReplaced();
    void fullDiskKeepsOldFile();
    void killedWhileSavingLeavesOldOrNew();
    void largeAndOddFilesLoad();
    void untouchedEntriesAreWrittenBackVerbatim();
};

void TestFavoritesFile::parse_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QStringList>("expected");
    const QStringList none{QString()};
    QTest::newRow("empty file") << QByteArray() << none;
    QTest::newRow("three lines") << QByteArray("A\thttp://a/\r\nB\thttp://b/\r\nC\thttp://c/\r\n")
                                 << QStringList{"A\thttp://a/", "B\thttp://b/", "C\thttp://c/"};
    QTest::newRow("last line without CR LF")
        << QByteArray("A\ta\r\nB\tb") << QStringList{"A\ta", "B\tb"};
    QTest::newRow("empty line after the first is an empty entry")
        << QByteArray("A\ta\r\n\r\nB\tb\r\n") << QStringList{"A\ta", "", "B\tb"};
    QTest::newRow("commas, quotes and spaces are kept")
        << QByteArray(" a, \"b\" \t x,y \r\n") << QStringList{" a, \"b\" \t x,y "};
    QTest::newRow("no TAB and several TABs are taken as they are")
        << QByteArray("name only\r\nN\tU\tX\r\n") << QStringList{"name only", "N\tU\tX"};
    QTest::newRow("lone LF and lone CR end lines too")
        << QByteArray("A\ta\nB\tb\rC\tc") << QStringList{"A\ta", "B\tb", "C\tc"};
    QTest::newRow("leading empty lines do not hide later favorites")
        << QByteArray("\r\n\r\nA\ta\r\n") << QStringList{"A\ta"};
    QTest::newRow("only empty lines hold no favorites") << QByteArray("\r\n\r\n") << none;
    QTest::newRow("UTF-8 with BOM") << QByteArray("\xEF\xBB\xBF\xE3\x81\x82\t\xF0\x9F\x98\x80\r\n")
                                    << QStringList{QStringLiteral("あ\t😀")};
}

void TestFavoritesFile::parse()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QStringList, expected);
    QCOMPARE(FavoritesFile::parse(bytes), expected);
}

void TestFavoritesFile::roundTripKeepsEveryLine()
{
    const QByteArray file("Top\thttp://example.com/\r\n\r\n \"q\", x \tu\r\nN\tU\tX\r\n");
    QCOMPARE(FavoritesFile::serialize(FavoritesFile::parse(file)), file);
    // A first entry whose CP932 bytes look like a UTF-8 byte-order mark must not turn the file
    // into a UTF-8 one when read back.
    const QStringList bomLike = FavoritesFile::parse("\r\n\xEF\xBB\xBF\x82\xA0\r\n");
    QCOMPARE(FavoritesFile::parse(FavoritesFile::serialize(bomLike)), bomLike);
    const QStringList startsWithFeff{QStringLiteral("\uFEFF😀\tu")};
    QCOMPARE(FavoritesFile::parse(FavoritesFile::serialize(startsWithFeff)), startsWithFeff);
    // A last line without its line end comes back with one.
    QCOMPARE(FavoritesFile::serialize(FavoritesFile::parse("A\ta")), QByteArray("A\ta\r\n"));
}

void TestFavoritesFile::cp932Characters_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("bytes");
    // Windows-31J, not JIS Shift_JIS: these differ between the two tables.
    QTest::newRow("fullwidth tilde") << QStringLiteral("～") << QByteArray("\x81\x60");
    QTest::newRow("circled one") << QStringLiteral("①") << QByteArray("\x87\x40");
    QTest::newRow("IBM extension") << QStringLiteral("髙") << QByteArray("\xFB\xFC");
    QTest::newRow("half-width katakana")
        << QStringLiteral("ｿﾙﾍﾞﾙ") << QByteArray("\xBF\xD9\xCD\xDE\xD9");
    QTest::newRow("kana and kanji")
        << QStringLiteral("お気に入り") << QByteArray("\x82\xA8\x8B\x43\x82\xC9\x93\xFC\x82\xE8");
}

void TestFavoritesFile::cp932Characters()
{
    QVERIFY2(Cp932Codec::isAvailable(), "this Qt has no Windows-31J converter");
    QFETCH(QString, text);
    QFETCH(QByteArray, bytes);
    const QStringList list{text + QStringLiteral("\thttp://x/")};
    const QByteArray file = bytes + "\thttp://x/\r\n";
    QCOMPARE(FavoritesFile::serialize(list), file);
    QCOMPARE(FavoritesFile::parse(file), list);
}

void TestFavoritesFile::characterOutsideCp932IsSavedAsUtf8()
{
    // U+301C WAVE DASH has no CP932 form (CP932 maps 81 60 to U+FF5E); the emoji neither.
    const QStringList list{QStringLiteral("波〜\thttp://a/"), QStringLiteral("😀\thttp://b/"),
                           QStringLiteral("～\thttp://c/")};
    const QByteArray bytes = FavoritesFile::serialize(list);
    QVERIFY(bytes.startsWith("\xEF\xBB\xBF"));
    QVERIFY(bytes.endsWith("http://c/\r\n"));
    QCOMPARE(FavoritesFile::parse(bytes), list);
}

void TestFavoritesFile::missingFileIsThePlaceholder()
{
    QTemporaryDir dir;
    QCOMPARE(FavoritesFile::read(dir.filePath("favorites.txt")), QStringList{QString()});
}

void TestFavoritesFile::placeholderDeletesTheFile()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("favorites.txt");
    writeAll(path, "A\ta\r\n");
    QString error;
    QVERIFY(FavoritesFile::write(path, QStringList{QString()}, &error));
    QVERIFY(!QFile::exists(path));
    // Deleting a file that is not there is no failure either.
    QVERIFY(FavoritesFile::write(path, QStringList{QString()}, &error));
    QVERIFY(error.isEmpty());
}

void TestFavoritesFile::saveIntoReadOnlyFolderKeepsOldFile()
{
    QTemporaryDir dir;
    const QString folder = dir.filePath("ro");
    QVERIFY(QDir().mkpath(folder));
    const QString path = folder + "/favorites.txt";
    const bool root = ::geteuid() == 0;
    // Permission bits do not stop root: make the folder read-only at the file-system level.
    if (root) {
        QCOMPARE(QProcess::execute("mount", {"-t", "tmpfs", "-o", "size=64k", "tmpfs", folder}), 0);
    }
    writeAll(path, "Old\told\r\n");
    if (root) {
        QCOMPARE(QProcess::execute("mount", {"-o", "remount,ro", folder}), 0);
    } else {
        QFile::setPermissions(folder, QFile::ReadOwner | QFile::ExeOwner);
    }
    QString error;
    const bool saved = FavoritesFile::write(path, {"New\tnew"}, &error);
    const QByteArray after = readAll(path);
    const QStringList leftovers = QDir(folder).entryList(QDir::Files);
    if (root) {
        QProcess::execute("umount", {folder});
    } else {
        QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
    QVERIFY(!saved);
    QVERIFY(!error.isEmpty());
    QCOMPARE(after, QByteArray("Old\told\r\n"));
    QCOMPARE(leftovers, QStringList{"favorites.txt"});
}

void TestFavoritesFile::saveReplacesWholeFile()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("favorites.txt");
    writeAll(path, "A much longer old content\tthat must not survive\r\nsecond\r\n");
    QString error;
    QVERIFY(FavoritesFile::write(path, {"B\tb"}, &error));
    QCOMPARE(readAll(path), QByteArray("B\tb\r\n"));
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{"favorites.txt"});
}

void TestFavoritesFile::readOnlyFileIsNotReplaced()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("favorites.txt");
    writeAll(path, "Old\told\r\n");
    QFile::setPermissions(path, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther);
    QString error;
    QVERIFY(!FavoritesFile::write(path, {"New\tnew"}, &error));
    QVERIFY(!error.isEmpty());
    QCOMPARE(readAll(path), QByteArray("Old\told\r\n"));
}

void TestFavoritesFile::fullDiskKeepsOldFile()
{
    if (::geteuid() != 0) {
        QSKIP("mounting a small file system needs root");
    }
    QTemporaryDir dir;
    const QString folder = dir.filePath("small");
    QVERIFY(QDir().mkpath(folder));
    QCOMPARE(QProcess::execute("mount", {"-t", "tmpfs", "-o", "size=64k", "tmpfs", folder}), 0);
    const QString path = folder + "/favorites.txt";
    writeAll(path, "Old\told\r\n");
    QStringList big;
    for (int i = 0; i < 5000; ++i) {
        big << QStringLiteral("Entry %1\thttp://example.com/%1").arg(i);
    }
    QString error;
    const bool saved = FavoritesFile::write(path, big, &error);
    const QByteArray after = readAll(path);
    const QStringList leftovers = QDir(folder).entryList(QDir::Files | QDir::Hidden);
    QProcess::execute("umount", {folder});
    QVERIFY(!saved);
    QVERIFY(!error.isEmpty());
    QCOMPARE(after, QByteArray("Old\told\r\n"));
    QCOMPARE(leftovers, QStringList{"favorites.txt"});
}

void TestFavoritesFile::killedWhileSavingLeavesOldOrNew()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("favorites.txt");
    QProcess first;
    first.start(QStringLiteral(FAVORITES_SAVER), {path});
    QVERIFY(first.waitForStarted());
    QTRY_VERIFY(QFile::exists(path));
    first.kill();
    first.waitForFinished();
    QByteArray a, b;
    {
        QStringList la, lb;
        for (int i = 0; i < 2000; ++i) {
            la << QStringLiteral("お気に入り A%1\thttp://example.com/a/%1").arg(i);
            lb << QStringLiteral("Favorite B%1\thttp://example.org/b/%1").arg(i);
        }
        a = FavoritesFile::serialize(la);
        b = FavoritesFile::serialize(lb);
    }
    std::mt19937 random(7);
    int sawA = 0, sawB = 0;
    for (int run = 0; run < 200; ++run) {
        QProcess saver;
        saver.start(QStringLiteral(FAVORITES_SAVER), {path});
        QVERIFY(saver.waitForStarted());
        QThread::usleep(2000 + random() % 20000);
        saver.kill(); // SIGKILL
        QVERIFY(saver.waitForFinished());
        const QByteArray now = readAll(path);
        QVERIFY2(now == a || now == b,
                 qPrintable(QStringLiteral("run %1: %2 bytes").arg(run).arg(now.size())));
        (now == a ? sawA : sawB)++;
    }
    qInfo("200 kills: old/new content A %d times, B %d times", sawA, sawB);
}

void TestFavoritesFile::largeAndOddFilesLoad()
{
    const QByteArray longLine(10 * 1024 * 1024, 'x');
    QCOMPARE(FavoritesFile::parse(longLine).first().size(), longLine.size());

    QByteArray many;
    for (int i = 0; i < 100000; ++i) {
        many += "Name " + QByteArray::number(i) + "\thttp://example.com/" + QByteArray::number(i) +
                "\r\n";
    }
    const QStringList list = FavoritesFile::parse(many);
    QCOMPARE(list.size(), 100000);
    QCOMPARE(list.last(), QStringLiteral("Name 99999\thttp://example.com/99999"));
    QCOMPARE(FavoritesFile::serialize(list), many);

    const QByteArray withNul("A\0B\tu\r\n", 7);
    QCOMPARE(FavoritesFile::parse(withNul).first().size(), 5);
    QCOMPARE(FavoritesFile::serialize(FavoritesFile::parse(withNul)), withNul);
}

void TestFavoritesFile::untouchedEntriesAreWrittenBackVerbatim()
{
    // A truncated lead byte, an undefined byte and an unassigned double-byte code.
    const QByteArray broken1("Bad \x81\thttp://a/"), broken2("\xFF\xFF\thttp://b/"),
        broken3("X\x85\x40Y\thttp://c/");
    const QByteArray file = broken1 + "\r\nGood\tg\r\n" + broken2 + "\r\n" + broken3 + "\r\n";
    FavoritesFile::Verbatim verbatim;
    QStringList list = FavoritesFile::parse(file, &verbatim);
    QCOMPARE(list.size(), 4);
    QCOMPARE(FavoritesFile::serialize(list, verbatim), file);
    // Moved entries keep their bytes; an edited one is written as edited.
    list.move(0, 3);
    list[0] = QStringLiteral("Good\tedited");
    QCOMPARE(FavoritesFile::serialize(list, verbatim),
             "Good\tedited\r\n" + broken2 + "\r\n" + broken3 + "\r\n" + broken1 + "\r\n");
}

QTEST_GUILESS_MAIN(TestFavoritesFile)
#include "tst_favoritesfile.moc"
