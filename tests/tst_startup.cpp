// The real sorvel binary in a program folder of its own: first page, caption, layout, single
// instance, and the favorites file after a window-manager close.
#include "support/HttpServer.h"
#include "support/SorvelProcess.h"
#include "support/TestMain.h"

#include <QElapsedTimer>

namespace
{
const QByteArray RedPage = "<html><head><title>Red Top</title></head>"
                           "<body style='margin:0;background:#ff0000'></body></html>";
} // namespace

class TestStartup : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void firstFavoriteOpensItsAddress();
    void noFavoritesOpensLocalStartPage_data();
    void noFavoritesOpensLocalStartPage();
    void layoutFollowsResize();
    void secondStartEndsAtOnce();
    void twentySimultaneousStartsGiveOneWindow();
    void typedAddressOpensWithRealKeystrokes();
    void favoritesFileAfterClose_data();
    void favoritesFileAfterClose();

private:
    X11 x11_;
    HttpServer server_;
};

void TestStartup::initTestCase()
{
    QVERIFY(x11_.isOpen());
    QVERIFY(server_.start());
    server_.setPage("/red", RedPage);
}

void TestStartup::firstFavoriteOpensItsAddress()
{
    SorvelProgram program;
    program.writeFavorites("Top\t" + server_.url("/red").toUtf8() + "\r\nOther\thttp://x/\r\n");
    server_.clearRequests();
    auto process = program.start();
    const unsigned long window = waitForWindow(x11_, *process);
    QVERIFY(window);
    QVERIFY(waitForCaption(x11_, window, QStringLiteral("Sorvel v0.13 - Red Top")));
    QCOMPARE(server_.requestsTo("/red").size(), 1);
    QVERIFY(closeLikeWindowManager(x11_, window, *process));
}

void TestStartup::noFavoritesOpensLocalStartPage_data()
{
    QTest::addColumn<QByteArray>("favorites");
    QTest::newRow("no file") << QByteArray();
    QTest::newRow("empty name, with an address") << QByteArray("\t") + "http://127.0.0.1:1/\r\n";
    QTest::newRow("name without an address") << QByteArray("Just a name\r\n");
}

void TestStartup::noFavoritesOpensLocalStartPage()
{
    QFETCH(QByteArray, favorites);
    SorvelProgram program;
    if (!favorites.isEmpty()) {
        program.writeFavorites(favorites);
    }
    auto process = program.start();
    const unsigned long window = waitForWindow(x11_, *process);
    QVERIFY(window);
    // The local page's own title.
    QVERIFY(waitForCaption(x11_, window, QStringLiteral("Sorvel v0.13 - sorvel へようこそ")));
    QVERIFY(closeLikeWindowManager(x11_, window, *process));
}

void TestStartup::layoutFollowsResize()
{
    SorvelProgram program;
    program.writeFavorites("Top\t" + server_.url("/red").toUtf8() + "\r\n");
    auto process = program.start();
    const unsigned long window = waitForWindow(x11_, *process);
    QVERIFY(waitForCaption(x11_, window, QStringLiteral("Sorvel v0.13 - Red Top")));
    const QColor red(255, 0, 0);
    for (const QSize size : {QSize(698, 508), QSize(900, 600), QSize(500, 300)}) {
        x11_.resize(window, size.width(), size.height());
        // The page spans client x 4 .. width - 5 and y 64 .. height - 2 (height - 65 tall).
        const int w = size.width(), h = size.height();
        auto pageSpansItsArea = [&] {
            return x11_.pixel(window, 4, 64) == red && x11_.pixel(window, w - 5, h - 2) == red &&
                   x11_.pixel(window, w - 4, h / 2) != red &&
                   x11_.pixel(window, w / 2, h - 1) != red && x11_.pixel(window, 3, 100) != red;
        };
        QVERIFY2(QTest::qWaitFor(pageSpansItsArea, 10000),
                 qPrintable(QStringLiteral("page does not span client x 4..%1, y 64..%2")
                                .arg(w - 5)
                                .arg(h - 2)));
    }
    QVERIFY(closeLikeWindowManager(x11_, window, *process));
}

void TestStartup::secondStartEndsAtOnce()
{
    SorvelProgram program;
    program.writeFavorites("Top\t" + server_.url("/red").toUtf8() + "\r\n");
    auto first = program.start();
    const unsigned long window = waitForWindow(x11_, *first);
    QVERIFY(window);
    server_.clearRequests();

    QElapsedTimer clock;
    clock.start();
    auto second = program.start();
    QVERIFY(second->waitForFinished(5000));
    const qint64 ms = clock.elapsed();
    QCOMPARE(second->exitCode(), 0);
    qInfo("second start ended after %lld ms", ms);
    QVERIFY(ms < 2000);
    QCOMPARE(x11_.findWindow(second->processId()), 0ul);
    QVERIFY(server_.requestsTo("/red").isEmpty());
    QCOMPARE(first->state(), QProcess::Running);

    // A lock left by a killed instance does not block the next start.
    first->kill();
    QVERIFY(first->waitForFinished(10000));
    auto third = program.start();
    QVERIFY(waitForWindow(x11_, *third));
    QCOMPARE(third->state(), QProcess::Running);
    QVERIFY(closeLikeWindowManager(x11_, x11_.findWindow(third->processId()), *third));
}

