#include "tariffs/frmEingabe.h"

#include "tariffs/TarifTabellen.h"

#include "common/AppState.h"
#include "common/BefehlAusfuehren.h"
#include "common/Dialogs.h"
#include "common/LokaleDatenbank.h"
#include "common/Version.h"

#include <QAction>
#include <QButtonGroup>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include <SQLiteCpp/SQLiteCpp.h>

#include <algorithm>

namespace orve {

namespace {

template<class W> W* benannt(W* w, const char* name)
{
    w->setObjectName(QString::fromLatin1(name));
    return w;
}

QPushButton* knopf(const QString& text, const char* name, QWidget* parent)
{
    auto* b = benannt(new QPushButton(text, parent), name);
    // Return in a field must never save or delete by accident.
    b->setAutoDefault(false);
    b->setDefault(false);
    return b;
}

QLineEdit* feld(const char* name, QWidget* parent)
{
    return benannt(new QLineEdit(parent), name);
}

QLabel* label(const QString& text, const char* name, QWidget* parent)
{
    return benannt(new QLabel(text, parent), name);
}

void textSetzen(QLineEdit* f, const QString& text)
{
    if (f->text() != text)
        f->setText(text);
}

} // namespace

frmEingabe::frmEingabe(AppState& state, Datenquellen& quellen, Dialogs& dialogs, QWidget* parent)
    : QDialog(parent), m_state(state), m_dialogs(dialogs)
{
    aufbauen();
    try {
        m_eigeneDb = lokalOeffnen(quellen, state);
    } catch (const VerbindungsFehler& e) {
        m_oeffnungsFehler = e.text();
    }
    if (m_eigeneDb) {
        m_editor = std::make_unique<TarifEditor>(state, dialogs, *m_eigeneDb);
        m_editor->laden();
    }
    insFensterSchreiben();
}

frmEingabe::frmEingabe(AppState& state, SQLite::Database& lokal, Dialogs& dialogs, QWidget* parent)
    : QDialog(parent), m_state(state), m_dialogs(dialogs)
{
    aufbauen();
    m_editor = std::make_unique<TarifEditor>(state, dialogs, lokal, Tarifsperre::VomLauf);
    m_editor->laden();
    insFensterSchreiben();
}

frmEingabe::~frmEingabe()
{
    // The logic refers to the database: it goes first.
    m_editor.reset();
    m_eigeneDb.reset();
}

void frmEingabe::aufbauen()
{
    setObjectName(QStringLiteral("frmEingabe"));
    setWindowTitle(programmCaption());
    setModal(true);

    auto* haupt = new QVBoxLayout(this);

    // Menu.
    auto* menue = benannt(new QMenuBar(this), "Menue");
    QMenu* datei = benannt(menue->addMenu(QStringLiteral("&Datei")), "mnuDatei");
    QAction* schliessen = datei->addAction(QStringLiteral("&schließen"));
    schliessen->setObjectName(QStringLiteral("mnuSchliessen"));
    schliessen->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
    connect(schliessen, &QAction::triggered, this, &QDialog::close);
    QMenu* rechner = benannt(menue->addMenu(QStringLiteral("Tarifrechner Telekom")), "mnuTarifrechner");
    QAction* aufrufen = rechner->addAction(QStringLiteral("&aufrufen"));
    aufrufen->setObjectName(QStringLiteral("mnuTarifAufruf"));
    aufrufen->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_T));
    connect(aufrufen, &QAction::triggered, this,
            [this] { befehl([](TarifEditor& e) { e.tarifrechnerZeigen(); }); });
    // Shortcuts work even while the menu bar is not focused.
    addAction(schliessen);
    addAction(aufrufen);
    haupt->setMenuBar(menue);

    auto* label1 = label(QStringLiteral("Bitte wählen Sie die zu pflegende Tariftabelle:"), "Label1", this);
    QFont fett = label1->font();
    fett.setBold(true);
    label1->setFont(fett);
    haupt->addWidget(label1);

    // Table choice, with the missing-tariff hint beside it.
    auto* auswahlZeile = new QHBoxLayout;
    auto* frame1 = benannt(new QGroupBox(QStringLiteral("Tarifauswahl"), this), "Frame1");
    auto* frame1Raster = new QGridLayout(frame1);
    const char* optionNamen[] = {"Option1", "Option2", "Option3"};
    const char* labelNamen[] = {"Label2", "Label3", "Label4"};
    const Tariftabelle tabellen[] = {Tariftabelle::faktor, Tariftabelle::Ortstarif, Tariftabelle::CallByCall};
    auto* gruppe = new QButtonGroup(this);
    for (int i = 0; i < 3; ++i) {
        m_option[i] = benannt(new QRadioButton(frame1), optionNamen[i]);
        m_option[i]->setAccessibleName(tabellenTitel(tabellen[i]));
        m_optionLabel[i] = label(tabellenTitel(tabellen[i]), labelNamen[i], frame1);
        m_optionLabel[i]->installEventFilter(this);
        gruppe->addButton(m_option[i], i);
        frame1Raster->addWidget(m_option[i], i, 0);
        frame1Raster->addWidget(m_optionLabel[i], i, 1);
        const Tariftabelle t = tabellen[i];
        // toggled: a click as well as the arrow keys; the window's own
        // updates run with signals blocked.
        connect(m_option[i], &QRadioButton::toggled, this, [this, t](bool an) {
            if (an)
                optionGeklickt(t);
        });
    }
    frame1Raster->setColumnStretch(1, 1);
    auswahlZeile->addWidget(frame1);
    auto* hinweis = new QVBoxLayout;
    m_label15 = label(QStringLiteral("zu pflegende Vorwahl:"), "Label15", this);
    m_fldSuchvorwahl = feld("fldSuchvorwahl", this);
    m_fldSuchvorwahl->setReadOnly(true);
    m_label15->setBuddy(m_fldSuchvorwahl);
    m_label15->hide();
    m_fldSuchvorwahl->hide();
    hinweis->addWidget(m_label15);
    hinweis->addWidget(m_fldSuchvorwahl);
    hinweis->addStretch();
    auswahlZeile->addLayout(hinweis);
    auswahlZeile->setStretch(0, 3);
    auswahlZeile->setStretch(1, 2);
    haupt->addLayout(auswahlZeile);

    // Entry list.
    haupt->addWidget(
        label(QStringLiteral("Auswahl bereits angelegter Tarifeinträge zur Weiterbearbeitung"), "Label14", this));
    auto* listenZeile = new QHBoxLayout;
    m_combo1 = benannt(new AufklappListe(this), "Combo1");
    m_combo1->setMinimumContentsLength(40);
    m_combo1->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    m_combo1->setToolTip(
        QStringLiteral("Dient der Auswahl bereits angelegter Datensätze, um diese zu ändern oder zu löschen"));
    connect(m_combo1, &AufklappListe::aufklappen, this,
            [this] { befehl([](TarifEditor& e) { e.listeFuellen(); }); });
    listenZeile->addWidget(m_combo1, 1);
    auto* command2 = knopf(QStringLiteral("In &Bearbeitungsmaske übernehmen"), "Command2", this);
    connect(command2, &QPushButton::clicked, this, [this] { befehl([](TarifEditor& e) { e.uebernehmen(); }); });
    listenZeile->addWidget(command2);
    haupt->addLayout(listenZeile);

    // The mask.
    auto* frame2 = benannt(new QGroupBox(QStringLiteral("Dateneingabe"), this), "Frame2");
    auto* maske = new QGridLayout(frame2);
    int zeile = 0;
    auto maskenZeile = [&](const QString& text, const char* labelName, QLineEdit* f, const char* ohneMwstName) {
        auto* l = label(text, labelName, frame2);
        l->setBuddy(f);
        maske->addWidget(l, zeile, 0);
        maske->addWidget(f, zeile, 1);
        if (ohneMwstName)
            maske->addWidget(label(QStringLiteral("ohne MwSt"), ohneMwstName, frame2), zeile, 2);
        ++zeile;
        return l;
    };
    m_fldVorwahl = feld("fldVorwahl", frame2);
    m_fldVorwahl->setToolTip(QStringLiteral(
        "Die Eingabe in dieses Feld ist normal gesperrt! Wenn Sie hier Eingaben machen wollen, wählen Sie bitte "
        "den Funktionsschalter \"Neuen Satz anlegen!\""));
    maskenZeile(QStringLiteral("Vorwahl bzw. Sondernummer:"), "Label5", m_fldVorwahl, nullptr)
        ->setToolTip(m_fldVorwahl->toolTip());
    m_fldBezeichnung = feld("fldBezeichnung", frame2);
    maskenZeile(QStringLiteral("Bezeichnung (z.B. Notruf)"), "Label6", m_fldBezeichnung, nullptr);
    m_fldAbZeit = feld("fldAbZeit", frame2);
    maskenZeile(QStringLiteral("gilt ab (Zeiteingabe erforderlich):"), "Label7", m_fldAbZeit, nullptr);
    m_fldBisZeit = feld("fldBisZeit", frame2);
    maskenZeile(QStringLiteral("gilt bis (Zeiteingabe erforderlich):"), "Label8", m_fldBisZeit, nullptr);
    m_fldMinutenpreis = feld("fldMinutenpreis", frame2);
    maskenZeile(QStringLiteral("Minutenpreis in Euro (z.B. 0,06)"), "Label9", m_fldMinutenpreis, "Label16");
    m_fldPauschalpreis = feld("fldPauschalpreis", frame2);
    maskenZeile(QStringLiteral("Pauschalpreis in Euro "), "Label10", m_fldPauschalpreis, "Label17");
    m_fldSekundentakt = feld("fldSekundentakt", frame2);
    maskenZeile(QStringLiteral("Sekundentakt"), "Label11", m_fldSekundentakt, nullptr);
    m_fldTyp = feld("fldTyp", frame2);
    m_fldTyp->setToolTip(QStringLiteral("Bitte geben Sie ein: D für Standardtarif Deutschland, A für Ausland, "
                                        "O für Ortsgespräch, M für Mobilfunk, S für Sondernummer"));
    m_fldTyp->setMaximumWidth(m_fldTyp->fontMetrics().horizontalAdvance(QStringLiteral("MMMM")) + 12);
    auto* typLabel = maskenZeile(QStringLiteral("Typ:"), "Label12", m_fldTyp, nullptr);
    typLabel->setToolTip(m_fldTyp->toolTip());
    maske->removeWidget(m_fldTyp);
    maske->addWidget(m_fldTyp, zeile - 1, 1, Qt::AlignLeft);
    for (QLineEdit* f : {m_fldVorwahl, m_fldBezeichnung, m_fldAbZeit, m_fldBisZeit, m_fldMinutenpreis,
                         m_fldPauschalpreis, m_fldSekundentakt})
        f->setMinimumWidth(260);
    auto* command3 = knopf(QStringLiteral("&löschen Datensatz"), "Command3", frame2);
    connect(command3, &QPushButton::clicked, this, [this] { befehl([](TarifEditor& e) { e.loeschen(); }); });
    maske->addWidget(command3, zeile - 1, 3, Qt::AlignRight | Qt::AlignBottom);
    maske->setColumnStretch(2, 1);
    haupt->addWidget(frame2);

    // Save and new at the lower right, below the delete button of the mask.
    auto* unten = new QHBoxLayout;
    auto* label13 =
        label(QStringLiteral("Alle Angaben entnehmen Sie bitte den aktuellen Tariftabellen der Deutschen Telekom!"),
              "Label13", this);
    label13->setWordWrap(true);
    unten->addWidget(label13, 1, Qt::AlignBottom);
    auto* knoepfe = new QVBoxLayout;
    auto* command1 = knopf(QStringLiteral("&Speichern Datensatz"), "Command1", this);
    connect(command1, &QPushButton::clicked, this, [this] { befehl([](TarifEditor& e) { e.speichern(); }); });
    auto* command4 = knopf(QStringLiteral("&Neuen Satz anlegen"), "Command4", this);
    command4->setToolTip(QStringLiteral(
        "Wenn Sie einen Satz anlegen wollen, dessen Vorwahl noch nicht in den Tariftabellen enthalten ist"));
    connect(command4, &QPushButton::clicked, this,
            [this] { befehl([](TarifEditor& e) { e.neuerSatzAnlegen(); }); });
    auto* beispiele = knopf(QStringLiteral("Beispieltarife übernehmen"), "cmdBeispieltarife", this);
    beispiele->setToolTip(QStringLiteral(
        "Übernimmt Beispieltarife in die gewählte Tabelle, wenn sie noch leer ist, in alle drei Tabellen, wenn "
        "alle leer sind; bitte anschließend anhand Ihres Vertrags prüfen"));
    connect(beispiele, &QPushButton::clicked, this,
            [this] { befehl([](TarifEditor& e) { e.beispieltarifeUebernehmen(); }); });
    knoepfe->addWidget(command1);
    knoepfe->addWidget(command4);
    knoepfe->addWidget(beispiele);
    unten->addLayout(knoepfe);
    haupt->addLayout(unten);
    // The buttons share one width so they line up.
    const int breite = std::max({command1->sizeHint().width(), command3->sizeHint().width(),
                                 command4->sizeHint().width(), beispiele->sizeHint().width()});
    for (QPushButton* b : {command1, command3, command4, beispiele})
        b->setMinimumWidth(breite);
    // The delete button's column in the mask sits right above the two below.
    maske->setContentsMargins(maske->contentsMargins().left(), maske->contentsMargins().top(), 0,
                              maske->contentsMargins().bottom());

    m_fldSatz = feld("fldSatz", this);
    m_fldSatz->hide();

    // Tab order follows the controls from top to bottom.
    QWidget* reihe[] = {m_option[0],       m_option[1],        m_option[2],       m_fldSuchvorwahl, m_combo1,
                        command2,          m_fldVorwahl,       m_fldBezeichnung,  m_fldAbZeit,      m_fldBisZeit,
                        m_fldMinutenpreis, m_fldPauschalpreis, m_fldSekundentakt, m_fldTyp,         command3,
                        command1,          command4,           beispiele};
    for (size_t i = 1; i < std::size(reihe); ++i)
        setTabOrder(reihe[i - 1], reihe[i]);
}

