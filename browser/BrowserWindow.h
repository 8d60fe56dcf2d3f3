#pragma once

#include "cursor/GlideClock.h"
#include "cursor/MouseForwarder.h"
#include "cursor/Smoother.h"
#include "ui_frmBrowser.h"

#include <QTimer>
#include <QWidget>

// The main window: layout, lifecycle, caption, navigation, address history, connecting
// indicator, toolbar and the smoothing level selector.
class BrowserWindow : public QWidget
{
    Q_OBJECT
public:
    static constexpr int TwipsPerPixel = 15;

    explicit BrowserWindow(QWidget *parent = nullptr);

    Ui::frmBrowser &form() { return ui; }
    Smoother &smoother() { return smoother_; }
    MouseForwarder &forwarder() { return forwarder_; }
    QTimer &timTimer() { return timTimer_; }
    GlideClock &TimerSorvel() { return TimerSorvel_; }

    void RefreshCaption();
    // Sets the level box's selection and runs its Click handler, as selecting in code does.
    void setLevelIndex(int index);
    static void SetDropDownHeight(QComboBox *combo, int itemCount);

protected:
    void resizeEvent(QResizeEvent *event) override;
    void changeEvent(QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void Form_Load();
    void Form_Resize();
    void Form_Unload();

    void brwWebBrowser_BeforeNavigate2();
    void brwWebBrowser_NavigateComplete2();
    void brwWebBrowser_DownloadComplete();
    void cboAddress_Click();
    void timTimer_Timer();
    void TimerSorvel_Timer();
    void tbToolBar_ButtonClick(const QString &key);
    void cboName_Click();
    void cboName_GotFocus();
    void stopSmoothing();

    static int toPixels(int twips);
    void applyAddressRowGeometry();
    static void placeCursor(void *self, float left, float top);

    Ui::frmBrowser ui;
    Smoother smoother_;
    MouseForwarder forwarder_;
    QTimer timTimer_;
    GlideClock TimerSorvel_;
    bool updatingAddressList = false;

    // Geometry of the controls inside picAddress, in twips as the layout rule computes it.
    QRect cboAddressTw_;
    QRect cboNameTw_;
};
