#pragma once
// "Journal des ventes…": asks for a period, then for the file, and writes the sales ledger of the period
// there as a spreadsheet opens it (sales_ledger.h).
#include <QDate>
#include <QString>
#include <functional>

class QWidget;

namespace pylon {

struct Session;

// Asks where to write the ledger, starting from the proposed path; an empty answer cancels. The file
// dialog unless replaced (the tests answer it themselves); an empty function puts the dialog back.
using JournalPathAsker = std::function<QString(QWidget* parent, const QString& proposedPath)>;
void setJournalPathAsker(JournalPathAsker asker);

// The period dialog, over the editor; it proposes the last whole month.
void showSalesJournal(Session& m);

// The ledger of the period into the file, whole or not at all; how it went is said in a message.
bool writeSalesJournal(Session& m, const QDate& from, const QDate& to, const QString& path);

} // namespace pylon
