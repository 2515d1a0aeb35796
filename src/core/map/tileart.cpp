#include "tileart.h"

#include "base/errors.h"
#include "hexgeometry.h"
#include "imagefile.h"
#include "maptile.h"
#include "tileset.h"

#include <QDir>
#include <QFileInfo>
#include <QPainter>
#include <QPainterPath>
#include <array>
#include <cstdlib>

namespace tolvimar {

namespace {

enum class Symbol {
    None,
    Waves,
    Grass,
    Hills,
    Cracks,
    Peaks,
    Reeds,
    Trees,
    Dunes,
    Flames,
    Iceberg,
    Volcano,
    ActiveVolcano,
    Fog,
    DenseFog,
};

// A terrain's look. The small map's file is name + ".bmp", the world map's "w" + that.
struct Look
{
    const char16_t *name;
    QRgb base;
    QRgb accent;
    Symbol symbol;
};

constexpr Look kLooks[] = {
    {u"ozean", 0xff2e6db0, 0xff78aae0, Symbol::Waves},
    {u"ebene", 0xffa5d46f, 0xff73a942, Symbol::Grass},
    {u"hochl", 0xffc9a04a, 0xff977329, Symbol::Hills},
    {u"gletscher", 0xffdfeef7, 0xff94bad6, Symbol::Cracks},
    {u"gebirge", 0xff8f7d6a, 0xff5a4c40, Symbol::Peaks},
    {u"sumpf", 0xff7b8a3c, 0xff48551d, Symbol::Reeds},
    {u"wald", 0xff2f7a36, 0xff17491c, Symbol::Trees},
    {u"wüste", 0xffead28f, 0xffc2a357, Symbol::Dunes},
    {u"flamm", 0xffe8622c, 0xffffd04a, Symbol::Flames},
    {u"eisberg", 0xff4f8cc6, 0xfff4fbff, Symbol::Iceberg},
    {u"vulkan", 0xff6e2b24, 0xff3a1410, Symbol::Volcano},
    {u"aktvulkan", 0xffb5301f, 0xffffb02e, Symbol::ActiveVolcano},
    {u"nebel", 0xffa9b0b7, 0xffd5dade, Symbol::Fog},
    {u"dnebel", 0xff7a8189, 0xffa6adb4, Symbol::DenseFog},
    {u"blank", 0xff323a46, 0xff323a46, Symbol::None},
};

constexpr int kWorldTileHeight = 10;
constexpr int kSmallTileHeight = 38;

// Half-width of the small hexagon in row r around its middle column 14. The top cap
// widens over rows 0 to 7; the bottom cap (rows 30 to 37) is the complement of the
// top cap of the row below, so the two rows interlock without a gap.
int smallHalfWidth(int row)
{
    static constexpr std::array<int, 9> cap = {0, 2, 4, 5, 7, 9, 10, 12, 14};
    if (row < 8)
        return cap[row];
    if (row <= 29)
        return 14;
    return 14 - cap[row - 29];
}

// The columns [first, last] of the world hexagon in row r.
std::pair<int, int> worldSpan(int row)
{
    static constexpr std::array<int, kWorldTileHeight> first = {3, 1, 0, 0, 0, 0, 0, 0, 1, 3};
    return {first[row], 7 - first[row]};
}

std::pair<int, int> smallSpan(int row)
{
    return {14 - smallHalfWidth(row), 14 + smallHalfWidth(row)};
}

// A few pixels of the accent colour give the world tiles a texture at 8 pixels.
QList<QPoint> worldAccents(Symbol symbol)
{
    switch (symbol) {
    case Symbol::Waves:
        return {{1, 4}, {2, 3}, {3, 4}, {4, 6}, {5, 5}, {6, 6}};
    case Symbol::Grass:
        return {{2, 3}, {5, 5}, {2, 7}};
    case Symbol::Hills:
        return {{2, 4}, {3, 3}, {4, 4}, {4, 6}, {5, 5}, {6, 6}};
    case Symbol::Cracks:
        return {{2, 3}, {3, 4}, {5, 6}};
    case Symbol::Peaks:
        return {{3, 2}, {2, 3}, {4, 3}, {1, 4}, {5, 4}, {0, 5}, {6, 5}};
    case Symbol::Reeds:
        return {{2, 3}, {2, 4}, {5, 5}, {5, 6}, {3, 7}, {4, 7}};
    case Symbol::Trees:
        return {{2, 3}, {5, 3}, {1, 4}, {2, 4}, {3, 4}, {4, 4}, {5, 4}, {6, 4}, {3, 6}, {2, 7},
            {3, 7}, {4, 7}};
    case Symbol::Dunes:
        return {{1, 4}, {2, 3}, {3, 3}, {4, 6}, {5, 5}, {6, 5}};
    case Symbol::Flames:
        return {{2, 3}, {2, 4}, {4, 2}, {4, 3}, {4, 4}, {6, 4}, {6, 5}, {3, 6}, {5, 6}};
    case Symbol::Iceberg:
        return {{3, 2}, {4, 2}, {2, 3}, {3, 3}, {4, 3}, {5, 3}, {1, 4}, {2, 4}, {3, 4}, {4, 4},
            {5, 4}, {6, 4}};
    case Symbol::Volcano:
    case Symbol::ActiveVolcano:
        return {{3, 3}, {4, 3}, {2, 4}, {5, 4}, {2, 5}, {5, 5}, {1, 6}, {6, 6}};
    case Symbol::Fog:
        return {{1, 3}, {2, 3}, {3, 3}, {4, 5}, {5, 5}, {6, 5}, {2, 7}, {3, 7}};
    case Symbol::DenseFog:
        return {{0, 2}, {1, 2}, {2, 2}, {3, 2}, {3, 4}, {4, 4}, {5, 4}, {6, 4}, {7, 4}, {0, 6},
            {1, 6}, {2, 6}, {3, 6}, {4, 6}, {5, 7}, {6, 7}};
    case Symbol::None:
        break;
    }
    return {};
}

QImage worldTile(const Look &look)
{
    QImage image(8, kWorldTileHeight, QImage::Format_RGB32);
    image.fill(MapTile::kKeyColour);
    for (int row = 0; row < kWorldTileHeight; ++row) {
        const auto [first, last] = worldSpan(row);
        for (int column = first; column <= last; ++column)
            image.setPixel(column, row, look.base);
    }
    for (const QPoint &p : worldAccents(look.symbol))
        image.setPixel(p, look.accent);
    return image;
}

QPainterPath flame(qreal x, qreal bottom, qreal width, qreal height)
{
    QPainterPath path;
    path.moveTo(x, bottom - height);
    path.cubicTo(x + width * 0.2, bottom - height * 0.6, x + width * 0.6, bottom - height * 0.45,
        x + width * 0.45, bottom);
    path.lineTo(x - width * 0.45, bottom);
    path.cubicTo(x - width * 0.6, bottom - height * 0.45, x - width * 0.2, bottom - height * 0.6, x,
        bottom - height);
    return path;
}

void drawTree(QPainter &p, qreal x, qreal bottom, const QColor &crown)
{
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x5a, 0x3b, 0x1e));
    p.drawRect(QRectF(x - 1, bottom - 3, 2, 3));
    p.setBrush(crown);
    p.drawPolygon(QPolygonF({{x, bottom - 12}, {x + 5, bottom - 3}, {x - 5, bottom - 3}}));
}

