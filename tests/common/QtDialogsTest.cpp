#include "common/QtDialogs.h"
#include "common/BefehlAusfuehren.h"
#include "common/ProgramEnd.h"

#include "ScriptedDialogs.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

#include <gtest/gtest.h>

using namespace orve;

namespace {

// Runs `handeln` on the modal dialog once it shows, with the texts of its
// buttons; a dialog left open fails the test and is closed.
template<class F> void sobaldOffen(QObject& wache, F handeln)
{
    QTimer::singleShot(0, &wache, [handeln] {
        auto* d = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(d, nullptr);
        QStringList knoepfe;
        for (auto* b : d->findChildren<QPushButton*>())
            knoepfe << b->text();
        handeln(d, knoepfe.join(QLatin1Char(' ')));
        EXPECT_FALSE(d->isVisible()) << "still open";
        if (d->isVisible())
            d->done(-1);
    });
}

TEST(QtDialogs, BoxesAnswerTheDefaultButtonToReturnAndTheWayOutToEscapeOrAbbrechen)
{
    const struct {
        Buttons buttons;
        std::optional<Answer> standard;
        const char* knoepfe;
        Answer beiReturn, beiEscape;
    } faelle[] = {
        {Buttons::Ok, {}, "OK", Answer::Ok, Answer::Ok},
        {Buttons::OkCancel, {}, "OK Abbrechen", Answer::Ok, Answer::Cancel},
        {Buttons::YesNo, {}, "&Ja &Nein", Answer::Yes, Answer::No},
        {Buttons::YesNo, Answer::No, "&Ja &Nein", Answer::No, Answer::No},
        {Buttons::YesNoCancel, {}, "&Ja &Nein Abbrechen", Answer::Yes, Answer::Cancel},
    };
    QtDialogs dialogs;
    QObject wache;
    for (const auto& f : faelle)
        for (const Qt::Key k : {Qt::Key_Return, Qt::Key_Escape}) {
            sobaldOffen(wache, [&](QDialog* d, const QString& knoepfe) {
                EXPECT_EQ(knoepfe, QString::fromUtf8(f.knoepfe));
                EXPECT_EQ(qobject_cast<QMessageBox*>(d)->text(), "Zeile 1\nZeile 2");
                QKeyEvent taste(QEvent::KeyPress, k, Qt::NoModifier);
                QApplication::sendEvent(d, &taste);
            });
            EXPECT_EQ(dialogs.message(QStringLiteral("Zeile 1\rZeile 2"), QStringLiteral("T"), f.buttons,
                                      Icon::Critical, f.standard),
                      k == Qt::Key_Return ? f.beiReturn : f.beiEscape)
                << f.knoepfe << (k == Qt::Key_Return ? " Return" : " Escape");
        }
    sobaldOffen(wache, [](QDialog* d, const QString& knoepfe) {
        EXPECT_EQ(knoepfe, "OK Abbrechen");
        d->findChild<QLineEdit*>(QStringLiteral("Eingabe"))->setText("1,30");
        QKeyEvent taste(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
        QApplication::sendEvent(d, &taste);
    });
    EXPECT_EQ(dialogs.input(QStringLiteral("Aufschlag"), QStringLiteral("T"), "1,20"), "1,30");
    sobaldOffen(wache, [](QDialog* d, const QString& knoepfe) {
        EXPECT_EQ(knoepfe, "Durchsuchen… OK Abbrechen");
        d->findChildren<QPushButton*>().constLast()->click();
    });
    EXPECT_EQ(dialogs.input(InputRequest {QStringLiteral("Pfad"), QStringLiteral("T"), QStringLiteral("x"), true}),
              QString());
}

TEST(CommandGuard, ErrorsAreShownAndProgramEndLeavesTheEventLoopWithItsCode)
{
    test::ScriptedDialogs dialogs;
    dialogs.answer(Answer::Ok);
    EXPECT_FALSE(befehlAusfuehren(dialogs, [] { throw std::runtime_error("kaputt"); }));
    EXPECT_TRUE(dialogs.messages().at(0).text.contains("kaputt"));
    EXPECT_TRUE(befehlAusfuehren(dialogs, [] {}));
    EXPECT_EQ(programmEndeCode(), 0);
    QObject wache;
    QTimer::singleShot(0, &wache, [&] {
        befehlAusfuehren(dialogs, [] { throw ProgramEnd(QStringLiteral("Ende"), 3); });
        QTimer::singleShot(0, &wache, [] { QCoreApplication::exit(99); });
    });
    EXPECT_EQ(QApplication::exec(), 3);
    EXPECT_EQ(programmEndeCode(), 3);
}

} // namespace
