// The favorites window and its dialogs through their controls: reorder, delete, edit, add, Go,
// and the commit of the working copy on every close.
#include "app/FavoritesList.h"
#include "browser/WebBrowser.h"
#include "favorites/AddFavoriteDialog.h"
#include "favorites/EditFavoriteDialog.h"
#include "favorites/FavoritesWindow.h"
#include "support/Modal.h"
#include "support/TestMain.h"

#include <QMessageBox>
#include <QSignalSpy>

namespace
{
QStringList items(FavoritesWindow &w)
{
    QStringList out;
    for (int i = 0; i < w.form().lstFavorites->count(); ++i) {
        out << w.itemText(i);
    }
    return out;
}

} // namespace

class TestFavoritesWindow : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init();
    void placeholderOpensEmptyAndStaysEmpty();
    void opensWithEveryEntryAndNoSelection();
    void moveDownThenUp();
    void movesAtTheEdgesDoNothing();
    void deleteAnswers_data();
    void deleteAnswers();
    void deletingTheLastItemLeavesThePlaceholder();
    void closeBoxAfterReorderKeepsOrder();
    void emptyEntryMovedToTopKeepsLaterFavorites();
    void escapeDoesNothingEnterRunsGo();
    void goNavigatesToSecondField();
    void goOnEntryWithoutTabClosesOnly();
    void editShowsTwoFieldsAndWritesOneTab();
    void editEntryWithoutTabOrEmpty();
    void addAppendsCurrentAddress();
    void addStripsPastedTabsAndAcceptsEmpty();
    void dialogsCancelThreeWays_data();
    void dialogsCancelThreeWays();

private:
    WebBrowser browser_;
};

void TestFavoritesWindow::init()
{
    FavoritesList::entries() = QStringList{"A\ta", "B\tb", "C\tc"};
}

void TestFavoritesWindow::placeholderOpensEmptyAndStaysEmpty()
{
    FavoritesList::entries() = QStringList{QString()};
    FavoritesWindow w(&browser_);
    w.show();
    QCOMPARE(w.form().lstFavorites->count(), 0);
    w.close();
    QCOMPARE(FavoritesList::entries(), QStringList{QString()});
}

void TestFavoritesWindow::opensWithEveryEntryAndNoSelection()
{
    FavoritesList::entries() = QStringList{"A\ta", "", "N\tU\tX"};
    FavoritesWindow w(&browser_);
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    QCOMPARE(items(w), (QStringList{"A\ta", "", "N\tU\tX"}));
    QCOMPARE(w.selectedPosition(), -1);
    QVERIFY(!w.isSizeGripEnabled());
    QVERIFY(!(w.windowFlags() & Qt::WindowMinMaxButtonsHint));
}

void TestFavoritesWindow::moveDownThenUp()
{
    FavoritesWindow w(&browser_);
    w.show();
    w.form().lstFavorites->setCurrentRow(0);
    QTest::mouseClick(w.form().cmdDown, Qt::LeftButton);
    QCOMPARE(items(w), (QStringList{"B\tb", "A\ta", "C\tc"}));
    QCOMPARE(w.selectedPosition(), 1);
    QTest::mouseClick(w.form().cmdUp, Qt::LeftButton);
    QCOMPARE(items(w), (QStringList{"A\ta", "B\tb", "C\tc"}));
    QCOMPARE(w.selectedPosition(), 0);
    // Nothing is committed until the window closes.
    QTest::mouseClick(w.form().cmdDown, Qt::LeftButton);
    QCOMPARE(FavoritesList::entries().first(), QStringLiteral("A\ta"));
    QTest::mouseClick(w.form().cmdCancel, Qt::LeftButton);
    QCOMPARE(FavoritesList::entries(), (QStringList{"B\tb", "A\ta", "C\tc"}));
}

