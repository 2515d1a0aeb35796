#pragma once

#include "report/importprogress.h"

#include <QElapsedTimer>

class QWidget;

namespace tolvimar {

class ProgressWindow;

// Shows an import in the progress window while the main window is disabled;
// repaints a few times a second so that large reports are not slowed down.
class UiImportProgress : public ImportProgress
{
public:
    UiImportProgress(QWidget *mainWindow, ProgressWindow *window);
    void begin() override;
    void setStep(const QString &text) override;
    void setLine(int line) override;
    void setUnitName(const QString &name) override;
    void setPercent(int percent) override;
    void end() override;

private:
    void repaintSometimes(bool force = false);

    QWidget *m_mainWindow;
    ProgressWindow *m_window;
    QElapsedTimer m_sinceRepaint;
    int m_line = 0;
    QString m_unitName;
    int m_percent = 0;
};

} // namespace tolvimar
