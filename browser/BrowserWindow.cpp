#include "browser/BrowserWindow.h"

#include "app/FavoritesList.h"
#include "app/ProgramInfo.h"
#include "favorites/FavoritesWindow.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QDir>
#include <QKeyEvent>
#include <QMessageBox>

namespace
{
const QString ConnectingOn = QStringLiteral("Connecting \u25CF");
const QString ConnectingOff = QStringLiteral("Connecting \u25CB");
} // namespace

BrowserWindow::BrowserWindow(QWidget *parent) : QWidget(parent), forwarder_(smoother_, this)
{
    ui.setupUi(this);
    // The layout lists controls front to back: the page overlaps the address row's last pixel row
    // and the drawn cursor lies above everything, the page included.
    ui.brwWebBrowser->raise();
    ui.picCur->raise();
    setTabOrder(ui.cboAddress, ui.brwWebBrowser);
    setTabOrder(ui.brwWebBrowser, ui.cboName);
    ui.tbToolBar->setFocusPolicy(Qt::NoFocus);
    for (QAction *button : ui.tbToolBar->actions()) {
        ui.tbToolBar->widgetForAction(button)->setFixedSize(31, 30); // 820 x 794 HIMETRIC
    }
    cboAddressTw_ = QRect(120, 0, 2775, 300);
    cboNameTw_ = QRect(2880, 0, 2055, 300);

    timTimer_.setInterval(500);
    TimerSorvel_.setInterval(1);
    smoother_.setPlaceCallback(&BrowserWindow::placeCursor, this);

    connect(&timTimer_, &QTimer::timeout, this, &BrowserWindow::timTimer_Timer);
    connect(&TimerSorvel_, &GlideClock::timeout, this, &BrowserWindow::TimerSorvel_Timer);
    connect(ui.brwWebBrowser, &WebBrowser::BeforeNavigate2, this,
            &BrowserWindow::brwWebBrowser_BeforeNavigate2);
    connect(ui.brwWebBrowser, &WebBrowser::NavigateComplete2, this,
            &BrowserWindow::brwWebBrowser_NavigateComplete2);
    connect(ui.brwWebBrowser, &WebBrowser::DownloadComplete, this,
            &BrowserWindow::brwWebBrowser_DownloadComplete);
    connect(ui.cboAddress, &QComboBox::activated, this, &BrowserWindow::cboAddress_Click);
    // Keys reach the combo box, which hands them to its line edit without filters on the way.
    ui.cboAddress->installEventFilter(this);
    connect(ui.cboName, &QComboBox::activated, this, &BrowserWindow::cboName_Click);
    ui.cboName->installEventFilter(this);
    connect(ui.tbToolBar, &QToolBar::actionTriggered, this,
            [this](QAction *action) { tbToolBar_ButtonClick(action->objectName()); });
    forwarder_.setFrameExitHandler([this] { setLevelIndex(0); });

    Form_Load();
}

int BrowserWindow::toPixels(int twips)
{
    return qRound(double(twips) / TwipsPerPixel);
}

void BrowserWindow::placeCursor(void *self, float left, float top)
{
    static_cast<BrowserWindow *>(self)->ui.picCur->setPendingPos(QPoint(qRound(left), qRound(top)));
}

void BrowserWindow::Form_Load()
{
    // 1. The first favorite's name: the text before its first TAB.
    const QString first = FavoritesList::entries().value(0);
    const qsizetype tab = first.indexOf(u'\t');
    const QString name = tab < 0 ? first : first.left(tab);
    // 2-3.
    ui.tbToolBar->update();
    Form_Resize();
    // 4.
    setLevelIndex(0);
    // 5. Left 1000 twips, 80 twips above the label's top.
    cboAddressTw_.moveTo(1000, 120 - 80);
    applyAddressRowGeometry();
    // 6. The first page.
    if (!name.isEmpty() && tab >= 0) {
        timTimer_.start();
        ui.brwWebBrowser->Navigate(first.mid(tab + 1).section(u'\t', 0, 0));
    } else {
        // No favorites, an unnamed first favorite, or a name without an address.
        ui.brwWebBrowser->Navigate2(ProgramInfo::startPagePath());
    }
    // 7-8, 10.
    smoother_.CurX = 100;
    smoother_.CurY = 100;
    smoother_.StepCounter = 0;
    smoother_.PageTop =
        Smoother::RoundHalfEven(ui.picAddress->geometry().top() + ui.picAddress->height());
    for (int i = 0; i < Smoother::HistorySize; ++i) {
        smoother_.HistX[i] = 1;
        smoother_.HistY[i] = 1;
    }
    // 11.
    SetDropDownHeight(ui.cboName, ui.cboName->count());
}

