#pragma once

#include "base/activegame.h"
#include "report/reportpages.h"

#include <QTabWidget>
#include <memory>

class QLineEdit;
class QListView;
class QPlainTextEdit;
class QScrollArea;
class QStringListModel;

namespace tolvimar {

class StatusPage;
class OrderTemplate;
class OrderVocabulary;
class TemplatePage;

// The pages below the maps ("PageControl1"): the status page, the report lists and
// texts of the newest import, and the order template editor "Zugvorlage". A page
// whose content is empty hides its tab.
class ReportPagesWidget : public QTabWidget
{
    Q_OBJECT
public:
    explicit ReportPagesWidget(QWidget *parent = nullptr);

    void showPages(const ReportPages &pages);
    void showStatus(const StatusValues &status);

    // The page "Zugvorlage" shows the template, both pages whether it is saved.
    void showTemplate(OrderTemplate &orders);
    void showTemplatePage();
    bool isShowingTemplate() const;
    // What the template's colouring and completion know.
    void setOrderVocabulary(std::shared_ptr<const OrderVocabulary> vocabulary);
    // Shows the page with the cursor at the start of a 0-based line of the template.
    void goToTemplateLine(int line);
    // The 0-based line of the cursor in the template.
    int templateCursorLine() const;
    // The template's editor takes the keys.
    void focusTemplate();
    // Shows the page and puts the cursor into the find field (Ctrl+F), or shows the
    // replace row too (Ctrl+H).
    void startFind();
    void startReplace();

    // A press on the active tab collapses the pages to 121 pixels, or enlarges them to
    // 710 when they are collapsed and the page is not "Status"; a press on another tab
    // only switches pages and keeps the height, a double click on it switches and then
    // collapses or enlarges. The pages above keep their minimum height: the enlarged
    // pages stop short of it.
    void PageControl1MouseDown(const QPoint &pos);
    void PageControl1DblClick(const QPoint &pos);

signals:
    // "Zug prüfen lassen" on the status page or the template page.
    void checkRequested();
    // The template's text changed.
    void templateEdited();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QListView *addListPage(Page page, const QString &objectName, QWidget *extra = nullptr);
    QPlainTextEdit *addTextPage(Page page, const QString &objectName);
    QWidget *totalBox(StatusField field, const QString &objectName, const QString &label);
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
    bool m_pressSwitchedPage = false;
};

} // namespace tolvimar
