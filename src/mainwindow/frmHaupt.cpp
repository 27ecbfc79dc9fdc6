#include "mainwindow/frmHaupt.h"

#include "calls/Auswahl.h"
#include "calls/Settings.h"
#include "common/AppState.h"
#include "common/BefehlAusfuehren.h"
#include "common/Dialogs.h"
#include "common/Druckdialog.h"
#include "help/Hilfe.h"
#include "help/HilfeFenster.h"
#include "report/BerichtAnzeige.h"
#include "report/BerichtFenster.h"
#include "report/Telefonkostenauswertung.h"
#include "tariffcheck/TarifpruefungFenster.h"
#include "tariffs/frmEingabe.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QCloseEvent>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMenuBar>
#include <QPainter>
#include <QProgressBar>
#include <QRegularExpression>
#include <QStyledItemDelegate>

#include <algorithm>

namespace orve {

namespace {

// The heading above the list; its words mark the columns of the list.
const QString kUeberschrift =
    QStringLiteral("Intern  Leitungsnr.  Datum/Zeit                                 Rufnummer      Dauer in Sek.  "
                   "Bezeichnung der InternNr.");

// Check3 and the label beside it, as Label7 is beside Check1.
const QString kCheck3Text = QStringLiteral("Jede Nebenstelle auf einer neuen Seite");

// The six words of the heading (runs of two or more blanks separate them).
QStringList ueberschriftWorte()
{
    static const QRegularExpression kTrenner(QStringLiteral(" {2,}"));
    return kUeberschrift.split(kTrenner);
}

// Where the columns of the list start: where the words of the heading start,
// pushed to the right where the column before needs more room than its
// heading gives it (a dialled number has up to 18 digits).
QVector<int> spaltenAnfaenge(const QFontMetrics& fm)
{
    const QStringList worte = ueberschriftWorte();
    const QStringList platz {QStringLiteral("00000"),
                             QStringLiteral("00"),
                             QStringLiteral("00.00.0000 00:00:00"),
                             QStringLiteral("000000000000000000"),
                             QStringLiteral("000000"),
                             QString()};
    const int abstand = fm.horizontalAdvance(QStringLiteral("  "));
    QVector<int> x;
    qsizetype pos = 0;
    for (int i = 0; i < worte.size(); ++i) {
        pos = kUeberschrift.indexOf(worte[i], pos);
        int anfang = fm.horizontalAdvance(kUeberschrift.left(pos));
        if (i > 0) {
            const int breite =
                std::max(fm.horizontalAdvance(worte[i - 1]), fm.horizontalAdvance(platz.value(i - 1)));
            anfang = std::max(anfang, x[i - 1] + breite + abstand);
        }
        x << anfang;
        pos += worte[i].size();
    }
    return x;
}

// The heading of the list: its text as given, each word drawn where its
// column of the list starts.
class Ueberschrift : public QLabel {
public:
    using QLabel::QLabel;

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter p(this);
        const QRect r = contentsRect();
        const QVector<int> x = spaltenAnfaenge(fontMetrics());
        const QStringList worte = ueberschriftWorte();
        p.setPen(palette().color(QPalette::WindowText));
        for (int i = 0; i < worte.size() && i < x.size(); ++i)
            p.drawText(QRect(r.left() + x[i], r.top(), r.width() - x[i], r.height()),
                       Qt::AlignLeft | Qt::AlignVCenter, worte[i]);
    }

    QSize minimumSizeHint() const override
    {
        return QSize(spaltenAnfaenge(fontMetrics()).constLast() + 100, QLabel::minimumSizeHint().height());
    }
};

// Draws the six values of a call in the columns of the heading.
class SpaltenDelegate : public QStyledItemDelegate {
public:
    SpaltenDelegate(QLabel* ueberschrift, QListView* liste)
        : QStyledItemDelegate(liste), m_ueberschrift(ueberschrift), m_liste(liste)
    {
    }

