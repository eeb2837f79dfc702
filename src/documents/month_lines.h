#pragma once
// What the month-end invoice gathers: the lines of a client's invoices and delivery notes of a month.
#include <QVariant>
#include <array>
#include <optional>
#include <vector>

namespace pylon {

class Database;

namespace month_end {

// NB, Qt, Design, PU and Mnt of one line, as stored.
using Line = std::array<QVariant, 5>;

// The lines of the client's invoices and delivery notes dated in that month of that year, documents and
// lines in the order they were written; nullopt when the file cannot be read.
std::optional<std::vector<Line>> gatherLines(Database& db, int client, int year, int month);

} // namespace month_end
} // namespace pylon
