// Writes the installation data that the program draws itself: the terrain tiles of
// both maps and the program icon. Used by the build for `cmake --install`.
#include "appicon.h"
#include "base/errors.h"
#include "map/tileart.h"

#include <QDir>
#include <QGuiApplication>
#include <QTextStream>

int main(int argc, char *argv[])
{
    QGuiApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    if (args.size() != 2) {
        QTextStream(stderr) << "Aufruf: tolvimar-datagen AUSGABEVERZEICHNIS\n";
        return 2;
    }
    const QDir out(args[1]);
    try {
        tolvimar::ensureTiles(out.filePath(QStringLiteral("images")));
    } catch (const tolvimar::UserError &e) {
        QTextStream(stderr) << e.message() << "\n";
        return 1;
    }
    QDir().mkpath(out.filePath(QStringLiteral("icons")));
    for (int size : {48, 128, 256}) {
        const QString file = out.filePath(QStringLiteral("icons/tolvimar-%1.png").arg(size));
        if (!tolvimar::appIconImage(size).save(file)) {
            QTextStream(stderr) << "Kann " << file << " nicht schreiben.\n";
            return 1;
        }
    }
    return 0;
}
