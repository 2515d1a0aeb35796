#pragma once

#include <QFont>
#include <QString>

class QLineEdit;
class QWidget;

namespace tolvimar {

// Small helpers the windows share.

// A read-only line edit with an object name.
QLineEdit *readOnlyEdit(const QString &objectName, QWidget *parent);

// The template editor and the aligned lists need a fixed-pitch font.
QFont fixedPitchFont();

} // namespace tolvimar
