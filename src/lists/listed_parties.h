#pragma once
// The clients or the suppliers as their list shows them: each number, name and address written together
// on the documents of a party of that side, once.
#include <QString>
#include <optional>
#include <vector>

namespace pylon {

class Database;

struct ListedParty {
    QString number, name, address;
    bool onAccount = false; // the ClientC flag of the party's first CliEC row
};

// The parties marked as clients in CliEC (Frs not set), or as suppliers, that have documents, with each
// distinct number, name and address of their documents, ordered by number, name and address. Read from the
// index on those three fields one distinct row at a time, so that the time follows the number of parties
// rather than of documents. nullopt when the file cannot be read.
std::optional<std::vector<ListedParty>> listParties(Database& db, bool suppliers);

// The party numbered `number` as a lookup by number finds it: its flag from its first CliEC row, its name
// and address from its last document (empty when it has none). nullopt when the file knows no such party
// or cannot be read.
std::optional<ListedParty> findParty(Database& db, const QString& number);

// How many rows listParties gives, counted the same way.
std::optional<long> countParties(Database& db, bool suppliers);

} // namespace pylon
