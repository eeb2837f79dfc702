#pragma once
// What the windows share for the whole run: the database, its record sets, and the editor's state as
// plain data. The windows follow this state and never stand in for it; they are kept apart, in the
// editor's Session, so that this module needs no widgets.
#include "documents/document_display.h"
#include "documents/first_document.h"
#include "domain/amount_text.h"
#include "domain/kinds.h"
#include "module/damage_check.h"
#include "module/entry_keeper.h"
#include "module/preparation.h"
#include "module/shown_document.h"
#include "store/database.h"
#include "store/recordset.h"

#include <QString>
#include <functional>
#include <memory>

namespace pylon {

// What the list window shows: the documents of the current kind, the clients, the suppliers, or every
// document for a credit note to be attached to.
enum class ListMode { None, Documents, Clients, Suppliers, Attach };

struct Module1 {
    Database db;
    // The editor's view of the current kind, and the tables the windows read: the headers, the lines and
    // the parties' flags. The writes open what they need themselves, on the rows they write.
    std::unique_ptr<RecordSet> rsDoc;
    std::unique_ptr<RecordSet> rsFacture;
    std::unique_ptr<RecordSet> rsDetFact;
    std::unique_ptr<RecordSet> rsCliEC;
    // The reading of the whole file for damage, which starts once the first document is shown.
    std::unique_ptr<DamageCheck> damageCheck;
    // Bringing a file up to the program's indexes and kept totals, on its own thread, when that would take
    // longer than a moment; null once done, or when there was nothing to do.
    std::unique_ptr<Preparation> preparation;
    // On a large file the program has not prepared yet, the editor's view is opened only once the
    // preparation has made the indexes it is read through (schema::hasViewIndexes), a few seconds at a
    // million documents; until then rsDoc is null, and the editor shows the first document of its kind, read
    // without the view on a thread of its own, so that the window answers from the first moment.
    bool viewWaits = false;
    std::unique_ptr<FirstDocumentRead> firstDocumentRead;
    // What that reading found, for the kind it was read in; shown again by any redisplay meanwhile.
    std::optional<DocumentDisplay> shownWhileViewWaits;
    DocKind shownWhileViewWaitsKind = DocKind::Invoice;
    qint16 CurrentLine = 0;
    // The three totals as the editor shows them, each its text and the amount that text is (none for a
    // text that is no amount: a total that could not be computed keeps the text shown before it). The
    // running totals of an entry grow from these, never from a text read back from the screen.
    struct ShownTotal {
        QString text;
        std::optional<Amount> amount;
        static ShownTotal of(const QString& text) { return {text, parseAmount(text)}; }
    };
    struct ShownTotals {
        ShownTotal ht, tva, ttc;
    } totals;
    // The cell the line pointer fills: its column (0 N.B., 1 QTE, 2 Designation, 3 P.U. H.T, 4 Montant H.T)
    // and its row (0 to 31). The pointer box is placed from this; its position is never read back.
    struct PointerCell {
        int column = 0;
        int row = 0;
    } pointerCell;
    // The document on screen: its header as shown or typed, its lines, and what the line pointer holds.
    // The editor's controls follow these; the user's typing changes them.
    ShownHeader header;
    std::shared_ptr<ShownLines> lines = std::make_shared<ShownLines>();
    QString pointerText;
    // The client number whose flag (and name and address, where empty) were last taken from the file during
    // this entry: leaving the field again without changing the number leaves the user's own choices alone.
    QString clientTakenFromFile;

    // The line edit dialog's line: the number of the document it was opened on (the rewrite finds the
    // document again by it), the lines it was opened on and its row in them. Once the editor has filled
    // its lines anew, those lines are no longer on screen and the row may hold another line or none.
    struct LineDialogState {
        QString Tag;
        std::weak_ptr<const ShownLines> lines;
        int row = -1;
        // The line as the dialog's five boxes hold it, shown or typed.
        std::array<QString, kLineColumns> cells;
    } lineDialog;

    // The entry under way as it is kept (module/entry_keeping.h): its key (0 when there is none), its lines
    // (it is on screen while they are, and until its header is replaced), what it said when it left the
    // screen, the last state handed to the keeper, and whether the file may hold a row of it.
    struct TypedEntry {
        qint64 id = 0;
        std::shared_ptr<const ShownLines> lines;
        bool onScreen = false;
        std::optional<kept_entries::KeptEntry> taken, sent;
        bool inFile = false;
    } typedEntry;
    // Writes the entries being typed and dropped on its own thread; null on a file that cannot be written.
    std::unique_ptr<EntryKeeper> entryKeeper;

    // The folder the database file and the office documents are found in: the program's own.
    QString appPath;

    // The kind the editor works on: the one last launched from the main menu together with its view,
    // invoices at start. A selection in the menu that is not launched does not change it.
    DocKind currentKind() const { return kind; }
    DocKind kind = DocKind::Invoice;

    // A document or credit note is being entered. "&Valider" and "&Annuler" are enabled exactly while it
    // is; they follow this, never the other way round.
    bool editing = false;
    // What the list window lists, and so what a double-click on it does. Its caption follows this.
    ListMode listMode = ListMode::None;
    bool editMode() const { return editing; }
    // Drops the entry under way as "&Annuler" does. Set when the windows are wired, so that commands of the
    // editor's own layer (the menu) can end an entry too.
    std::function<void()> abandonEntry;
    // Lists every stored document in the list window for a credit note to be attached to: the list
    // window's own code, above the editing code that asks for it.
    std::function<void()> showAttachList;
    // After a command showed a stored document: an entry still under way would go on over it (a save would
    // then write the lines typed into the document shown), so it is dropped, as a step does.
    void endEntryAfterRedisplay();

    QString databasePath() const;

    // After a command added or deleted documents: the view and the shared tables read the file again,
    // rsDoc, rsFacture and rsDetFact in that order.
    void requeryAfterWrite();
    // Opens the record sets every window shares (all but the view): the headers, the lines and the
    // parties' flags.
    void openSharedRecordSets();

    // The preparation is still making the program's indexes: whatever reads through them (the lists, the
    // statistics) would read the whole file instead, for seconds or far longer at a million documents.
    bool indexesBeingMade();

    // A list of a file with more documents than this is read on a thread of its own, the window showing
    // meanwhile: reading half a million numbers takes longer than a moment.
    long long readBehindFrom = 20000;
    bool readsBehind();
};

} // namespace pylon
