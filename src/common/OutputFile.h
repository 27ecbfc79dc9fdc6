#pragma once

#include "common/Fehler.h"

#include <QString>

#include <memory>

class QIODevice;
class QSaveFile;

namespace orve {

// An output (CSV, PDF, the batch command's summary) that could not be
// written completely; text() names the file, the cause and what to do.
class Ausgabefehler : public Fehler {
public:
    using Fehler::Fehler;
};

// What stands at `pfad` when it is not a regular file: "ein Ordner",
// "ein Gerät", "eine benannte Pipe (FIFO)", "ein Socket". Empty for a regular
// file, a link to one and a path where nothing stands yet. Looks only at the
// file's type: a FIFO or device is never opened.
QString keineDateiArt(const QString& pfad);

// Why a write into the folder `ordner` failed, as German sentences with what
// to do: from the system's error number (errno) and, where that says
// nothing, from the free space of the folder's disk. Never "unknown".
QString schreibfehlerUrsache(int fehlerNummer, const QString& ordner);

// A file that is written completely or not at all. The bytes go to a
// temporary file beside the target; commit() puts it in place only when
// every write reached the disk, so an existing file stays unchanged when the
// disk is full or a size limit is reached. A path that names a folder,
// device, FIFO or socket is refused before anything is opened.
class OutputFile {
public:
    // `art` names the file in messages, e.g. "CSV-Datei". Throws
    // Ausgabefehler when pruefen() refuses the path or the temporary file
    // cannot be created.
    OutputFile(const QString& pfad, const QString& art);
    // Without commit() the temporary file is removed; the target is untouched.
    ~OutputFile();
    OutputFile(const OutputFile&) = delete;
    OutputFile& operator=(const OutputFile&) = delete;

    // The open device for writers that take one (QPdfWriter). Every write is
    // checked; the first that does not reach the file fails this and every
    // later write, and commit() reports it.
    QIODevice& device();
    // Writes the bytes; throws Ausgabefehler at once when they do not all
    // reach the file.
    void schreiben(const QByteArray& bytes);
    // Puts the file in place when every write reached it; otherwise throws
    // Ausgabefehler and leaves an existing file as it was.
    void commit();

    // Throws Ausgabefehler, naming the path, when it cannot be an output: it
    // exists and is no regular file, or its folder does not exist. For checks
    // before a long run starts; the constructor checks again.
    static void pruefen(const QString& pfad, const QString& art);

private:
    class Geraet;
    [[noreturn]] void fehlschlag(int fehlerNummer) const;

    QString m_pfad;
    QString m_art;
    bool m_gabEsSchon = false;
    std::unique_ptr<QSaveFile> m_datei;
    std::unique_ptr<Geraet> m_geraet;
};

} // namespace orve
