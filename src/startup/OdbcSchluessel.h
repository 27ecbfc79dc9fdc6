#pragma once

#include <QString>

namespace orve {

class Dialogs;
class Registry;

// Registry places of the ODBC set-up (all below HKEY_LOCAL_MACHINE).
inline const QString kTreiberSchluessel = QStringLiteral("SOFTWARE\\ODBC\\ODBCINST.INI\\");
inline const QString kDatenquellenSchluessel = QStringLiteral("SOFTWARE\\ODBC\\ODBC.INI\\");
inline const QString kDatenquellenListe = QStringLiteral("SOFTWARE\\ODBC\\ODBC.INI\\ODBC Data Sources");

// Driver and data-source names the program probes or writes.
inline const QString kSQLiteTreiber = QStringLiteral("SQLite ODBC Driver");
inline const QString kSQLite3Treiber = QStringLiteral("SQLite3 ODBC Driver");
inline const QString kAccessTreiber = QStringLiteral("Microsoft Access Driver (*.mdb)");
inline const QString kAccessTreiberDeutsch = QStringLiteral("Microsoft Access-Treiber (*.mdb)");
inline const QString kParadoxTreiber = QStringLiteral("Microsoft Paradox Driver (*.db )");
inline const QString kParadoxTreiberDeutsch = QStringLiteral("Microsoft Paradox-Treiber (*.db )");
inline const QString kSQLiteDatenquelle = QStringLiteral("SQLite Datasource");
inline const QString kSQLite3Datenquelle = QStringLiteral("SQLite3 Datasource");
inline const QString kAccessDatenquelle = QStringLiteral("ORVE-Access");
inline const QString kParadoxDatenquelle = QStringLiteral("ORVE-Paradox");

// The read buffer of the driver and data-source checks holds 255 bytes with
// the terminating NUL: longer texts do not fit and count as missing.
inline constexpr int kLesepuffer = 255;

// Is the driver installed? Reads the "Driver" value of its entry below
// ODBCINST.INI. When installed, treiberDatei receives the driver's file;
// otherwise treiberDatei is left unchanged.
bool TreiberSuchen(Registry& reg, const QString& treiber, QString& treiberDatei);

// Is the data source listed in "ODBC Data Sources"?
bool DatenquelleVorhanden(Registry& reg, const QString& name);

// Writes the Access data source `name` (driver file treiberDatei, FIL part
// chosen by istSQLite3) and lists it. False as soon as a key cannot be
// created or a value cannot be written; what was written before stays.
bool AccessDatenquelleAnlegen(Registry& reg, const QString& treiberDatei, const QString& name, int istSQLite3);

// Writes the Paradox data source `name` (driver file treiberDatei, the
// system folder as "ParadoxNetPath") and lists it under the German Paradox
// driver. Same failure rule as above.
bool ParadoxDatenquelleAnlegen(Registry& reg, const QString& treiberDatei, const QString& name,
                               const QString& systemOrdner);

// General read: the value as text, a text value with its terminating NUL
// (the caller cuts at the first NUL), a 32-bit number as its four bytes.
// typ receives the value's type (1 text, 4 number; -1 after an error).
// An unknown hive name, a missing key or a missing value give the empty text.
// A failing registry shows "<number>>  <description>" (title
// "GenUtils/sdaGetRegEntry") and gives the empty text.
QString sdaGetRegEntry(Registry& reg, Dialogs& dialogs, const QString& hive, const QString& key,
                       const QString& value, int& typ);

} // namespace orve
