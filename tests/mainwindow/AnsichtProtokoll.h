#pragma once

#include "mainwindow/HauptAnsicht.h"

namespace orve::test {

// The main window's controls as plain values, for tests of its logic.
struct AnsichtProtokoll : HauptAnsicht {
    QString caption, text1 = QStringLiteral("0"), text2, text3;
    int fortschritt = 0;
    QStringList combo1Liste, combo2Liste;
    QString combo1 = QStringLiteral("alle"), combo2 = QStringLiteral("alle");

    void captionSetzen(const QString& c) override { caption = c; }
    void text1Setzen(const QString& t) override { text1 = t; }
    void text2Setzen(const QString& t) override { text2 = t; }
    void text3Setzen(const QString& t) override { text3 = t; }
    void fortschrittSetzen(int w) override { fortschritt = w; }
    QString combo1Text() const override { return combo1; }
    QString combo2Text() const override { return combo2; }
    void combo1Setzen(const QStringList& e, const QString& t) override
    {
        combo1Liste = e;
        combo1 = t;
    }
    void combo2Setzen(const QStringList& e, const QString& t) override
    {
        combo2Liste = e;
        combo2 = t;
    }
};

} // namespace orve::test
