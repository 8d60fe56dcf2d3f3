#include "browser/WebBrowser.h"

#include "browser/WebPage.h"

#include <QUrl>
#include <QWebEngineHistory>

WebBrowser::WebBrowser(QWidget *parent) : QWebEngineView(parent), page_(new WebPage(this))
{
    setPage(page_);
    connect(page_, &QWebEnginePage::loadStarted, this, &WebBrowser::onLoadStarted);
    connect(page_, &QWebEnginePage::loadProgress, this, &WebBrowser::onLoadProgress);
    // A page whose renderer died loads nothing more until reloaded: the indicator must end.
    connect(page_, &QWebEnginePage::renderProcessTerminated, this, [this] { busy_ = false; });
    // The window's handlers run the event loop inside themselves (caption refresh): let them run
    // after the engine's own notification has returned, not nested inside it.
    connect(page_, &QWebEnginePage::loadFinished, this, &WebBrowser::onLoadFinished,
            Qt::QueuedConnection);
}

void WebBrowser::Navigate(const QString &url)
{
    const QUrl target = QUrl::fromUserInput(url);
    // An address box runs no script: a pasted javascript: address is refused, not executed.
    if (!target.isValid() || target.isEmpty() ||
        target.scheme().compare(QLatin1String("javascript"), Qt::CaseInsensitive) == 0) {
        return;
    }
    page_->load(target);
}

void WebBrowser::Navigate2(const QString &path)
{
    page_->load(QUrl::fromLocalFile(path));
}

void WebBrowser::GoBack()
{
    if (page_->history()->canGoBack()) {
        page_->history()->back();
    }
}

void WebBrowser::GoForward()
{
    if (page_->history()->canGoForward()) {
        page_->history()->forward();
    }
}

void WebBrowser::Refresh()
{
    page_->triggerAction(QWebEnginePage::Reload);
}

void WebBrowser::Stop()
{
    page_->triggerAction(QWebEnginePage::Stop);
}

void WebBrowser::SetFocus()
{
    setFocus(Qt::OtherFocusReason);
}

QString WebBrowser::LocationURL() const
{
    return page_->url().toString();
}

QString WebBrowser::LocationName() const
{
    const QString title = page_->title();
    return titleIsAddress(title, page_->url()) ? QString() : title;
}

bool WebBrowser::titleIsAddress(const QString &title, const QUrl &url)
{
    // For an untitled page the engine reports a form of the address instead: the URL without
    // "http://", the file name of a local file, or about:blank.
    if (title.isEmpty() || title == QLatin1String("about:blank")) {
        return true;
    }
    if (url.isLocalFile() && title == url.fileName()) {
        return true;
    }
    for (const QUrl::FormattingOptions options :
         {QUrl::FormattingOptions(QUrl::None), QUrl::FormattingOptions(QUrl::StripTrailingSlash)}) {
        for (const QString &form : {url.toString(options), url.toDisplayString(options)}) {
            if (title == form ||
                (form.startsWith(QLatin1String("http://")) && title == form.mid(7))) {
                return true;
            }
        }
    }
    return false;
}

QWidget *WebBrowser::pageWindow() const
{
    return focusProxy();
}

void WebBrowser::onLoadStarted()
{
    busy_ = true;
    Q_EMIT BeforeNavigate2();
}

void WebBrowser::onLoadProgress(int percent)
{
    // Some loads end only by reaching 100 %, without a loadFinished: never stay busy for ever.
    if (percent >= 100 && busy_) {
        busy_ = false;
    }
}

void WebBrowser::onLoadFinished(bool ok)
{
    busy_ = page_->isLoading();
    if (ok) {
        Q_EMIT NavigateComplete2();
    }
    Q_EMIT DownloadComplete();
}
