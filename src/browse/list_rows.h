#pragma once
// What the list window's columns show: the rows of one list, a text per column, read when a row comes
// into view rather than all at once when the list is filled.
#include "lists/listed_documents.h"
#include "lists/listed_parties.h"

#include <QString>
#include <memory>
#include <optional>
#include <vector>

namespace pylon {

class ListRows {
  public:
    virtual ~ListRows() = default;
    virtual int count() const = 0;
    // The text of a row in a column (0 to 3); empty for a row or column that has none.
    virtual QString text(int row, int column) = 0;
    // What shows when the pointer rests on the row; empty for none.
    virtual QString toolTip(int, int) { return {}; }
    // The first row from `from` on, then from the top, whose text in the column starts with `text`, as
    // typing in a column looks for it; -1 for none. Nullopt where the rows are not held and would have to
    // be read one by one.
    virtual std::optional<int> findStartingWith(int column, const QString& text, int from);
    // The list is off screen: whatever it holds on the file for it may go.
    virtual void release() {}
    // The moment the rows were read at holds the file's log back and it has grown long: renew() reads
    // them again now.
    virtual bool logOutgrown() { return false; }
    virtual void renew() {}
    // The row that shows this text in the first column after renew(), or where it would stand; -1 for none.
    virtual int rowOfText(const QString&) const { return -1; }
};

// The documents of a kind (or every document): number, date, client number, and a type that is the same
// for every row of the list.
class DocumentRows : public ListRows {
  public:
    DocumentRows(std::shared_ptr<ListedDocuments> documents, QString type)
        : documents_(std::move(documents)), type_(std::move(type)) {}
    int count() const override { return documents_->count(); }
    QString text(int row, int column) override;
    std::optional<int> findStartingWith(int column, const QString& text, int from) override;
    void release() override { documents_->release(); }
    bool logOutgrown() override { return documents_->logOutgrown(); }
    void renew() override { documents_->renew(); }
    int rowOfText(const QString& number) const override;

  private:
    std::shared_ptr<ListedDocuments> documents_;
    QString type_;
};

// The clients or the suppliers: number, name with a mark for a client on account, address on one line.
// The rows are few (one per party and way of writing it) and are all held.
class PartyRows : public ListRows {
  public:
    explicit PartyRows(std::vector<ListedParty> parties) : parties_(std::move(parties)) {}
    int count() const override { return int(parties_.size()); }
    QString text(int row, int column) override;
    QString toolTip(int row, int column) override;
    // The party of a row as stored, name without its mark and address as written; null for no row.
    const ListedParty* party(int row) const;

  private:
    std::vector<ListedParty> parties_;
};

} // namespace pylon
