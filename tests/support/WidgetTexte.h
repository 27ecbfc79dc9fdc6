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
template <class T = QWidget>
T* kind(const QObject* fenster, const char* name)
{
    T* w = fenster->findChild<T*>(QLatin1String(name));
    EXPECT_NE(w, nullptr) << name;
    return w;
}

// What a control shows: the text of a label, button, edit or combo box, the
// title of a group box.
inline QString beschriftung(const QWidget* w)
{
    if (auto* l = qobject_cast<const QLabel*>(w))
        return l->text();
    if (auto* b = qobject_cast<const QAbstractButton*>(w))
        return b->text();
    if (auto* g = qobject_cast<const QGroupBox*>(w))
        return g->title();
    if (auto* e = qobject_cast<const QLineEdit*>(w))
        return e->text();
    if (auto* p = qobject_cast<const QPlainTextEdit*>(w))
        return p->toPlainText();
    if (auto* c = qobject_cast<const QComboBox*>(w))
        return c->currentText();
    return {};
}

// One control of a window as a table row: its name, what it shows and its
// tool tip (nullptr: not checked).
struct Steuerelement {
    const char* name;
    const char* text;
    const char* tipp = "";
};

inline void pruefeSteuerelemente(const QObject* fenster, std::initializer_list<Steuerelement> tabelle)
{
    for (const auto& s : tabelle) {
        const QWidget* w = kind(fenster, s.name);
        if (!w)
            continue;
        if (s.text)
            EXPECT_EQ(beschriftung(w).toStdString(), s.text) << s.name;
        if (s.tipp)
            EXPECT_EQ(w->toolTip().toStdString(), s.tipp) << s.name;
    }
}

} // namespace orve::test
