#pragma once
// Reading pylon-db's arguments. A mistake here is the user's, not the file's: the caller answers it with
// the usage line and exit code 2.
#include "demo_data.h"

#include <QString>
#include <QStringList>

namespace pylon::dbtool {

enum class Action { Init, Demo, Check, Dump, Pdf, Help };

struct Command {
    Action action = Action::Help;
    QString path;
    demo::DemoOptions demo;
    // pdf: one document by its number, or every document of a kind (its stored name, or "Avoir") in a
    // month, into one file.
    qlonglong number = 0;
    QString kind;
    int year = 0, month = 0;
    QString output;
};

struct ParsedCommandLine {
    Command command;
    QString error; // empty when the arguments make sense
};

// The arguments after the program's name.
ParsedCommandLine parseCommandLine(const QStringList& args);

QString usageLine();

} // namespace pylon::dbtool
