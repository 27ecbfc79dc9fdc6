#pragma once

#include "common/Dialogs.h"

#include <QStringList>

#include <cstdio>

namespace orve {

// The answers of the batch command, where the window would ask: every
// message is written to the error output and answered with the choice that
// goes no further (No, Cancel, OK alone); an input box, a file and a folder question get no text. So a
// missing setting or path ends the run with its message, as the window
// would after the user gave up. A question with three answers (a number
// without tariff, a surcharge factor that may be a percentage) is answered
// No without its text: the run names those itself.
class StapelDialogs : public Dialogs {
public:
    explicit StapelDialogs(std::FILE* ausgabe = stderr) : m_ausgabe(ausgabe) {}

    Answer message(const Message& m) override;
    QString input(const InputRequest& r) override;
    QString saveFile(const FileRequest& r) override;
    QString chooseFolder(const FolderRequest& r) override;
    QString openFile(const FileRequest& r) override;
    using Dialogs::input;
    using Dialogs::message;

private:
    void schreiben(const QString& text);
    std::FILE* m_ausgabe;
};

} // namespace orve
