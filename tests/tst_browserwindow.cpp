// The browser window in-process: stored layout, load state, layout rule, caption, toolbar.
#include "app/FavoritesList.h"
#include "app/ProgramInfo.h"
#include "browser/BrowserWindow.h"
#include "support/Modal.h"
#include "support/TestMain.h"
#include "ui_frmAddFavorite.h"
#include "ui_frmEditFavorite.h"
#include "ui_frmFavorites.h"

#include <QAbstractItemView>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QMessageBox>
#include <QScrollBar>
#include <QSignalSpy>
#include <QToolButton>

class TestBrowserWindow : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init();
    void stateAfterLoad();
    void layoutRuleFollowsWidth();
    void tinyWindowClampsToZero();
    void minimizedWindowKeepsLayout();
    void tabOrderSkipsLevelBoxAfterAddress();
    void toolbarButtons();
    void captionShowsVersionAndTitle();
    void levelDropDownShowsEveryEntry();
    void favoritesWindowLayout();
    void favoriteDialogLayouts();
    void failedSaveAtCloseIsReported();

private:
    static QWidget *nextFocusable(QWidget *from);
};

void TestBrowserWindow::init()
{
    FavoritesList::entries() = QStringList{QString()};
}

void TestBrowserWindow::stateAfterLoad()
{
    BrowserWindow w;
    Ui::frmBrowser &ui = w.form();
    QCOMPARE(w.windowTitle(), QStringLiteral("sorvel"));
    QVERIFY(ui.picCur->isHidden());
    QVERIFY(!ui.picCur->isEnabled());
    QCOMPARE(ui.picCur->geometry(), QRect(568, 80, 5, 5));
    QVERIFY(ui.picCur->testAttribute(Qt::WA_TransparentForMouseEvents));
    // No named first favorite: the local page is opened without starting the indicator.
    QVERIFY(!w.timTimer().isActive());
    QCOMPARE(w.timTimer().interval(), 500);
    QVERIFY(!w.TimerSorvel().isEnabled());
    QCOMPARE(w.TimerSorvel().interval(), 1);
    QCOMPARE(ui.cboName->count(), 11);
    QCOMPARE(ui.cboName->itemText(0), QStringLiteral("なめらかオフ"));
    QCOMPARE(ui.cboName->itemText(10), QStringLiteral("10"));
    QCOMPARE(ui.cboName->currentIndex(), 0);
    QVERIFY(!ui.cboName->isEditable());
    QVERIFY(ui.cboAddress->isEditable());
    QCOMPARE(ui.cboAddress->count(), 0);
    QCOMPARE(ui.cboAddress->insertPolicy(), QComboBox::NoInsert);
    QCOMPARE(ui.lblAddress->text(), QStringLiteral("アドレス"));
    QCOMPARE(ui.picAddress->geometry(), QRect(0, 36, 698, 29));
    QCOMPARE(ui.tbToolBar->geometry(), QRect(0, 0, 698, 36));
    QCOMPARE(w.smoother().PageTop, 65);
    QCOMPARE(w.smoother().CurX, 100);
    QCOMPARE(w.smoother().HistY[2], 1);
    // cboAddress: left 1000 twips, top 120 - 80 twips, inside picAddress.
    QCOMPARE(ui.cboAddress->pos(), QPoint(67, 3));
    QCOMPARE(ui.brwWebBrowser->geometry(), QRect(4, 64, 698 - 8, 508));
    QCOMPARE(ui.brwWebBrowser->page()->requestedUrl(),
             QUrl::fromLocalFile(ProgramInfo::startPagePath()));
}

void TestBrowserWindow::layoutRuleFollowsWidth()
{
    BrowserWindow w;
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    Ui::frmBrowser &ui = w.form();
    w.resize(698, 508);
    QTRY_COMPARE(ui.brwWebBrowser->size(), QSize(690, 443));
    const int outerTw = w.frameGeometry().width() * 15;
    // Widths in twips: outer - 1175 - 2055; the level box sits right of the address box.
    QCOMPARE(ui.cboAddress->width(), qRound((outerTw - 1175 - 2055) / 15.0));
    QCOMPARE(ui.cboName->x(), qRound((1000 + outerTw - 1175 - 2055) / 15.0));
    QCOMPARE(ui.cboName->width(), 137);
    QCOMPARE(ui.cboName->y(), ui.cboAddress->y());
    const int addressWidth = ui.cboAddress->width();
    const int nameLeft = ui.cboName->x();

    w.resize(698 + 150, 508 + 40);
    QTRY_COMPARE(ui.brwWebBrowser->size(), QSize(690 + 150, 443 + 40));
    QCOMPARE(ui.cboAddress->width(), addressWidth + 150);
    QCOMPARE(ui.cboName->x(), nameLeft + 150);
    QCOMPARE(ui.cboName->width(), 137);
    QCOMPARE(ui.brwWebBrowser->pos(), QPoint(4, 64));
    QCOMPARE(ui.picCur->pos(), QPoint(568, 80));
    QCOMPARE(ui.picAddress->width(), 698); // not part of the rule
}