void TestStartup::twentySimultaneousStartsGiveOneWindow()
{
    SorvelProgram program;
    program.writeFavorites("Top\t" + server_.url("/red").toUtf8() + "\r\n");
    std::vector<std::unique_ptr<QProcess>> starts;
    for (int i = 0; i < 20; ++i) {
        starts.push_back(program.start());
    }
    // All but one end by themselves; the one left shows the window.
    QVERIFY(QTest::qWaitFor(
        [&] {
            return std::count_if(starts.begin(), starts.end(), [](const auto &p) {
                       return p->state() == QProcess::NotRunning;
                   }) == 19;
        },
        30000));
    QProcess *survivor = nullptr;
    for (const auto &p : starts) {
        if (p->state() == QProcess::Running) {
            survivor = p.get();
        } else {
            QCOMPARE(p->exitCode(), 0);
        }
    }
    QVERIFY(survivor);
    const unsigned long window = waitForWindow(x11_, *survivor);
    QVERIFY(window);
    QVERIFY(waitForCaption(x11_, window, QStringLiteral("Sorvel v0.13 - Red Top")));
    QTest::qWait(500);
    int windows = 0;
    for (const auto &p : starts) {
        windows += int(x11_.windows(p->processId()).size());
    }
    QCOMPARE(windows, 1);
    QVERIFY(closeLikeWindowManager(x11_, window, *survivor));
}

void TestStartup::typedAddressOpensWithRealKeystrokes()
{
    server_.setPage("/typed", "<html><head><title>Typed Page</title></head><body></body></html>");
    SorvelProgram program;
    auto process = program.start();
    const unsigned long window = waitForWindow(x11_, *process);
    QVERIFY(waitForCaptionPrefix(x11_, window, QStringLiteral("Sorvel v0.13 - ")));
    server_.clearRequests();
    // The address box: picAddress at y 36, the box at x 67 (1000 twips), y 3 inside it.
    const QPoint box = x11_.geometry(window).topLeft() + QPoint(67 + 40, 36 + 3 + 10);
    auto xdo = [](const QStringList &args) {
        return QProcess::execute(QStringLiteral("xdotool"), args) == 0;
    };
    // No window manager here gives the window the keyboard: ask the X server directly.
    QVERIFY(xdo({"windowfocus", "--sync", QString::number(window)}));
    QVERIFY(xdo({"mousemove", QString::number(box.x()), QString::number(box.y())}));
    QVERIFY(xdo({"click", "1"}));
    QVERIFY(xdo({"key", "ctrl+a"}));
    QVERIFY(xdo({"type", "--delay", "5", server_.url("/typed")}));
    QVERIFY(xdo({"key", "Return"}));
    QVERIFY(waitForCaption(x11_, window, QStringLiteral("Sorvel v0.13 - Typed Page")));
    QCOMPARE(server_.requestsTo("/typed").size(), 1);
    QVERIFY(closeLikeWindowManager(x11_, window, *process));
}

void TestStartup::favoritesFileAfterClose_data()
{
    QTest::addColumn<QByteArray>("before");
    QTest::addColumn<QByteArray>("after");
    QTest::addColumn<bool>("exists");
    QTest::newRow("three lines, the first unnamed, are written back")
        << QByteArray("\t\r\nB\tb\r\nC\tc\r\n") << QByteArray("\t\r\nB\tb\r\nC\tc\r\n") << true;
    QTest::newRow("a leading empty line does not cost the favorites behind it")
        << QByteArray("\r\nB\tb\r\n") << QByteArray("B\tb\r\n") << true;
    QTest::newRow("last line gets its CR LF")
        << QByteArray("A\thttp://127.0.0.1:1/\r\n\r\nC\tc")
        << QByteArray("A\thttp://127.0.0.1:1/\r\n\r\nC\tc\r\n") << true;
    QTest::newRow("CP932 text stays CP932") << QByteArray("\x82\xA8\x8B\x43\x82\xC9\t\r\n")
                                            << QByteArray("\x82\xA8\x8B\x43\x82\xC9\t\r\n") << true;
    QTest::newRow("empty file is deleted") << QByteArray("") << QByteArray() << false;
}

void TestStartup::favoritesFileAfterClose()
{
    QFETCH(QByteArray, before);
    QFETCH(QByteArray, after);
    QFETCH(bool, exists);
    SorvelProgram program;
    program.writeFavorites(before);
    auto process = program.start();
    const unsigned long window = waitForWindow(x11_, *process);
    QVERIFY(window);
    QVERIFY(waitForCaptionPrefix(x11_, window, QStringLiteral("Sorvel v0.13 - ")));
    QVERIFY(closeLikeWindowManager(x11_, window, *process));
    QCOMPARE(program.favoritesExist(), exists);
    QCOMPARE(program.readFavorites(), after);
}

SORVEL_TEST_MAIN_WITH_DISPLAY(TestStartup)
#include "tst_startup.moc"
