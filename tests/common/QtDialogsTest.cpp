#include "common/BefehlAusfuehren.h"
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

// Clicks the button with this text (access key marks aside) and returns the
// sorted texts of all buttons.
QStringList klicken(QWidget* w, const QString& text)
{
    QStringList alle;
    QAbstractButton* ziel = nullptr;
    for (auto* b : w->findChildren<QAbstractButton*>()) {
        alle << b->text().remove(QLatin1Char('&'));
        if (alle.back() == text)
            ziel = b;
    }
    if (ziel)
        ziel->click();
    alle.sort();
    return alle;
}

struct ButtonsCase { Buttons buttons; QStringList texts; Answer clicked; const char* click; };

class QtMessageBox : public ::testing::TestWithParam<ButtonsCase> {};

TEST_P(QtMessageBox, ShowsGermanButtonsAndLineBreaks)
{
    QtDialogs dialogs;
    QStringList seen;
    QString text;
    whenModalShows([&](QWidget* w) {
        auto* box = qobject_cast<QMessageBox*>(w);
        ASSERT_NE(box, nullptr);
        text = box->text();
        seen = klicken(box, QLatin1String(GetParam().click));
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
    ButtonsCase{Buttons::Ok, {"OK"}, Answer::Ok, "OK"},
    ButtonsCase{Buttons::OkCancel, {"OK", "Abbrechen"}, Answer::Cancel, "Abbrechen"},
    ButtonsCase{Buttons::YesNo, {"Ja", "Nein"}, Answer::No, "Nein"},
    ButtonsCase{Buttons::YesNoCancel, {"Ja", "Nein", "Abbrechen"}, Answer::Yes, "Ja"}));

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
        klicken(w, QStringLiteral("OK"));
    });
    EXPECT_EQ(dialogs.input(QStringLiteral("Aufschlag"), QStringLiteral("T"), QStringLiteral("1,20")),
              QStringLiteral("1,30"));
    whenModalShows([](QWidget* w) {
        EXPECT_NE(w->findChild<QPushButton*>(QStringLiteral("Durchsuchen")), nullptr);
        klicken(w, QStringLiteral("Abbrechen"));
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
