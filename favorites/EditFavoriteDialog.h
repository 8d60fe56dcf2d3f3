#pragma once

#include "favorites/FavoriteEntryDialog.h"
#include "ui_frmEditFavorite.h"

class FavoritesWindow;

// Changes the name and URL of the favorite selected in the favorites window.
class EditFavoriteDialog : public FavoriteEntryDialog
{
    Q_OBJECT
public:
    explicit EditFavoriteDialog(FavoritesWindow *owner);
    Ui::frmEditFavorite &form() { return ui; }

protected:
    void confirm() override;

private:
    Ui::frmEditFavorite ui;
    FavoritesWindow *owner_;
    int position_;
};
