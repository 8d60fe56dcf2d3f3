#include "browser/WebPage.h"

WebPage::WebPage(QObject *parent) : QWebEnginePage(parent)
{
    // sorvel has no way to ask the user, so every request is refused at once.
    connect(this, &QWebEnginePage::featurePermissionRequested, this,
            [this](const QUrl &origin, Feature feature) {
                setFeaturePermission(origin, feature, PermissionDeniedByUser);
            });
}

QWebEnginePage *WebPage::createWindow(WebWindowType)
{
    // target="_blank" and window.open() load into this page; swallowing them would lose the click.
    return this;
}
