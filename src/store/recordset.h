#pragma once
// A record set over SQLite that behaves as the program expects of an updatable dynaset: it stands on one
// row, moves, searches with criteria, and adds, changes and deletes rows of its table.
//
// It keeps no copy of the rows: the current row is identified by its key (the ORDER BY values and the row
// ids of the tables), and every move or search asks SQLite for the neighbouring row through the indexes.
// Rows written through any record set are therefore seen at once; Requery goes back to the first row.
// Searches always ask the file, even when the record set was empty when it was last read.
// Every operation returns false when it fails and then leaves the record set and the file as they were; a
// read that fails is never taken for a missing row.
#include "domain/source_sql.h"
#include "store/schema.h"

#include <QHash>
#include <QString>
#include <QVariant>
#include <deque>
#include <map>
#include <memory>
#include <optional>
#include <vector>

namespace pylon {

class Database;
class Statement;
struct Criterion;

class RecordSet {
  public:
    // Opens on a table name or a SELECT statement; nullptr when the source cannot be opened.
    static std::unique_ptr<RecordSet> open(Database& db, const QString& source);
    ~RecordSet();
    RecordSet(const RecordSet&) = delete;
    RecordSet& operator=(const RecordSet&) = delete;

    bool MoveFirst();
    bool MoveLast();
    bool MoveNext();
    bool MovePrevious();
    bool IsEOF();
    bool IsBOF();
    // 0 when the rows cannot be counted, as the callers that walk a list want it.
    long RecordCount();
    // The number of rows, or nullopt when the file could not be read: an empty result is not a failure.
    std::optional<long> RowCount();

    bool FindFirst(const QString& criteria);
    bool FindNext(const QString& criteria);
    bool FindPrevious(const QString& criteria);
    bool FindLast(const QString& criteria);
    bool NoMatch() const { return noMatch_; }

    bool AddNew();
    bool Edit();
    bool Update();
    bool Delete();
    bool Requery();

    // The current row's value (a null QVariant for a missing value), or nullopt when there is no current
    // row or no such field. Whole numbers come as qlonglong, dates as QDate, flags as bool.
    std::optional<QVariant> Fields(const QString& name);
    std::optional<QVariant> Fields(int position);
    // Sets a field between AddNew or Edit and Update; a text is converted to the field's type.
    bool SetField(const QString& name, const QVariant& value);
    bool SetField(int position, const QVariant& value);

    int FieldCount();
    QString FieldName(int position);
    QString source() const { return source_; }

  private:
    enum class Pos { Pending, BeforeFirst, AfterLast, OnRow, Empty };
    enum class EditMode { None, Adding, Editing };
    using Row = std::vector<QVariant>;

    RecordSet(Database& db, QString source, SourceSql sql);
    bool prepareSource();
    bool ready();
    bool resolve();
    int keyCount() const { return sql_.orderKeys + sql_.rowKeys; }
    Statement* statement(const QString& sql);
    // Runs a statement that returns no rows.
    bool run(const QString& sql, const std::vector<QVariant>& params);
    const QString& insertSql(const std::vector<int>& fields);
    // No row: readFailed_ tells whether there was none or the file could not be read.
    std::optional<Row> fetchOne(const QString& sql, const std::vector<QVariant>& params);
    // The first row in order (forward) or the last (backward) after the current key, or from the start or
    // end when from is null; cond (with its parameter) narrows the rows. No row: see readFailed_.
    std::optional<Row> neighbour(bool forward, const Row* from, const QString& cond,
                                 const QVariant& condParam);
    void standOn(Row&& row);
    bool find(bool forward, bool fromCurrent, const QString& criteria);
    int column(const QString& name);
    QVariant typed(int column, const QVariant& raw) const;
    std::optional<Row> takeAhead();

    Database& db_;
    QString source_;
    SourceSql sql_;
    QString snapshotTable_;
    bool snapshotStale_ = true;
    QStringList names_;
    std::vector<schema::FieldType> types_;
    QHash<QString, int> byName_;      // lower-case names, "Table.Field" ones included
    QHash<QString, int> byExactName_; // the names as the source gives them
    std::map<QString, std::unique_ptr<Statement>> cache_;
    std::map<std::vector<int>, QString> insertSql_;

    Pos pos_ = Pos::Pending;
    Row row_;
    bool deleted_ = false;
    bool noMatch_ = false;
    bool readFailed_ = false;
    EditMode mode_ = EditMode::None;
    std::map<int, QVariant> buffer_;
    std::deque<Row> ahead_;
    QVariant aheadAfter_;
    qint64 aheadChanges_ = -1;
};

// What a search from the start found: a row (now current), none, or nothing known because the file could
// not be read. A search that could not read the file is no answer: taken for "absent", it would let a second
// document take a number, or a second row a party, that the file already holds.
enum class Lookup { Found, Absent, Failed };
Lookup lookUp(RecordSet& rs, const QString& criteria);

// A table opened on its own, for one read or one write, and searched from the start: the record set stands
// on the row found, to be read, changed or deleted. No record set (and Failed) when the table cannot be
// opened.
struct FoundRow {
    std::unique_ptr<RecordSet> rs;
    Lookup found = Lookup::Failed;
};
FoundRow lookUpIn(Database& db, const QString& table, const QString& criteria);

} // namespace pylon
