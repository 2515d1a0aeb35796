#pragma once

#include <QFont>
#include <QString>

class QLayout;
class QLineEdit;
class QWidget;

namespace tolvimar {

// Small helpers the windows share.

// A read-only line edit with an object name.
QLineEdit *readOnlyEdit(const QString &objectName, QWidget *parent);

// A row of controls that scrolls sideways when its page is narrower than the row, so
// that a page never holds the window wider than a small screen.
QWidget *sidewaysRow(QLayout *row, QWidget *parent);

// The template editor and the aligned lists need a fixed-pitch font.
QFont fixedPitchFont();

} // namespace tolvimar
