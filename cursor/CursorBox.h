#pragma once

#include <QWidget>

// The drawn cursor: a 5 x 5 box above the page that never takes input.
class CursorBox : public QWidget
{
    Q_OBJECT
public:
    explicit CursorBox(QWidget *parent = nullptr);

protected:
    void paintEvent(QPaintEvent *event) override;
};