void TestBrowserWindow::tinyWindowClampsToZero()
{
    BrowserWindow w;
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    w.resize(120, 40);
    QTRY_COMPARE(w.form().brwWebBrowser->height(), 0);
    QCOMPARE(w.form().cboAddress->width(), 0);
    QCOMPARE(w.form().brwWebBrowser->width(), 112);
}

void TestBrowserWindow::minimizedWindowKeepsLayout()
{
    BrowserWindow w;
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    const QRect before = w.form().brwWebBrowser->geometry();
    w.showMinimized();
    QTest::qWait(200);
    QCOMPARE(w.form().brwWebBrowser->geometry(), before);
}

QWidget *TestBrowserWindow::nextFocusable(QWidget *from)
{
    for (QWidget *w = from->nextInFocusChain(); w != from; w = w->nextInFocusChain()) {
        if ((w->focusPolicy() & Qt::TabFocus) && w->isEnabled() && w->isVisibleTo(w->window()) &&
            !w->focusProxy()) {
            return w;
        }
    }
    return nullptr;
}

void TestBrowserWindow::tabOrderSkipsLevelBoxAfterAddress()
{
    BrowserWindow w;
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    Ui::frmBrowser &ui = w.form();
    w.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&w));
    ui.cboAddress->setFocus();
    QTRY_VERIFY(ui.cboAddress->hasFocus());
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    // The page takes the focus next, not the level box; never picAddress or picCur.
    QTRY_VERIFY(QApplication::focusWidget() != ui.cboAddress);
    QWidget *focused = QApplication::focusWidget();
    QVERIFY(focused == ui.brwWebBrowser || ui.brwWebBrowser->isAncestorOf(focused));
    QCOMPARE(ui.picAddress->focusPolicy(), Qt::NoFocus);
    QCOMPARE(ui.picCur->focusPolicy(), Qt::NoFocus);
}

void TestBrowserWindow::toolbarButtons()
{
    BrowserWindow w;
    const QList<QAction *> actions = w.form().tbToolBar->actions();
    const QStringList keys{"Back", "Forward", "Stop", "Refresh", "Favorites", "Version"};
    const QStringList tips{"戻る", "進む", "中止", "更新", "お気に入り", "バージョン"};
    QCOMPARE(actions.size(), 6);
    for (int i = 0; i < 6; ++i) {
        QCOMPARE(actions[i]->objectName(), keys[i]);
        QCOMPARE(actions[i]->toolTip(), tips[i]);
        QVERIFY(actions[i]->text().isEmpty() || actions[i]->iconText() == actions[i]->text());
        QVERIFY(!actions[i]->icon().isNull());
        QVERIFY(!actions[i]->icon().pixmap(24, 24).isNull());
    }
    QCOMPARE(w.form().tbToolBar->iconSize(), QSize(24, 24));
    QCOMPARE(w.form().tbToolBar->toolButtonStyle(), Qt::ToolButtonIconOnly);
    QVERIFY(!w.windowIcon().isNull());
}

void TestBrowserWindow::captionShowsVersionAndTitle()
{
    BrowserWindow w;
    QSignalSpy loaded(w.form().brwWebBrowser, &QWebEngineView::loadFinished);
    w.form().brwWebBrowser->setHtml(QStringLiteral("<title>Top</title><p>x"));
    QVERIFY(loaded.wait(20000));
    w.RefreshCaption();
    QCOMPARE(w.windowTitle(), QStringLiteral("Sorvel v0.13 - Top"));
    w.form().brwWebBrowser->setHtml(QStringLiteral("<p>no title"));
    QVERIFY(loaded.wait(20000));
    w.RefreshCaption();
    QCOMPARE(w.windowTitle(), QStringLiteral("Sorvel v0.13 - "));
}

void TestBrowserWindow::levelDropDownShowsEveryEntry()
{
    BrowserWindow w;
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    QComboBox *combo = w.form().cboName;
    QCOMPARE(combo->maxVisibleItems(), 11);
    combo->showPopup();
    QAbstractItemView *view = combo->view();
    QTRY_VERIFY(view->isVisible());
    QVERIFY(!view->verticalScrollBar()->isVisible());
    QVERIFY(view->visualRect(view->model()->index(10, 0)).bottom() <= view->viewport()->height());
    combo->hidePopup();
}

