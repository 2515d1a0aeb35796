#pragma once

#include "attempt.h"

#include <QVector>
#include <QWidget>

class QComboBox;
class QGridLayout;
class QLineEdit;
class QPushButton;
class QVBoxLayout;

namespace tolvimar {

struct FactionRow;
class Database;
class ReportGrid;
class Session;

// A military list page: a row of labelled selection controls above a report grid. The
// faction choice follows the session's game (a new game or an import may bring other
// factions); the import puts the newest turn into "Info Datum".
class MilitaryListPage : public QWidget
{
    Q_OBJECT
public:
    ~MilitaryListPage() override;

    // The session whose game the page reports on.
    void attach(Session &session);
    // The newest turn into "Info Datum".
    void showInfoDatum(qint64 turn);

protected:
    // `title` heads the page's error messages.
    MilitaryListPage(const QString &objectName, const QString &title, QWidget *parent);

    // The page's queries on the session's database, made when the page is attached.
    virtual void openQueries(Database &database) = 0;
    // The factions of the game for the faction choice.
    virtual QVector<FactionRow> factionChoices(int game) = 0;

    // A label above the widget in a column of the controls row.
    void addLabelled(int column, const QString &label, QWidget *widget);
    // "Partei Name" and "Partei Nr" in two columns from `column` on.
    void addFactionChoice(
        int column, const QString &choiceName, const QString &numberName, const QString &allName);
    // The date comparison and "Info Datum" in two columns from `column` on.
    void addDateChoice(int column, const QString &comparisonName, const QString &dateName);
    // The report button in the lower line of a column.
    QPushButton *addReportButton(int column, const QString &objectName);
    // The grid below everything added to the page's layout so far.
    ReportGrid *addGrid(const QString &objectName, const QStringList &headings);

    QGridLayout *controls() const { return m_controls; }
    QVBoxLayout *pageLayout() const { return m_pageLayout; }
    // The chosen faction's number, or kAllFactions.
    int chosenFaction() const;
    QString dateComparison() const;
    QString date() const;

    // Runs the work; a UserError it throws is shown under the page's title.
    template<typename Work> bool run(Work &&work)
    {
        return attempt(std::forward<Work>(work), [this](const QString &text) { showError(text); });
    }
    void showError(const QString &text);

    Session *m_session = nullptr;
    ReportGrid *m_grid = nullptr;

private:
    void loadFactions();

    QString m_title;
    QVBoxLayout *m_pageLayout;
    QGridLayout *m_controls;
    QComboBox *m_faction = nullptr;
    QLineEdit *m_factionNumber = nullptr;
    QComboBox *m_comparison = nullptr;
    QLineEdit *m_infoDatum = nullptr;
};

} // namespace tolvimar
