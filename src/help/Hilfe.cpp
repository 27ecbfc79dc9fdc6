#include "help/Hilfe.h"

#include "help/HilfeAnzeige.h"

#include "common/AppState.h"
#include "common/Dialogs.h"
#include "common/Version.h"

#include <QDir>
#include <QFileInfo>

namespace orve {

QString hilfeDateiEinstellung(const QString& programmOrdner)
{
    return QDir::toNativeSeparators(QDir::fromNativeSeparators(programmOrdner)
                                    + QStringLiteral("/Hilfe/ORVE-Tarifo.hlp"));
}

QString hilfeSeite(const QString& hilfeDatei)
{
    const QFileInfo info(QDir::fromNativeSeparators(hilfeDatei));
    return QDir::toNativeSeparators(info.dir().filePath(info.completeBaseName() + QStringLiteral(".html")));
}

void mnuHilfeklick(const AppState& state, HilfeAnzeige& anzeige)
{
    // From here on any error ends the command silently.
    try {
        const QString seite = hilfeSeite(hilfeDateiEinstellung(state.programmOrdner));
        if (!QFileInfo(QDir::fromNativeSeparators(seite)).isFile())
            return;
        anzeige.zeigen(seite);
    } catch (...) {
        // Nothing reaches the user: the help simply does not appear.
    }
}

void mnuWin7(const AppState& state, Dialogs& dialogs, HilfeAnzeige& anzeige)
{
    dialogs.message(
        zeilen({QStringLiteral("Windows 7 bzw. Vista Nutzer benötigen zum Anzeigen der Hilfe ein Update!"),
                QString(), QStringLiteral("Dieses finden Sie im Installationspfad dieser Software im Unterordner"),
                QString(), QStringLiteral("\\Windows 7 alte Hilfe Dateien anzeigen\\!")}),
        kProduktName, Buttons::Ok, Icon::Information);
    mnuHilfeklick(state, anzeige);
}

} // namespace orve
