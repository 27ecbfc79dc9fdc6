#include "common/CommandGuard.h"
#include "common/ProgramEnd.h"
#include "common/QtDialogs.h"

#include "ScriptedDialogs.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>

using namespace orve;

namespace {

// Runs `inspect` on the modal dialog as soon as it is shown.
void whenModalShows(std::function<void(QWidget*)> inspect)
{
    auto* timer = new QTimer;
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, [timer, inspect] {
        if (QWidget* w = QApplication::activeModalWidget()) {
            timer->stop();
            timer->deleteLater();
            inspect(w);
        }
    });
    timer->start();
}

QStringList buttonTexts(QMessageBox* box)
{
    QStringList out;
    for (auto* b : box->buttons())
        out << b->text().remove(QLatin1Char('&'));
    out.sort();
    return out;
}

struct ButtonsCase { Buttons buttons; QStringList texts; Answer clicked; };

class QtMessageBox : public ::testing::TestWithParam<ButtonsCase> {};

TEST_P(QtMessageBox, ShowsGermanButtonsAndLineBreaks)
{
    QtDialogs dialogs;
    QStringList seen;
    QString text;
    whenModalShows([&](QWidget* w) {
        auto* box = qobject_cast<QMessageBox*>(w);
        ASSERT_NE(box, nullptr);
        seen = buttonTexts(box);
        text = box->text();
        for (auto* b : box->buttons()) {
            const QString t = b->text().remove(QLatin1Char('&'));
            const bool want = (GetParam().clicked == Answer::Ok && t == QLatin1String("OK"))
                || (GetParam().clicked == Answer::Cancel && t == QLatin1String("Abbrechen"))
                || (GetParam().clicked == Answer::Yes && t == QLatin1String("Ja"))
                || (GetParam().clicked == Answer::No && t == QLatin1String("Nein"));
            if (want) { b->click(); return; }
        }
    });
    const Answer a = dialogs.message(zeilen({QStringLiteral("Zeile 1"), QStringLiteral("Zeile 2")}),
                                     QStringLiteral("Titel"), GetParam().buttons, Icon::Critical);
    QStringList expected = GetParam().texts;
    expected.sort();
    EXPECT_EQ(seen, expected);
    EXPECT_EQ(text, QStringLiteral("Zeile 1\nZeile 2"));
    EXPECT_EQ(a, GetParam().clicked);
}

INSTANTIATE_TEST_SUITE_P(Buttons, QtMessageBox, ::testing::Values(
    ButtonsCase{Buttons::Ok, {QStringLiteral("OK")}, Answer::Ok},
    ButtonsCase{Buttons::OkCancel, {QStringLiteral("OK"), QStringLiteral("Abbrechen")}, Answer::Cancel},
    ButtonsCase{Buttons::YesNo, {QStringLiteral("Ja"), QStringLiteral("Nein")}, Answer::No},
    ButtonsCase{Buttons::YesNoCancel, {QStringLiteral("Ja"), QStringLiteral("Nein"), QStringLiteral("Abbrechen")},
                Answer::Yes}));

TEST(QtMessageBoxDefault, DefaultButtonIsHonoured)
{
    QtDialogs dialogs;
    QString def;
    whenModalShows([&](QWidget* w) {
        auto* box = qobject_cast<QMessageBox*>(w);
        def = box->defaultButton()->text().remove(QLatin1Char('&'));
        box->defaultButton()->click();
    });
    EXPECT_EQ(dialogs.message(QStringLiteral("Frage"), QStringLiteral("T"), Buttons::YesNo, Icon::Information,
                              Answer::No),
              Answer::No);
    EXPECT_EQ(def, QStringLiteral("Nein"));
}

TEST(QtInputBox, ReturnsTextOrEmptyOnCancel)
{
    QtDialogs dialogs;
    whenModalShows([](QWidget* w) {
        auto* edit = w->findChild<QLineEdit*>(QStringLiteral("Eingabe"));
        ASSERT_NE(edit, nullptr);
        EXPECT_EQ(edit->text(), QStringLiteral("1,20"));
        edit->setText(QStringLiteral("1,30"));
        for (auto* b : w->findChildren<QPushButton*>())
            if (b->text() == QLatin1String("OK")) b->click();
    });
    EXPECT_EQ(dialogs.input(QStringLiteral("Aufschlag"), QStringLiteral("T"), QStringLiteral("1,20")),
              QStringLiteral("1,30"));
    whenModalShows([](QWidget* w) {
        EXPECT_NE(w->findChild<QPushButton*>(QStringLiteral("Durchsuchen")), nullptr);
        for (auto* b : w->findChildren<QPushButton*>())
            if (b->text() == QLatin1String("Abbrechen")) b->click();
    });
    EXPECT_EQ(dialogs.input(InputRequest{QStringLiteral("Pfad"), QStringLiteral("T"), QStringLiteral("x"), true}),
              QString());
}

TEST(CommandGuard, OtherErrorsAreShownAndTheCommandReportsFailure)
{
    test::ScriptedDialogs dialogs;
    dialogs.answer(Answer::Ok);
    EXPECT_FALSE(befehlAusfuehren(dialogs, [] { throw std::runtime_error("kaputt"); }));
    EXPECT_TRUE(dialogs.messages().at(0).text.contains(QStringLiteral("kaputt")));
    EXPECT_TRUE(befehlAusfuehren(dialogs, [] {}));
    EXPECT_EQ(programmEndeCode(), 0);
}

TEST(CommandGuard, ProgramEndLeavesTheEventLoopWithItsCode)
{
    test::ScriptedDialogs dialogs;
    QTimer::singleShot(0, [&] { befehlAusfuehren(dialogs, [] { throw ProgramEnd(QStringLiteral("Ende"), 3); }); });
    EXPECT_EQ(QApplication::exec(), 3);
    EXPECT_EQ(programmEndeCode(), 3);
    EXPECT_TRUE(dialogs.boxes().empty());
}

} // namespace
