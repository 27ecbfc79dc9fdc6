#include "common/Numbers.h"

#include <QLocale>
#include <QRegularExpression>

#include <cmath>
#include <cstdio>
#include <string>

namespace orve {

double fuehrendeZahl(const QString& text)
{
    QString s;
    s.reserve(text.size());
    for (QChar c : text) {
        if (c != QLatin1Char(' ') && c != QLatin1Char('\t') && c != QLatin1Char('\n'))
            s.append(c);
    }
    int i = 0;
    const int n = s.size();
    QString number;
    if (i < n && (s[i] == QLatin1Char('-') || s[i] == QLatin1Char('+')))
        number.append(s[i++]);
    bool digits = false;
    while (i < n && s[i].isDigit() && s[i].unicode() < 128) { number.append(s[i++]); digits = true; }
    if (i < n && s[i] == QLatin1Char('.')) {
        number.append(s[i++]);
        while (i < n && s[i].isDigit() && s[i].unicode() < 128) { number.append(s[i++]); digits = true; }
    }
    if (!digits)
        return 0.0;
    if (i < n && (s[i].toLower() == QLatin1Char('e') || s[i].toLower() == QLatin1Char('d'))) {
        QString exp = QStringLiteral("e");
        int j = i + 1;
        if (j < n && (s[j] == QLatin1Char('-') || s[j] == QLatin1Char('+')))
            exp.append(s[j++]);
        const int start = j;
        while (j < n && s[j].isDigit() && s[j].unicode() < 128) exp.append(s[j++]);
        if (j > start)
            number.append(exp);
    }
    bool ok = false;
    const double v = QLocale::c().toDouble(number, &ok);
    return ok && std::isfinite(v) ? v : 0.0;
}

std::optional<double> deutscheZahl(const QString& text)
{
    const QString t = text.trimmed();
    static const QRegularExpression mitKomma(
        QStringLiteral("^[+-]?(\\d{1,3}(\\.\\d{3})+|\\d*),\\d*$"));
    static const QRegularExpression ohneKomma(QStringLiteral("^[+-]?(\\d+\\.?\\d*|\\.\\d+)$"));
    QString plain;
    if (t.contains(QLatin1Char(','))) {
        if (!mitKomma.match(t).hasMatch())
            return std::nullopt;
        plain = t;
        plain.remove(QLatin1Char('.'));
        plain.replace(QLatin1Char(','), QLatin1Char('.'));
    } else {
        if (!ohneKomma.match(t).hasMatch())
            return std::nullopt;
        plain = t;
    }
    // "," or "-," alone carry no digit.
    if (!plain.contains(QRegularExpression(QStringLiteral("\\d"))))
        return std::nullopt;
    bool ok = false;
    const double v = QLocale::c().toDouble(plain, &ok);
    if (!ok || !std::isfinite(v))
        return std::nullopt;
    return v;
}

QString deutscheZahlText(double value)
{
    QString s = QString::number(auf15Stellen(value), 'g', 15);
    if (s.contains(QLatin1Char('e')))
        s = QString::number(value, 'f', 10);
    if (s.contains(QLatin1Char('.'))) {
        while (s.endsWith(QLatin1Char('0'))) s.chop(1);
        if (s.endsWith(QLatin1Char('.'))) s.chop(1);
    }
    if (s == QLatin1String("-0"))
        s = QStringLiteral("0");
    s.replace(QLatin1Char('.'), QLatin1Char(','));
    return s;
}

double auf15Stellen(double value)
{
    if (!std::isfinite(value) || value == 0.0)
        return value;
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.14e", value);
    return std::strtod(buf, nullptr);
}

QString geldText(double value)
{
    if (!std::isfinite(value))
        return QStringLiteral("0,000");
    // 15 significant digits in scientific form: d.dddddddddddddde±X
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.14e", value);
    std::string s(buf);
    const bool negative = s[0] == '-';
    if (negative)
        s.erase(0, 1);
    const auto ePos = s.find('e');
    const int exponent = std::stoi(s.substr(ePos + 1));
    std::string mantissa = s.substr(0, 1) + s.substr(2, ePos - 2); // 15 digits
    // Value = 0.mantissa * 10^(exponent+1). Build the digits with the decimal
    // point fixed: integer part and at least 4 fraction digits.
    std::string intPart, frac;
    const int pointPos = exponent + 1; // digits before the point
    if (pointPos <= 0) {
        intPart = "0";
        frac = std::string(static_cast<size_t>(-pointPos), '0') + mantissa;
    } else if (pointPos >= static_cast<int>(mantissa.size())) {
        intPart = mantissa + std::string(static_cast<size_t>(pointPos) - mantissa.size(), '0');
    } else {
        intPart = mantissa.substr(0, static_cast<size_t>(pointPos));
        frac = mantissa.substr(static_cast<size_t>(pointPos));
    }
    while (frac.size() < 4)
        frac.push_back('0');
    std::string digits = intPart + frac.substr(0, 3);
    const bool roundUp = frac[3] >= '5';
    if (roundUp) {
        int i = static_cast<int>(digits.size()) - 1;
        while (i >= 0) {
            if (digits[static_cast<size_t>(i)] == '9') { digits[static_cast<size_t>(i)] = '0'; --i; }
            else { ++digits[static_cast<size_t>(i)]; break; }
        }
        if (i < 0)
            digits.insert(digits.begin(), '1');
    }
    std::string whole = digits.substr(0, digits.size() - 3);
    const std::string dec = digits.substr(digits.size() - 3);
    const auto firstNonZero = whole.find_first_not_of('0');
    whole = firstNonZero == std::string::npos ? "0" : whole.substr(firstNonZero);
    const bool zero = whole == "0" && dec == "000";
    QString result = QString::fromStdString(whole + "," + dec);
    if (negative && !zero)
        result.prepend(QLatin1Char('-'));
    return result;
}

double aufrunden(double q)
{
    const double k = std::floor(q);
    return auf15Stellen(q) - k > 0 ? k + 1 : k;
}

std::optional<int> tageszeitSekunden(const QString& text)
{
    static const QRegularExpression form(QStringLiteral("^(\\d\\d):(\\d\\d):(\\d\\d)$"));
    const auto m = form.match(text);
    if (!m.hasMatch())
        return std::nullopt;
    const int h = m.captured(1).toInt();
    const int min = m.captured(2).toInt();
    const int sec = m.captured(3).toInt();
    if (min > 59 || sec > 59 || h > 24 || (h == 24 && (min != 0 || sec != 0)))
        return std::nullopt;
    return h * 3600 + min * 60 + sec;
}

QString tageszeitText(int sekunden)
{
    if (sekunden < 0) sekunden = 0;
    if (sekunden > 86400) sekunden = 86400;
    return QStringLiteral("%1:%2:%3")
        .arg(sekunden / 3600, 2, 10, QLatin1Char('0'))
        .arg((sekunden / 60) % 60, 2, 10, QLatin1Char('0'))
        .arg(sekunden % 60, 2, 10, QLatin1Char('0'));
}

} // namespace orve
