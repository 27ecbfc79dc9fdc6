// libFuzzer target: the Paradox reader must answer any bytes with records or
// a ParadoxFehler, never with a crash, a hang or undefined behaviour; read
// from memory and from a file on disk (block by block), it must give the
// same answer.

#include "calls/ParadoxTabelle.h"

#include <QDate>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QTime>

#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <optional>

using orve::paradox::ParadoxFehler;
using orve::paradox::ParadoxTabelle;
using orve::paradox::Satz;

namespace {

volatile std::size_t g_senke = 0;

struct Antwort {
    std::size_t saetze = 0;
    std::size_t summe = 0;
    std::optional<QString> fehler;
};

// Opens the table (from memory or from the file) and reads every record,
// using every value the way the copy into the local table does.
template<typename Oeffnen> Antwort auswerten(Oeffnen oeffnen)
{
    Antwort a;
    try {
        const ParadoxTabelle t = oeffnen();
        for (const auto& f : t.felder())
            a.summe += static_cast<std::size_t>(f.name.size());
        t.lesen([&](const Satz& s) {
            ++a.saetze;
            for (const QVariant& v : s) {
                if (!v.isValid())
                    continue;
                switch (v.typeId()) {
                case QMetaType::QDate:
                    a.summe += static_cast<std::size_t>(v.toDate().toString(Qt::ISODate).size());
                    break;
                case QMetaType::QTime:
                    a.summe += static_cast<std::size_t>(v.toTime().toString(Qt::ISODate).size());
                    break;
                case QMetaType::QDateTime:
                    a.summe += static_cast<std::size_t>(v.toDateTime().toString(Qt::ISODate).size());
                    break;
                case QMetaType::QString:
                    a.summe += static_cast<std::size_t>(v.toString().size());
                    break;
                case QMetaType::QByteArray:
                    a.summe += static_cast<std::size_t>(v.toByteArray().size());
                    break;
                default:
                    a.summe += static_cast<std::size_t>(v.toString().size());
                    break;
                }
            }
        });
    } catch (const ParadoxFehler& e) {
        if (e.text().isEmpty())
            __builtin_trap(); // every refusal must say why
        a.fehler = e.text();
    }
    return a;
}

const QString& dateiPfad()
{
    static const QString pfad = [] {
        std::atexit([] { QFile::remove(dateiPfad()); });
        return QDir::temp().filePath(QStringLiteral("fuzz_paradox_%1.db").arg(::getpid()));
    }();
    return pfad;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const Antwort imSpeicher = auswerten([&] { return ParadoxTabelle::ausBytes(bytes); });

    QFile f(dateiPfad());
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(bytes) != bytes.size())
        __builtin_trap(); // the fuzz machine's temporary folder must be writable
    f.close();
    const Antwort vonDatei = auswerten([&] { return ParadoxTabelle::oeffnen(dateiPfad()); });
    if (vonDatei.saetze != imSpeicher.saetze || vonDatei.summe != imSpeicher.summe
        || vonDatei.fehler.has_value() != imSpeicher.fehler.has_value())
        __builtin_trap();                        // the file reader must read what the memory reader reads
    g_senke = imSpeicher.summe + vonDatei.summe; // keeps the work above from being optimised away
    return 0;
}
