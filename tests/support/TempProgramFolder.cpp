#include "TempProgramFolder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <stdexcept>

namespace orve::test {

TempProgramFolder::TempProgramFolder()
{
    if (!m_dir.isValid())
        throw std::runtime_error("cannot create a temporary program folder");
    QDir d(m_dir.path());
    d.mkpath(QStringLiteral("Datenbank"));
    d.mkpath(QStringLiteral("Hilfe"));
    d.mkpath(QStringLiteral("Registry"));
    m_state.programmOrdner = QDir::toNativeSeparators(m_dir.path());
}

QString TempProgramFolder::file(const QString& relative) const
{
    return QDir::toNativeSeparators(QDir(m_dir.path()).filePath(relative));
}

void TempProgramFolder::writeFile(const QString& relative, const QByteArray& content) const
{
    const QString p = QDir(m_dir.path()).filePath(relative);
    QDir().mkpath(QFileInfo(p).absolutePath());
    QFile f(p);
    if (!f.open(QIODevice::WriteOnly) || f.write(content) != content.size())
        throw std::runtime_error("cannot write test file " + p.toStdString());
}

QByteArray TempProgramFolder::readFile(const QString& relative) const
{
    QFile f(QDir(m_dir.path()).filePath(relative));
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return f.readAll();
}

bool TempProgramFolder::exists(const QString& relative) const
{
    return QFileInfo::exists(QDir(m_dir.path()).filePath(relative));
}

} // namespace orve::test
