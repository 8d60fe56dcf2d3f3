#pragma once

#include "favorites/FavoriteEntryDialog.h"
#include "ui_frmAddFavorite.h"

class FavoritesWindow;

// Turns the browser's current page into a new favorite at the end of the favorites window's list.
class AddFavoriteDialog : public FavoriteEntryDialog
{
    Q_OBJECT
public:
    AddFavoriteDialog(FavoritesWindow *owner, const QString &locationUrl);
    Ui::frmAddFavorite &form() { return ui; }

protected:
    void confirm() override;

private:
    Ui::frmAddFavorite ui;
    FavoritesWindow *owner_;
};