void TestFavoritesWindow::movesAtTheEdgesDoNothing()
{
    FavoritesWindow w(&browser_);
    const QStringList before = items(w);
    QTest::mouseClick(w.form().cmdUp, Qt::LeftButton); // nothing selected
    QTest::mouseClick(w.form().cmdDown, Qt::LeftButton);
    w.form().lstFavorites->setCurrentRow(0);
    QTest::mouseClick(w.form().cmdUp, Qt::LeftButton);
    w.form().lstFavorites->setCurrentRow(2);
    QTest::mouseClick(w.form().cmdDown, Qt::LeftButton);
    QCOMPARE(items(w), before);
    QCOMPARE(w.selectedPosition(), 2);
    FavoritesList::entries() = QStringList{"Only\to"};
    FavoritesWindow one(&browser_);
    one.form().lstFavorites->setCurrentRow(0);
    QTest::mouseClick(one.form().cmdUp, Qt::LeftButton);
    QTest::mouseClick(one.form().cmdDown, Qt::LeftButton);
    QCOMPARE(items(one), QStringList{"Only\to"});
}

void TestFavoritesWindow::deleteAnswers_data()
{
    QTest::addColumn<QString>("answer");
    QTest::addColumn<bool>("deleted");
    QTest::newRow("OK") << "ok" << true;
    QTest::newRow("Cancel") << "cancel" << false;
    QTest::newRow("Esc") << "esc" << false;
    QTest::newRow("Enter takes the default, Cancel") << "enter" << false;
}

void TestFavoritesWindow::deleteAnswers()
{
    QFETCH(QString, answer);
    QFETCH(bool, deleted);
    FavoritesWindow w(&browser_);
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    w.form().lstFavorites->setCurrentRow(1);
    QString text, title;
    QMessageBox::Icon icon = QMessageBox::Warning;
    QMessageBox::StandardButton defaultButton = QMessageBox::NoButton;
    whenModal<QMessageBox>([&](QMessageBox *box) {
        text = box->text();
        title = box->windowTitle();
        icon = box->icon();
        defaultButton = box->standardButton(box->defaultButton());
        if (answer == "ok") {
            QTest::mouseClick(box->button(QMessageBox::Ok), Qt::LeftButton);
        } else if (answer == "cancel") {
            QTest::mouseClick(box->button(QMessageBox::Cancel), Qt::LeftButton);
        } else if (answer == "esc") {
            QTest::keyClick(box, Qt::Key_Escape);
        } else {
            QTest::keyClick(box, Qt::Key_Return);
        }
    });
    QTest::mouseClick(w.form().cmdDelete, Qt::LeftButton);
    QCOMPARE(text, QStringLiteral("削除しますか？"));
    QCOMPARE(title, QStringLiteral("削除の確認"));
    QCOMPARE(icon, QMessageBox::NoIcon);
    QCOMPARE(defaultButton, QMessageBox::Cancel);
    const QStringList expected =
        deleted ? QStringList{"A\ta", "C\tc"} : QStringList{"A\ta", "B\tb", "C\tc"};
    QCOMPARE(items(w), expected);
    QCOMPARE(w.selectedPosition(), deleted ? -1 : 1);
}

void TestFavoritesWindow::deletingTheLastItemLeavesThePlaceholder()
{
    FavoritesList::entries() = QStringList{"Only\to"};
    FavoritesWindow w(&browser_);
    w.show();
    w.form().lstFavorites->setCurrentRow(0);
    whenModal<QMessageBox>([](QMessageBox *box) { box->button(QMessageBox::Ok)->click(); });
    QTest::mouseClick(w.form().cmdDelete, Qt::LeftButton);
    QCOMPARE(w.form().lstFavorites->count(), 0);
    QTest::mouseClick(w.form().cmdDelete, Qt::LeftButton); // nothing selected: no question
    w.close();
    QCOMPARE(FavoritesList::entries(), QStringList{QString()});
}

void TestFavoritesWindow::closeBoxAfterReorderKeepsOrder()
{
    FavoritesWindow w(&browser_);
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    w.form().lstFavorites->setCurrentRow(2);
    QTest::mouseClick(w.form().cmdUp, Qt::LeftButton);
    QVERIFY(w.close()); // what the close box does
    QCOMPARE(FavoritesList::entries(), (QStringList{"A\ta", "C\tc", "B\tb"}));
}

