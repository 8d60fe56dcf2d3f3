#pragma once

#include <QApplication>
#include <QTimer>

#include <functional>

// Runs `act` on the next modal dialog of type T as soon as it is shown, from the event loop
// that the dialog's own exec() runs.
template <typename T> void whenModal(std::function<void(T *)> act)
{
    auto *poll = new QTimer;
    poll->setInterval(10);
    QObject::connect(poll, &QTimer::timeout, [poll, act] {
        if (auto *dialog = qobject_cast<T *>(QApplication::activeModalWidget())) {
            if (dialog->isVisible()) {
                poll->stop();
                poll->deleteLater();
                act(dialog);
            }
        }
    });
    poll->start();
}