    void paint(QPainter* p, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        QStyleOptionViewItem opt = option;
        initStyleOption(&opt, index);
        const QStringList werte = index.data(AnrufListe::SpaltenRolle).toStringList();
        opt.text.clear();
        const QWidget* w = opt.widget;
        QStyle* style = w ? w->style() : QApplication::style();
        style->drawControl(QStyle::CE_ItemViewItem, &opt, p, w);

        const QVector<int> x = spaltenAnfaenge(m_ueberschrift->fontMetrics());
        const int versatz = m_ueberschrift->mapTo(m_liste->window(), m_ueberschrift->contentsRect().topLeft()).x()
                            - m_liste->viewport()->mapTo(m_liste->window(), QPoint(0, 0)).x();
        p->save();
        p->setFont(opt.font);
        p->setPen(
            opt.palette.color(opt.state & QStyle::State_Selected ? QPalette::HighlightedText : QPalette::Text));
        const QFontMetrics fm(opt.font);
        for (int i = 0; i < werte.size() && i < x.size(); ++i) {
            const int links = opt.rect.left() + versatz + x[i];
            const int rechts = i + 1 < x.size() ? opt.rect.left() + versatz + x[i + 1] - 4 : opt.rect.right();
            const QRect r(links, opt.rect.top(), std::max(0, rechts - links), opt.rect.height());
            p->drawText(r, Qt::AlignLeft | Qt::AlignVCenter,
                        fm.elidedText(werte[i].trimmed(), Qt::ElideRight, r.width()));
        }
        p->restore();
    }

private:
    QLabel* m_ueberschrift;
    QListView* m_liste;
};

QLabel* label(QWidget* parent, const QString& name, const QString& text)
{
    auto* l = new QLabel(text, parent);
    l->setObjectName(name);
    return l;
}

QLineEdit* textfeld(QWidget* parent, const QString& name, const QString& text = QString())
{
    auto* t = new QLineEdit(text, parent);
    t->setObjectName(name);
    t->setReadOnly(true);
    return t;
}

} // namespace

frmHaupt::frmHaupt(AppState& state, Registry& reg, Systemumgebung& system, Datenquellen& quellen, Dialogs& dialogs,
                   QWidget* parent, Druckausgabe* druck)
    : QMainWindow(parent), m_state(state), m_quellen(quellen), m_dialogs(dialogs),
      m_druck(druck ? *druck : druckdialog()), m_logik(state, reg, system, quellen, dialogs, *this),
      m_berichte(std::make_unique<BerichtAnzeige>(dialogs, this, &m_druck,
                                                  state.pfadImProgrammordner(kSpeicherordnerDatei)))
{
    setObjectName(QStringLiteral("frmHaupt"));
    aufbauen();
    menueAufbauen();
}

frmHaupt::~frmHaupt() = default;