void drawStreaks(QPainter &p, const QColor &colour, const QList<QLineF> &lines, qreal width)
{
    p.setPen(QPen(colour, width, Qt::SolidLine, Qt::RoundCap));
    for (const QLineF &line : lines)
        p.drawLine(line);
}

void drawSymbol(QPainter &p, const Look &look)
{
    const QColor accent = QColor::fromRgb(look.accent);
    const QColor base = QColor::fromRgb(look.base);
    p.setRenderHint(QPainter::Antialiasing);
    switch (look.symbol) {
    case Symbol::Waves: {
        p.setPen(QPen(accent, 1.4, Qt::SolidLine, Qt::RoundCap));
        p.setBrush(Qt::NoBrush);
        for (const QPointF &start : {QPointF(5, 13), QPointF(10, 21), QPointF(4, 28)}) {
            QPainterPath wave(start);
            wave.quadTo(start + QPointF(3, -3), start + QPointF(6, 0));
            wave.quadTo(start + QPointF(9, 3), start + QPointF(12, 0));
            wave.quadTo(start + QPointF(14, -2), start + QPointF(16, -1));
            p.drawPath(wave);
        }
        break;
    }
    case Symbol::Grass: {
        p.setPen(QPen(accent, 1.2, Qt::SolidLine, Qt::RoundCap));
        for (const QPointF &at : {QPointF(8, 14), QPointF(19, 12), QPointF(13, 22), QPointF(22, 24),
                 QPointF(7, 29), QPointF(17, 31)}) {
            p.drawLine(at, at + QPointF(-2, -4));
            p.drawLine(at, at + QPointF(0, -5));
            p.drawLine(at, at + QPointF(2, -4));
        }
        break;
    }
    case Symbol::Hills: {
        p.setPen(QPen(accent.darker(115), 1));
        p.setBrush(accent);
        p.drawChord(QRectF(3, 15, 16, 16), 0, 180 * 16);
        p.drawChord(QRectF(12, 11, 14, 14), 0, 180 * 16);
        p.setBrush(base.lighter(112));
        p.setPen(Qt::NoPen);
        p.drawChord(QRectF(6, 17, 6, 6), 45 * 16, 120 * 16);
        break;
    }
    case Symbol::Cracks: {
        p.setPen(QPen(accent, 1.1, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.drawPolyline(QPolygonF({{6, 12}, {11, 15}, {10, 19}, {15, 22}}));
        p.drawPolyline(QPolygonF({{18, 10}, {20, 15}, {24, 17}}));
        p.drawPolyline(QPolygonF({{8, 27}, {13, 29}, {19, 27}, {22, 30}}));
        break;
    }
    case Symbol::Peaks: {
        p.setPen(Qt::NoPen);
        p.setBrush(accent);
        p.drawPolygon(QPolygonF({{3, 29}, {12, 10}, {21, 29}}));
        p.setBrush(accent.lighter(125));
        p.drawPolygon(QPolygonF({{13, 29}, {19.5, 16}, {26, 29}}));
        p.setBrush(QColor(0xf2, 0xf2, 0xf0));
        p.drawPolygon(QPolygonF({{12, 10}, {15.3, 17}, {13, 16}, {11, 18}, {8.7, 17}}));
        p.drawPolygon(QPolygonF({{19.5, 16}, {21.6, 20.2}, {19.5, 19.5}, {17.4, 20.2}}));
        break;
    }
    case Symbol::Reeds: {
        drawStreaks(
            p, QColor(0x5f, 0x86, 0x8a), {{5, 28, 11, 28}, {15, 30, 22, 30}, {8, 20, 12, 20}}, 1.3);
        p.setPen(QPen(accent, 1.2, Qt::SolidLine, Qt::RoundCap));
        for (const QPointF &at :
            {QPointF(10, 26), QPointF(14, 27), QPointF(19, 25), QPointF(21, 15), QPointF(8, 16)}) {
            p.drawLine(at, at + QPointF(0, -9));
            p.setBrush(QColor(0x6b, 0x4a, 0x25));
            p.drawEllipse(QRectF(at.x() - 1, at.y() - 11, 2, 4));
        }
        break;
    }
    case Symbol::Trees: {
        const QColor crown = accent;
        drawTree(p, 9, 19, crown);
        drawTree(p, 20, 17, crown);
        drawTree(p, 14, 31, crown);
        drawTree(p, 23, 30, crown.lighter(120));
        break;
    }
    case Symbol::Dunes: {
        p.setPen(QPen(accent, 1.4, Qt::SolidLine, Qt::RoundCap));
        p.setBrush(Qt::NoBrush);
        p.drawArc(QRectF(3, 13, 14, 8), 20 * 16, 140 * 16);
        p.drawArc(QRectF(12, 21, 14, 8), 20 * 16, 140 * 16);
        p.drawArc(QRectF(4, 27, 12, 7), 20 * 16, 140 * 16);
        p.setPen(QPen(accent.darker(110), 1.2, Qt::SolidLine, Qt::RoundCap));
        for (const QPointF &at : {QPointF(20, 13), QPointF(8, 23), QPointF(21, 32)})
            p.drawPoint(at);
        break;
    }
    case Symbol::Flames: {
        p.setPen(Qt::NoPen);
        const QColor inner(0xff, 0xf3, 0xa8);
        for (const auto &[x, bottom, h] : {std::array<qreal, 3> {8, 31, 16}, {15, 30, 21},
                 {22, 31, 15}, {12, 17, 8}, {19, 15, 7}}) {
            p.setBrush(accent);
            p.drawPath(flame(x, bottom, h * 0.45, h));
            p.setBrush(inner);
            p.drawPath(flame(x, bottom, h * 0.22, h * 0.5));
        }
        break;
    }
    case Symbol::Iceberg: {
        p.setPen(Qt::NoPen);
        p.setBrush(accent);
        p.drawPolygon(QPolygonF({{5, 25}, {9, 15}, {13, 17}, {16, 10}, {21, 18}, {24, 25}}));
        p.setBrush(QColor(0xb9, 0xdc, 0xf2));
        p.drawPolygon(QPolygonF({{16, 10}, {21, 18}, {24, 25}, {17, 25}, {18, 18}}));
        drawStreaks(p, base.lighter(135), {{4, 28, 12, 28}, {16, 29, 25, 29}}, 1.2);
        break;
    }
    case Symbol::Volcano:
    case Symbol::ActiveVolcano: {
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0x2e, 0x1a, 0x16));
        p.drawPolygon(QPolygonF({{3, 30}, {11, 14}, {18, 14}, {26, 30}}));
        p.setBrush(look.symbol == Symbol::ActiveVolcano ? accent : QColor(0x1a, 0x0c, 0x0a));
        p.drawEllipse(QRectF(10.5, 12.5, 8, 3));
        if (look.symbol == Symbol::ActiveVolcano) {
            p.drawPolygon(QPolygonF({{12, 14}, {14, 14}, {11, 22}, {12.5, 26}, {9.5, 24}}));
            p.drawPolygon(QPolygonF({{16, 14}, {18, 14}, {20, 21}, {18.5, 20}}));
            p.setBrush(QColor(0xbd, 0xb6, 0xb0, 220));
            p.drawEllipse(QRectF(13, 6, 6, 5));
            p.drawEllipse(QRectF(16, 3, 7, 5));
        }
        break;
    }
    case Symbol::Fog:
        drawStreaks(p, accent,
            {{6, 11, 17, 11}, {11, 16, 24, 16}, {4, 21, 15, 21}, {13, 26, 24, 26}, {7, 31, 18, 31}},
            2.2);
        break;
    case Symbol::DenseFog:
        drawStreaks(p, accent,
            {{3, 9, 21, 9}, {8, 13, 26, 13}, {3, 17, 19, 17}, {10, 21, 26, 21}, {3, 25, 20, 25},
                {9, 29, 26, 29}, {6, 33, 20, 33}},
            2.6);
        break;
    case Symbol::None:
        break;
    }
}

