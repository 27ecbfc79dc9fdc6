#include "report/BerichtAnzeige.h"

#include "report/BerichtFenster.h"

#include "common/Druckdialog.h"

#include <utility>

namespace orve {

BerichtAnzeige::BerichtAnzeige(Dialogs& dialogs, QWidget* parent, Druckausgabe* druck, const QString& ordnerDatei)
    : m_dialogs(dialogs), m_druck(druck ? *druck : druckdialog()), m_ordnerDatei(ordnerDatei), m_parent(parent)
{
}

BerichtAnzeige::~BerichtAnzeige()
{
    schliessen();
}

BerichtFenster* BerichtAnzeige::zeigen(Telefonkostenauswertung bericht, const QString& dateiname)
{
    schliessen();
    m_fenster =
        new BerichtFenster(std::move(bericht), m_dialogs, m_druck, m_parent.data(), dateiname, m_ordnerDatei);
    m_fenster->show();
    m_fenster->raise();
    m_fenster->activateWindow();
    return m_fenster.data();
}

void BerichtAnzeige::schliessen()
{
    if (BerichtFenster* f = m_fenster.data()) {
        m_fenster.clear();
        f->close(); // deletes itself (WA_DeleteOnClose) ...
        delete f;   // ... at once, so the old report never shows beside the new one
    }
}

} // namespace orve
