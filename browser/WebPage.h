#pragma once

#include <QWebEnginePage>

// The page of the single-window browser: whatever asks for a new window opens here instead.
class WebPage : public QWebEnginePage
{
    Q_OBJECT
public:
    using QWebEnginePage::QWebEnginePage;

protected:
    QWebEnginePage *createWindow(WebWindowType type) override;
};
