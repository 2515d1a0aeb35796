#include "reportpageswidget.h"

#include "orders/ordertemplate.h"
#include "statuspage.h"
#include "templatepage.h"
#include "widgets.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QScrollArea>
#include <QSplitter>
#include <QStringListModel>
#include <QTextDocument>
#include <QVBoxLayout>

namespace tolvimar {

namespace {
constexpr int kCollapsedHeight = 121;
constexpr int kExpandedHeight = 710;
} // namespace

ReportPagesWidget::ReportPagesWidget(QWidget *parent)
    : QTabWidget(parent)
{
    setObjectName(QStringLiteral("PageControl1"));
    // The tabs sit at the bottom edge, which stays where it is when the pages collapse or
    // enlarge: a second press finds its tab under the pointer. Captions stay whole; a
    // strip too narrow for them scrolls.
    setTabPosition(QTabWidget::South);
    tabBar()->setElideMode(Qt::ElideNone);
    setUsesScrollButtons(true);
    // Narrow tabs, so that most captions fit in full beside the maps.
    tabBar()->setStyleSheet(QStringLiteral("QTabBar::tab { padding: 3px 5px; }"));
    // On a low window the status page scrolls instead of squeezing its fields.
    m_statusTab = new QScrollArea(this);
    m_statusTab->setObjectName(QStringLiteral("ScrollBoxStatus"));
    m_statusTab->setFrameShape(QFrame::NoFrame);
    m_statusTab->setWidgetResizable(true);
    m_statusPage = new StatusPage(m_statusTab);
    m_statusTab->setWidget(m_statusPage);
    addTab(m_statusTab, QStringLiteral("Status"));

    addListPage(Page::Kaempfe, QStringLiteral("ListBoxKaempfe"));
    addListPage(Page::Warnungen, QStringLiteral("ListBoxWarnungen"));
    addListPage(Page::Ereignisse, QStringLiteral("ListBox5"),
        totalBox(StatusField::OrkVermehrung, QStringLiteral("EditOrkVermehrung"),
            QStringLiteral("Ork Vermehrung")));
    addListPage(Page::Einkommen, QStringLiteral("ListBoxEinkommen"),
        totalBox(StatusField::Gesamteinkommen, QStringLiteral("EditGesamteinkommen"),
            QStringLiteral("Gesamteinkommen :")));
    addListPage(Page::Handel, QStringLiteral("ListBoxHandel"));

    auto *productionBox = new QWidget;
    auto *productionLayout = new QVBoxLayout(productionBox);
    productionLayout->setContentsMargins(0, 0, 0, 0);
    productionLayout->addWidget(new QLabel(QStringLiteral("Gesamtproduktion"), productionBox));
    auto *productionView = new QListView(productionBox);
    productionView->setObjectName(QStringLiteral("ListBoxGesamtproduktion"));
    productionView->setFont(fixedPitchFont());
    productionView->setFixedWidth(170);
    m_productionModel = new QStringListModel(productionView);
    productionView->setModel(m_productionModel);
    productionLayout->addWidget(productionView);
    addListPage(Page::Produktion, QStringLiteral("ListBoxProduktion"), productionBox);

    addListPage(Page::Bewegungen, QStringLiteral("ListBoxBewegungen"));
    addTextPage(Page::Meldungen, QStringLiteral("MemoMeldungen"));
    addTextPage(Page::Botschaften, QStringLiteral("Memo4"));
    addTextPage(Page::Geheimdienstbericht, QStringLiteral("RichEdit3"));
    addTextPage(Page::Einreisebericht, QStringLiteral("RichEdit2"));

    m_templatePage = new TemplatePage(this);
    addTab(m_templatePage, QStringLiteral("Zugvorlage"));
    connect(m_statusPage, &StatusPage::checkRequested, this, &ReportPagesWidget::checkRequested);
    connect(
        m_templatePage, &TemplatePage::checkRequested, this, &ReportPagesWidget::checkRequested);
    connect(m_templatePage, &TemplatePage::textChanged, this, &ReportPagesWidget::templateEdited);

    // The collapsed height must be reachable whatever the pages would like to show.
    setMinimumHeight(kCollapsedHeight);
    tabBar()->installEventFilter(this);
    // A shortened caption is read in full on its tooltip.
    for (int i = 0; i < count(); ++i)
        setTabToolTip(i, tabText(i));
}

bool ReportPagesWidget::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == tabBar()) {
        if (event->type() == QEvent::MouseButtonPress)
            PageControl1MouseDown(static_cast<QMouseEvent *>(event)->position().toPoint());
        else if (event->type() == QEvent::MouseButtonDblClick)
            PageControl1DblClick(static_cast<QMouseEvent *>(event)->position().toPoint());
    }
    return QTabWidget::eventFilter(watched, event);
}

void ReportPagesWidget::PageControl1MouseDown(const QPoint &pos)
{
    // The press runs before the tab bar switches pages. A press on another tab only
    // switches, so that moving through the pages keeps their height.
    const int pressed = tabBar()->tabAt(pos);
    m_pressSwitchedPage = pressed >= 0 && pressed != currentIndex();
    if (!m_pressSwitchedPage)
        toggleHeight(currentWidget());
}

void ReportPagesWidget::PageControl1DblClick(const QPoint &pos)
{
    // The first press of a double click on another tab switched to it; the double click
    // then enlarges or collapses. On the active tab the first press already did.
    if (m_pressSwitchedPage && tabBar()->tabAt(pos) == currentIndex())
        toggleHeight(currentWidget());
    m_pressSwitchedPage = false;
}

