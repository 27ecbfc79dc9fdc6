#pragma once

#include "common/Dialogs.h"

#include <QString>
#include <QStringList>

#include <deque>
#include <stdexcept>
#include <vector>

namespace orve::test {

// Thrown when the code under test shows a box the script did not expect; it
// also breaks endless retry loops. The test fails through ADD_FAILURE.
struct UnexpectedDialog : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// One box the code showed, as recorded.
struct RecordedBox {
    enum class Kind { Message, Input, File } kind;
    Message message;     // for Kind::Message
    InputRequest input;  // for Kind::Input
    QString answerText;  // the input box's answer, the chosen file
    Answer answer = Answer::Ok;
    FileRequest file;    // for Kind::File
};

// Answers message and input boxes from a script and records every box.
class ScriptedDialogs : public Dialogs {
public:
    ScriptedDialogs() = default;
    // A test whose script was not used up fails: a box it expected never came.
    ~ScriptedDialogs() override;
    ScriptedDialogs(const ScriptedDialogs&) = delete;
    ScriptedDialogs& operator=(const ScriptedDialogs&) = delete;

    // Script steps, consumed in order.
    ScriptedDialogs& answer(Answer a);                // next box is a message box
    ScriptedDialogs& type(const QString& text);       // next box is an input box
    ScriptedDialogs& cancelInput();                   // input box cancelled (empty text)
    ScriptedDialogs& chooseFile(const QString& path); // next box asks for a file to save; empty: cancelled

    using Dialogs::input;
    using Dialogs::message;
    Answer message(const Message& m) override;
    QString input(const InputRequest& r) override;
    QString saveFile(const FileRequest& r) override;

    const std::vector<RecordedBox>& boxes() const { return m_boxes; }
    std::vector<Message> messages() const;
    // Every box shown, one line each: "M title | text | buttons icon" for a
    // message box (" default No" appended when a default button was given),
    // "I title | prompt | preset" for an input box, "F title | preset" for a
    // file question; CR is written as \r.
    QStringList protokoll() const;
    bool scriptDone() const { return m_script.empty(); }

private:
    struct Step {
        RecordedBox::Kind kind;
        Answer answer;
        QString text;
    };
    ScriptedDialogs& add(RecordedBox::Kind kind, Answer a, const QString& text);
    // Records the box and answers it from the next step, which must be of its kind.
    const RecordedBox& next(RecordedBox box, const QString& what);
    std::deque<Step> m_script;
    std::vector<RecordedBox> m_boxes;
};

} // namespace orve::test
