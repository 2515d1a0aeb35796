#pragma once

#include <QDialog>

class QTextBrowser;

namespace tolvimar {

// "Kurz Referenz": the short reference section of the guide, which the program
// carries as a resource.
class QuickReference : public QDialog
{
    Q_OBJECT
public:
    explicit QuickReference(QWidget *parent = nullptr);

    // The section "## Kurzreferenz" of a guide in Markdown, up to the next section of
    // the same depth; empty when it has none.
    static QString section(const QString &guide);

private:
    QTextBrowser *m_text;
};

} // namespace tolvimar
