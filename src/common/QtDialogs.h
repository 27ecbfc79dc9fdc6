#pragma once

#include "common/Dialogs.h"

class QWidget;

namespace orve {

// Real message and input boxes and Qt's file dialog. CR in a text becomes a line break; the
// buttons carry German texts.
class QtDialogs : public Dialogs {
public:
    explicit QtDialogs(QWidget* parent = nullptr) : m_parent(parent) {}
    void setParent(QWidget* parent) { m_parent = parent; }

    using Dialogs::input;
    using Dialogs::message;
    Answer message(const Message& m) override;
    QString input(const InputRequest& r) override;
    QString saveFile(const FileRequest& r) override;
    QString chooseFolder(const FolderRequest& r) override;
    QString openFile(const FileRequest& r) override;

private:
    QWidget* m_parent;
};

} // namespace orve
