#pragma once

#include <QWidget>

// The drawn cursor: a 5 x 5 box above the page that never takes input.
class CursorBox : public QWidget
{
    Q_OBJECT
public:
    explicit CursorBox(QWidget *parent = nullptr);

    // The engine places the box on every mouse event; the widget itself moves at most once per
    // glide tick, since each move repaints part of the page and the screen shows no more anyway.
    void setPendingPos(QPoint pos) { pending_ = pos; }
    void applyPendingPos() { move(pending_); }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QPoint pending_{568, 80};
};
