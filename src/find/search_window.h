#pragma once
// "Rechercher…": a window that finds documents of every kind by a part of the client's name or number,
// a span of dates, a span of totals with tax and the kind, newest first, answering a moment after each
// change. A double-click on a row (or Enter, or "&Afficher") shows that document in the editor, switching
// the editor to its kind as "&Lancer" does; during an entry it gives the entry that document's client
// instead, as a pick in the client list does.
#include "figures/document_search.h"
#include "ui_SearchWindow.h"

#include <QTimer>
#include <QWidget>
#include <memory>

namespace pylon {

struct Session;
class BackgroundRead;
class FoundDocuments;

// The criteria as the fields give them. A field that cannot be read is left out of the search and named
// in `problem`, for the user to correct.
struct TypedCriteria {
    SearchCriteria criteria;
    QString problem;
};
struct CriteriaTexts {
    QString client;
    std::optional<DocKind> kind;
    QString from, to, minTotal, maxTotal;
};
TypedCriteria readCriteria(const CriteriaTexts& texts);

class SearchWindow : public QWidget {
    Q_OBJECT
  public:
    explicit SearchWindow(Session& m);
    ~SearchWindow() override;
    Ui::SearchWindow ui;
    FoundDocuments& results() { return *results_; }
    // Searches at once with the criteria as they stand.
    void search();
    // A search is under way on a thread (a large file): its results are not shown yet.
    bool searching() const { return pending_ != nullptr; }

  private:
    void criteriaEdited();
    void openRow(int row);
    void layOutColumns();
    void showFound(const std::optional<SearchResult>& found);

    Session& m_;
    TypedCriteria typed_;
    DocumentSearch finder_;
    FoundDocuments* results_;
    // A search runs once the user pauses, not at every key.
    QTimer delay_;
    // The search under way on a thread, on a large file.
    std::unique_ptr<BackgroundRead> pending_;
};

// The window, made on first use and kept until the editor closes.
SearchWindow& searchWindow(Session& m);
// Opens it beside the editor, with the criteria of last time searched again.
void showSearchWindow(Session& m);
// What a double-click on a found document does.
void openFoundDocument(Session& m, const FoundDocument& d);

} // namespace pylon
