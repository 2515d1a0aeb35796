#include "commands.h"

#include <QCoreApplication>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("tolvimar-cli"));
    return tolvimar::cli::run(QCoreApplication::arguments());
}
