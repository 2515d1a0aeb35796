#pragma once

#include <QDialog>

namespace tolvimar {

// "Manuelle Regionserfassung": a region entered by hand.
class RegionEntryDialog : public QDialog
{
    Q_OBJECT
public:
    explicit RegionEntryDialog(QWidget *parent = nullptr);
};

} // namespace tolvimar
