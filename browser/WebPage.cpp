#include "browser/WebPage.h"

QWebEnginePage *WebPage::createWindow(WebWindowType)
{
    // target="_blank" and window.open() load into this page; swallowing them would lose the click.
    return this;
}
