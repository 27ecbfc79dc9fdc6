#include "common/QtDialogs.h"

#include <QApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QVBoxLayout>

#include <map>

namespace orve {

namespace {

QString sichtbar(QString text)
{
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(CR, QLatin1Char('\n'));
    return text;
}

// A box opened while a modal window (the tariff editor) is up belongs to
// that window, else it would sit behind it.
QWidget* elternfenster(QWidget* parent)
{
    if (QWidget* modal = QApplication::activeModalWidget())
        return modal;
    return parent ? parent : QApplication::activeWindow();
}

} // namespace

Answer QtDialogs::message(const Message& m)
{
    QMessageBox box(elternfenster(m_parent));
    box.setWindowTitle(m.title);
    box.setText(sichtbar(m.text));
    switch (m.icon) {
    case Icon::None:
        box.setIcon(QMessageBox::NoIcon);
        break;
    case Icon::Critical:
    case Icon::Stop:
        box.setIcon(QMessageBox::Critical);
        break;
    case Icon::Information:
        box.setIcon(QMessageBox::Information);
        break;
    }
    std::map<QAbstractButton*, Answer> antworten;
    auto knopf = [&](const QString& text, QMessageBox::ButtonRole rolle, Answer a) {
        QPushButton* b = box.addButton(text, rolle);
        antworten[b] = a;
        return b;
    };
    std::map<Answer, QPushButton*> knoepfe;
    switch (m.buttons) {
    case Buttons::Ok:
        knoepfe[Answer::Ok] = knopf(QStringLiteral("OK"), QMessageBox::AcceptRole, Answer::Ok);
        break;
    case Buttons::OkCancel:
        knoepfe[Answer::Ok] = knopf(QStringLiteral("OK"), QMessageBox::AcceptRole, Answer::Ok);
        knoepfe[Answer::Cancel] = knopf(QStringLiteral("Abbrechen"), QMessageBox::RejectRole, Answer::Cancel);
        break;
    case Buttons::YesNo:
        knoepfe[Answer::Yes] = knopf(QStringLiteral("&Ja"), QMessageBox::YesRole, Answer::Yes);
        knoepfe[Answer::No] = knopf(QStringLiteral("&Nein"), QMessageBox::NoRole, Answer::No);
        break;
    case Buttons::YesNoCancel:
        knoepfe[Answer::Yes] = knopf(QStringLiteral("&Ja"), QMessageBox::YesRole, Answer::Yes);
        knoepfe[Answer::No] = knopf(QStringLiteral("&Nein"), QMessageBox::NoRole, Answer::No);
        knoepfe[Answer::Cancel] = knopf(QStringLiteral("Abbrechen"), QMessageBox::RejectRole, Answer::Cancel);
        break;
    }
    QPushButton* standard = knoepfe.begin()->second;
    if (m.buttons == Buttons::YesNo || m.buttons == Buttons::YesNoCancel)
        standard = knoepfe[Answer::Yes];
    if (m.defaultButton && knoepfe.count(*m.defaultButton))
        standard = knoepfe[*m.defaultButton];
    box.setDefaultButton(standard);
    // Escape answers Cancel where there is one, else the last button (No, or OK).
    if (knoepfe.count(Answer::Cancel))
        box.setEscapeButton(knoepfe[Answer::Cancel]);
    else if (knoepfe.count(Answer::No))
        box.setEscapeButton(knoepfe[Answer::No]);
    else
        box.setEscapeButton(knoepfe[Answer::Ok]);
    box.exec();
    const auto it = antworten.find(box.clickedButton());
    if (it != antworten.end())
        return it->second;
    return knoepfe.count(Answer::Cancel) ? Answer::Cancel : (knoepfe.count(Answer::No) ? Answer::No : Answer::Ok);
}

QString QtDialogs::input(const InputRequest& r)
{
    QDialog dlg(elternfenster(m_parent));
    dlg.setObjectName(QStringLiteral("Eingabefenster"));
    dlg.setWindowTitle(r.title);
    auto* layout = new QVBoxLayout(&dlg);
    auto* prompt = new QLabel(sichtbar(r.prompt), &dlg);
    prompt->setObjectName(QStringLiteral("Aufforderung"));
    layout->addWidget(prompt);
    auto* zeile = new QHBoxLayout;
    auto* feld = new QLineEdit(r.preset, &dlg);
    feld->setObjectName(QStringLiteral("Eingabe"));
    feld->setMinimumWidth(360);
    feld->selectAll();
    zeile->addWidget(feld);
    if (r.offerFileChooser) {
        auto* suchen = new QPushButton(QStringLiteral("Durchsuchen…"), &dlg);
        suchen->setObjectName(QStringLiteral("Durchsuchen"));
        suchen->setAutoDefault(false);
        QObject::connect(suchen, &QPushButton::clicked, &dlg, [&dlg, feld] {
            const QString start = QFileInfo(QDir::fromNativeSeparators(feld->text())).absolutePath();
            const QString datei =
                QFileDialog::getOpenFileName(&dlg, QStringLiteral("Datei bill.db wählen"), start,
                                             QStringLiteral("TK-Bill Datenbank (*.db);;Alle Dateien (*)"));
            if (!datei.isEmpty())
                feld->setText(QDir::toNativeSeparators(datei));
        });
        zeile->addWidget(suchen);
    }
    layout->addLayout(zeile);
    auto* knoepfe = new QDialogButtonBox(&dlg);
    knoepfe->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole)->setDefault(true);
    knoepfe->addButton(QStringLiteral("Abbrechen"), QDialogButtonBox::RejectRole);
    QObject::connect(knoepfe, &QDialogButtonBox::accepted, &dlg, &QDialog::accept);
    QObject::connect(knoepfe, &QDialogButtonBox::rejected, &dlg, &QDialog::reject);
    layout->addWidget(knoepfe);
    if (dlg.exec() != QDialog::Accepted)
        return QString();
    return feld->text();
}

