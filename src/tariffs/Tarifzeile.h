#pragma once

#include "tariffs/TarifTabellen.h"

#include <QString>

#include <cstdint>
#include <optional>

namespace orve {

// A price column of a tariff row as stored: Null, a number, or a text that
// does not read as a number (kept as it is, for the messages and for the
// editor, which never rewrites it unasked). Infinity is no number either.
// A number stored as a text ("0,06" left by another tool) keeps that text
// too and is written back as that text.
struct Tarifwert {
    enum class Art { Null, Zahl, Text };
    Art art = Art::Null;
    double zahl = 0;
    QString text; // Text; for a Zahl the text it is stored as, empty when stored as a number

    Tarifwert() = default;
    Tarifwert(double z) : art(Art::Zahl), zahl(z) {} // a price as a number
    Tarifwert(Art a, double z, QString t) : art(a), zahl(z), text(std::move(t)) {}

    static Tarifwert null() { return {}; }
    static Tarifwert von(double z) { return Tarifwert(z); }
    // A text as another tool may have stored it: a German decimal is that
    // number (keeping its text), anything else stays text.
    static Tarifwert vonText(const QString& t);

    bool operator==(const Tarifwert&) const = default;
};

// One row of a tariff table, as it is stored: the one row type of the
// tables, the editor and the pricing. An absent value is a Null column. For
// CallByCall only satz, vorwahl and Bezeichnung are used.
struct Tarifzeile {
    Tariftabelle tabelle = Tariftabelle::faktor;
    std::int64_t satz = 0; // assigned by the database, never 0
    std::optional<QString> vorwahl;
    std::optional<QString> Bezeichnung;
    std::optional<QString> vonZeit; // "von Zeit", "hh:mm:ss"
    std::optional<QString> bisZeit; // "bis Zeit", "24:00:00" is the end of the day
    Tarifwert Minutenpreis;         // Euro without VAT
    Tarifwert Pauschale;            // Euro without VAT
    Tarifwert Sekundentakt;         // seconds, written as a whole number
    std::optional<QString> typ;     // D, A, O, M or S
    std::optional<QString> username;
    // The pricing reads a prefix written in international form ("+4930") in
    // its national form ("030") into vorwahl; then this is the stored text.
    std::optional<QString> vorwahlGespeichert;

    bool operator==(const Tarifzeile&) const = default;
};

} // namespace orve