void TestFavoritesWindow::emptyEntryMovedToTopKeepsLaterFavorites()
{
    FavoritesList::entries() = QStringList{"A\ta", "", "B\tb"};
    FavoritesWindow w(&browser_);
    w.show();
    w.form().lstFavorites->setCurrentRow(1);
    QTest::mouseClick(w.form().cmdUp, Qt::LeftButton);
    QCOMPARE(items(w).first(), QString());
    w.close();
    QCOMPARE(FavoritesList::entries(), (QStringList{"A\ta", "B\tb"}));
}

void TestFavoritesWindow::escapeDoesNothingEnterRunsGo()
{
    FavoritesWindow w(&browser_);
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    w.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&w));
    w.form().lstFavorites->setFocus();
    QTest::keyClick(w.form().lstFavorites, Qt::Key_Escape);
    QVERIFY(w.isVisible());
    w.form().lstFavorites->setCurrentRow(1);
    QTest::keyClick(w.form().lstFavorites, Qt::Key_Return);
    QVERIFY(!w.isVisible());
    QTRY_COMPARE(browser_.page()->requestedUrl(), QUrl(QStringLiteral("http://b/")));
}

void TestFavoritesWindow::goNavigatesToSecondField()
{
    FavoritesList::entries() = QStringList{"N\thttp://127.0.0.1:9/u\tX"};
    FavoritesWindow w(&browser_);
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    const QRect first = w.form().lstFavorites->visualItemRect(w.form().lstFavorites->item(0));
    QTest::mouseClick(w.form().lstFavorites->viewport(), Qt::LeftButton, {}, first.center());
    QTest::mouseDClick(w.form().lstFavorites->viewport(), Qt::LeftButton, {}, first.center());
    QVERIFY(!w.isVisible());
    // The list has been committed before the navigation starts.
    QCOMPARE(FavoritesList::entries(), QStringList{"N\thttp://127.0.0.1:9/u\tX"});
    QTRY_COMPARE(browser_.page()->requestedUrl(), QUrl(QStringLiteral("http://127.0.0.1:9/u")));
}

void TestFavoritesWindow::goOnEntryWithoutTabClosesOnly()
{
    FavoritesList::entries() = QStringList{"just a name"};
    const QUrl before = browser_.page()->requestedUrl();
    FavoritesWindow w(&browser_);
    w.show();
    w.form().lstFavorites->setCurrentRow(0);
    QTest::mouseClick(w.form().cmdGo, Qt::LeftButton);
    QVERIFY(!w.isVisible());
    QTest::qWait(300);
    QCOMPARE(browser_.page()->requestedUrl(), before);
    // Go with nothing selected does nothing at all.
    FavoritesWindow again(&browser_);
    again.show();
    QTest::mouseClick(again.form().cmdGo, Qt::LeftButton);
    QVERIFY(again.isVisible());
}

void TestFavoritesWindow::editShowsTwoFieldsAndWritesOneTab()
{
    FavoritesList::entries() = QStringList{"A\ta", "N\tU\tX"};
    FavoritesWindow w(&browser_);
    w.show();
    w.form().lstFavorites->setCurrentRow(1);
    QString name, url, caption;
    whenModal<EditFavoriteDialog>([&](EditFavoriteDialog *d) {
        name = d->form().txtName->text();
        url = d->form().txtURL->text();
        caption = d->windowTitle();
        QTest::keyClick(d->form().txtURL, Qt::Key_Return); // Enter confirms
    });
    QTest::mouseClick(w.form().cmdEdit, Qt::LeftButton);
    QCOMPARE(name, QStringLiteral("N"));
    QCOMPARE(url, QStringLiteral("U"));
    QCOMPARE(caption, QStringLiteral("お気に入りに追加"));
    QCOMPARE(items(w), (QStringList{"A\ta", "N\tU"}));
    QCOMPARE(w.selectedPosition(), 1);
    // Edit with nothing selected opens nothing.
    w.form().lstFavorites->clearSelection();
    QTest::mouseClick(w.form().cmdEdit, Qt::LeftButton);
    QCOMPARE(QApplication::activeModalWidget(), nullptr);
}