QImage smallTile(const Look &look)
{
    const int width = kSmallCellPitch;
    QImage image(width, kSmallTileHeight, QImage::Format_RGB32);
    image.fill(MapTile::kKeyColour);

    auto inside = [](int column, int row) {
        if (row < 0 || row >= kSmallTileHeight)
            return false;
        const auto [first, last] = smallSpan(row);
        return column >= first && column <= last;
    };
    QRegion interior;
    for (int row = 0; row < kSmallTileHeight; ++row) {
        const auto [first, last] = smallSpan(row);
        int innerFirst = -1;
        int innerLast = -1;
        for (int column = first; column <= last; ++column) {
            const bool edge = column == first || column == last || !inside(column, row - 1)
                || !inside(column, row + 1);
            if (!edge) {
                if (innerFirst < 0)
                    innerFirst = column;
                innerLast = column;
            }
        }
        if (innerFirst >= 0)
            interior += QRect(innerFirst, row, innerLast - innerFirst + 1, 1);
    }

    QPainter p(&image);
    // Outline first, then the shaded inside and the symbol, both kept inside the outline.
    const QColor base = QColor::fromRgb(look.base);
    const QColor outline = look.symbol == Symbol::None ? base.lighter(125) : base.darker(135);
    p.setPen(Qt::NoPen);
    p.setBrush(outline);
    for (int row = 0; row < kSmallTileHeight; ++row) {
        const auto [first, last] = smallSpan(row);
        p.drawRect(first, row, last - first + 1, 1);
    }
    p.setClipRegion(interior);
    QLinearGradient shade(0, 0, 0, kSmallTileHeight);
    shade.setColorAt(0, base.lighter(108));
    shade.setColorAt(1, base.darker(108));
    p.fillRect(image.rect(), shade);
    drawSymbol(p, look);
    return image;
}

