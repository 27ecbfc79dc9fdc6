#pragma once

// Finding a window's controls by name and reading what they show, for the
// widget tests (header only: the support library itself has no widgets).

#include <QAbstractButton>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>

#include <gtest/gtest.h>

namespace orve::test {

// The child called `name`; the test fails when there is none.
template<class T = QWidget> T* kind(const QObject* fenster, const char* name)
{
    T* w = fenster->findChild<T*>(QLatin1String(name));
    EXPECT_NE(w, nullptr) << name;
    return w;
}

// What a control shows: the text of a label, button or edit, the current text
// of a combo box, the plain text of a text edit, the title of a group box.
inline QString beschriftung(const QWidget* w)
{
    for (const char* eigenschaft : {"text", "plainText", "currentText", "title"})
        if (const QVariant v = w->property(eigenschaft); v.isValid())
            return v.toString();
    return {};
}

} // namespace orve::test
