#pragma once
// The documents a list shows, for lists that run to a million rows: only each row's key (the row id of
// its header) is held, in the list's order, and a row's texts are read when the list needs them, a page of
// rows at a time, with the last few pages kept.
#include <QString>
#include <QtGlobal>
#include <deque>
#include <functional>
#include <memory>
#include <vector>

namespace pylon {

class BackgroundRead;
class Database;

// Which headers a document list holds.
struct DocumentChoice {
    enum class By { Everything, Type, CreditNote };
    By by = By::Everything;
    QString type; // the stored kind, for By::Type
};

// A listed header's number, date and client number as the list shows them.
struct ListedHeader {
    QString number, date, client;
};

class ListedDocuments {
  public:
    // The headers of the choice, each distinct header once, ordered by number, then date, client number,
    // kind and credit-note flag. They are read through a connection of their own that keeps seeing the
    // file as it stood at this moment until release(): a document saved or deleted meanwhile neither
    // appears in the list nor changes a row of it. Empty when the file cannot be read.
    static std::shared_ptr<ListedDocuments> read(Database& db, const DocumentChoice& choice);
    // The same, read on a thread and a connection of its own, for a list too long to read without the
    // window stopping; `done` gets it on this thread, as read() would have returned it, unless the reading
    // is destroyed first. Null when it cannot be read so (a file replaced since it was opened): read() then.
    static std::unique_ptr<BackgroundRead>
    readBehind(Database& db, const DocumentChoice& choice,
               std::function<void(std::shared_ptr<ListedDocuments>)> done);
    ~ListedDocuments();
    ListedDocuments(const ListedDocuments&) = delete;
    ListedDocuments& operator=(const ListedDocuments&) = delete;

    int count() const { return int(keys_.size()); }
    // The texts of a row; empty ones for a row out of range or one that cannot be read.
    ListedHeader header(int row);
    // A row's number as the list shows it, held with the keys: read from the file only in a damaged one,
    // where a number may be no whole number.
    QString number(int row);
    // The first row from `from` on, then from the top, whose number starts with the text; -1 for none.
    // Typing in a list of a million numbers looks them up here, not a page of the file at a time.
    int findNumberStartingWith(const QString& text, int from);
    // Lets go of the moment: later reads see the file as it is then, through the program's connection.
    void release();
    // The row of a whole number, or where it would stand; -1 for an empty list.
    int rowOfNumber(qint64 number) const;

    // While the moment is held, SQLite cannot start its log again from the top: every save made meanwhile,
    // by this program or another, makes it longer. True once the log has outgrown what SQLite's own
    // checkpoints keep it at, and is still growing: the moment should be taken anew. Looks at the log's
    // size only, so that it may be asked every second.
    bool logOutgrown();
    // Reads the rows again at the file's present moment, after the log has been folded into the file and
    // emptied, so that the new moment holds back nothing already saved. When another program keeps the
    // log from being emptied, no moment is kept: the rows are read from the file as it is. The
    // list keeps the old rows, read from the file as it is, when the new ones cannot be read.
    void renew();

  private:
    explicit ListedDocuments(Database& live);
    void takeMoment();
    Database& reader();
    bool readKeys(Database& db, const DocumentChoice& choice);
    void keysRead(bool ok);
    bool mergeSameNumbers(Database& db, const std::vector<std::pair<size_t, size_t>>& runs);
    const std::vector<ListedHeader>& page(int first);

    static constexpr int kPageRows = 128;
    static constexpr size_t kPagesKept = 8;

    Database& live_;
    DocumentChoice choice_;
    std::unique_ptr<Database> moment_;
    bool readOk_ = false;
    qint64 logLastSeen_ = 0; // the log's size in bytes when last looked at
    qint64 logLimit_ = 0;    // its size at SQLite's automatic checkpoint, with some room
    std::vector<qint64> keys_;
    std::vector<qint64> numbers_;
    std::vector<bool> odd_; // the number is no whole number: its text is read with the row's
    struct Page {
        int first = 0;
        std::vector<ListedHeader> rows;
    };
    std::deque<Page> pages_; // the most recently read first
    std::vector<ListedHeader> unread_;
};

} // namespace pylon
