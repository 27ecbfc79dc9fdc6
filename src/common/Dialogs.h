#pragma once

#include <QString>
#include <QStringList>

#include <optional>

namespace orve {

// Carriage return (character 13): joins the lines of every message text.
inline constexpr QChar CR = QChar(13);

// Joins message lines with CR; an empty line between two gives "CR CR".
QString zeilen(const QStringList& teile);

enum class Buttons { Ok, OkCancel, YesNo, YesNoCancel };
enum class Icon { None, Critical, Information, Stop };
enum class Answer { Ok, Cancel, Yes, No };

struct Message {
    QString text; // lines joined with CR
    QString title;
    Buttons buttons = Buttons::Ok;
    Icon icon = Icon::None;
    std::optional<Answer> defaultButton; // first button when not given
};

struct InputRequest {
    QString prompt; // lines joined with CR
    QString title;
    QString preset;
    bool offerFileChooser = false; // a "Durchsuchen…" button beside the text
};

struct FileRequest {
    QString title;
    QString preset; // suggested path, native separators
    QString filter; // "PDF-Dateien (*.pdf)"
    QString suffix; // added when the name typed has none ("pdf")
};

struct FolderRequest {
    QString title;
    QString preset; // the folder shown first, native separators
};

// Everything the logic asks the user in the middle of an operation goes
// through this interface: message boxes, input boxes and the questions for
// the name of a file to save or to read, and for a folder. The windows hand in
// the Qt implementation, tests a scripted one that records every box.
class Dialogs {
public:
    virtual ~Dialogs() = default;
    virtual Answer message(const Message& m) = 0;
    // The confirmed text, or the empty text when the box was cancelled.
    virtual QString input(const InputRequest& r) = 0;
    // The path of the file to write (native separators; an existing file
    // was confirmed for replacing), or the empty text when cancelled.
    virtual QString saveFile(const FileRequest& r) = 0;
    // The path of an existing folder (native separators), or the empty text when cancelled.
    virtual QString chooseFolder(const FolderRequest& r) = 0;
    // The path of an existing file to read (native separators), or the
    // empty text when cancelled. FileRequest::suffix is not used.
    virtual QString openFile(const FileRequest& r) = 0;

    // Shorthands.
    Answer message(const QString& text, const QString& title, Buttons b = Buttons::Ok, Icon i = Icon::None,
                   std::optional<Answer> def = std::nullopt)
    {
        return message(Message {text, title, b, i, def});
    }
    QString input(const QString& prompt, const QString& title, const QString& preset)
    {
        return input(InputRequest {prompt, title, preset, false});
    }
    // The file question offering `dateiname` in `ordner`, the home folder
    // when that is empty.
    QString speichernUnter(const QString& titel, const QString& dateiname, const QString& filter,
                           const QString& endung, const QString& ordner = QString());
};

} // namespace orve
