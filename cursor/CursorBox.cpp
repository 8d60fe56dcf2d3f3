#include "cursor/CursorBox.h"

#include <QPainter>

CursorBox::CursorBox(QWidget *parent) : QWidget(parent)
{
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::NoFocus);
}

void CursorBox::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    // A window-coloured box alone vanishes on a white page: the frame keeps it visible.
    painter.fillRect(rect(), palette().color(QPalette::Active, QPalette::WindowText));
    painter.fillRect(rect().adjusted(1, 1, -1, -1),
                     palette().color(QPalette::Active, QPalette::Base));
}
