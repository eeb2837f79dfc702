#pragma once
// "Supprimer la ligne": a line taken out of the entry being typed (the running totals lose its amount), or
// out of the stored document on screen, in one transaction, after a question.
namespace pylon {

struct Session;

void deleteLine(Session& m, int row);

void wireLineDeletion(Session& m);

} // namespace pylon
