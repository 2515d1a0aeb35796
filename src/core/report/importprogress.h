#pragma once

#include <QString>

namespace tolvimar {

// What an import tells the progress window. The window decides how often it
// repaints; core calls freely.
class ImportProgress
{
public:
    virtual ~ImportProgress() = default;
    virtual void begin() { }
    virtual void setStep(const QString &) { }
    virtual void setLine(int) { }
    virtual void setUnitName(const QString &) { }
    virtual void setPercent(int) { }
    virtual void end() { }
};

// The progress is shown for the scope's life and ended again in every case.
class ProgressScope
{
public:
    explicit ProgressScope(ImportProgress &progress)
        : m_progress(progress)
    {
        m_progress.begin();
    }
    ~ProgressScope() { m_progress.end(); }
    ProgressScope(const ProgressScope &) = delete;
    ProgressScope &operator=(const ProgressScope &) = delete;

private:
    ImportProgress &m_progress;
};

} // namespace tolvimar