void frmHaupt::aufbauen()
{
    auto* mitte = new QWidget(this);
    mitte->setObjectName(QStringLiteral("Hauptbereich"));
    setCentralWidget(mitte);
    // The window's colour behind every control.
    QPalette pal = palette();
    pal.setColor(QPalette::Window, QColor(28, 145, 183));
    setPalette(pal);
    setAutoFillBackground(true);

    auto* g = new QGridLayout(mitte);
    g->setContentsMargins(16, 8, 16, 8);
    g->setHorizontalSpacing(8);
    g->setVerticalSpacing(6);

    m_combo1 = new AufklappListe(mitte);
    m_combo1->setObjectName(QStringLiteral("Combo1"));
    m_combo1->setEditText(kAlle);
    m_combo1->setToolTip(
        QStringLiteral("Auswahl der auszuwertenden Nebenstelle; \"alle\" steht für keine Einschränkung"));
    m_combo2 = new AufklappListe(mitte);
    m_combo2->setObjectName(QStringLiteral("Combo2"));
    m_combo2->setEditText(kAlle);
    m_combo2->setToolTip(QStringLiteral(
        "Auswahl der auszuwertenden Datums- und Zeitbereiche; \"alle\" steht für keine Einschränkung"));
    m_combo3 = new AufklappListe(mitte);
    m_combo3->setObjectName(QStringLiteral("Combo3"));
    m_combo3->setEditText(kAlle);
    m_combo3->setToolTip(QStringLiteral("Ende des auszuwertenden Zeitraums: ein Datum schließt den ganzen Tag ein, "
                                        "ein Eintrag der Liste das Gespräch, das dann begann; \"alle\" steht für "
                                        "keine Einschränkung"));
    m_text1 = textfeld(mitte, QStringLiteral("Text1"), QStringLiteral("0"));
    m_text1->setToolTip(QStringLiteral("Anzahl gefundener Sätze laut Auswertungsvorgabe"));
    m_text1->setAlignment(Qt::AlignRight);
    m_text2 = textfeld(mitte, QStringLiteral("Text2"));
    m_text3 = textfeld(mitte, QStringLiteral("Text3"));
    m_check1 = new QCheckBox(mitte);
    m_check1->setObjectName(QStringLiteral("Check1"));
    m_check2 = new QCheckBox(mitte);
    m_check2->setObjectName(QStringLiteral("Check2"));
    m_check3 = new QCheckBox(mitte);
    m_check3->setObjectName(QStringLiteral("Check3"));
    m_check3->setAccessibleName(kCheck3Text);
    m_label2 = new Ueberschrift(kUeberschrift, mitte);
    m_label2->setObjectName(QStringLiteral("Label2"));
    m_list1 = new QListView(mitte);
    m_list1->setObjectName(QStringLiteral("List1"));
    m_list1->setModel(&m_logik.liste());
    m_list1->setUniformItemSizes(true);
    m_list1->setLayoutMode(QListView::Batched);
    m_list1->setBatchSize(500);
    m_list1->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_list1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_list1->setItemDelegate(new SpaltenDelegate(m_label2, m_list1));
    m_list1->setMinimumHeight(316);
    // Copying lines gives their text: the six values joined by tabs.
    auto* kopieren = new QAction(QStringLiteral("Kopieren"), m_list1);
    kopieren->setObjectName(QStringLiteral("List1Kopieren"));
    kopieren->setShortcut(QKeySequence::Copy);
    kopieren->setShortcutContext(Qt::WidgetShortcut);
    m_list1->addAction(kopieren);
    m_list1->setContextMenuPolicy(Qt::ActionsContextMenu);
    connect(kopieren, &QAction::triggered, this, [this] {
        QModelIndexList auswahl = m_list1->selectionModel()->selectedRows();
        std::sort(auswahl.begin(), auswahl.end(),
                  [](const QModelIndex& a, const QModelIndex& b) { return a.row() < b.row(); });
        QStringList zeilen;
        for (const auto& i : auswahl)
            zeilen << i.data().toString();
        if (!zeilen.isEmpty())
            QGuiApplication::clipboard()->setText(zeilen.join(QLatin1Char('\n')));
    });
    m_progressBar1 = new QProgressBar(mitte);
    m_progressBar1->setObjectName(QStringLiteral("ProgressBar1"));
    m_progressBar1->setRange(0, 100);
    m_progressBar1->setValue(0);
    m_progressBar1->setTextVisible(false);

    // Rows and columns as the controls stand: labels on the left, the
    // selections in the middle, kind of database and count on the right.
    g->addWidget(label(mitte, QStringLiteral("Label4"), QStringLiteral("Auswertung für Nebenstelle:")), 0, 0);
    g->addWidget(m_combo1, 0, 1, 1, 2);
    g->addWidget(label(mitte, QStringLiteral("Label6"), QStringLiteral("Datenbanktyp:")), 0, 3, 1, 2);
    g->addWidget(label(mitte, QStringLiteral("Label5"), QStringLiteral("Auswertung ab Datum/Zeit:")), 1, 0);
    g->addWidget(m_combo2, 1, 1);
    g->addWidget(m_text2, 1, 3, 1, 2);
    g->addWidget(label(mitte, QStringLiteral("Label11"), QStringLiteral("Auswertung bis Datum/Zeit:")), 2, 0);
    g->addWidget(m_combo3, 2, 1);
    auto* hinweis =
        label(mitte, QStringLiteral("lblDatumHinweis"),
              QStringLiteral("Datum eintippen (TT.MM.JJJJ, auch mit Uhrzeit) oder aus der Liste wählen"));
    g->addWidget(hinweis, 3, 1, 1, 4);
    g->addWidget(label(mitte, QStringLiteral("Label8"), QStringLiteral("Datenbankdatei:")), 4, 0);
    g->addWidget(m_text3, 4, 1, 1, 4);
    g->addWidget(label(mitte, QStringLiteral("Label1"), QStringLiteral("Datensätze laut Agfeo TK-Bill Datenbank:")),
                 5, 0, 1, 2);
    g->addWidget(label(mitte, QStringLiteral("Label3"), QStringLiteral("Anzahl Sätze:")), 5, 2, 1, 1,
                 Qt::AlignRight);
    g->addWidget(m_text1, 5, 4);
    g->addWidget(label(mitte, QStringLiteral("Label7"),
                       QStringLiteral("Auswertung soll ohne Druck der MwST erzeugt werden ja/nein:")),
                 6, 0, 1, 2);
    g->addWidget(m_check1, 6, 2);
    g->addWidget(label(mitte, QStringLiteral("Label9"),
                       QStringLiteral("Rufnummern im Report um die letzten drei Ziffern kürzen")),
                 7, 0, 1, 2);
    g->addWidget(m_check2, 7, 2);
    g->addWidget(label(mitte, QStringLiteral("Label10"), kCheck3Text), 8, 0, 1, 2);
    g->addWidget(m_check3, 8, 2);
    g->addWidget(m_label2, 9, 0, 1, 5);
    g->addWidget(m_list1, 10, 0, 1, 5);
    g->addWidget(m_progressBar1, 11, 0, 1, 5);
    g->setColumnStretch(1, 3);
    g->setColumnStretch(2, 1);
    g->setColumnStretch(3, 0);
    g->setColumnStretch(4, 1);
    g->setColumnMinimumWidth(0, 150);
    g->setColumnMinimumWidth(4, 70);
    g->setRowStretch(10, 1);
    resize(760, 620);

    connect(m_combo1, &AufklappListe::aufklappen, this, [this] { befehl([this] { m_logik.Combo1_DropDown(); }); });
    connect(m_combo2, &AufklappListe::aufklappen, this, [this] { befehl([this] { m_logik.Combo2_DropDown(); }); });
    connect(m_combo3, &AufklappListe::aufklappen, this, [this] { befehl([this] { m_logik.Combo3_DropDown(); }); });
    connect(m_check1, &QCheckBox::clicked, this,
            [this](bool an) { befehl([this, an] { m_logik.Check1_Click(an); }); });
    connect(m_check2, &QCheckBox::clicked, this,
            [this](bool an) { befehl([this, an] { m_logik.Check2_Click(an); }); });
    connect(m_check3, &QCheckBox::clicked, this,
            [this](bool an) { befehl([this, an] { m_logik.Check3_Click(an); }); });
    m_laufGesperrt = {m_combo1, m_combo2, m_combo3};
}

