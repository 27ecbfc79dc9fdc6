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
    QString text1 = QStringLiteral("0"), text2, text3, combo1 = QStringLiteral("alle"), combo2 = QStringLiteral("alle");
    QStringList combo1Liste, combo2Liste;
    int fortschrittMax = 100;
    std::vector<int> fortschritte{0};      // every position of the progress bar
    std::vector<bool> gesperrt;            // every change of the run's lock
    std::function<void()> beimVerarbeiten; // where the window processes its messages
    std::optional<Telefonkostenauswertung> bericht; // the report shown last

    void captionSetzen(const QString&) override {}
    void text1Setzen(const QString& t) override { text1 = t; }
    void text2Setzen(const QString& t) override { text2 = t; }
    void text3Setzen(const QString& t) override { text3 = t; }
    void fortschrittSetzen(int w) override { fortschritte.push_back(w); }
    void fortschrittMaximum(int m) override { fortschrittMax = m; }
    void ereignisseVerarbeiten() override { beimVerarbeiten ? beimVerarbeiten() : void(); }
    void laufAnzeigen(bool l) override { gesperrt.push_back(l); }
    std::unique_ptr<TarifeditorOeffner> tarifeditor(SQLite::Database&) override
    {
        struct Keiner : TarifeditorOeffner {
            void oeffnen(const QString&) override {}
        };
        return std::make_unique<Keiner>();
    }
    void berichtZeigen(Telefonkostenauswertung b) override { bericht.emplace(std::move(b)); }
    QString combo1Text() const override { return combo1; }
    QString combo2Text() const override { return combo2; }
    void combo1Setzen(const QStringList& e, const QString& t) override { combo1Liste = e; combo1 = t; }
    void combo2Setzen(const QStringList& e, const QString& t) override { combo2Liste = e; combo2 = t; }
};

} // namespace orve::test
