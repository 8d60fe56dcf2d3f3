#include "favorites/FavoritesWindow.h"

#include "app/FavoritesFile.h"
#include "app/FavoritesList.h"
#include "browser/WebBrowser.h"
#include "favorites/AddFavoriteDialog.h"
#include "favorites/EditFavoriteDialog.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QMessageBox>

FavoritesWindow::FavoritesWindow(WebBrowser *browser, QWidget *parent)
    : QDialog(parent), browser_(browser)
{
    ui.setupUi(this);
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    connect(ui.cmdGo, &QPushButton::clicked, this, &FavoritesWindow::cmdGo_Click);
    connect(ui.lstFavorites, &QListWidget::itemDoubleClicked, this, &FavoritesWindow::cmdGo_Click);
    connect(ui.cmdDelete, &QPushButton::clicked, this, &FavoritesWindow::cmdDelete_Click);
    connect(ui.cmdEdit, &QPushButton::clicked, this, &FavoritesWindow::cmdEdit_Click);
    connect(ui.cmdUp, &QPushButton::clicked, this, &FavoritesWindow::cmdUp_Click);
    connect(ui.cmdDown, &QPushButton::clicked, this, &FavoritesWindow::cmdDown_Click);
    connect(ui.cmdAdd, &QPushButton::clicked, this, &FavoritesWindow::cmdAdd_Click);
    connect(ui.cmdCancel, &QPushButton::clicked, this, &QDialog::close);
    Form_Load();
}

void FavoritesWindow::Form_Load()
{
    const QStringList &favorites = FavoritesList::entries();
    if (!FavoritesFile::holdsFavorites(favorites)) {
        return;
    }
    // Every entry is one line: equal rows spare the list measuring thousands of them.
    ui.lstFavorites->setUniformItemSizes(true);
    ui.lstFavorites->addItems(favorites);
    ui.lstFavorites->setCurrentRow(-1);
}

void FavoritesWindow::Form_Unload()
{
    QStringList items;
    items.reserve(ui.lstFavorites->count());
    for (int i = 0; i < ui.lstFavorites->count(); ++i) {
        items.append(ui.lstFavorites->item(i)->text());
    }
    // An empty list, or one whose first entries are empty, keeps what favorites it holds.
    FavoritesList::entries() = FavoritesFile::normalized(std::move(items));
}

void FavoritesWindow::done(int result)
{
    // Every way of closing commits: the close box, "閉じる" and Go alike.
    Form_Unload();
    QDialog::done(result);
}

void FavoritesWindow::keyPressEvent(QKeyEvent *event)
{
    // The window has no cancel button: Esc does nothing.
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

int FavoritesWindow::selectedPosition() const
{
    const QList<QListWidgetItem *> selected = ui.lstFavorites->selectedItems();
    return selected.isEmpty() ? -1 : ui.lstFavorites->row(selected.first());
}

QString FavoritesWindow::itemText(int position) const
{
    const QListWidgetItem *item = ui.lstFavorites->item(position);
    return item ? item->text() : QString();
}

void FavoritesWindow::setItemText(int position, const QString &text)
{
    if (QListWidgetItem *item = ui.lstFavorites->item(position)) {
        item->setText(text);
    }
}

void FavoritesWindow::appendItem(const QString &text)
{
    ui.lstFavorites->addItem(text);
}

void FavoritesWindow::select(int position)
{
    ui.lstFavorites->setCurrentRow(position, QItemSelectionModel::ClearAndSelect);
}

void FavoritesWindow::cmdGo_Click()
{
    const int position = selectedPosition();
    if (position < 0) {
        return;
    }
    const QStringList fields = itemText(position).split(u'\t');
    close();
    // Let the closed window leave the screen before the page starts loading.
    QCoreApplication::processEvents();
    if (fields.size() > 1) {
        browser_->Navigate(fields.at(1));
    }
}

void FavoritesWindow::cmdDelete_Click()
{
    const int position = selectedPosition();
    if (position < 0) {
        return;
    }
    QMessageBox box(QMessageBox::NoIcon, QStringLiteral("削除の確認"),
                    QStringLiteral("削除しますか？"), QMessageBox::Ok | QMessageBox::Cancel, this);
    box.setDefaultButton(QMessageBox::Cancel);
    box.setEscapeButton(QMessageBox::Cancel);
    if (box.exec() != QMessageBox::Ok) {
        return;
    }
    delete ui.lstFavorites->takeItem(position);
    // No neighbour takes over the selection.
    ui.lstFavorites->clearSelection();
    ui.lstFavorites->setCurrentRow(-1, QItemSelectionModel::Clear);
}

void FavoritesWindow::cmdUp_Click()
{
    const int i = selectedPosition();
    if (i < 1) {
        return;
    }
    const QString above = itemText(i - 1);
    setItemText(i - 1, itemText(i));
    setItemText(i, above);
    select(i - 1);
}

void FavoritesWindow::cmdDown_Click()
{
    const int i = selectedPosition();
    if (i < 0 || i > ui.lstFavorites->count() - 2) {
        return;
    }
    const QString below = itemText(i + 1);
    setItemText(i + 1, itemText(i));
    setItemText(i, below);
    select(i + 1);
}

void FavoritesWindow::cmdEdit_Click()
{
    if (selectedPosition() < 0) {
        return;
    }
    EditFavoriteDialog dialog(this);
    dialog.exec();
}

void FavoritesWindow::cmdAdd_Click()
{
    AddFavoriteDialog dialog(this, browser_->LocationURL());
    dialog.exec();
}
