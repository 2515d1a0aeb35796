# Precompiled headers: most of a file's compile time here goes into reading Qt's
# headers, so each library reads them once, and the tests share one reading per kind
# (plain and with widgets) through REUSE_FROM.
option(TOLVIMAR_PCH "Precompile the Qt and standard headers" ON)

set(TOLVIMAR_PCH_CORE
    <algorithm> <functional> <memory> <optional> <vector>
    <QByteArray> <QDir> <QFile> <QFileInfo> <QHash> <QImage> <QList> <QObject> <QPainter>
    <QPoint> <QRegularExpression> <QSet> <QSqlDatabase> <QSqlError> <QSqlQuery> <QString>
    <QStringList> <QVariant> <QVector>)
set(TOLVIMAR_PCH_WIDGETS
    <QApplication> <QCheckBox> <QComboBox> <QDialog> <QGridLayout> <QHBoxLayout> <QLabel>
    <QLineEdit> <QListView> <QPlainTextEdit> <QPushButton> <QScrollArea> <QTabWidget>
    <QVBoxLayout> <QWidget>)
set(TOLVIMAR_PCH_TEST <QtTest> <QTemporaryDir>)

# tolvimar_precompile(target [WIDGETS] [TEST]): the target reads the headers it
# needs from its own precompiled header.
function(tolvimar_precompile target)
    if(NOT TOLVIMAR_PCH)
        return()
    endif()
    cmake_parse_arguments(P "WIDGETS;TEST" "" "" ${ARGN})
    set(headers ${TOLVIMAR_PCH_CORE})
    if(P_WIDGETS)
        list(APPEND headers ${TOLVIMAR_PCH_WIDGETS})
    endif()
    if(P_TEST)
        list(APPEND headers ${TOLVIMAR_PCH_TEST})
    endif()
    target_precompile_headers(${target} PRIVATE ${headers})
endfunction()

# tolvimar_reuse_precompiled(target from): the target reads the headers from the
# precompiled header of `from` (same compiler options).
function(tolvimar_reuse_precompiled target from)
    if(TOLVIMAR_PCH)
        target_precompile_headers(${target} REUSE_FROM ${from})
    endif()
endfunction()