QAction* frmHaupt::eintrag(QMenu* menue, const QString& name, const QString& text, const QKeySequence& kurz)
{
    QAction* a = menue->addAction(text);
    a->setObjectName(name);
    if (!kurz.isEmpty())
        a->setShortcut(kurz);
    a->setShortcutContext(Qt::WindowShortcut);
    return a;
}

void frmHaupt::menueAufbauen()
{
    QMenuBar* leiste = menuBar();
    leiste->setObjectName(QStringLiteral("Menueleiste"));
    auto menue = [&](const QString& name, const QString& text) {
        QMenu* m = leiste->addMenu(text);
        m->setObjectName(name);
        m->menuAction()->setObjectName(name + QStringLiteral("Eintrag"));
        return m;
    };

    QMenu* datei = menue(QStringLiteral("mnuFile"), QStringLiteral("&Datei"));
    connect(eintrag(datei, QStringLiteral("mnuFileClose"), QStringLiteral("&Schließen"),
                    QKeySequence(QStringLiteral("Ctrl+S"))),
            &QAction::triggered, this, [this] { befehl([this] { close(); }); });

    QMenu* auswertung = menue(QStringLiteral("mnuAuswertung"), QStringLiteral("&Auswertung"));
    QAction* report = eintrag(auswertung, QStringLiteral("mnuReport"), QStringLiteral("&Report erstellen"),
                              QKeySequence(QStringLiteral("Ctrl+R")));
    connect(report, &QAction::triggered, this, [this] { lauf(&Hauptfenster::mnuReport); });
    QAction* reportEigen = eintrag(auswertung, QStringLiteral("mnuReportEigen"),
                                   QStringLiteral("Report mit eigenem Minutenpreis erstellen"),
                                   QKeySequence(QStringLiteral("Ctrl+E")));
    connect(reportEigen, &QAction::triggered, this, [this] { lauf(&Hauptfenster::mnuReportEigen); });
    QAction* lesen =
        eintrag(auswertung, QStringLiteral("mnuLesenBill"), QStringLiteral("&TK-Bill Daten einlesen (ohne Report)"),
                QKeySequence(QStringLiteral("Ctrl+T")));
    connect(lesen, &QAction::triggered, this, [this] { befehl([this] { m_logik.mnuLesenBill(); }); });
    m_laufGesperrtAktionen = {report, reportEigen, lesen};

    QMenu* einstellungen = menue(QStringLiteral("mnuEinstellungen"), QStringLiteral("&Einstellungen"));
    connect(eintrag(einstellungen, QStringLiteral("mnuMehrwertsteuerEinstellen"),
                    QStringLiteral("&Mehrwertsteuer einstellen"), QKeySequence(QStringLiteral("Ctrl+L"))),
            &QAction::triggered, this,
            [this] { befehl([this] { mnuMehrwertsteuerEinstellen(m_state, m_dialogs); }); });
    connect(eintrag(einstellungen, QStringLiteral("mnuMinutenpreisEinstellen"),
                    QStringLiteral("&eigenen Minutenpreis einstellen"), QKeySequence(QStringLiteral("Ctrl+M"))),
            &QAction::triggered, this,
            [this] { befehl([this] { mnuMinutenpreisEinstellen(m_state, m_dialogs); }); });
    connect(eintrag(einstellungen, QStringLiteral("mnuKostenaufschlag"),
                    QStringLiteral("&Kostenaufschlag für Rechnungserstellung"),
                    QKeySequence(QStringLiteral("Ctrl+K"))),
            &QAction::triggered, this, [this] { befehl([this] { mnuKostenaufschlag(m_state, m_dialogs); }); });
    connect(eintrag(einstellungen, QStringLiteral("mnuInternetadresse"),
                    QStringLiteral("&Internetadresse einstellen"), QKeySequence()),
            &QAction::triggered, this, [this] { befehl([this] { mnuInternetadresse(m_state, m_dialogs); }); });
    connect(eintrag(einstellungen, QStringLiteral("mnuDatenbankpfadneu"),
                    QStringLiteral("&Datenbankpfad neu eingeben"), QKeySequence(QStringLiteral("Ctrl+D"))),
            &QAction::triggered, this, [this] {
                befehl([this] {
                    // The program ends at once: the closing steps do not run.
                    m_programmEndet = true;
                    m_logik.mnuDatenbankpfadneu();
                    m_programmEndet = false;
                });
            });

    for (QAction* a : einstellungen->actions())
        m_laufGesperrtAktionen << a;

    QMenu* tarife = menue(QStringLiteral("mnuTariftabellen"), QStringLiteral("&Tariftabellen"));
    QAction* pflege = eintrag(tarife, QStringLiteral("mnuPflege"), QStringLiteral("&pflegen"),
                              QKeySequence(QStringLiteral("Ctrl+P")));
    m_laufGesperrtAktionen << pflege;
    connect(pflege, &QAction::triggered, this, [this] {
        befehl([this] {
            frmEingabe editor(m_state, m_quellen, m_dialogs, this);
            editor.exec();
        });
    });
    QAction* pruefen = eintrag(tarife, QStringLiteral("mnuPruefen"), QStringLiteral("&prüfen"), QKeySequence());
    m_laufGesperrtAktionen << pruefen;
    connect(pruefen, &QAction::triggered, this, [this] {
        // As the batch command's --tarife-pruefen: the calls of the selection are read in and checked too.
        befehl([this] {
            if (m_logik.mnuLesenBill())
                TarifpruefungFenster::zeigen(m_state, m_quellen, m_dialogs, m_druck, this);
        });
    });

    QAction* exportieren =
        eintrag(tarife, QStringLiteral("mnuTarifeExportieren"), QStringLiteral("&exportieren…"), QKeySequence());
    connect(exportieren, &QAction::triggered, this, [this] { befehl([this] { m_logik.mnuTarifeExportieren(); }); });
    QAction* importieren =
        eintrag(tarife, QStringLiteral("mnuTarifeImportieren"), QStringLiteral("&importieren…"), QKeySequence());
    connect(importieren, &QAction::triggered, this, [this] { befehl([this] { m_logik.mnuTarifeImportieren(); }); });
    m_laufGesperrtAktionen << exportieren << importieren;

    QMenu* hilfe = menue(QStringLiteral("mnuHilfe"), QStringLiteral("&Hilfe"));
    connect(eintrag(hilfe, QStringLiteral("mnuWin7"), QStringLiteral("Hinweis für Windows 7 und Vista"),
                    QKeySequence(Qt::Key_F1)),
            &QAction::triggered, this, [this] {
                befehl([this] {
                    QtHilfeAnzeige anzeige(this);
                    mnuWin7(m_state, m_dialogs, anzeige);
                });
            });
    connect(eintrag(hilfe, QStringLiteral("mnuHilfeklick"), QStringLiteral("&Hilfe aufrufen"), QKeySequence()),
            &QAction::triggered, this, [this] {
                befehl([this] {
                    QtHilfeAnzeige anzeige(this);
                    mnuHilfeklick(m_state, anzeige);
                });
            });
}

