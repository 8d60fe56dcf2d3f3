#include "favorites/FavoriteEntryDialog.h"

#include <QLineEdit>
#include <QPushButton>

FavoriteEntryDialog::FavoriteEntryDialog(QWidget *parent) : QDialog(parent)
{
    // Fixed single frame with a close box: no minimize, no maximize, no help button.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
}

void FavoriteEntryDialog::attach(QLineEdit *name, QLineEdit *url, QPushButton *confirmButton,
                                 QPushButton *cancel)
{
    txtName_ = name;
    txtURL_ = url;
    connect(confirmButton, &QPushButton::clicked, this, &FavoriteEntryDialog::confirm);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}

QString FavoriteEntryDialog::takeEntry()
{
    txtName_->setText(txtName_->text().remove(u'\t'));
    txtURL_->setText(txtURL_->text().remove(u'\t'));
    return txtName_->text() + u'\t' + txtURL_->text();
}
