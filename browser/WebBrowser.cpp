#include "browser/WebBrowser.h"

#include "browser/WebPage.h"

#include <QUrl>
#include <QWebEngineHistory>

WebBrowser::WebBrowser(QWidget *parent) : QWebEngineView(parent), page_(new WebPage(this))
{
    setPage(page_);
    connect(page_, &QWebEnginePage::loadStarted, this, &WebBrowser::onLoadStarted);
    connect(page_, &QWebEnginePage::loadProgress, this, &WebBrowser::onLoadProgress);
    connect(page_, &QWebEnginePage::loadFinished, this, &WebBrowser::onLoadFinished);
}

void WebBrowser::Navigate(const QString &url)
{
    const QUrl target = QUrl::fromUserInput(url);
    if (!target.isValid() || target.isEmpty()) {
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
    const QUrl url = page_->url();
    // For an untitled page the engine reports the address in place of a title.
    if (title.isEmpty() || title == url.toString() ||
        title == url.toString(QUrl::RemoveScheme).mid(2) ||
        title == url.toDisplayString(QUrl::RemoveScheme).mid(2) ||
        title == url.toString(QUrl::RemoveScheme | QUrl::StripTrailingSlash).mid(2)) {
        return QString();
    }
    return title;
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
    busy_ = false;
    if (ok) {
        Q_EMIT NavigateComplete2();
    }
    Q_EMIT DownloadComplete();
}
