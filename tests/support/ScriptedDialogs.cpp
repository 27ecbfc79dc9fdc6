#include "ScriptedDialogs.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace orve::test {

ScriptedDialogs::~ScriptedDialogs()
{
    if (!m_script.empty())
        ADD_FAILURE() << m_script.size() << " scripted answer(s) never asked for";
}

ScriptedDialogs& ScriptedDialogs::skript(const QStringList& schritte)
{
    static const QStringList antworten = {"Ok", "Cancel", "Yes", "No"};
    for (const QString& s : schritte) {
        if (!s.startsWith(u'=') && !antworten.contains(s))
            throw std::invalid_argument("unknown script step " + s.toStdString());
        s.startsWith(u'=') ? type(s.mid(1)) : answer(Answer(antworten.indexOf(s)));
    }
    return *this;
}

const RecordedBox& ScriptedDialogs::next(RecordedBox box, const QString& text)
{
    static const char* const art[] = {"message box: ", "input box: ", "file question: ", "folder question: "};
    const std::string what = art[int(box.kind)] + text.toStdString();
    const bool erwartet = !m_script.empty() && m_script.front().kind == box.kind;
    if (erwartet) {
        box.answer = m_script.front().answer;
        box.reply = m_script.front().reply;
        m_script.pop_front();
    }
    m_boxes.push_back(box);
    if (!erwartet) {
        ADD_FAILURE() << "unexpected " << what;
        throw std::runtime_error("unexpected " + what);
    }
    return m_boxes.back();
}

std::vector<Message> ScriptedDialogs::messages() const
{
    std::vector<Message> out;
    for (const auto& b : m_boxes)
        if (b.kind == RecordedBox::Kind::Message)
            out.push_back(b.message);
    return out;
}

QStringList ScriptedDialogs::protokoll() const
{
    static const char* const knoepfe[] = {"Ok", "OkCancel", "YesNo", "YesNoCancel"};
    static const char* const symbole[] = {"None", "Critical", "Information", "Stop"};
    static const char* const antworten[] = {"Ok", "Cancel", "Yes", "No"};
    auto cr = [](QString t) { return t.replace(CR, QStringLiteral("\\r")); };
    QStringList z;
    for (const auto& b : m_boxes) {
        const Message& m = b.message;
        if (b.kind == RecordedBox::Kind::File || b.kind == RecordedBox::Kind::Folder)
            z << QStringLiteral("%1 %2 | %3")
                     .arg(QLatin1String(b.kind == RecordedBox::Kind::File ? "F" : "O"), b.file.title,
                          b.file.preset);
        else if (b.kind == RecordedBox::Kind::Input)
            z << QStringLiteral("I %1 | %2 | %3").arg(b.input.title, cr(b.input.prompt), b.input.preset);
        else
            z << QStringLiteral("M %1 | %2 | %3 %4")
                         .arg(m.title, cr(m.text), QLatin1String(knoepfe[int(m.buttons)]),
                              QLatin1String(symbole[int(m.icon)]))
                     + (m.defaultButton ? " default " + QLatin1String(antworten[int(*m.defaultButton)])
                                        : QString());
    }
    return z;
}

} // namespace orve::test
