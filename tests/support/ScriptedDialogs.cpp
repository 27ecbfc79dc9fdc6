#include "ScriptedDialogs.h"

#include <gtest/gtest.h>

namespace orve::test {

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
    RecordedBox box{RecordedBox::Kind::Message, m, {}, {}, Answer::Ok};
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
    RecordedBox box{RecordedBox::Kind::Input, {}, r, {}, Answer::Ok};
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

std::vector<Message> ScriptedDialogs::messages() const
{
    std::vector<Message> out;
    for (const auto& b : m_boxes)
        if (b.kind == RecordedBox::Kind::Message)
            out.push_back(b.message);
    return out;
}

std::vector<QString> ScriptedDialogs::messageTexts() const
{
    std::vector<QString> out;
    for (const auto& m : messages())
        out.push_back(m.text);
    return out;
}

} // namespace orve::test
