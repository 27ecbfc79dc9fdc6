#pragma once

#include <QString>
#include <QStringList>

namespace orve {

// What the main window's logic reads from and writes to its controls. The
// window implements it; tests use a plain record.
class HauptAnsicht {
public:
    virtual ~HauptAnsicht() = default;

    virtual void captionSetzen(const QString& caption) = 0;
    virtual void text1Setzen(const QString& text) = 0;  // count of calls
    virtual void text2Setzen(const QString& text) = 0;  // kind of database
    virtual void text3Setzen(const QString& text) = 0;  // database file
    virtual void fortschrittSetzen(int wert) = 0;       // ProgressBar1

    // Combo1 (extension) and Combo2 (date/time): the text shown, and the
    // list replaced together with the text.
    virtual QString combo1Text() const = 0;
    virtual QString combo2Text() const = 0;
    virtual void combo1Setzen(const QStringList& eintraege, const QString& text) = 0;
    virtual void combo2Setzen(const QStringList& eintraege, const QString& text) = 0;
};

} // namespace orve
