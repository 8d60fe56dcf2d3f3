// Navigation in-process: the address history, the address text, the connecting indicator, bad
// input and pages that ask for new windows, against a loopback server that can answer slowly.
#include "app/FavoritesList.h"
#include "browser/BrowserWindow.h"
#include "support/HttpServer.h"
#include "support/TestMain.h"

#include <QElapsedTimer>
#include <QSignalSpy>

namespace
{
QByteArray titled(const QByteArray &title, const QByteArray &body = QByteArray())
{
    return "<html><head><title>" + title + "</title></head><body>" + body + "</body></html>";
}

QStringList items(QComboBox *combo)
{
    QStringList out;
    for (int i = 0; i < combo->count(); ++i) {
        out << combo->itemText(i);
    }
    return out;
}
} // namespace

class TestNavigation : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();
    void historyKeepsEachAddressOnceMostRecentFirst();
    void lettersInDifferentCaseAreTwoEntries();
    void pickingAnEntryNavigatesAndReordersOnCompletion();
    void enterNavigatesToTypedText();
    void halfTypedAddressIsReplacedWhenDownloadEnds();
    void framesKeepTopLevelAddressOnce();
    void captionBlinksWhileLoading();
    void refusedConnectionEndsBlink();
    void badInputIsHarmless_data();
    void badInputIsHarmless();
    void newWindowRequestsOpenHere();

private:
    bool go(const QString &url); // navigates and waits for the load to end
    bool waitIdle(int timeoutMs = 15000);

    HttpServer server_;
    std::unique_ptr<BrowserWindow> w_;
};

void TestNavigation::initTestCase()
{
    QVERIFY(server_.start());
    server_.setPage("/a", titled("Page A"));
    server_.setPage("/b", titled("Page B"));
    server_.setPage("/Case", titled("Upper"));
    server_.setPage("/case", titled("Lower"));
    server_.setPage("/slow", titled("Slow"), 1800);
    server_.setPage("/frames",
                    titled("Frames", "<iframe src='/a'></iframe><iframe src='/b'></iframe>"));
    server_.setPage("/blank",
                    titled("Blank", "<a id='l' target='_blank' href='/b'>b</a>"
                                    "<script>setTimeout(function(){"
                                    "document.getElementById('l').click()},50)</script>"));
    server_.setPage("/open", titled("Open", "<script>setTimeout(function(){"
                                            "window.open('/a')},50)</script>"));
}

void TestNavigation::init()
{
    FavoritesList::entries() = QStringList{QString()};
    w_ = std::make_unique<BrowserWindow>();
    w_->show();
    QVERIFY(QTest::qWaitForWindowExposed(w_.get()));
    QVERIFY(waitIdle());
    w_->form().cboAddress->clear();
}

void TestNavigation::cleanup()
{
    w_.reset();
}

bool TestNavigation::waitIdle(int timeoutMs)
{
    return QTest::qWaitFor([&] { return !w_->timTimer().isActive(); }, timeoutMs);
}

bool TestNavigation::go(const QString &url)
{
    QSignalSpy finished(w_->form().brwWebBrowser, &QWebEngineView::loadFinished);
    w_->form().brwWebBrowser->Navigate(url);
    return finished.wait(15000) && waitIdle();
}

void TestNavigation::historyKeepsEachAddressOnceMostRecentFirst()
{
    const QString a = server_.url("/a"), b = server_.url("/b");
    QVERIFY(go(a));
    QVERIFY(go(b));
    QCOMPARE(items(w_->form().cboAddress), (QStringList{b, a}));
    QVERIFY(go(a));
    QCOMPARE(items(w_->form().cboAddress), (QStringList{a, b}));
    QVERIFY(go(a)); // already on top: unchanged
    QCOMPARE(items(w_->form().cboAddress), (QStringList{a, b}));
    QCOMPARE(w_->form().cboAddress->currentIndex(), 0);
    QCOMPARE(w_->form().cboAddress->currentText(), a);
}

