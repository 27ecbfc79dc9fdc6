#pragma once

#include "common/Dialogs.h"

#include <QStringList>

#include <deque>
#include <vector>

namespace orve::test {

// One box the code showed, with the answer it got.
struct RecordedBox {
    enum class Kind { Message, Input, File, Folder } kind;
    Message message;
    InputRequest input;
    FileRequest file; // also the title and folder of a folder question
    Answer answer = Answer::Ok;
    QString reply; // the input box's text, the chosen file or folder
};

// Answers the boxes from a script, in order, and records every box. A box the script did not expect fails the test
// and throws (which also ends endless retry loops); a script not used up fails it at the end.
class ScriptedDialogs : public Dialogs {
    using K = RecordedBox::Kind;

public:
    ScriptedDialogs() = default;
    ScriptedDialogs(const ScriptedDialogs&) = delete;
    ~ScriptedDialogs() override;

    // Script steps: the next box is a message box, an input box (empty text:
    // cancelled), a file question to save or to read or a folder question
    // (empty path: cancelled).
    ScriptedDialogs& answer(Answer a) { return add({K::Message, {}, {}, {}, a, {}}); }
    ScriptedDialogs& type(const QString& text) { return add({K::Input, {}, {}, {}, {}, text}); }
    ScriptedDialogs& cancelInput() { return type({}); }
    ScriptedDialogs& chooseFile(const QString& path) { return add({K::File, {}, {}, {}, {}, path}); }
    ScriptedDialogs& pickFolder(const QString& path) { return add({K::Folder, {}, {}, {}, {}, path}); }
    // The steps as words: "Ok", "Cancel", "Yes" or "No" answers a message box, "=text" types into an input box
    // ("=" alone cancels it).
    ScriptedDialogs& skript(const QStringList& schritte);

    using Dialogs::input;
    using Dialogs::message;
    Answer message(const Message& m) override { return next({K::Message, m, {}, {}, {}, {}}, m.text).answer; }
    QString input(const InputRequest& r) override { return next({K::Input, {}, r, {}, {}, {}}, r.prompt).reply; }
    QString saveFile(const FileRequest& r) override { return next({K::File, {}, {}, r, {}, {}}, r.title).reply; }
    QString chooseFolder(const FolderRequest& r) override
    {
        return next({K::Folder, {}, {}, {r.title, r.preset, {}, {}}, {}, {}}, r.title).reply;
    }
    QString openFile(const FileRequest& r) override { return saveFile(r); }

    const std::vector<RecordedBox>& boxes() const { return m_boxes; }
    std::vector<Message> messages() const;
    // Every box shown, one line each: "M title | text | buttons icon" for a message box (" default No" appended when
    // a default button was given), "I title | prompt | preset" for an input box, "F title | preset" for a file
    // question, "O title | preset" for a folder question; CR is written as \r.
    QStringList protokoll() const;

private:
    ScriptedDialogs& add(RecordedBox step) { return m_script.push_back(step), *this; }
    const RecordedBox& next(RecordedBox box, const QString& text); // text: to name an unexpected box
    std::deque<RecordedBox> m_script;
    std::vector<RecordedBox> m_boxes;
};

} // namespace orve::test
