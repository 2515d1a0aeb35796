#pragma once

#include <QImage>
#include <vector>

namespace tolvimar {

// A terrain tile ready for drawing. Bitmap files carry no usable alpha, so tiles mark
// the pixels around their hexagon with one key colour, pure magenta; those pixels
// (and any with alpha below one half) are never drawn and leave what lies beneath.
class MapTile
{
public:
    static constexpr QRgb kKeyColour = 0xffff00ff;

    MapTile() = default;
    explicit MapTile(const QImage &image);

    bool isNull() const { return m_image.isNull(); }
    QSize size() const { return m_image.size(); }
    const QImage &image() const { return m_image; }

    // Copies the tile's drawn pixels into a 32-bit target with the tile's top-left
    // corner at (left, top), clipped to the target. No blending: a tile either
    // replaces a pixel or leaves it.
    void drawInto(QImage &target, int left, int top) const;

private:
    // A horizontal run of drawn pixels of one tile row.
    struct Run
    {
        int row;
        int first;
        int count;
    };

    QImage m_image;
    std::vector<Run> m_runs;
};

} // namespace tolvimar
