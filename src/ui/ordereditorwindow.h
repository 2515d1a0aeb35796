#pragma once

#include "orders/orderblock.h"

#include <QDialog>
#include <memory>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

namespace tolvimar {

class OrderCompleter;
class OrderHighlighter;
class OrderVocabulary;
class Prompter;

// "Befehlseditor": one own unit's block of the order template and its marks. It stays
// on top of the main window and is shown or hidden, never closed. Whatever hides it
// (Escape, the window's close box, "Editor ausblenden") with changed orders or marks
// first asks whether they are applied; Ctrl+S applies them and saves the template.
class OrderEditorWindow : public QDialog
{
    Q_OBJECT
public:
    explicit OrderEditorWindow(QWidget *parent = nullptr);

    // Shows the unit's name, its block (one template line per memo line) and its mark.
    void fill(const QString &unitName, const QStringList &lines, UnitMark mark);
    // Shows a unit whose orders cannot be written here (a foreign unit, or one without a
    // block in the template): read-only, with the note why; nothing can be applied.
    void fillReadOnly(const QString &unitName, const QStringList &lines, const QString &note);
    // An own unit without a block in the template: its orders are read-only, its marks
    // can be set and applied.
    void fillMarksOnly(const QString &unitName, UnitMark mark, const QString &note);
    bool isReadOnly() const;
    // A note under the orders (empty: none).
    void setNote(const QString &note);
    // What the colouring and the completion know; place gives the unit's region.
    void setVocabulary(std::shared_ptr<const OrderVocabulary> vocabulary);
    void setPlace(const QString &position, const QString &unitText);
    QStringList memoLines() const;
    UnitMark mark() const;
    // Where the question about changed orders is asked.
    void setPrompter(Prompter *prompter) { m_prompter = prompter; }
    // Orders or marks changed since the editor was filled or they were applied.
    bool hasChanges() const;
    // The orders and marks shown were applied: nothing is pending any more.
    void markApplied();
    // Before the editor is hidden or filled anew: changes are applied, discarded or
    // kept as the player chooses ("Übernehmen", "Verwerfen", "Abbrechen"). False when
    // the editor is to stay as it is (cancelled, or the orders could not be applied).
    bool settleChanges();

public slots:
    // "Befehle ausführen": hands the memo's lines and the mark on.
    void Button1Click();
    // "Editor ausblenden": hides the window once changes are settled.
    void Button3Click();
    // Escape and the window's close box: hides the window once changes are settled
    // (an open completion list takes Escape first and only closes).
    void reject() override;
    // The two marks exclude each other, whoever sets them.
    void CheckBox1Click();
    void CheckBox2Click();

signals:
    void ordersSubmitted(const QStringList &lines, tolvimar::UnitMark mark);
    // Ctrl+S: the orders were applied (or nothing was pending); the template is to
    // be saved.
    void saveRequested();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // Ctrl+S.
    void applyAndSave();

    QLineEdit *m_unitName;
    QCheckBox *m_markBox;
    QCheckBox *m_longMarkBox;
    QPlainTextEdit *m_ordersEdit;
    QLabel *m_note;
    OrderHighlighter *m_highlighter;
    OrderCompleter *m_completer;
    QString m_position;
    QString m_unitText;
    QPushButton *m_applyButton;
    QPushButton *m_hideButton;
    Prompter *m_prompter = nullptr;
    // What was shown when the editor was filled or last applied, for Verwerfen.
    QString m_shownText;
    UnitMark m_shownMark = UnitMark::None;
    bool m_marksOnly = false; // an own unit without a block: only its marks are applied
};

} // namespace tolvimar
