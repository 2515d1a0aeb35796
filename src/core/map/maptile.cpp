#include "maptile.h"

#include <algorithm>
#include <cstring>

namespace tolvimar {

namespace {

bool isDrawn(QRgb pixel)
{
    return qAlpha(pixel) >= 128 && (pixel | 0xff000000) != MapTile::kKeyColour;
}

} // namespace

MapTile::MapTile(const QImage &image)
{
    const QImage argb = image.convertToFormat(QImage::Format_ARGB32);
    m_image = argb.convertToFormat(QImage::Format_RGB32);
    for (int row = 0; row < argb.height(); ++row) {
        const auto *line = reinterpret_cast<const QRgb *>(argb.constScanLine(row));
        int column = 0;
        while (column < argb.width()) {
            if (!isDrawn(line[column])) {
                ++column;
                continue;
            }
            const int first = column;
            while (column < argb.width() && isDrawn(line[column]))
                ++column;
            m_runs.push_back({row, first, column - first});
        }
    }
}

void MapTile::drawInto(QImage &target, int left, int top) const
{
    Q_ASSERT(target.depth() == 32);
    const int width = target.width();
    const int height = target.height();
    if (m_runs.empty() || left >= width || top >= height || left + m_image.width() <= 0
        || top + m_image.height() <= 0)
        return;
    uchar *bits = target.bits();
    const qsizetype targetLine = target.bytesPerLine();
    const uchar *source = m_image.constBits();
    const qsizetype sourceLine = m_image.bytesPerLine();
    for (const Run &run : m_runs) {
        const int y = top + run.row;
        if (y < 0 || y >= height)
            continue;
        const int from = std::max(left + run.first, 0);
        const int to = std::min(left + run.first + run.count, width);
        if (from >= to)
            continue;
        std::memcpy(bits + y * targetLine + from * 4,
            source + run.row * sourceLine + (from - left) * 4, size_t(to - from) * 4);
    }
}

} // namespace tolvimar