bool frmEingabe::eventFilter(QObject* obj, QEvent* ev)
{
    // The captions beside the option buttons choose their table as well.
    if (ev->type() == QEvent::MouseButtonRelease) {
        for (int i = 0; i < 3; ++i)
            if (obj == m_optionLabel[i] && static_cast<QMouseEvent*>(ev)->button() == Qt::LeftButton) {
                m_option[i]->click();
                return true;
            }
    }
    return QDialog::eventFilter(obj, ev);
}

void frmEingabe::optionGeklickt(Tariftabelle t)
{
    // A click on the option already chosen changes nothing.
    if (m_editor && m_editor->tabelle() == t)
        return;
    befehl([t](TarifEditor& e) { e.tabelleWaehlen(t); });
}

void frmEingabe::befehl(const std::function<void(TarifEditor&)>& f)
{
    if (!m_editor)
        return;
    ausFensterLesen();
    befehlAusfuehren(m_dialogs, [&] { f(*m_editor); });
    insFensterSchreiben();
}

void frmEingabe::zeigeFehlendeVorwahl(const QString& nummer)
{
    if (m_editor)
        m_editor->zeigeFehlendeVorwahl(nummer);
    insFensterSchreiben();
}

int frmEingabe::exec()
{
    if (!m_editor) {
        m_dialogs.message(m_oeffnungsFehler, programmCaption(), Buttons::Ok, Icon::Critical);
        return QDialog::Rejected;
    }
    return QDialog::exec();
}

