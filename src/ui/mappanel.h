#pragma once

#include <QWidget>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QScrollArea;

namespace tolvimar {

// The left column of the main window: the world map in its scroll box, the button
// that renders it, the level box, the panel naming the selected region and the
// small map.
class MapPanel : public QWidget
{
    Q_OBJECT
public:
    explicit MapPanel(QWidget *parent = nullptr);

    QScrollArea *scrollBox1() const { return m_scrollBox1; }
    QLabel *image82() const { return m_image82; }
    QPushButton *button4() const { return m_button4; }
    QComboBox *dbLookupComboBox3() const { return m_levelList; }
    QLineEdit *dbEdit32() const { return m_levelName; }
    QPushButton *button9() const { return m_button9; }
    QLabel *panel1() const { return m_panel1; }
    QLabel *image1() const { return m_image1; }

    // Shows a world map picture (a null one shows "Keine Weltkarte").
    void showWorldMap(const QPixmap &map);
    // Scrolls the world map box to the picture's size / 2.25, as a game opens.
    void scrollWorldMapToMiddle();

private:
    QScrollArea *m_scrollBox1;
    QLabel *m_image82;
    QPushButton *m_button4;
    QComboBox *m_levelList;
    QLineEdit *m_levelName;
    QPushButton *m_button9;
    QLabel *m_panel1;
    QLabel *m_image1;
};

} // namespace tolvimar
