#pragma once

#include <QString>

namespace orve {

// What the start on the source shows: the kind of call database found and
// its place (the main window's Text2 and Text3). The batch command shows
// nothing.
class QuellAnzeige {
public:
    virtual ~QuellAnzeige() = default;

    virtual void text2Setzen(const QString& text) = 0; // kind of database: "SQLite3", "SQLite", "Paradox"
    virtual void text3Setzen(const QString& text) = 0; // database file, the folder for Paradox
};

} // namespace orve
