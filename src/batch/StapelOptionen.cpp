#include "batch/StapelOptionen.h"

#include "calls/QuellFehler.h"
#include "common/Dialogs.h"

#include <QCommandLineParser>
#include <QDir>
#include <QFileInfo>

namespace orve {

QString stapelHilfe()
{
    return QStringLiteral(
        "Aufruf: orve-tarifo-bericht [Optionen]\n"
        "\n"
        "Liest die Gespräche aus bill.db ein, berechnet ihre Kosten nach den Tariftabellen\n"
        "und schreibt den Kostenreport wie \"Auswertung\" -> \"Report erstellen\", ohne Fenster\n"
        "und ohne Rückfragen.\n"
        "\n"
        "Optionen:\n"
        "  --programmordner ORDNER  Programmordner mit Einstellungen, Registry und Datenbank\n"
        "                           (Vorgabe: der Ordner des Programms)\n"
        "  --billdb PFAD            diese bill.db statt der in Billpfad.txt gespeicherten\n"
        "  --nebenstelle TEXT       nur diese Nebenstelle, z. B. 21 (Vorgabe: alle)\n"
        "  --ab TEXT                nur Gespräche ab diesem Zeitpunkt, z. B. \"01.11.2026 00:00:00\"\n"
        "                           oder \"2026-11-01 00:00:00\" (Vorgabe: alle)\n"
        "  --bis TEXT               ein Datum allein: nur Gespräche bis zum Ende dieses Tages,\n"
        "                           z. B. \"30.11.2026\"; mit Uhrzeit: nur Gespräche, die vor diesem\n"
        "                           Zeitpunkt begonnen haben, z. B. \"01.12.2026 00:00:00\"\n"
        "                           (Vorgabe: keine Grenze)\n"
        "  --eigenpreis             Report mit eigenem Minutenpreis (Minutenpreis.txt)\n"
        "  --ohne-mwst              Report ohne Mehrwertsteuer\n"
        "  --kuerzen                gewählte Rufnummern um die letzten drei Ziffern kürzen\n"
        "  --neue-seite             jede Nebenstelle auf einer neuen Seite des Reports beginnen\n"
        "  --pdf DATEI              den Report als PDF in diese Datei schreiben\n"
        "  --csv DATEI              die berechneten Gespräche als CSV in diese Datei schreiben\n"
        "  --je-nebenstelle ORDNER  je Nebenstelle ein PDF und eine CSV-Datei mit nur ihren Gesprächen\n"
        "                           schreiben, in den Unterordner des Zeitraums, z. B. ORDNER/2026-11\n"
        "                           (ein ganzer Monat), ORDNER/2026-11-03 bis 2026-11-07 oder\n"
        "                           ORDNER/alle; ein vorhandener Unterordner wird als Ganzes ersetzt\n"
        "  --tarife-pruefen         statt des Reports: die Gespräche der Auswahl einlesen, sie und\n"
        "                           die Tariftabellen prüfen und die Befunde ausgeben\n"
        "  --tarife-exportieren DATEI\n"
        "                           statt des Reports: die drei Tariftabellen als CSV in diese\n"
        "                           Datei schreiben\n"
        "  --tarife-importieren DATEI\n"
        "                           statt des Reports: die Tariftabellen, die diese CSV-Datei nennt,\n"
        "                           durch ihre Zeilen ersetzen oder eine Sicherung (Datenbank/\n"
        "                           Tarife-….sqlite) zurückholen; vorher werden die neuen Tabellen\n"
        "                           geprüft (Befunde auf der Standardausgabe) und die bisherigen\n"
        "                           gesichert\n"
        "  --trotzdem               mit --tarife-importieren: auch übernehmen, wenn die Prüfung\n"
        "                           Befunde hat\n"
        "  --warten SEKUNDEN        arbeitet gerade ein anderer Lauf im Programmordner (das Programm-\n"
        "                           fenster oder ein zweiter Aufruf), höchstens so lange auf sein Ende\n"
        "                           warten (Vorgabe: nicht warten, sondern mit Rückgabewert 1 enden)\n"
        "  --help                   diese Hilfe\n"
        "\n"
        "Ausgabe: je Nebenstelle eine Zeile mit Nebenstelle, Name, Anzahl der Gespräche,\n"
        "Kostensumme und Bruttokosten; mit --je-nebenstelle danach je geschriebene Datei\n"
        "eine Zeile mit ihrem Pfad.\n"
        "\n"
        "Rückgabewerte:\n"
        "  0  alle Gespräche berechnet, Report geschrieben\n"
        "  1  Einstellung, Pfad oder Datei fehlt oder ist fehlerhaft, oder ein anderer Lauf\n"
        "     arbeitet im Programmordner (Meldung auf stderr)\n"
        "  2  keine Gespräche in der Auswahl\n"
        "  3  Kostenberechnung abgebrochen: Fehler in der Tariftabelle oder eine Einstellung,\n"
        "     mit der nicht gerechnet werden kann; kein Report, keine CSV-Datei\n"
        "  4  Report geschrieben, aber für einige Rufnummern fehlt ein Tarif oder einige\n"
        "     Gespräche haben keinen lesbaren Beginn oder keine gültige Dauer (stderr)\n"
        "  5  --tarife-pruefen hat Lücken oder Fehler gefunden, oder die Prüfung vor\n"
        "     --tarife-importieren hat Befunde und nichts wurde übernommen (ohne --trotzdem)\n"
        "\n"
        "Mit --tarife-exportieren und --tarife-importieren: 0 geschrieben bzw. übernommen,\n"
        "1 ein Fehler (Meldung auf stderr, z. B. mit den Zeilen der Datei, die nicht gelesen\n"
        "werden können; die Tariftabellen bleiben unverändert), 5 wie oben.\n");
}

StapelArgumente stapelArgumenteLesen(const QStringList& argumente, const QString& standardOrdner)
{
    QCommandLineParser p;
    p.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    const QCommandLineOption ordner(QStringLiteral("programmordner"), QString(), QStringLiteral("ORDNER"));
    const QCommandLineOption billdb(QStringLiteral("billdb"), QString(), QStringLiteral("PFAD"));
    const QCommandLineOption nebenstelle(QStringLiteral("nebenstelle"), QString(), QStringLiteral("TEXT"));
    const QCommandLineOption ab(QStringLiteral("ab"), QString(), QStringLiteral("TEXT"));
    const QCommandLineOption bis(QStringLiteral("bis"), QString(), QStringLiteral("TEXT"));
    const QCommandLineOption eigen(QStringLiteral("eigenpreis"));
    const QCommandLineOption ohne(QStringLiteral("ohne-mwst"));
    const QCommandLineOption kuerzen(QStringLiteral("kuerzen"));
    const QCommandLineOption neueSeite(QStringLiteral("neue-seite"));
    const QCommandLineOption pruefen(QStringLiteral("tarife-pruefen"));
    const QCommandLineOption exportieren(QStringLiteral("tarife-exportieren"), QString(), QStringLiteral("DATEI"));
    const QCommandLineOption importieren(QStringLiteral("tarife-importieren"), QString(), QStringLiteral("DATEI"));
    const QCommandLineOption trotzdem(QStringLiteral("trotzdem"));
    const QCommandLineOption pdf(QStringLiteral("pdf"), QString(), QStringLiteral("DATEI"));
    const QCommandLineOption csv(QStringLiteral("csv"), QString(), QStringLiteral("DATEI"));
    const QCommandLineOption jeNebenstelle(QStringLiteral("je-nebenstelle"), QString(), QStringLiteral("ORDNER"));
    const QCommandLineOption warten(QStringLiteral("warten"), QString(), QStringLiteral("SEKUNDEN"));
    const QCommandLineOption hilfe(
        QStringList {QStringLiteral("help"), QStringLiteral("hilfe"), QStringLiteral("h")});
    p.addOptions({ordner, billdb, nebenstelle, ab, bis, eigen, ohne, kuerzen, neueSeite, pdf, csv, jeNebenstelle,
                  warten, pruefen, exportieren, importieren, trotzdem, hilfe});

    StapelArgumente r;
    if (!p.parse(argumente)) {
        r.fehler = QStringLiteral(
                       "Die Angaben beim Aufruf sind fehlerhaft: %1\nMit --help werden alle Optionen angezeigt.")
                       .arg(p.errorText());
        return r;
    }
    if (!p.positionalArguments().isEmpty()) {
        r.fehler = QStringLiteral("Unbekannte Angabe beim Aufruf: %1\nMit --help werden alle Optionen angezeigt.")
                       .arg(p.positionalArguments().join(QLatin1Char(' ')));
        return r;
    }
    StapelOptionen o;
    o.hilfe = p.isSet(hilfe);
    o.programmOrdner =
        QDir::toNativeSeparators(QFileInfo(p.isSet(ordner) ? p.value(ordner) : standardOrdner).absoluteFilePath());
    if (p.isSet(billdb))
        o.billdb = QDir::toNativeSeparators(QFileInfo(p.value(billdb)).absoluteFilePath());
    if (p.isSet(nebenstelle))
        o.nebenstelle = p.value(nebenstelle);
    if (p.isSet(ab))
        o.ab = p.value(ab);
    if (p.isSet(bis))
        o.bis = p.value(bis);
    try {
        zeitgrenzen(o.ab, o.bis, BisGrenze::Ausschliesslich);
    } catch (const QuellFehler& f) {
        r.fehler = QString(f.text()).replace(CR, QLatin1Char('\n'));
        return r;
    }
    o.eigenpreis = p.isSet(eigen);
    o.ohneMwst = p.isSet(ohne);
    o.kuerzen = p.isSet(kuerzen);
    o.neueSeite = p.isSet(neueSeite);
    o.tarifePruefen = p.isSet(pruefen);
    if (p.isSet(exportieren))
        o.tarifeExportieren = QFileInfo(p.value(exportieren)).absoluteFilePath();
    if (p.isSet(importieren))
        o.tarifeImportieren = QFileInfo(p.value(importieren)).absoluteFilePath();
    o.trotzdem = p.isSet(trotzdem);
    if (o.tarifePruefen + p.isSet(exportieren) + p.isSet(importieren) > 1
        || (o.trotzdem && !p.isSet(importieren))) {
        r.fehler =
            QStringLiteral("Von --tarife-pruefen, --tarife-exportieren und --tarife-importieren gilt nur eine "
                           "je Aufruf, --trotzdem nur mit --tarife-importieren.\nMit --help werden alle "
                           "Optionen angezeigt.");
        return r;
    }
    if (p.isSet(pdf))
        o.pdf = QFileInfo(p.value(pdf)).absoluteFilePath();
    if (p.isSet(csv))
        o.csv = QFileInfo(p.value(csv)).absoluteFilePath();
    if (p.isSet(jeNebenstelle))
        o.jeNebenstelle = QFileInfo(p.value(jeNebenstelle)).absoluteFilePath();
    if (p.isSet(warten)) {
        bool zahl = false;
        o.warten = p.value(warten).trimmed().toInt(&zahl);
        if (!zahl || o.warten < 0) {
            r.fehler =
                QStringLiteral("Bei --warten ist „%1“ keine Anzahl Sekunden; erwartet wird eine ganze Zahl ab 0, "
                               "z. B. --warten 3600.\nMit --help werden alle Optionen angezeigt.")
                    .arg(p.value(warten));
            return r;
        }
    }
    r.optionen = o;
    return r;
}

} // namespace orve
