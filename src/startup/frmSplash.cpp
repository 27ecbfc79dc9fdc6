#include "startup/frmSplash.h"

#include "common/AppState.h"
#include "common/Version.h"

#include <QCloseEvent>
#include <QFont>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QShowEvent>
#include <QVBoxLayout>

namespace orve {

namespace {

// The program's logo, drawn (no image file needed).
QPixmap orveLogo(int breite, int hoehe)
{
    QPixmap bild(breite, hoehe);
    bild.fill(Qt::transparent);
    QPainter p(&bild);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF feld(1, 1, breite - 2, hoehe - 2);

    // Background: the program's blue, lighter at the top.
    QLinearGradient verlauf(feld.topLeft(), feld.bottomLeft());
    verlauf.setColorAt(0, QColor(64, 178, 214));
    verlauf.setColorAt(1, QColor(20, 110, 145));
    p.setPen(QPen(QColor(14, 80, 106), 2));
    p.setBrush(verlauf);
    p.drawRoundedRect(feld, breite * 0.12, hoehe * 0.12);

    // Rising bars: the costs being added up.
    const double basis = hoehe * 0.62;
    const double balken = breite * 0.09;
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 255, 255, 90));
    const double hoehen[] = {0.14, 0.22, 0.31, 0.42};
    for (int i = 0; i < 4; ++i) {
        const double x = breite * 0.50 + i * balken * 1.35;
        const double h = hoehe * hoehen[i];
        p.drawRoundedRect(QRectF(x, basis - h, balken, h), 2, 2);
    }

    // A telephone handset.
    QPainterPath hoerer;
    const double w = breite, h = hoehe;
    hoerer.moveTo(w * 0.14, h * 0.20);
    hoerer.cubicTo(w * 0.20, h * 0.12, w * 0.30, h * 0.14, w * 0.33, h * 0.22);
    hoerer.lineTo(w * 0.29, h * 0.30);
    hoerer.cubicTo(w * 0.26, h * 0.33, w * 0.24, h * 0.33, w * 0.23, h * 0.35);
    hoerer.cubicTo(w * 0.24, h * 0.42, w * 0.29, h * 0.49, w * 0.35, h * 0.53);
    hoerer.cubicTo(w * 0.37, h * 0.52, w * 0.38, h * 0.50, w * 0.41, h * 0.47);
    hoerer.lineTo(w * 0.49, h * 0.51);
    hoerer.cubicTo(w * 0.55, h * 0.55, w * 0.55, h * 0.63, w * 0.48, h * 0.68);
    hoerer.cubicTo(w * 0.30, h * 0.72, w * 0.10, h * 0.45, w * 0.14, h * 0.20);
    hoerer.closeSubpath();
    p.setBrush(Qt::white);
    p.setPen(QPen(QColor(14, 80, 106), 1.5));
    p.drawPath(hoerer);

    // The name.
    QFont schrift(QStringLiteral("Liberation Sans"));
    schrift.setBold(true);
    schrift.setPixelSize(qMax(8, static_cast<int>(hoehe * 0.20)));
    p.setFont(schrift);
    p.setPen(Qt::white);
    p.drawText(QRectF(0, hoehe * 0.68, breite, hoehe * 0.26), Qt::AlignCenter, QStringLiteral("ORVE"));
    return bild;
}

} // namespace

