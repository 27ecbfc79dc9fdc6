#pragma once

#include "mainwindow/HauptAnsicht.h"
#include "report/Telefonkostenauswertung.h"
#include "tariffs/TarifeditorOeffner.h"

#include <functional>
#include <optional>
#include <vector>

namespace orve::test {

// The main window's controls as plain values, for tests of its logic.
struct AnsichtProtokoll : HauptAnsicht {
    QString caption, text1 = QStringLiteral("0"), text2, text3;
    int fortschritt = 0;
    int fortschrittMax = 100;
    std::vector<int> fortschritte;      // every position the run set
    std::vector<bool> laufAnzeigen_;     // every change of the run's lock
    std::function<void()> beimVerarbeiten; // runs where the window processes its messages
    std::function<void(const QString&)> editorOeffnen; // the tariff editor for a number without tariff
    std::vector<QString> editorNummern;
    std::optional<Telefonkostenauswertung> bericht;
    int berichte = 0;
    QStringList combo1Liste, combo2Liste;
    QString combo1 = QStringLiteral("alle"), combo2 = QStringLiteral("alle");

    void captionSetzen(const QString& c) override { caption = c; }
    void text1Setzen(const QString& t) override { text1 = t; }
    void text2Setzen(const QString& t) override { text2 = t; }
    void text3Setzen(const QString& t) override { text3 = t; }
    void fortschrittSetzen(int w) override
    {
        fortschritt = w;
        fortschritte.push_back(w);
    }
    void fortschrittMaximum(int m) override { fortschrittMax = m; }
    void ereignisseVerarbeiten() override
    {
        if (beimVerarbeiten)
            beimVerarbeiten();
    }
    void laufAnzeigen(bool l) override { laufAnzeigen_.push_back(l); }
    std::unique_ptr<TarifeditorOeffner> tarifeditor(SQLite::Database&) override
    {
        struct Oeffner : TarifeditorOeffner {
            AnsichtProtokoll& a;
            explicit Oeffner(AnsichtProtokoll& p) : a(p) {}
            void oeffnen(const QString& n) override
            {
                a.editorNummern.push_back(n);
                if (a.editorOeffnen)
                    a.editorOeffnen(n);
            }
        };
        return std::make_unique<Oeffner>(*this);
    }
    void berichtZeigen(Telefonkostenauswertung b) override
    {
        bericht.emplace(std::move(b));
        ++berichte;
    }
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
