#pragma once
// The document editor window. It only carries the controls and passes its events on to the handlers;
// what the events do lives with each feature. The other folders never reach the controls: they ask the
// window to show, read, focus or wire what they mean, through the functions below.
#include "module/shown_document.h"
#include "ui_Form1.h"
#include "widgets/columns_in_step.h"
#include "widgets/key_press.h"
#include "widgets/paste_guard.h"

#include <QString>
#include <QStringList>
#include <QWidget>
#include <array>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

namespace pylon {

struct Session;
struct KindCaptions;

// The fields of the editor the cursor can be put in, and the keys and pasted texts of which are watched.
// The pointer is the small box the lines are typed through.
enum class EditorField { Number, Date, Client, Name, Address, Pointer };

// The editor's buttons, named for what they do.
enum class EditorButton {
    First,          // |<
    Previous,       // <
    Next,           // >
    Last,           // >|
    New,            // Aj&outer
    Save,           // &Valider
    DocumentList,   // the list of the kind's documents
    Delete,         // &Supprimer
    PartyList,      // the list of the clients, or of the suppliers
    Abandon,        // &Annuler
    Statistics,     // S&tatistiques
    OfficeTemplate, // &Imprimer: the office document of the shop's invoice
    Author,         // A&uteur
    Quit,           // &Quitter
    Menu,           // &Menu
    MonthEnd,       // &Créer la facture du mois
    CancelDocument, // &Fact. Annul.
    Licence,        // &Licence
    Manual,         // &Manuel
};

struct Form1TestAccess;

class Form1 : public QWidget {
    Q_OBJECT
  public:
    explicit Form1(Session& m, QWidget* parent = nullptr);
    // What the window's own events set off, given by the start-up code that owns the run: each time the
    // user comes back to the editor from another of the program's windows, and once when it is closed.
    std::function<void()> activated, unloading;

    // The header.
    void showHeader(const ShownHeader& header);
    void showClient(const ShownClient& client);
    // Empties the client's fields and unticks "En Compte", for a new document.
    void clearClient();
    // The header as the controls show it (the program reads Module1::header, which they follow).
    ShownHeader typedHeader() const;
    QString fieldText(EditorField field) const;
    void setFieldText(EditorField field, const QString& text);
    void clearField(EditorField field);
    void focusField(EditorField field);
    // Whether the user may tick or untick "En Compte".
    void allowOnAccountChange(bool allowed);
    // The two markers over the lines: "Avoir attachée." and "Facture annulée.".
    void showMarkers(bool creditNoteAttached, bool cancelled);
    // The window title and the captions that name the kind of document shown.
    void showCaptions(const KindCaptions& captions);

    // The lines. Each column holds its texts in its rows; a column may be shorter than the others when a
    // line's last cells were never typed.
    void showLineColumns(const LineColumnTexts& columns);
    void clearLines();
    // Adds one line at the end, one text to each column.
    void appendLine(const QStringList& cells);
    // The lines as the controls show them (the program reads Module1::lines, which they follow), five
    // texts each, as many as the first column has rows.
    std::vector<QStringList> shownLines() const;
    int lineCount() const;
    int columnRows(int column) const;
    // The text of a row of a column; empty for a row the column does not have.
    QString cellText(int column, int row) const;
    // Changes the text of a row the column has; a row it does not have stays missing.
    void setCellText(int column, int row, const QString& text);
    void insertCell(int column, int row, const QString& text);
    // Takes the row out of every column that has it.
    void removeLine(int row);
    // The row selected in a column, -1 for none; selecting -1 takes the selection away.
    int selectedRow(int column) const;
    void selectRow(int column, int row);
    // The line row under a point of the window, when the point is over a line of one of the five columns.
    std::optional<int> lineRowAt(const QPoint& at) const;

    // The pointer, over the lines: placed in pixels, its height kept.
    void placePointer(int left, int top, int width);
    void showPointer();
    void hidePointer();

    // The totals and the total in words.
    void showTotals(const QString& ht, const QString& tva, const QString& ttc);
    void showWords(const QString& words);
    void clearWords();

    // The buttons.
    void enableEntryButtons(bool enabled);
    void enableMonthEnd(bool enabled);
    void focusSaveButton();
    // Where the totals, the amount in words and the buttons stand on the screen: what a notice beside the
    // editor must leave in view.
    QList<QRect> areasToKeepClear() const;

    // What the user's actions set off.
    void onButton(EditorButton button, std::function<void()> clicked);
    void onFieldKeyPress(EditorField field, KeyPressHandler handler);
    // The Suppr key in the lines, with the selected row: the line is to be deleted.
    void onLineDeleteAsked(std::function<void(int row)> asked);
    // Each time the cursor leaves the field.
    // `left` is told whether the field was left by a click on "En Compte", which the click then changes.
    void onFieldLeft(EditorField field, std::function<void(bool forOnAccountClick)> left);
    void onLineSelectionChanged(int column, std::function<void()> changed);
    void onLineDoubleClicked(int column, std::function<void()> doubleClicked);
    // Each time the entry's buttons are enabled or disabled, that is each time an entry begins or ends,
    // for as long as `context` lives.
    void onEntryButtonsEnabledChange(QObject* context, std::function<void()> changed);
    // Text pasted or dropped into a field is held to the rule; the pointer's rule follows where it stands.
    void guardField(EditorField field, const TextRule& rule);
    void guardPointer(std::function<TextRule()> rule);

  protected:
    bool event(QEvent* e) override;
    void closeEvent(QCloseEvent* e) override;

  private:
    void showLinesScrollBar();
    // The tests and benchmarks drive the controls as the user would; the program goes through the functions.
    friend struct Form1TestAccess;
    Ui::Form1 ui;
    Session& m_;
    bool unloaded_ = false;
    std::unique_ptr<ColumnsInStep> columnsInStep_;
};

} // namespace pylon
