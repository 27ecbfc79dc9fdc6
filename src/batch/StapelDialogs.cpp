#include "batch/StapelDialogs.h"

#include "common/Konsolenausgabe.h"

namespace orve {

void StapelDialogs::schreiben(const QString& text)
{
    QString t = text;
    t.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(CR, QLatin1Char('\n'));
    konsoleSchreiben(m_ausgabe, t.trimmed() + QLatin1Char('\n'));
}

Answer StapelDialogs::message(const Message& m)
{
    switch (m.buttons) {
    case Buttons::Ok:
        schreiben(m.text);
        return Answer::Ok;
    case Buttons::OkCancel:
        schreiben(m.text);
        return Answer::Cancel;
    case Buttons::YesNo:
        schreiben(m.text);
        return Answer::No;
    case Buttons::YesNoCancel:
        return Answer::No;
    }
    return Answer::No;
}

QString StapelDialogs::input(const InputRequest& r)
{
    schreiben(r.prompt);
    return {};
}

QString StapelDialogs::saveFile(const FileRequest& r)
{
    schreiben(r.title);
    return {};
}

QString StapelDialogs::chooseFolder(const FolderRequest& r)
{
    schreiben(r.title);
    return {};
}

QString StapelDialogs::openFile(const FileRequest& r)
{
    schreiben(r.title);
    return {};
}

} // namespace orve
