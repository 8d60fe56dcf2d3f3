#pragma once

#include "ui_frmFavorites.h"

#include <QDialog>

class WebBrowser;

// The favorites window. Its list is the working copy of the favorites list while it is open;
// every close, whichever way, replaces the favorites list with it.
class FavoritesWindow : public QDialog
{
    Q_OBJECT
public:
    FavoritesWindow(WebBrowser *browser, QWidget *parent = nullptr);

    Ui::frmFavorites &form() { return ui; }

    // The selected position, -1 when nothing is selected.
    int selectedPosition() const;
    QString itemText(int position) const;
    void setItemText(int position, const QString &text);
    void appendItem(const QString &text);

    void done(int result) override;

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    void Form_Load();
    void Form_Unload();
    void cmdGo_Click();
    void cmdDelete_Click();
    void cmdUp_Click();
    void cmdDown_Click();
    void cmdEdit_Click();
    void cmdAdd_Click();
    void select(int position);

    Ui::frmFavorites ui;
    WebBrowser *browser_;
};