void frmEingabe::reject()
{
    bool verlassen = !m_editor;
    befehl([&verlassen](TarifEditor& e) { verlassen = e.maskeVerlassen(); });
    if (verlassen)
        QDialog::reject();
}

void frmEingabe::ausFensterLesen()
{
    Tarifmaske& m = m_editor->maske();
    m.fldSatz = m_fldSatz->text();
    m.fldVorwahl = m_fldVorwahl->text();
    m.fldBezeichnung = m_fldBezeichnung->text();
    m.fldAbZeit = m_fldAbZeit->text();
    m.fldBisZeit = m_fldBisZeit->text();
    m.fldMinutenpreis = m_fldMinutenpreis->text();
    m.fldPauschalpreis = m_fldPauschalpreis->text();
    m.fldSekundentakt = m_fldSekundentakt->text();
    m.fldTyp = m_fldTyp->text();
    m_editor->combo1Setzen(m_combo1->currentText());
}

void frmEingabe::insFensterSchreiben()
{
    if (!m_editor) {
        setEnabled(false);
        return;
    }
    const TarifEditor& e = *m_editor;
    const int gewaehlt = static_cast<int>(e.tabelle());
    for (int i = 0; i < 3; ++i) {
        QSignalBlocker blocker(m_option[i]);
        m_option[i]->setChecked(i == gewaehlt);
    }
    const Tarifmaske& m = e.maske();
    textSetzen(m_fldSatz, m.fldSatz);
    textSetzen(m_fldVorwahl, m.fldVorwahl);
    textSetzen(m_fldBezeichnung, m.fldBezeichnung);
    textSetzen(m_fldAbZeit, m.fldAbZeit);
    textSetzen(m_fldBisZeit, m.fldBisZeit);
    textSetzen(m_fldMinutenpreis, m.fldMinutenpreis);
    textSetzen(m_fldPauschalpreis, m.fldPauschalpreis);
    textSetzen(m_fldSekundentakt, m.fldSekundentakt);
    textSetzen(m_fldTyp, m.fldTyp);
    m_fldVorwahl->setReadOnly(!e.vorwahlEingabe());

    m_label15->setVisible(e.hinweisSichtbar());
    m_fldSuchvorwahl->setVisible(e.hinweisSichtbar());
    textSetzen(m_fldSuchvorwahl, e.suchvorwahl());

    QStringList liste;
    for (int i = 0; i < m_combo1->count(); ++i)
        liste.append(m_combo1->itemText(i));
    QSignalBlocker blocker(m_combo1);
    if (liste != e.eintraege()) {
        m_combo1->clear();
        m_combo1->addItems(e.eintraege());
        m_combo1->setCurrentIndex(-1);
    }
    if (m_combo1->currentText() != e.combo1Text())
        m_combo1->setEditText(e.combo1Text());
}

void QtTarifeditorOeffner::oeffnen(const QString& fehlendeNummer)
{
    frmEingabe fenster(m_state, m_lokal, m_dialogs, m_parent);
    if (!fehlendeNummer.isEmpty())
        fenster.zeigeFehlendeVorwahl(fehlendeNummer);
    fenster.exec();
}

} // namespace orve
