#include "help/Demonstration.h"

#include "common/LocalDatabase.h"
#include "common/TextFile.h"
#include "tariffs/TarifTabellen.h"

#include "TempProgramFolder.h"

#include <QFileInfo>
#include <QSet>

#include <SQLiteCpp/SQLiteCpp.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

using namespace orve;
using orve::test::TempProgramFolder;

namespace {

bool imFenster(const Tarifeintrag& e, const QString& zeit)
{
    const QString von = e.vonZeit.value_or(QString()), bis = e.bisZeit.value_or(QString());
    return von <= bis ? (von <= zeit && zeit <= bis) : (zeit >= von || zeit <= bis);
}

// The row that prices the number at that time, found the way the costing
// searches: call-by-call prefix removed, Ortstarif then faktor by prefix
// (first row in table order), then, for a number without leading 0, any
// Ortstarif row in stored order. Null when no row prices it.
const Tarifeintrag* tarifFuer(SQLite::Database& db, QString nummer, const QString& zeit)
{
    static std::vector<Tarifeintrag> cbc, ort, faktor, ortGespeichert;
    if (cbc.empty()) {
        cbc = tarifeLesen(db, Tariftabelle::CallByCall);
        ort = tarifeLesen(db, Tariftabelle::Ortstarif);
        faktor = tarifeLesen(db, Tariftabelle::faktor);
        ortGespeichert = ort;
        std::sort(ortGespeichert.begin(), ortGespeichert.end(), [](auto& a, auto& b) { return a.satz < b.satz; });
    }
    for (const auto& c : cbc)
        if (nummer.startsWith(*c.vorwahl)) {
            nummer.remove(*c.vorwahl);
            break;
        }
    for (const auto* tabelle : {&ort, &faktor})
        for (const auto& e : *tabelle)
            if (nummer.startsWith(*e.vorwahl) && imFenster(e, zeit))
                return &e;
    if (!nummer.startsWith(QLatin1Char('0')))
        for (const auto& e : ortGespeichert)
            if (imFenster(e, zeit))
                return &e;
    return nullptr;
}

TEST(Demonstration, OrdnerIstVollstaendigUndJederAnrufFindetEinenTarif)
{
    TempProgramFolder dir;
    const QString ordner = dir.file(QStringLiteral("Demo"));
    demoOrdnerAnlegen(ordner, QStringLiteral("/usr/lib/libsqlite3.so.0"), ordner + QStringLiteral("/orve-tarifo"));

    const QString bill = ordner + QStringLiteral("/bill.db");
    const struct {
        const char* datei;
        QString zeile;
    } dateien[] = {{"Billpfad.txt", bill}, {"Steuersatz.txt", "19"}, {"Kostenaufschlag.txt", "1,20"},
                   {"Minutenpreis.txt", "0,20"}};
    for (const auto& d : dateien)
        EXPECT_EQ(ersteZeileLesen(ordner + QLatin1Char('/') + QLatin1String(d.datei)), d.zeile) << d.datei;
    EXPECT_TRUE(QFileInfo(ordner + QStringLiteral("/Registry/HKEY_LOCAL_MACHINE.reg")).isFile());

    // bill.db holds the calls generated anew here, in order: the same seed gives the same calls.
    const auto anrufe = demoAnrufe();
    SQLite::Database quelle(bill.toStdString());
    SQLite::Statement q(quelle, "SELECT time, user, number FROM stdbill ORDER BY id");
    size_t i = 0;
    for (; q.executeStep(); ++i)
        ASSERT_TRUE(i < anrufe.size() && QString::fromStdString(q.getColumn(2).getString()) == anrufe[i].number) << i;
    EXPECT_EQ(i, anrufe.size());

    const auto lokal = lokaleDatenbankOeffnen(ordner + QLatin1Char('/') + kLokaleDatenbankRelativ);
    QSet<int> nebenstellen;
    QSet<QString> monate;
    for (const auto& a : anrufe) {
        nebenstellen.insert(a.user);
        monate.insert(a.start.toString(QStringLiteral("yyyy-MM")));
        if (a.number.isEmpty())
            continue;
        EXPECT_NE(tarifFuer(*lokal, a.number, a.start.toString(QStringLiteral("hh:mm:ss"))), nullptr)
            << a.number.toStdString() << " " << a.start.toString(Qt::ISODate).toStdString();
    }
    EXPECT_EQ(nebenstellen.size(), 8);
    EXPECT_EQ(monate.size(), 2);

    // Every kind of call the demonstration is meant to show occurs.
    const auto nacht = [](const DemoAnruf& a) { return a.start.time().hour() >= 18 || a.start.time().hour() < 8; };
    const struct {
        const char* art;
        std::function<bool(const DemoAnruf&)> ist;
    } arten[] = {
        {"intern", [](auto& a) { return a.number.isEmpty(); }},
        {"ohne Vorwahl", [](auto& a) { return !a.number.isEmpty() && a.number[0] != u'0' && a.number[0] != u'1'; }},
        {"Ortsnetz", [](auto& a) { return a.number.startsWith("0241"); }},
        {"Citybereich", [](auto& a) { return a.number.startsWith("02405"); }},
        {"Inland", [](auto& a) { return a.number.startsWith("030") || a.number.startsWith("0711"); }},
        {"Mobil", [](auto& a) { return a.number.startsWith("017"); }},
        {"kostenlos", [](auto& a) { return a.number.startsWith("0800"); }},
        {"Service", [](auto& a) { return a.number.startsWith("01805") || a.number.startsWith("0137"); }},
        {"Ausland", [](auto& a) { return a.number.startsWith("00"); }},
        {"Call by Call", [](auto& a) { return a.number.startsWith("010"); }},
        {"Notruf", [](auto& a) { return a.number == "110" || a.number == "112"; }},
        {"Nacht", nacht},
        {"Wochenende", [](auto& a) { return a.start.date().dayOfWeek() > 5; }},
    };
    for (const auto& art : arten)
        EXPECT_TRUE(std::any_of(anrufe.begin(), anrufe.end(), art.ist)) << art.art;
}

} // namespace
