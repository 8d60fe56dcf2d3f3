#include "favorites/AddFavoriteDialog.h"

#include "favorites/FavoritesWindow.h"

AddFavoriteDialog::AddFavoriteDialog(FavoritesWindow *owner, const QString &locationUrl)
    : FavoriteEntryDialog(owner), owner_(owner)
{
    ui.setupUi(this);
    attach(ui.txtName, ui.txtURL, ui.cmdAdd, ui.cmdCancel);
    // Both boxes start with the address: the page title is not offered as the name.
    ui.txtName->setText(locationUrl);
    ui.txtURL->setText(locationUrl);
}

void AddFavoriteDialog::confirm()
{
    owner_->appendItem(takeEntry());
    accept();
}
