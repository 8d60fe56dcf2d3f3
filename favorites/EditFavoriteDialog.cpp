#include "favorites/EditFavoriteDialog.h"

#include "favorites/FavoritesWindow.h"

EditFavoriteDialog::EditFavoriteDialog(FavoritesWindow *owner)
    : FavoriteEntryDialog(owner), owner_(owner), position_(owner->selectedPosition())
{
    ui.setupUi(this);
    attach(ui.txtName, ui.txtURL, ui.cmdEdit, ui.cmdCancel);
    // Entries from a hand-edited file may lack the TAB, or be empty: missing fields show empty.
    const QStringList fields = owner->itemText(position_).split(u'\t');
    ui.txtName->setText(fields.value(0));
    ui.txtURL->setText(fields.value(1));
}

void EditFavoriteDialog::confirm()
{
    owner_->setItemText(position_, takeEntry());
    accept();
}
