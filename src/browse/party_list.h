#pragma once
// The list of the clients, or of the suppliers in the purchase-order kind: number, name and address,
// with a mark after the name of a client on account.
namespace pylon {

struct Session;

// Fills the list window with the parties of the current side and opens it.
void showPartyList(Session& m);
void Command9_Click(Session& m);

// Copies the client of row (-1: none, which empties the fields) into the editor's header during an
// entry, then puts the list window away.
void pickClient(Session& m, int row);

} // namespace pylon