void TestBrowserWindow::favoritesWindowLayout()
{
    QDialog d;
    Ui::frmFavorites ui;
    ui.setupUi(&d);
    QCOMPARE(d.windowTitle(), QStringLiteral("お気に入り"));
    QCOMPARE(d.minimumSize(), QSize(194, 424));
    QCOMPARE(d.maximumSize(), QSize(194, 424));
    QCOMPARE(ui.lstFavorites->geometry(), QRect(8, 8, 177, 292));
    QCOMPARE(ui.cmdGo->geometry(), QRect(8, 304, 177, 25));
    QCOMPARE(ui.cmdGo->text(), QStringLiteral("選択したページへ移動"));
    QVERIFY(ui.cmdGo->isDefault());
    QCOMPARE(ui.cmdDelete->geometry(), QRect(8, 336, 57, 25));
    QCOMPARE(ui.cmdEdit->geometry(), QRect(64, 336, 57, 25));
    QCOMPARE(ui.cmdUp->geometry(), QRect(120, 336, 33, 25));
    QCOMPARE(ui.cmdDown->geometry(), QRect(152, 336, 33, 25));
    QCOMPARE(ui.cmdAdd->geometry(), QRect(8, 360, 177, 25));
    QCOMPARE(ui.cmdCancel->geometry(), QRect(8, 392, 177, 25));
    QCOMPARE(ui.cmdUp->text(), QStringLiteral("↑"));
    QCOMPARE(ui.cmdCancel->text(), QStringLiteral("閉じる"));
    for (QPushButton *b :
         {ui.cmdDelete, ui.cmdEdit, ui.cmdUp, ui.cmdDown, ui.cmdAdd, ui.cmdCancel}) {
        QVERIFY(!b->isDefault() && !b->autoDefault());
    }
}

void TestBrowserWindow::favoriteDialogLayouts()
{
    QDialog add, edit;
    Ui::frmAddFavorite a;
    Ui::frmEditFavorite e;
    a.setupUi(&add);
    e.setupUi(&edit);
    for (QDialog *d : {&add, &edit}) {
        QCOMPARE(d->windowTitle(), QStringLiteral("お気に入りに追加"));
        QCOMPARE(d->minimumSize(), QSize(447, 59));
        QCOMPARE(d->maximumSize(), QSize(447, 59));
    }
    QCOMPARE(a.txtName->geometry(), QRect(64, 8, 257, 18));
    QCOMPARE(a.txtURL->geometry(), QRect(64, 32, 257, 18));
    QCOMPARE(a.lblName->text(), QStringLiteral("ページ名"));
    QCOMPARE(a.Label1->text(), QStringLiteral("URL"));
    QCOMPARE(a.cmdAdd->geometry(), QRect(328, 8, 57, 41));
    QCOMPARE(a.cmdAdd->text(), QStringLiteral("追加"));
    QVERIFY(a.cmdAdd->isDefault());
    QCOMPARE(e.cmdEdit->text(), QStringLiteral("編集"));
    QVERIFY(e.cmdEdit->isDefault());
    QCOMPARE(e.cmdCancel->geometry(), QRect(384, 8, 57, 41));
    // Tab: name, URL, confirm, close.
    QCOMPARE(nextFocusable(a.txtName), a.txtURL);
    QCOMPARE(nextFocusable(a.txtURL), a.cmdAdd);
    QCOMPARE(nextFocusable(a.cmdAdd), a.cmdCancel);
    QCOMPARE(nextFocusable(e.txtURL), e.cmdEdit);
}

void TestBrowserWindow::failedSaveAtCloseIsReported()
{
    const QString path = FavoritesList::filePath();
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("Old\told\r\n");
    file.close();
    QFile::setPermissions(path, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther);
    BrowserWindow w;
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    FavoritesList::entries() = QStringList{"New\tnew"};
    QString title, text;
    whenModal<QMessageBox>([&](QMessageBox *box) {
        title = box->windowTitle();
        text = box->text();
        box->accept();
    });
    w.close();
    QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray after = file.readAll();
    file.close();
    QFile::remove(path);
    QCOMPARE(title, QStringLiteral("sorvel"));
    QVERIFY2(text.contains(QDir::toNativeSeparators(path)), qPrintable(text));
    QVERIFY2(text.contains(QStringLiteral("読み取り専用")), qPrintable(text));
    QCOMPARE(after, QByteArray("Old\told\r\n"));
}

SORVEL_TEST_MAIN_WITH_DISPLAY(TestBrowserWindow)
#include "tst_browserwindow.moc"