void frmHaupt::befehl(const std::function<void()>& f)
{
    befehlAusfuehren(m_dialogs, f);
}

void frmHaupt::lauf(void (Hauptfenster::*befehl)())
{
    befehlAusfuehren(m_dialogs, [this, befehl] { (m_logik.*befehl)(); });
    // The window was closed during the run: it closes now that the run has stopped.
    if (m_schliessenNachLauf && !m_logik.laeuft()) {
        m_schliessenNachLauf = false;
        close();
    }
}

void frmHaupt::laden(const StartPfade& pfade)
{
    m_logik.laden(pfade);
}

void frmHaupt::closeEvent(QCloseEvent* ev)
{
    if (m_logik.laeuft() && !m_programmEndet) {
        // The run stops after its current call; then the window closes.
        m_logik.laufAnhalten();
        m_schliessenNachLauf = true;
        ev->ignore();
        return;
    }
    if (!m_programmEndet) {
        // Every other window of the program closes with the main window.
        for (QWidget* w : QApplication::topLevelWidgets())
            if (w != this && w->isVisible() && w->isWindow())
                w->close();
        emit geschlossen();
    }
    ev->accept();
}

void frmHaupt::captionSetzen(const QString& caption)
{
    setWindowTitle(caption);
}

void frmHaupt::text1Setzen(const QString& text)
{
    m_text1->setText(text);
}

