#pragma once

#include "common/AppState.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>

namespace orve::test {

// A fresh program folder in /tmp with Datenbank/, Hilfe/ and Registry/,
// removed with the object. state() has programmOrdner set to it.
class TempProgramFolder {
public:
    TempProgramFolder();

    QString path() const { return m_dir.path(); }
    QString file(const QString& relative) const { return QDir::toNativeSeparators(pfad(relative)); }
    void writeFile(const QString& relative, const QByteArray& content) const;
    QByteArray readFile(const QString& relative) const;
    bool exists(const QString& relative) const { return QFileInfo::exists(pfad(relative)); }
    AppState& state() { return m_state; }

private:
    QString pfad(const QString& relative) const { return QDir(m_dir.path()).filePath(relative); }

    QTemporaryDir m_dir;
    AppState m_state;
};

} // namespace orve::test