void ReportPagesWidget::toggleHeight(const QWidget *page)
{
    const bool collapse = height() > kCollapsedHeight || page == m_statusTab;
    setControlHeight(collapse ? kCollapsedHeight : kExpandedHeight);
}

void ReportPagesWidget::setControlHeight(int height)
{
    auto *splitter = qobject_cast<QSplitter *>(parentWidget());
    if (!splitter) {
        resize(width(), height);
        return;
    }
    QList<int> sizes = splitter->sizes();
    const int index = splitter->indexOf(this);
    int total = 0;
    for (int size : sizes)
        total += size;
    // The other panes keep at least their minimum height, so that they stay usable and
    // are never squeezed out of the splitter.
    int othersMinimum = 0;
    for (int i = 0; i < sizes.size(); ++i) {
        if (i == index)
            continue;
        const QWidget *other = splitter->widget(i);
        othersMinimum += qMax(other->minimumHeight(), other->minimumSizeHint().height());
    }
    height = qMax(qMin(height, total - othersMinimum), minimumHeight());
    // The other panes share what is left in their current proportions.
    const int othersBefore = total - sizes[index];
    const int othersAfter = qMax(0, total - height);
    for (int i = 0; i < sizes.size(); ++i) {
        if (i == index)
            sizes[i] = height;
        else if (othersBefore > 0)
            sizes[i] = int(qint64(sizes[i]) * othersAfter / othersBefore);
    }
    splitter->setSizes(sizes);
}

QWidget *ReportPagesWidget::totalBox(
    StatusField field, const QString &objectName, const QString &label)
{
    auto *box = new QWidget;
    auto *layout = new QFormLayout(box);
    m_totals[int(field)] = readOnlyEdit(objectName, box);
    layout->addRow(label, m_totals[int(field)]);
    return box;
}

QListView *ReportPagesWidget::addListPage(Page page, const QString &objectName, QWidget *extra)
{
    auto *container = new QWidget(this);
    auto *layout = new QHBoxLayout(container);
    layout->setContentsMargins(2, 2, 2, 2);
    auto *view = new QListView(container);
    view->setObjectName(objectName);
    view->setUniformItemSizes(true);
    view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    auto *model = new QStringListModel(view);
    view->setModel(model);
    layout->addWidget(view, 1);
    if (extra)
        layout->addWidget(extra);
    m_listModels[int(page)] = model;
    m_listViews[int(page)] = view;
    m_pageWidgets[int(page)] = container;
    addTab(container, pageTitle(page));
    return view;
}

QPlainTextEdit *ReportPagesWidget::addTextPage(Page page, const QString &objectName)
{
    auto *edit = new QPlainTextEdit(this);
    edit->setObjectName(objectName);
    edit->setReadOnly(true);
    edit->setLineWrapMode(QPlainTextEdit::NoWrap);
    m_texts[int(page)] = edit;
    m_pageWidgets[int(page)] = edit;
    addTab(edit, pageTitle(page));
    return edit;
}

void ReportPagesWidget::showPages(const ReportPages &pages)
{
    for (int i = 0; i < int(Page::Count); ++i) {
        const Page page = Page(i);
        if (m_listModels[i])
            m_listModels[i]->setStringList(pages[page]);
        else if (m_texts[i])
            m_texts[i]->setPlainText(pages[page].join(u'\n'));
        if (m_pageWidgets[i]) {
            // Keyboard paging (Ctrl+Tab, Ctrl+PgDown) skips disabled tabs only.
            const int index = indexOf(m_pageWidgets[i]);
            setTabVisible(index, !pages.isEmpty(page));
            setTabEnabled(index, !pages.isEmpty(page));
        }
    }
    m_statusPage->showAlliances(pages[Page::Buendnisse]);
    QPalette palette = m_listViews[int(Page::Kaempfe)]->palette();
    palette.setColor(QPalette::Text, pages.kaempfeRed ? QColor(Qt::red) : QColor(Qt::black));
    m_listViews[int(Page::Kaempfe)]->setPalette(palette);
}

void ReportPagesWidget::showStatus(const StatusValues &status)
{
    m_statusPage->showStatus(status);
    for (int i = kSavedStatusFields; i < int(StatusField::Count); ++i) {
        if (m_totals[i])
            m_totals[i]->setText(status.values[i]);
    }
    m_productionModel->setStringList(status.gesamtproduktion);
}

void ReportPagesWidget::showTemplate(OrderTemplate &orders)
{
    m_templatePage->showTemplate(orders.document());
    connect(&orders, &OrderTemplate::savedChanged, m_statusPage, &StatusPage::showSaved);
    m_statusPage->showSaved(orders.isSaved());
}

void ReportPagesWidget::showTemplatePage()
{
    setCurrentWidget(m_templatePage);
    m_templatePage->showNewestTemplate();
}

bool ReportPagesWidget::isShowingTemplate() const
{
    return currentWidget() == m_templatePage;
}

void ReportPagesWidget::setOrderVocabulary(std::shared_ptr<const OrderVocabulary> vocabulary)
{
    m_templatePage->setVocabulary(std::move(vocabulary));
}

void ReportPagesWidget::goToTemplateLine(int line)
{
    showTemplatePage();
    m_templatePage->goToLine(line);
}

int ReportPagesWidget::templateCursorLine() const
{
    return m_templatePage->cursorLine();
}

void ReportPagesWidget::focusTemplate()
{
    m_templatePage->focusEditor();
}

void ReportPagesWidget::startFind()
{
    showTemplatePage();
    m_templatePage->startFind();
}

void ReportPagesWidget::startReplace()
{
    showTemplatePage();
    m_templatePage->startReplace();
}

} // namespace tolvimar
