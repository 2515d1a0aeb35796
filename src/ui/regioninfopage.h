#pragma once

#include <QWidget>

class QPlainTextEdit;

namespace tolvimar {

// "Region Info": the selected region's fields, its surroundings and its guards.
class RegionInfoPage : public QWidget
{
    Q_OBJECT
public:
    explicit RegionInfoPage(QWidget *parent = nullptr);

    QPlainTextEdit *memo8() const { return m_memo8; }
    QPlainTextEdit *memo7() const { return m_memo7; }

private:
    QPlainTextEdit *m_memo8; // "Region Umgebung"
    QPlainTextEdit *m_memo7; // "Die Region wird bewacht von :"
};

} // namespace tolvimar