namespace {

// The path the file dialog was closed with (native separators), or the empty
// text when it was cancelled.
QString gewaehlt(QFileDialog& dlg)
{
    if (dlg.exec() != QDialog::Accepted || dlg.selectedFiles().isEmpty())
        return QString();
    return QDir::toNativeSeparators(dlg.selectedFiles().constFirst());
}

} // namespace

QString QtDialogs::saveFile(const FileRequest& r)
{
    QFileDialog dlg(elternfenster(m_parent), r.title, QDir::fromNativeSeparators(r.preset), r.filter);
    dlg.setObjectName(QStringLiteral("Dateiauswahl"));
    dlg.setAcceptMode(QFileDialog::AcceptSave);
    dlg.setFileMode(QFileDialog::AnyFile);
    dlg.setDefaultSuffix(r.suffix);
    dlg.selectFile(QDir::fromNativeSeparators(r.preset));
    return gewaehlt(dlg);
}

QString QtDialogs::chooseFolder(const FolderRequest& r)
{
    QFileDialog dlg(elternfenster(m_parent), r.title, QDir::fromNativeSeparators(r.preset));
    dlg.setObjectName(QStringLiteral("Ordnerauswahl"));
    dlg.setFileMode(QFileDialog::Directory);
    dlg.setOption(QFileDialog::ShowDirsOnly);
    return gewaehlt(dlg);
}

QString QtDialogs::openFile(const FileRequest& r)
{
    QFileDialog dlg(elternfenster(m_parent), r.title, QDir::fromNativeSeparators(r.preset), r.filter);
    dlg.setObjectName(QStringLiteral("Dateiauswahl"));
    dlg.setAcceptMode(QFileDialog::AcceptOpen);
    dlg.setFileMode(QFileDialog::ExistingFile);
    return gewaehlt(dlg);
}

} // namespace orve
