#pragma once

#include "common/Dialogs.h"

#include <QStringList>

#include <deque>
#include <vector>

namespace orve::test {

// One box the code showed, with the answer it got.
struct RecordedBox {
    enum class Kind { Message, Input, File } kind;
    Message message;
    InputRequest input;
    FileRequest file;
    Answer answer = Answer::Ok;
    QString answerText; // the input box's text, the chosen file
};

// Answers the boxes from a script, in order, and records every box. A box the script did not expect fails the test
// and throws (which also ends endless retry loops); a script not used up fails it at the end.
class ScriptedDialogs : public Dialogs {
public:
    ScriptedDialogs() = default;
    ScriptedDialogs(const ScriptedDialogs&) = delete;
    ~ScriptedDialogs() override;

    // Script steps: the next box is a message box, an input box (empty text:
    // cancelled), a file question to save or to read (empty path: cancelled).
    ScriptedDialogs& answer(Answer a) { return add({RecordedBox::Kind::Message, {}, {}, {}, a, {}}); }
    ScriptedDialogs& type(const QString& text) { return add({RecordedBox::Kind::Input, {}, {}, {}, {}, text}); }
    ScriptedDialogs& cancelInput() { return type({}); }
    ScriptedDialogs& chooseFile(const QString& path)
    {
        return add({RecordedBox::Kind::File, {}, {}, {}, {}, path});
    }

    using Dialogs::input;
    using Dialogs::message;
    Answer message(const Message& m) override
    {
        return next({RecordedBox::Kind::Message, m, {}, {}, {}, {}}, "message box: " + m.text).answer;
    }
    QString input(const InputRequest& r) override
    {
        return next({RecordedBox::Kind::Input, {}, r, {}, {}, {}}, "input box: " + r.prompt).answerText;
    }
    QString saveFile(const FileRequest& r) override
    {
        return next({RecordedBox::Kind::File, {}, {}, r, {}, {}}, "file question: " + r.title).answerText;
    }
    QString openFile(const FileRequest& r) override { return saveFile(r); }

    const std::vector<RecordedBox>& boxes() const { return m_boxes; }
    std::vector<Message> messages() const;
    // Every box shown, one line each: "M title | text | buttons icon" for a message box (" default No" appended when
    // a default button was given), "I title | prompt | preset" for an input box, "F title | preset" for a file
    // question; CR is written as \r.
    QStringList protokoll() const;

private:
    ScriptedDialogs& add(RecordedBox step)
    {
        m_script.push_back(step);
        return *this;
    }
    const RecordedBox& next(RecordedBox box, const QString& what);
    std::deque<RecordedBox> m_script;
    std::vector<RecordedBox> m_boxes;
};

} // namespace orve::test