const Look *lookOf(const QString &fileName, bool *world)
{
    QString name = fileName;
    if (!name.endsWith(u".bmp"))
        return nullptr;
    name.chop(4);
    for (const Look &look : kLooks) {
        const QString lookName = QString::fromUtf16(look.name);
        if (name == lookName) {
            *world = false;
            return &look;
        }
        if (name == u'w' + lookName) {
            *world = true;
            return &look;
        }
    }
    return nullptr;
}

} // namespace

QImage tileArt(const QString &fileName)
{
    bool world = false;
    const Look *look = lookOf(fileName, &world);
    if (!look)
        return {};
    return world ? worldTile(*look) : smallTile(*look);
}

QStringList ensureTiles(const QString &imagesDir)
{
    QStringList written;
    QStringList failed;
    QDir dir(imagesDir);
    if (!dir.exists() && !QDir().mkpath(imagesDir))
        throw UserError(QStringLiteral("Der Ordner für die Kartengrafiken %1 kann nicht angelegt "
                                       "werden.")
                            .arg(QDir::toNativeSeparators(imagesDir)));
    for (const QString &file : TileSet::world().files() + TileSet::small().files()) {
        const QString path = dir.filePath(file);
        if (QFileInfo::exists(path))
            continue;
        try {
            writeImageFile(path, tileArt(file), "BMP");
            written.append(file);
        } catch (const UserError &e) {
            failed.append(e.message());
        }
    }
    if (failed.size() == 1)
        throw UserError(failed.first());
    if (!failed.isEmpty())
        throw UserError(failed.first()
            + QStringLiteral(" (%1 weitere Kartengrafiken ebenso)").arg(failed.size() - 1));
    return written;
}

} // namespace tolvimar