void TestNavigation::lettersInDifferentCaseAreTwoEntries()
{
    QVERIFY(go(server_.url("/Case")));
    QVERIFY(go(server_.url("/case")));
    QCOMPARE(items(w_->form().cboAddress),
             (QStringList{server_.url("/case"), server_.url("/Case")}));
}

void TestNavigation::pickingAnEntryNavigatesAndReordersOnCompletion()
{
    const QString a = server_.url("/slow"), b = server_.url("/b");
    QVERIFY(go(a));
    QVERIFY(go(b));
    server_.clearRequests();
    QComboBox *box = w_->form().cboAddress;
    QSignalSpy finished(w_->form().brwWebBrowser, &QWebEngineView::loadFinished);
    // A user's pick: the list sets the edit text, then reports the activation.
    box->setCurrentIndex(1);
    Q_EMIT box->activated(1);
    QVERIFY(w_->timTimer().isActive());
    QTRY_COMPARE(server_.requestsTo("/slow").size(), 1);
    QCOMPARE(items(box), (QStringList{b, a})); // not yet: the load has not completed
    QVERIFY(finished.wait(15000));
    QTRY_COMPARE(items(box), (QStringList{a, b}));

    // Picking the entry that is already selected navigates again.
    server_.clearRequests();
    Q_EMIT box->activated(0);
    QTRY_COMPARE(server_.requestsTo("/slow").size(), 1);
    QVERIFY(finished.wait(15000));
    QTRY_COMPARE(items(box), (QStringList{a, b}));
}

void TestNavigation::enterNavigatesToTypedText()
{
    QComboBox *box = w_->form().cboAddress;
    QSignalSpy finished(w_->form().brwWebBrowser, &QWebEngineView::loadFinished);
    box->setEditText(server_.url("/a"));
    QTest::keyClick(box, Qt::Key_Return);
    QVERIFY(finished.wait(15000));
    QVERIFY(waitIdle());
    QCOMPARE(items(box), QStringList{server_.url("/a")});
    // Typing never adds to the list by itself, and Enter on a listed address loads it once.
    server_.clearRequests();
    box->setEditText(server_.url("/a"));
    QTest::keyClick(box, Qt::Key_Return);
    QVERIFY(finished.wait(15000));
    QTest::qWait(300);
    QCOMPARE(server_.requestsTo("/a").size(), 1);
    QCOMPARE(box->count(), 1);
    // Address completion is the engine's: host and path without a scheme.
    box->setEditText(QStringLiteral("127.0.0.1:%1/b").arg(server_.port()));
    QTest::keyClick(box, Qt::Key_Enter);
    QVERIFY(finished.wait(15000));
    QVERIFY(waitIdle());
    QCOMPARE(box->itemText(0), server_.url("/b"));
    QCOMPARE(w_->windowTitle(), QStringLiteral("Sorvel v0.13 - Page B"));
}

void TestNavigation::halfTypedAddressIsReplacedWhenDownloadEnds()
{
    QSignalSpy finished(w_->form().brwWebBrowser, &QWebEngineView::loadFinished);
    w_->form().brwWebBrowser->Navigate(server_.url("/slow"));
    QTest::qWait(200);
    w_->form().cboAddress->setEditText(QStringLiteral("half-typ"));
    QVERIFY(finished.wait(15000));
    QTRY_COMPARE(w_->form().cboAddress->currentText(), server_.url("/slow"));
}

void TestNavigation::framesKeepTopLevelAddressOnce()
{
    QVERIFY(go(server_.url("/a")));
    QVERIFY(go(server_.url("/frames")));
    QTest::qWait(500);
    QCOMPARE(items(w_->form().cboAddress),
             (QStringList{server_.url("/frames"), server_.url("/a")}));
}

