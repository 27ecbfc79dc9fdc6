#include "ScriptedDialogs.h"

#include <gtest/gtest.h>

namespace orve::test {

ScriptedDialogs::~ScriptedDialogs()
{
    if (!m_script.empty())
        ADD_FAILURE() << m_script.size() << " scripted answer(s) never asked for";
}

ScriptedDialogs& ScriptedDialogs::answer(Answer a)
{
    m_script.push_back({RecordedBox::Kind::Message, a, {}});
    return *this;
}

ScriptedDialogs& ScriptedDialogs::type(const QString& text)
{
    m_script.push_back({RecordedBox::Kind::Input, Answer::Ok, text});
    return *this;
}

ScriptedDialogs& ScriptedDialogs::cancelInput()
{
    return type(QString());
}

Answer ScriptedDialogs::message(const Message& m)
{
    RecordedBox box{RecordedBox::Kind::Message, m, {}, {}, Answer::Ok, {}};
    if (m_script.empty() || m_script.front().kind != RecordedBox::Kind::Message) {
        m_boxes.push_back(box);
        ADD_FAILURE() << "unexpected message box: " << m.text.toStdString();
        throw UnexpectedDialog("unexpected message box: " + m.text.toStdString());
    }
    box.answer = m_script.front().answer;
    m_script.pop_front();
    m_boxes.push_back(box);
    return box.answer;
}

QString ScriptedDialogs::input(const InputRequest& r)
{
    RecordedBox box{RecordedBox::Kind::Input, {}, r, {}, Answer::Ok, {}};
    if (m_script.empty() || m_script.front().kind != RecordedBox::Kind::Input) {
        m_boxes.push_back(box);
        ADD_FAILURE() << "unexpected input box: " << r.prompt.toStdString();
        throw UnexpectedDialog("unexpected input box: " + r.prompt.toStdString());
    }
    box.answerText = m_script.front().text;
    m_script.pop_front();
    m_boxes.push_back(box);
    return box.answerText;
}

ScriptedDialogs& ScriptedDialogs::chooseFile(const QString& path)
{
    m_script.push_back({RecordedBox::Kind::File, Answer::Ok, path});
    return *this;
}

QString ScriptedDialogs::saveFile(const FileRequest& r)
{
    RecordedBox box{RecordedBox::Kind::File, {}, {}, {}, Answer::Ok, r};
    if (m_script.empty() || m_script.front().kind != RecordedBox::Kind::File) {
        m_boxes.push_back(box);
        ADD_FAILURE() << "unexpected file question: " << r.title.toStdString();
        throw UnexpectedDialog("unexpected file question: " + r.title.toStdString());
    }
    box.answerText = m_script.front().text;
    m_script.pop_front();
    m_boxes.push_back(box);
    return box.answerText;
}

std::vector<Message> ScriptedDialogs::messages() const
{
    std::vector<Message> out;
    for (const auto& b : m_boxes)
        if (b.kind == RecordedBox::Kind::Message)
            out.push_back(b.message);
    return out;
}

namespace {

QLatin1String name(Buttons b)
{
    static const char* const namen[] = {"Ok", "OkCancel", "YesNo", "YesNoCancel"};
    return QLatin1String(namen[static_cast<int>(b)]);
}

QLatin1String name(Icon i)
{
    static const char* const namen[] = {"None", "Critical", "Information", "Stop"};
    return QLatin1String(namen[static_cast<int>(i)]);
}

QLatin1String name(Answer a)
{
    static const char* const namen[] = {"Ok", "Cancel", "Yes", "No"};
    return QLatin1String(namen[static_cast<int>(a)]);
}

QString cr(QString t) { return t.replace(CR, QStringLiteral("\\r")); }

} // namespace

QStringList ScriptedDialogs::protokoll() const
{
    QStringList z;
    for (const auto& b : m_boxes) {
        if (b.kind == RecordedBox::Kind::File) {
            z << QStringLiteral("F %1 | %2").arg(b.file.title, b.file.preset);
            continue;
        }
        if (b.kind == RecordedBox::Kind::Input) {
            z << QStringLiteral("I %1 | %2 | %3").arg(b.input.title, cr(b.input.prompt), b.input.preset);
            continue;
        }
        const Message& m = b.message;
        QString zeile = QStringLiteral("M %1 | %2 | %3 %4")
                            .arg(m.title, cr(m.text), name(m.buttons), name(m.icon));
        if (m.defaultButton)
            zeile += QStringLiteral(" default ") + name(*m.defaultButton);
        z << zeile;
    }
    return z;
}

} // namespace orve::test
