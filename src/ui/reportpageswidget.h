#pragma once

#include "base/activegame.h"
#include "report/reportpages.h"

#include <QTabWidget>
#include <functional>

class QLineEdit;
class QListView;
class QPlainTextEdit;
class QScrollArea;
class QStringListModel;

namespace tolvimar {

class StatusPage;
class TemplateDocumentBuilder;
class TemplatePage;

// The pages below the maps ("PageControl1"): the status page, the report lists and
// texts of the newest import, and the order template editor "Zugvorlage". A page
// whose content is empty hides its tab.
class ReportPagesWidget : public QTabWidget
{
    Q_OBJECT
public:
    explicit ReportPagesWidget(QWidget *parent = nullptr);

    StatusPage *statusPage() const { return m_statusPage; }
    QPlainTextEdit *richEdit4() const { return m_richEdit4; }
    TemplatePage *templatePage() const { return m_templatePage; }

    void showPages(const ReportPages &pages);
    void showStatus(const StatusValues &status);

    // The editor takes a new template when its page is shown. Its document is built
    // away from the window as soon as the template is replaced (laying out the
    // template of a large report takes seconds), and handed over when the page shows.
    void setTemplateSource(std::function<QStringList()> source)
    {
        m_templateSource = std::move(source);
    }
    void templateReplaced();
    // The editor's document is the template (no build pending); editing it edits the
    // template.
    bool holdsTemplate() const { return !m_templateStale; }
    // Whether a replaced template's document is still being built.
    bool isBuildingTemplate() const;
    // Shows the page "Zugvorlage" with the current template in the editor.
    QPlainTextEdit *showTemplatePage();
    // Whether the editor's text changed by the user (not by loading a template).
    bool isLoadingTemplate() const { return m_loadingTemplate || m_templateStale; }

    // A press on the active tab collapses the pages to 121 pixels, or enlarges them to
    // 710 when they are collapsed and the page is not "Status"; a press on another tab
    // only switches pages and keeps the height, a double click on it switches and then
    // collapses or enlarges. The pages above keep their minimum height: the enlarged
    // pages stop short of it.
    void PageControl1MouseDown(const QPoint &pos);
    void PageControl1DblClick(const QPoint &pos);

signals:
    // The editor holds a new template.
    void templateLoaded();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QListView *addListPage(Page page, const QString &objectName, QWidget *extra = nullptr);
    QPlainTextEdit *addTextPage(Page page, const QString &objectName);
    QWidget *totalBox(StatusField field, const QString &objectName, const QString &label);
    void loadTemplateIntoEditor();
    void setControlHeight(int height);
    void toggleHeight(const QWidget *page);

    QScrollArea *m_statusTab;
    StatusPage *m_statusPage;
    QStringListModel *m_listModels[int(Page::Count)] = {};
    QListView *m_listViews[int(Page::Count)] = {};
    QPlainTextEdit *m_texts[int(Page::Count)] = {};
    QWidget *m_pageWidgets[int(Page::Count)] = {};
    QLineEdit *m_totals[int(StatusField::Count)] = {};
    QStringListModel *m_productionModel = nullptr;
    TemplatePage *m_templatePage;
    QPlainTextEdit *m_richEdit4;
    std::function<QStringList()> m_templateSource;
    TemplateDocumentBuilder *m_builder;
    bool m_loadingTemplate = false;
    bool m_templateStale = false;
    bool m_pressSwitchedPage = false;
};

} // namespace tolvimar
