#include "browse/navigation.h"

#include "editing/edit_mode.h"
#include "editor/form1.h"
#include "editor/session.h"
#include "editor/show_document.h"
#include "lists/listed_parties.h"

#include <functional>

namespace pylon {

namespace {

// The number of the current row as the criteria want it; empty when there is no current row, which
// makes the search that follows fail and leaves the view where it stands.
QString currentNumber(RecordSet& rs) {
    const auto v = rs.Fields(QStringLiteral("NumFact"));
    return v && !v->isNull() ? QString::number(v->toLongLong()) : QString();
}

// Every step searches for a row whose number differs from the one it starts from, so it always crosses
// to another document, never to another line of the same one.
enum class Start { Last, Current, First };

void step(Session& m, Start start, bool forward, bool fromStart) {
    if (RecordSet* doc = m.rsDoc.get()) {
        if (start == Start::Last) doc->MoveLast();
        if (start == Start::First) doc->MoveFirst();
        const QString criteria = QStringLiteral("NumFact<>") + currentNumber(*doc);
        if (fromStart)
            forward ? doc->FindFirst(criteria) : doc->FindLast(criteria);
        else
            forward ? doc->FindNext(criteria) : doc->FindPrevious(criteria);
    }
    ShowCurrentDocument(m);
    m.form1->hidePointer();
    // A step during an entry abandons it and shows the document reached.
    if (m.editMode()) abandonEntry(m);
}

// A document or client number is a whole number of at most ten digits: the keys let only digits in, and
// text pasted or dropped into the field keeps only its digits too.
constexpr int kNumberDigits = 10;

bool isDigit(int k) {
    return k >= '0' && k <= '9';
}

// Enter in a lookup field: outside an entry, the view moves to the first document whose field holds the
// text typed (it stays where it stands when none does) and shows it; during an entry, the cursor only
// moves on to the next field.
void lookUp(Session& m, EditorField field, const QString& prefix, EditorField next) {
    if (m.editMode()) {
        m.form1->focusField(next);
        return;
    }
    if (m.rsDoc) m.rsDoc->FindFirst(prefix + fieldText(m, field));
    ShowCurrentDocument(m);
}

void lookupKeyPress(int& k, const std::function<void()>& onEnter) {
    if (k == 13) onEnter();
    if (k != 8 && !isDigit(k)) k = 0;
}

// During an entry, a client number typed by hand is a client the file may know: its "En Compte" flag comes
// from the file, as when the client is picked in the list (else the save would write a client on account
// as not on account), and so do its name and address where the user has not typed them yet.
void takeClientFromFile(Session& m, bool leavingForTheBox = false) {
    const QString number = m.header.client.number.trimmed();
    if (!m.editMode() || m.currentKind() == DocKind::CreditNote || number.isEmpty() ||
        number == m.clientTakenFromFile)
        return;
    const auto party = findParty(m.db, number);
    if (!party) return;
    m.clientTakenFromFile = number;
    ShownClient client = m.header.client;
    // Left for "En Compte" itself: the click that follows is the user's own choice of the flag, and it
    // changes the box the user sees; the file's flag under it would make the box change twice.
    if (!leavingForTheBox) client.onAccount = party->onAccount;
    if (client.name.trimmed().isEmpty()) client.name = party->name;
    if (client.address.trimmed().isEmpty()) client.address = party->address;
    showClient(m, client);
}

void lookUpClientNumber(Session& m) {
    takeClientFromFile(m);
    lookUp(m, EditorField::Client, QStringLiteral("NumCli="), EditorField::Name);
}

} // namespace

void Command1_Click(Session& m) {
    step(m, Start::Last, true, true);
}
void Command2_Click(Session& m) {
    step(m, Start::Current, false, false);
}
void Command3_Click(Session& m) {
    step(m, Start::Current, true, false);
}
void Command4_Click(Session& m) {
    step(m, Start::First, false, true);
}

void lookUpDocumentNumber(Session& m) {
    lookUp(m, EditorField::Number, QStringLiteral("NumFact="), EditorField::Date);
}

void txtNumFact_KeyPress(Session& m, int& k) {
    lookupKeyPress(k, [&m] { lookUpDocumentNumber(m); });
}

void txtNumCli_KeyPress(Session& m, int& k) {
    lookupKeyPress(k, [&m] { lookUpClientNumber(m); });
}

void wireNavigation(Session& m) {
    Form1& editor = *m.form1;
    Session* mp = &m;
    editor.onButton(EditorButton::First, [mp] { Command1_Click(*mp); });
    editor.onButton(EditorButton::Previous, [mp] { Command2_Click(*mp); });
    editor.onButton(EditorButton::Next, [mp] { Command3_Click(*mp); });
    editor.onButton(EditorButton::Last, [mp] { Command4_Click(*mp); });
    editor.onFieldKeyPress(EditorField::Number, [mp](int& k) { txtNumFact_KeyPress(*mp, k); });
    editor.onFieldKeyPress(EditorField::Client, [mp](int& k) { txtNumCli_KeyPress(*mp, k); });
    editor.onFieldLeft(EditorField::Client,
                       [mp](bool forOnAccountClick) { takeClientFromFile(*mp, forOnAccountClick); });
    TextRule number;
    number.digitsOnly = true;
    number.maxLength = kNumberDigits;
    editor.guardField(EditorField::Number, number);
    editor.guardField(EditorField::Client, number);
}

} // namespace pylon
