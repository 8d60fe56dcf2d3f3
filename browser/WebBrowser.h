#pragma once

#include <QString>
#include <QUrl>
#include <QWebEngineView>

class WebPage;

// The page area: the operations, properties and events the browser window relies on, over
// Qt WebEngine. Events are raised on the user-interface thread.
class WebBrowser : public QWebEngineView
{
    Q_OBJECT
public:
    explicit WebBrowser(QWidget *parent = nullptr);

    // The text is completed the way an address bar does ("example.com" becomes a URL); text that
    // is no address at all is refused silently.
    void Navigate(const QString &url);
    // A local file path.
    void Navigate2(const QString &path);
    void GoBack();
    void GoForward();
    void Refresh();
    void Stop();
    void SetFocus();

    QString LocationURL() const;
    // The page's own title; empty for an untitled page.
    QString LocationName() const;
    bool Busy() const { return busy_; }

    static bool titleIsAddress(const QString &title, const QUrl &url);

    // The widget that receives the page's input; its screen rectangle defines page coordinates.
    QWidget *pageWindow() const;

Q_SIGNALS:
    void BeforeNavigate2();
    void NavigateComplete2();
    void DownloadComplete();

private:
    void onLoadStarted();
    void onLoadProgress(int percent);
    void onLoadFinished(bool ok);

    WebPage *page_;
    bool busy_ = false;
};
