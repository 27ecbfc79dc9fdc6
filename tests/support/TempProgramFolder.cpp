#include "TempProgramFolder.h"

#include <QFile>

#include <stdexcept>

namespace orve::test {

TempProgramFolder::TempProgramFolder()
{
    for (const char* ordner : {"Datenbank", "Hilfe", "Registry"})
        if (!m_dir.isValid() || !QDir(m_dir.path()).mkpath(QLatin1String(ordner)))
            throw std::runtime_error("cannot create a temporary program folder");
    m_state.programmOrdner = QDir::toNativeSeparators(m_dir.path());
}

void TempProgramFolder::writeFile(const QString& relative, const QByteArray& content) const
{
    QFile f(pfad(relative));
    QDir().mkpath(QFileInfo(f).absolutePath());
    if (!f.open(QIODevice::WriteOnly) || f.write(content) != content.size())
        throw std::runtime_error("cannot write test file " + f.fileName().toStdString());
}

QByteArray TempProgramFolder::readFile(const QString& relative) const
{
    QFile f(pfad(relative));
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

} // namespace orve::test