frmSplash::frmSplash(AppState& state, Registry& reg, Systemumgebung& system, Dialogs& dialogs, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::WindowTitleHint | Qt::WindowCloseButtonHint), m_state(state), m_reg(reg),
      m_system(system), m_dialogs(dialogs)
{
    setObjectName(QStringLiteral("frmSplash"));
    setWindowTitle(kProduktName);

    auto* aussen = new QVBoxLayout(this);
    aussen->setContentsMargins(8, 8, 8, 8);
    m_fraMainFrame = new QFrame(this);
    m_fraMainFrame->setObjectName(QStringLiteral("fraMainFrame"));
    m_fraMainFrame->setFrameShape(QFrame::Box);
    m_fraMainFrame->setFrameShadow(QFrame::Sunken);
    m_fraMainFrame->installEventFilter(this);
    aussen->addWidget(m_fraMainFrame);

    auto benannt = [](QWidget* w, const char* name) {
        w->setObjectName(QLatin1String(name));
        return w;
    };

    m_ORVE_Logo = new QLabel(m_fraMainFrame);
    benannt(m_ORVE_Logo, "ORVE_Logo");
    m_ORVE_Logo->setPixmap(orveLogo(160, 160));
    m_ORVE_Logo->setFixedSize(160, 160);

    m_lblProductName = new QLabel(kProduktName, m_fraMainFrame);
    benannt(m_lblProductName, "lblProductName");
    QFont gross = m_lblProductName->font();
    gross.setPointSize(26);
    gross.setBold(true);
    m_lblProductName->setFont(gross);

    m_lblPlatform = new QLabel(QStringLiteral("Plattform: Windows 95/98/Me/XP/2000"), m_fraMainFrame);
    benannt(m_lblPlatform, "lblPlatform");
    m_lblVersion = new QLabel(QStringLiteral("Version"), m_fraMainFrame);
    benannt(m_lblVersion, "lblVersion");
    QFont mittel = m_lblPlatform->font();
    mittel.setPointSize(11);
    mittel.setBold(true);
    m_lblPlatform->setFont(mittel);
    m_lblVersion->setFont(mittel);
    m_lblPlatform->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    m_lblVersion->setAlignment(Qt::AlignRight | Qt::AlignVCenter);

    m_Label1 = new QLabel(QStringLiteral("Programmname:"), m_fraMainFrame);
    benannt(m_Label1, "Label1");
    m_Text1 = new QPlainTextEdit(m_fraMainFrame);
    benannt(m_Text1, "Text1");
    m_Text1->setReadOnly(true);
    m_Text1->setFocusPolicy(Qt::NoFocus);
    m_Text1->setFixedHeight(m_Text1->fontMetrics().lineSpacing() * 3 + 12);

    m_Label3 = new QLabel(QStringLiteral("Anwendername:"), m_fraMainFrame);
    benannt(m_Label3, "Label3");
    m_Username = new QLineEdit(QStringLiteral("Text2"), m_fraMainFrame);
    benannt(m_Username, "Username");
    m_Username->setReadOnly(true);
    m_Username->setFocusPolicy(Qt::NoFocus);

    m_Label2 = new QLabel(QStringLiteral("Mdac Version"), m_fraMainFrame);
    benannt(m_Label2, "Label2");

    m_lblCopyright = new QLabel(m_fraMainFrame);
    benannt(m_lblCopyright, "lblCopyright");
    m_Rechtslage = new QLabel(m_fraMainFrame);
    benannt(m_Rechtslage, "Rechtslage");
    m_Rechtslage->setWordWrap(true);

    m_Command1 = new QPushButton(QStringLiteral("Weiter"), m_fraMainFrame);
    benannt(m_Command1, "Command1");
    m_Command1->setMinimumWidth(110);
    connect(m_Command1, &QPushButton::clicked, this, &QWidget::close);

    // Logo on the left; name, platform and version on the right; the
    // program, user and data-access lines below; notices and the button at
    // the bottom.
    auto* raster = new QGridLayout(m_fraMainFrame);
    raster->setContentsMargins(16, 16, 16, 12);
    raster->setHorizontalSpacing(12);
    raster->setVerticalSpacing(8);

    auto* kopf = new QVBoxLayout;
    kopf->addWidget(m_lblProductName, 0, Qt::AlignRight);
    kopf->addStretch(1);
    kopf->addWidget(m_lblPlatform);
    kopf->addWidget(m_lblVersion);
    raster->addWidget(m_ORVE_Logo, 0, 0, Qt::AlignTop | Qt::AlignLeft);
    raster->addLayout(kopf, 0, 1, 1, 2);

    raster->addWidget(m_Label1, 1, 0, Qt::AlignTop | Qt::AlignRight);
    raster->addWidget(m_Text1, 1, 1, 1, 2);
    raster->addWidget(m_Label3, 2, 0, Qt::AlignRight);
    raster->addWidget(m_Username, 2, 1, 1, 2);
    raster->addWidget(m_Label2, 3, 1, 1, 2);

    auto* fuss = new QHBoxLayout;
    auto* hinweise = new QVBoxLayout;
    hinweise->addWidget(m_lblCopyright);
    hinweise->addWidget(m_Rechtslage);
    fuss->addLayout(hinweise, 1);
    fuss->addWidget(m_Command1, 0, Qt::AlignBottom);
    raster->addLayout(fuss, 4, 0, 1, 3);
    raster->setColumnStretch(1, 1);

    m_Command1->setFocus();
    setFixedSize(QSize(600, 400).expandedTo(sizeHint()));
}

void frmSplash::laden()
{
    splashLaden(m_state, m_reg, m_system, m_dialogs, m_anzeige);
    anzeigen();
}

void frmSplash::anzeigen()
{
    m_Label2->setText(m_anzeige.Label2);
    m_Username->setText(m_anzeige.Username);
    m_lblProductName->setText(m_anzeige.lblProductName);
    m_lblVersion->setText(m_anzeige.lblVersion);
    m_lblCopyright->setText(m_anzeige.lblCopyright);
    m_Text1->setPlainText(m_anzeige.Text1);
    m_Rechtslage->clear();
}

void frmSplash::keyPressEvent(QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_Shift:
    case Qt::Key_Control:
    case Qt::Key_Alt:
    case Qt::Key_AltGr:
    case Qt::Key_Meta:
    case Qt::Key_Super_L:
    case Qt::Key_Super_R:
        QWidget::keyPressEvent(event);
        return;
    default:
        event->accept();
        close();
    }
}

bool frmSplash::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_fraMainFrame && event->type() == QEvent::MouseButtonRelease) {
        close();
        return true;
    }
    if (watched == m_fraMainFrame && event->type() == QEvent::MouseButtonPress)
        return true; // the release that follows closes the window
    return QWidget::eventFilter(watched, event);
}

void frmSplash::showEvent(QShowEvent* event)
{
    // Centred on the screen the first time it appears.
    if (!m_zentriert && !parentWidget()) {
        m_zentriert = true;
        if (const QScreen* s = screen()) {
            QRect r = frameGeometry();
            r.moveCenter(s->availableGeometry().center());
            move(r.topLeft());
        }
    }
    QWidget::showEvent(event);
}

void frmSplash::closeEvent(QCloseEvent* event)
{
    event->accept();
    if (!m_gemeldet) {
        m_gemeldet = true;
        emit geschlossen();
    }
}

} // namespace orve
