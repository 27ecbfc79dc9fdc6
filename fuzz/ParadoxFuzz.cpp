// libFuzzer target: the Paradox reader must answer any bytes with records or
// a ParadoxFehler, never with a crash, a hang or undefined behaviour.

#include "calls/ParadoxTable.h"

#include <QDate>
#include <QDateTime>
#include <QTime>

#include <cstddef>
#include <cstdint>

using orve::paradox::ParadoxFehler;
using orve::paradox::ParadoxTabelle;
using orve::paradox::Satz;

namespace {
volatile std::size_t g_senke = 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    try {
        const auto t = ParadoxTabelle::ausBytes(QByteArray(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size)));
        std::size_t summe = 0;
        for (const auto& f : t.felder())
            summe += static_cast<std::size_t>(f.name.size());
        t.lesen([&](const Satz& s) {
            // Use every value the way the copy into the local table does.
            for (const QVariant& v : s) {
                if (!v.isValid())
                    continue;
                switch (v.typeId()) {
                case QMetaType::QDate: summe += static_cast<std::size_t>(v.toDate().toString(Qt::ISODate).size()); break;
                case QMetaType::QTime: summe += static_cast<std::size_t>(v.toTime().toString(Qt::ISODate).size()); break;
                case QMetaType::QDateTime: summe += static_cast<std::size_t>(v.toDateTime().toString(Qt::ISODate).size()); break;
                case QMetaType::QString: summe += static_cast<std::size_t>(v.toString().size()); break;
                case QMetaType::QByteArray: summe += static_cast<std::size_t>(v.toByteArray().size()); break;
                default: summe += static_cast<std::size_t>(v.toString().size()); break;
                }
            }
        });
        g_senke = summe; // keeps the work above from being optimised away
    } catch (const ParadoxFehler& e) {
        if (e.text().isEmpty())
            __builtin_trap(); // every refusal must say why
    }
    return 0;
}
