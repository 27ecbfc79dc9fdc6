#include "common/BefehlAusfuehren.h"
#include "common/ProgrammEndeHaken.h"

#include "common/Dialogs.h"
#include "common/Fehler.h"
#include "common/ProgramEnd.h"
#include "common/SqliteMeldung.h"
#include "common/Version.h"

#include <QApplication>
#include <QTimer>

#include <SQLiteCpp/Exception.h>

namespace orve {

namespace {
int g_endeCode = 0;
}

int programmEndeCode()
{
    return g_endeCode;
}

void programmEndeZuruecksetzen()
{
    g_endeCode = 0;
    // QCoreApplication::exit() keeps every later event loop (of a modal window) from running until the
    // application's own loop has run again: one short turn of it, as in a fresh program.
    QTimer::singleShot(0, qApp, [] { QCoreApplication::exit(0); });
    QCoreApplication::exec();
}

bool befehlAusfuehren(Dialogs& dialogs, const std::function<void()>& befehl)
{
    try {
        befehl();
        return true;
    } catch (const ProgramEnd& e) {
        g_endeCode = e.exitCode();
        // Close every window, then leave the event loops (nested ones of modal
        // windows included); main() returns the code.
        QApplication::closeAllWindows();
        QCoreApplication::exit(e.exitCode());
    } catch (const Fehler& e) {
        dialogs.message(e.text(), programmCaption(), Buttons::Ok, Icon::Critical);
    } catch (const SQLite::Exception& e) {
        dialogs.message(sqliteMeldung(e, QString(), QStringLiteral("versuchen Sie es erneut")), kProduktName,
                        Buttons::Ok, Icon::Critical);
    } catch (const std::exception& e) {
        dialogs.message(zeilen({QStringLiteral("Unerwarteter Fehler:"), QString::fromUtf8(e.what())}), kProduktName,
                        Buttons::Ok, Icon::Critical);
    }
    return false;
}

} // namespace orve