void frmHaupt::text2Setzen(const QString& text)
{
    m_text2->setText(text);
}

void frmHaupt::text3Setzen(const QString& text)
{
    m_text3->setText(text);
}

void frmHaupt::fortschrittSetzen(int wert)
{
    m_progressBar1->setValue(wert);
}

void frmHaupt::fortschrittMaximum(int maximum)
{
    m_progressBar1->setRange(0, maximum);
}

void frmHaupt::ereignisseVerarbeiten()
{
    QCoreApplication::processEvents();
}

void frmHaupt::laufAnzeigen(bool laeuft)
{
    for (QWidget* w : std::as_const(m_laufGesperrt))
        w->setEnabled(!laeuft);
    for (QAction* a : std::as_const(m_laufGesperrtAktionen))
        a->setEnabled(!laeuft);
    m_check1->setEnabled(!laeuft);
    m_check2->setEnabled(!laeuft);
    m_check3->setEnabled(!laeuft);
}

std::unique_ptr<TarifeditorOeffner> frmHaupt::tarifeditor(SQLite::Database& lokal)
{
    return std::make_unique<QtTarifeditorOeffner>(m_state, lokal, m_dialogs, this);
}

void frmHaupt::berichtZeigen(Telefonkostenauswertung bericht, const QString& dateiname)
{
    m_berichte->zeigen(std::move(bericht), dateiname);
}

bool frmHaupt::tarifimportBestaetigen(Tarifpruefung pruefung, const QString& datei)
{
    return TarifpruefungFenster::uebernehmenFragen(std::move(pruefung), datei, m_dialogs, m_druck, this,
                                                   m_state.pfadImProgrammordner(kSpeicherordnerDatei));
}

QString frmHaupt::combo1Text() const
{
    return m_combo1->currentText();
}

QString frmHaupt::combo2Text() const
{
    return m_combo2->currentText();
}

QString frmHaupt::combo3Text() const
{
    return m_combo3->currentText();
}

namespace {
void comboSetzen(QComboBox* c, const QStringList& eintraege, const QString& text)
{
    const QSignalBlocker still(c);
    c->clear();
    c->addItems(eintraege);
    c->setCurrentIndex(-1);
    c->setEditText(text);
}
} // namespace

void frmHaupt::combo1Setzen(const QStringList& eintraege, const QString& text)
{
    comboSetzen(m_combo1, eintraege, text);
}

void frmHaupt::combo2Setzen(const QStringList& eintraege, const QString& text)
{
    comboSetzen(m_combo2, eintraege, text);
}

void frmHaupt::combo3Setzen(const QStringList& eintraege, const QString& text)
{
    comboSetzen(m_combo3, eintraege, text);
}

} // namespace orve
