#pragma once
// "Journal des ventes…": asks for a period, then for the file, and writes the sales ledger of the period
// there as a spreadsheet opens it (sales_ledger.h).
#include <QDate>
#include <QString>
#include <functional>

class QWidget;

namespace pylon {

struct Session;

// The period dialog, over the editor; it proposes the last whole month.
void showSalesJournal(Session& m);

// The ledger of the period into the file, whole or not at all; how it went is said in a message.
bool writeSalesJournal(Session& m, const QDate& from, const QDate& to, const QString& path);

} // namespace pylon