void TestNavigation::captionBlinksWhileLoading()
{
    QList<QPair<qint64, QString>> captions;
    QElapsedTimer clock;
    connect(w_.get(), &QWidget::windowTitleChanged, this, [&](const QString &t) {
        captions.append({clock.elapsed(), t});
    });
    clock.start();
    w_->form().brwWebBrowser->Navigate(server_.url("/slow"));
    QVERIFY(QTest::qWaitFor([&] { return w_->windowTitle() == "Sorvel v0.13 - Slow"; }, 15000));
    disconnect(w_.get(), &QWidget::windowTitleChanged, this, nullptr);
    QStringList blink;
    QList<qint64> times;
    for (const auto &c : captions) {
        if (c.second.startsWith(QLatin1String("Connecting"))) {
            blink << c.second;
            times << c.first;
        }
    }
    // 1.8 s of loading: ticks at 0.5, 1.0 and 1.5 s are busy.
    QVERIFY2(blink.size() >= 3, qPrintable(blink.join('|')));
    QCOMPARE(blink[0], QStringLiteral("Connecting \u25CF"));
    for (int i = 1; i < blink.size(); ++i) {
        QCOMPARE(blink[i],
                 i % 2 ? QStringLiteral("Connecting \u25CB") : QStringLiteral("Connecting \u25CF"));
        const qint64 gap = times[i] - times[i - 1];
        QVERIFY2(gap > 350 && gap < 700, qPrintable(QString::number(gap)));
    }
    QVERIFY(!w_->timTimer().isActive() || waitIdle());
}

void TestNavigation::refusedConnectionEndsBlink()
{
    QTcpServer closed;
    QVERIFY(closed.listen(QHostAddress::LocalHost, 0));
    const quint16 port = closed.serverPort();
    closed.close(); // nothing listens there now
    w_->form().cboAddress->setEditText(QStringLiteral("http://127.0.0.1:%1/").arg(port));
    QTest::keyClick(w_->form().cboAddress, Qt::Key_Return);
    QVERIFY(w_->timTimer().isActive());
    QVERIFY(waitIdle(10000));
    QVERIFY(!w_->form().brwWebBrowser->Busy());
    QVERIFY(w_->windowTitle().startsWith(QLatin1String("Sorvel v0.13 - ")));
}

void TestNavigation::badInputIsHarmless_data()
{
    QTest::addColumn<QString>("text");
    QTest::newRow("empty") << QString();
    QTest::newRow("100 000 characters") << QString(100000, u'x');
    QTest::newRow("spaces and Japanese") << QStringLiteral("お気に入り の ページ");
    QTest::newRow("javascript") << QStringLiteral("javascript:alert(1)");
    QTest::newRow("unknown scheme") << QStringLiteral("nosuchscheme://x/y");
}

void TestNavigation::badInputIsHarmless()
{
    QFETCH(QString, text);
    QVERIFY(go(server_.url("/a")));
    int boxes = 0;
    QTimer watcher;
    connect(&watcher, &QTimer::timeout, [&] {
        if (QWidget *modal = QApplication::activeModalWidget()) {
            ++boxes;
            modal->close();
        }
    });
    watcher.start(50);
    w_->form().cboAddress->setEditText(text);
    QTest::keyClick(w_->form().cboAddress, Qt::Key_Return);
    QVERIFY(w_->timTimer().isActive());
    QVERIFY(waitIdle(20000));
    QCOMPARE(boxes, 0);
    QVERIFY(w_->windowTitle().startsWith(QLatin1String("Sorvel v0.13 - ")));
    QVERIFY(go(server_.url("/b"))); // still browsing
}

void TestNavigation::newWindowRequestsOpenHere()
{
    for (const char *path : {"/blank", "/open"}) {
        server_.clearRequests();
        QVERIFY(go(server_.url(QString::fromLatin1(path))));
        QTRY_VERIFY_WITH_TIMEOUT(
            !server_.requestsTo("/b").isEmpty() || !server_.requestsTo("/a").isEmpty(), 10000);
        QTRY_VERIFY_WITH_TIMEOUT(w_->form().brwWebBrowser->LocationURL() !=
                                     server_.url(QString::fromLatin1(path)),
                                 10000);
        QVERIFY(waitIdle());
        const QWidgetList tops = QApplication::topLevelWidgets();
        QCOMPARE(std::count_if(tops.begin(), tops.end(), [](QWidget *t) { return t->isVisible(); }),
                 1);
    }
}

SORVEL_TEST_MAIN_WITH_DISPLAY(TestNavigation)
#include "tst_navigation.moc"