void BrowserWindow::applyAddressRowGeometry()
{
    auto toPx = [](const QRect &tw) {
        return QRect(toPixels(tw.x()), toPixels(tw.y()), toPixels(tw.width()),
                     toPixels(tw.height()));
    };
    ui.cboAddress->setGeometry(toPx(cboAddressTw_));
    ui.cboName->setGeometry(toPx(cboNameTw_));
}

void BrowserWindow::Form_Resize()
{
    if (isMinimized()) {
        return;
    }
    // The outer width is in twips; a window too narrow for the row gives an empty address box.
    const int outerWidthTw = frameGeometry().width() * TwipsPerPixel;
    cboAddressTw_.setWidth(qMax(0, outerWidthTw - 1175 - cboNameTw_.width()));
    cboNameTw_.moveLeft(cboAddressTw_.left() + cboAddressTw_.width());
    cboNameTw_.moveTop(cboAddressTw_.top());
    applyAddressRowGeometry();
    ui.brwWebBrowser->resize(qMax(0, width() - 8), qMax(0, height() - smoother_.PageTop));
}

void BrowserWindow::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    Form_Resize();
}

void BrowserWindow::changeEvent(QEvent *event)
{
    QWidget::changeEvent(event);
    // Restoring from minimized lays the window out again, as any size change does.
    if (event->type() == QEvent::WindowStateChange) {
        Form_Resize();
    }
}

void BrowserWindow::closeEvent(QCloseEvent *event)
{
    Form_Unload();
    event->accept();
}

void BrowserWindow::Form_Unload()
{
    forwarder_.StopForwarding();
    QString reason;
    if (!FavoritesList::SaveFavorites(&reason)) {
        // A lost set of favorites must not go unnoticed.
        QMessageBox::warning(this, QStringLiteral("sorvel"),
                             QStringLiteral("お気に入りを保存できませんでした。\n%1\n%2")
                                 .arg(QDir::toNativeSeparators(FavoritesList::filePath()), reason));
    }
}

void BrowserWindow::RefreshCaption()
{
    QCoreApplication::processEvents();
    setWindowTitle(ProgramInfo::captionPrefix() + QStringLiteral(" - ") +
                   ui.brwWebBrowser->LocationName());
}

bool BrowserWindow::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == ui.cboAddress && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            cboAddress_Click();
            return true;
        }
    }
    if (watched == ui.cboName && event->type() == QEvent::FocusIn &&
        static_cast<QFocusEvent *>(event)->reason() != Qt::PopupFocusReason) {
        cboName_GotFocus();
    }
    return QWidget::eventFilter(watched, event);
}

// --- Navigation and the connecting indicator ---

void BrowserWindow::brwWebBrowser_BeforeNavigate2()
{
    if (!timTimer_.isActive()) {
        timTimer_.start();
    }
}

void BrowserWindow::brwWebBrowser_NavigateComplete2()
{
    RefreshCaption();
    const QString location = ui.brwWebBrowser->LocationURL();
    const int count = ui.cboAddress->count();
    int found = -1;
    for (int i = 0; i < count; ++i) {
        if (ui.cboAddress->itemText(i) == location) {
            found = i;
            break;
        }
    }
    updatingAddressList = true;
    if (found >= 0) {
        ui.cboAddress->removeItem(found);
    }
    ui.cboAddress->insertItem(0, location);
    ui.cboAddress->setCurrentIndex(0);
    cboAddress_Click();
    updatingAddressList = false;
}

