#pragma once

#include <QDialog>

class QLineEdit;
class QPushButton;

// What the add and edit dialogs share: a name box, a URL box, a confirm button and a close
// button; confirming joins the two boxes into one entry with exactly one TAB.
class FavoriteEntryDialog : public QDialog
{
    Q_OBJECT
public:
    explicit FavoriteEntryDialog(QWidget *parent);

protected:
    // Wires the controls; call once the form has been set up.
    void attach(QLineEdit *name, QLineEdit *url, QPushButton *confirm, QPushButton *cancel);
    // Removes every TAB from both boxes (putting the results back) and joins them.
    QString takeEntry();
    virtual void confirm() = 0;

    QLineEdit *txtName_ = nullptr;
    QLineEdit *txtURL_ = nullptr;
};
