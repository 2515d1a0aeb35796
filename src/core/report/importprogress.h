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

} // namespace tolvimar
