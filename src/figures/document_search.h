#pragma once
// Finding documents of every kind by a part of the client's name or number, a span of dates, a span of
// totals with tax and the kind; newest first, at most a few hundred at a time. Only reads (but brings the
// kept totals up to date first, when the file can be written).
#include "domain/amount_text.h"
#include "domain/kinds.h"
#include "lists/client_names.h"

#include <QDate>
#include <QString>
#include <QVariant>
#include <optional>
#include <vector>

namespace pylon {

class Database;

struct SearchCriteria {
    QString client;                           // a part of the client's name or number; blank for any client
    std::optional<QDate> from, to;            // both days included
    std::optional<Amount> minTotal, maxTotal; // the total with tax, both included
    std::optional<DocKind> kind;              // a kind stored on headers; none for every kind
};

struct FoundDocument {
    qlonglong number = 0;
    std::optional<QDate> date;
    QString storedDate; // the stored text, for a date that is not one
    std::optional<DocKind> kind;
    QString typeFact;
    QVariant client;
    QString name, address;
    std::optional<Amount> total; // with tax, as the editor shows it; none when beyond the range of amounts
    bool cancelled = false;
    bool hasCreditNote = false;
};

struct SearchResult {
    std::vector<FoundDocument> documents; // newest first: by date, then by number
    bool more = false;                    // more documents meet the criteria than were returned
    // A span of totals was asked while the documents' totals are still being computed (preparation.h):
    // nothing is found rather than a part of what would be.
    bool preparing = false;
    // The file is still being given the program's indexes: without them each search would read the whole
    // file again for each document it looks at, minutes at a million documents. Nothing is searched.
    bool unindexed = false;
};

class DocumentSearch {
  public:
    // As many documents as a window shows at once; enough to find one by the sort of its columns.
    static constexpr int kShown = 500;

    // nullopt when the file cannot be read (its failure is then the database's).
    std::optional<SearchResult> find(Database& db, const SearchCriteria& criteria, int limit = kShown);
    // find() in two halves, for a search made on a thread. The first, on the program's connection, answers
    // when there is nothing to search yet (and brings the few stale totals up to date); nullopt when the
    // search is to be made. The second searches, through any connection to the file, a read-only one of
    // its own included; one search at a time.
    std::optional<SearchResult> answerBefore(Database& db, const SearchCriteria& criteria);
    std::optional<SearchResult> search(Database& db, const SearchCriteria& criteria, int limit = kShown);

  private:
    ClientNames names_;
};

} // namespace pylon
