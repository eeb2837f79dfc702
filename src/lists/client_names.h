#pragma once
// The client names and numbers written on the documents, to find those that hold a part the user typed,
// whatever its case and accents. Kept between searches and read again only when the file has changed.
#include <QString>
#include <QVariantList>
#include <optional>
#include <vector>

namespace pylon {

class Database;

class ClientNames {
  public:
    struct Matches {
        QVariantList names, numbers; // as stored, to be looked for as they are
        bool empty() const { return names.isEmpty() && numbers.isEmpty(); }
    };
    // The names and the numbers that contain `part`; nullopt when the file cannot be read.
    std::optional<Matches> matching(Database& db, const QString& part);

    // A text with its case and accents put aside: "Hôtel" and "hotel" read the same.
    static QString folded(const QString& text);

  private:
    struct Known {
        QString folded;
        QVariant stored;
    };
    bool reload(Database& db);
    bool readDistinct(Database& db, const QString& column, const QString& index, std::vector<Known>& out);

    qlonglong version_ = -1, changes_ = -1;
    std::vector<Known> names_, numbers_;
};

} // namespace pylon