void BrowserWindow::brwWebBrowser_DownloadComplete()
{
    ui.cboAddress->setEditText(ui.brwWebBrowser->LocationURL());
}

void BrowserWindow::cboAddress_Click()
{
    if (updatingAddressList) {
        return;
    }
    timTimer_.start();
    ui.brwWebBrowser->Navigate(ui.cboAddress->currentText());
}

void BrowserWindow::timTimer_Timer()
{
    if (ui.brwWebBrowser->Busy()) {
        setWindowTitle(windowTitle() == ConnectingOn ? ConnectingOff : ConnectingOn);
        return;
    }
    timTimer_.stop();
    RefreshCaption();
}

// --- Toolbar ---

void BrowserWindow::tbToolBar_ButtonClick(const QString &key)
{
    TimerSorvel_.setEnabled(false);
    forwarder_.StopForwarding();
    ui.picCur->hide();
    setLevelIndex(0);
    timTimer_.start();
    WebBrowser *brw = ui.brwWebBrowser;
    if (key == QLatin1String("Back")) {
        brw->GoBack();
    } else if (key == QLatin1String("Forward")) {
        brw->GoForward();
    } else if (key == QLatin1String("Refresh")) {
        brw->Refresh();
    } else if (key == QLatin1String("Stop")) {
        timTimer_.stop();
        brw->Stop();
        RefreshCaption();
    } else if (key == QLatin1String("Favorites")) {
        FavoritesWindow favorites(brw, this);
        favorites.exec();
    } else if (key == QLatin1String("Version")) {
        brw->Navigate2(ProgramInfo::startPagePath());
    }
}

// --- The smoothing level selector ---

void BrowserWindow::TimerSorvel_Timer()
{
    smoother_.GlideStep();
    ui.picCur->applyPendingPos();
}

void BrowserWindow::setLevelIndex(int index)
{
    ui.cboName->setCurrentIndex(index);
    cboName_Click();
}

void BrowserWindow::stopSmoothing()
{
    TimerSorvel_.setEnabled(false);
    forwarder_.StopForwarding();
    ui.picCur->hide();
}

void BrowserWindow::cboName_Click()
{
    stopSmoothing();
    const int index = ui.cboName->currentIndex();
    if (index <= 0) {
        return;
    }
    smoother_.SmoothLevel = index;
    ui.picCur->show();
    QWidget *component =
        childAt(qRound(double(ui.brwWebBrowser->x())), qRound(double(ui.brwWebBrowser->y())));
    QWidget *hPage = MouseForwarder::FindPageWindow(component);
    if (!hPage || hPage == this) {
        QMessageBox box(QMessageBox::Warning, QStringLiteral("sorvel"),
                        QStringLiteral("IEコンポーネントのウィンドウハンドル取得に失敗しました。"),
                        QMessageBox::Ok, this);
        box.exec();
        return;
    }
    smoother_.StepCounter = 2 * smoother_.SmoothLevel;
    const QPoint pointer = QCursor::pos();
    const QPoint pageOrigin = hPage->mapToGlobal(QPoint(0, 0));
    smoother_.CurX = pointer.x() - pageOrigin.x();
    smoother_.CurY = pointer.y() - pageOrigin.y();
    smoother_.SnapCursor();
    ui.picCur->applyPendingPos();
    forwarder_.StartForwarding(hPage);
    TimerSorvel_.setInterval(1);
    TimerSorvel_.setEnabled(true);
    ui.brwWebBrowser->SetFocus();
}

void BrowserWindow::cboName_GotFocus()
{
    stopSmoothing();
    setLevelIndex(0);
}

void BrowserWindow::SetDropDownHeight(QComboBox *combo, int itemCount)
{
    // The toolkit sizes the drop-down list itself: ask it for all the entries at once.
    combo->setMaxVisibleItems(itemCount);
    combo->update();
}
