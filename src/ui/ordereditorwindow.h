#pragma once

#include <QDialog>

namespace tolvimar {

// "Befehlseditor": edits one own unit's orders.
class OrderEditorWindow : public QDialog
{
    Q_OBJECT
public:
    explicit OrderEditorWindow(QWidget *parent = nullptr);
};

} // namespace tolvimar