void TestFavoritesWindow::editEntryWithoutTabOrEmpty()
{
    FavoritesList::entries() = QStringList{"name only", ""};
    FavoritesWindow w(&browser_);
    w.show();
    for (int row : {0, 1}) {
        w.form().lstFavorites->setCurrentRow(row);
        QString name, url;
        whenModal<EditFavoriteDialog>([&](EditFavoriteDialog *d) {
            name = d->form().txtName->text();
            url = d->form().txtURL->text();
            d->form().txtURL->setText(QStringLiteral("u"));
            d->form().cmdEdit->click();
        });
        QTest::mouseClick(w.form().cmdEdit, Qt::LeftButton);
        QCOMPARE(name, row == 0 ? QStringLiteral("name only") : QString());
        QCOMPARE(url, QString());
    }
    QCOMPARE(items(w), (QStringList{"name only\tu", "\tu"}));
}

void TestFavoritesWindow::addAppendsCurrentAddress()
{
    QSignalSpy loaded(&browser_, &QWebEngineView::loadFinished);
    browser_.setHtml(QStringLiteral("<title>T</title>"),
                     QUrl(QStringLiteral("http://example.test/p")));
    QVERIFY(loaded.wait(10000));
    const QString location = browser_.LocationURL();
    FavoritesWindow w(&browser_);
    w.show();
    w.form().lstFavorites->setCurrentRow(0);
    QString name, url;
    whenModal<AddFavoriteDialog>([&](AddFavoriteDialog *d) {
        name = d->form().txtName->text();
        url = d->form().txtURL->text();
        QTest::mouseClick(d->form().cmdAdd, Qt::LeftButton);
    });
    QTest::mouseClick(w.form().cmdAdd, Qt::LeftButton);
    QCOMPARE(name, location);
    QCOMPARE(url, location);
    QCOMPARE(items(w).last(), location + "\t" + location);
    QCOMPARE(w.selectedPosition(), 0); // the new item is not selected
}

void TestFavoritesWindow::addStripsPastedTabsAndAcceptsEmpty()
{
    FavoritesWindow w(&browser_);
    w.show();
    const QList<QPair<QString, QString>> inputs{{"A\tB", "u\t\tv"}, {"", ""}, {"A\ta", "a"}};
    for (const auto &[name, url] : inputs) {
        whenModal<AddFavoriteDialog>([name = name, url = url](AddFavoriteDialog *d) {
            d->form().txtName->setText(name);
            d->form().txtURL->setText(url);
            d->form().cmdAdd->click();
        });
        QTest::mouseClick(w.form().cmdAdd, Qt::LeftButton);
    }
    QCOMPARE(items(w).mid(3), (QStringList{"AB\tuv", "\t", "Aa\ta"}));
}

void TestFavoritesWindow::dialogsCancelThreeWays_data()
{
    QTest::addColumn<QString>("how");
    QTest::newRow("button") << "button";
    QTest::newRow("Esc") << "esc";
    QTest::newRow("close box") << "close";
}

void TestFavoritesWindow::dialogsCancelThreeWays()
{
    QFETCH(QString, how);
    FavoritesWindow w(&browser_);
    w.show();
    w.form().lstFavorites->setCurrentRow(0);
    auto cancel = [how](FavoriteEntryDialog *d, QPushButton *cancelButton, QLineEdit *box) {
        box->setText(QStringLiteral("changed"));
        if (how == "button") {
            QTest::mouseClick(cancelButton, Qt::LeftButton);
        } else if (how == "esc") {
            QTest::keyClick(box, Qt::Key_Escape);
        } else {
            d->close();
        }
    };
    whenModal<EditFavoriteDialog>(
        [&](EditFavoriteDialog *d) { cancel(d, d->form().cmdCancel, d->form().txtName); });
    QTest::mouseClick(w.form().cmdEdit, Qt::LeftButton);
    whenModal<AddFavoriteDialog>(
        [&](AddFavoriteDialog *d) { cancel(d, d->form().cmdCancel, d->form().txtURL); });
    QTest::mouseClick(w.form().cmdAdd, Qt::LeftButton);
    QCOMPARE(items(w), (QStringList{"A\ta", "B\tb", "C\tc"}));
}

SORVEL_TEST_MAIN_WITH_DISPLAY(TestFavoritesWindow)
#include "tst_favoriteswindow.moc"
