#pragma once

#include <QPoint>
#include <QWidget>
#include <optional>

class QComboBox;
class QGridLayout;
class QLabel;
class QLineEdit;
class QPushButton;
class QScrollArea;

namespace tolvimar {

class MapImage;
class UpDown;

// The left column of the main window: the world map in its scroll box with the
// three overlay layers on it, the button that renders it, the level box, the panel
// naming the selected region and the small map with its arrows. The world map box
// takes the room the column has; the small map grows by whole steps when there is
// room for it.
class MapPanel : public QWidget
{
    Q_OBJECT
public:
    static constexpr int kMaxZoom = 4;

    explicit MapPanel(QWidget *parent = nullptr);

    QScrollArea *scrollBox1() const { return m_scrollBox1; }
    MapImage *image82() const { return m_image82; }
    // The overlay layers: Image2 units, Image3 ships, Image4 region messages.
    MapImage *image2() const { return m_layers[0]; }
    MapImage *image3() const { return m_layers[1]; }
    MapImage *image4() const { return m_layers[2]; }
    QPushButton *button4() const { return m_button4; }
    QComboBox *dbLookupComboBox3() const { return m_levelList; }
    QLineEdit *dbEdit32() const { return m_levelName; }
    QPushButton *button9() const { return m_button9; }
    QLabel *panel1() const { return m_panel1; }
    MapImage *image1() const { return m_image1; }
    UpDown *upDown1() const { return m_upDown1; }
    UpDown *upDown2() const { return m_upDown2; }

    // Shows a world map picture (a null one shows "Keine Weltkarte").
    void showWorldMap(const QImage &map);
    // Shows or hides a layer (0 units, 1 ships, 2 region messages) with its picture.
    void showLayer(int index, bool visible, const QImage &image);
    void showSmallMap(const QImage &map);

    // Scrolls the world map box so that a rectangle of the (unzoomed) picture is seen.
    void scrollWorldMapTo(const QRect &pictureRect);

    // Scrolls the world map box to the picture's size / 2.25, as a game opens. Kept
    // until the box's layout admits it or the user scrolls.
    void scrollWorldMapToMiddle();

    int zoom() const;
    // Whole steps from 1 to 4. The picture point at the anchor (a point of the world
    // map widget; the box's centre when none) stays where it is on the screen.
    void setZoom(int zoom, std::optional<QPoint> anchor = std::nullopt);
    // The small map's whole-number scale.
    int smallMapScale() const { return m_smallScale; }

signals:
    void zoomChanged(int zoom);

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    void applyPendingScroll();
    void fitSmallMap();

    QScrollArea *m_scrollBox1;
    MapImage *m_image82;
    MapImage *m_layers[3];
    QPushButton *m_button4;
    QComboBox *m_levelList;
    QLineEdit *m_levelName;
    QPushButton *m_button9;
    QLabel *m_panel1;
    QWidget *m_groupBox3;
    QWidget *m_smallArea;
    MapImage *m_image1;
    UpDown *m_upDown1;
    UpDown *m_upDown2;
    int m_smallScale = 1;
    std::optional<QPoint> m_pendingScroll;
};

} // namespace tolvimar
