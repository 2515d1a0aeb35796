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

// "Befehlseditor": one own unit's block of the order template and its marks. It stays
// on top of the main window and is shown or hidden, never closed.
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
    bool isReadOnly() const;
    // What the colouring and the completion know; place gives the unit's region.
    void setVocabulary(std::shared_ptr<const OrderVocabulary> vocabulary);
    void setPlace(const QString &position, const QString &unitText);
    OrderHighlighter *highlighter() const { return m_highlighter; }
    OrderCompleter *completer() const { return m_completer; }
    QStringList memoLines() const;
    UnitMark mark() const;

public slots:
    // "Befehle ausführen": hands the memo's lines and the mark on.
    void Button1Click();
    // "Editor ausblenden": hides the window; nothing is written.
    void Button3Click();
    // The two marks exclude each other, whoever sets them.
    void CheckBox1Click();
    void CheckBox2Click();

signals:
    void ordersSubmitted(const QStringList &lines, tolvimar::UnitMark mark);

private:
    QLineEdit *m_edit1;
    QCheckBox *m_checkBox1;
    QCheckBox *m_checkBox2;
    QPlainTextEdit *m_memo1;
    QLabel *m_note;
    OrderHighlighter *m_highlighter;
    OrderCompleter *m_completer;
    QString m_position;
    QString m_unitText;
    QPushButton *m_button1;
    QPushButton *m_button3;
};

} // namespace tolvimar
