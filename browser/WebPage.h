#pragma once

#include <QWebEnginePage>

// The page of the single-window browser: whatever asks for a new window opens here instead, and
// no page gets the camera, the microphone, the location or notifications.
class WebPage : public QWebEnginePage
{
    Q_OBJECT
public:
    explicit WebPage(QObject *parent = nullptr);

protected:
    QWebEnginePage *createWindow(WebWindowType type) override;
};
