#include "common/Numbers.h"

#include <QRegularExpression>

#include <charconv>
#include <cmath>
#include <string>
#include <string_view>

namespace orve {

namespace {

// Reads a number written with a decimal point, whatever the C library's
// locale says (std::strtod stops at the point under a German locale).
std::optional<double> zahlLesen(std::string_view s)
{
    if (!s.empty() && s.front() == '+')
        s.remove_prefix(1);
    double v = 0;
    const auto [ende, fehler] = std::from_chars(s.data(), s.data() + s.size(), v);
    if (fehler != std::errc() || ende != s.data() + s.size())
        return std::nullopt;
    return v;
}

// "d.dddddddddddddde±XX": 15 significant digits, whatever the locale.
std::string wissenschaftlich15(double v)
{
    char buf[64];
    const auto r = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::scientific, 14);
    return std::string(buf, r.ptr);
}

} // namespace

std::optional<double> fuehrendeZahlLesen(const QString& text)
{
    QString s;
    s.reserve(text.size());
    for (QChar c : text) {
        if (c != QLatin1Char(' ') && c != QLatin1Char('\t') && c != QLatin1Char('\n'))
            s.append(c);
    }
    int i = 0;
    const int n = s.size();
    std::string number;
    auto ziffer = [&](int k) { return k < n && s[k].unicode() >= '0' && s[k].unicode() <= '9'; };
    if (i < n && (s[i] == QLatin1Char('-') || s[i] == QLatin1Char('+'))) {
        if (s[i] == QLatin1Char('-'))
            number.push_back('-');
        ++i;
    }
    bool digits = false;
    while (ziffer(i)) {
        number.push_back(static_cast<char>(s[i++].unicode()));
        digits = true;
    }
    // A decimal point or a decimal comma: "7.7" and "7,7" are both 7.7.
    if (i < n && (s[i] == QLatin1Char('.') || s[i] == QLatin1Char(',')) && (digits || ziffer(i + 1))) {
        number.push_back('.');
        ++i;
        while (ziffer(i)) {
            number.push_back(static_cast<char>(s[i++].unicode()));
            digits = true;
        }
    }
    if (!digits)
        return std::nullopt;
    if (i < n && (s[i].toLower() == QLatin1Char('e') || s[i].toLower() == QLatin1Char('d'))) {
        std::string exp = "e";
        int j = i + 1;
        if (j < n && (s[j] == QLatin1Char('-') || s[j] == QLatin1Char('+')))
            exp.push_back(static_cast<char>(s[j++].unicode()));
        const int start = j;
        while (ziffer(j))
            exp.push_back(static_cast<char>(s[j++].unicode()));
        if (j > start)
            number += exp;
    }
    const auto v = zahlLesen(number);
    if (!v || !std::isfinite(*v))
        return std::nullopt;
    return v;
}

double fuehrendeZahl(const QString& text)
{
    return fuehrendeZahlLesen(text).value_or(0.0);
}

std::optional<double> deutscheZahl(const QString& text)
{
    const QString t = text.trimmed();
    static const QRegularExpression kMitKomma(QStringLiteral("^[+-]?(\\d{1,3}(\\.\\d{3})+|\\d*),\\d*$"));
    static const QRegularExpression kOhneKomma(QStringLiteral("^[+-]?(\\d+\\.?\\d*|\\.\\d+)$"));
    QString plain;
    if (t.contains(QLatin1Char(','))) {
        if (!kMitKomma.match(t).hasMatch())
            return std::nullopt;
        plain = t;
        plain.remove(QLatin1Char('.'));
        plain.replace(QLatin1Char(','), QLatin1Char('.'));
    } else {
        if (!kOhneKomma.match(t).hasMatch())
            return std::nullopt;
        plain = t;
    }
    // "," or "-," alone carry no digit.
    if (!plain.contains(QRegularExpression(QStringLiteral("\\d"))))
        return std::nullopt;
    const auto v = zahlLesen(plain.toStdString());
    if (!v || !std::isfinite(*v))
        return std::nullopt;
    return v;
}

QString deutscheZahlText(double value)
{
    QString s = QString::number(auf15Stellen(value), 'g', 15);
    if (s.contains(QLatin1Char('e')))
        s = QString::number(value, 'f', 10);
    if (s.contains(QLatin1Char('.'))) {
        while (s.endsWith(QLatin1Char('0')))
            s.chop(1);
        if (s.endsWith(QLatin1Char('.')))
            s.chop(1);
    }
    if (s == QLatin1String("-0"))
        s = QStringLiteral("0");
    s.replace(QLatin1Char('.'), QLatin1Char(','));
    return s;
}

QString genauerZahlText(double value)
{
    if (!std::isfinite(value))
        return {};
    char buf[400]; // the shortest fixed form of any double has at most 327 characters ("-0,000…05")
    const auto r = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::fixed);
    if (r.ec != std::errc())
        return {};
    return QString::fromLatin1(buf, r.ptr - buf).replace(QLatin1Char('.'), QLatin1Char(','));
}

double auf15Stellen(double value)
{
    if (!std::isfinite(value) || value == 0.0)
        return value;
    return zahlLesen(wissenschaftlich15(value)).value_or(value);
}

QString festText(double value, int stellen)
{
    if (!std::isfinite(value))
        return {};
    // 15 significant digits in scientific form: d.dddddddddddddde±X
    std::string s = wissenschaftlich15(value);
    const bool negative = s[0] == '-';
    if (negative)
        s.erase(0, 1);
    const auto ePos = s.find('e');
    int exponent = 0;
    const char* e = s.data() + ePos + 1;
    std::from_chars(*e == '+' ? e + 1 : e, s.data() + s.size(), exponent);
    const std::string mantissa = s.substr(0, 1) + s.substr(2, ePos - 2); // 15 digits
    // Value = 0.mantissa * 10^(exponent+1). Build the digits with the decimal
    // point fixed: the whole part and one fraction digit more than shown.
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
    const auto n = static_cast<size_t>(stellen);
    while (frac.size() < n + 1)
        frac.push_back('0');
    std::string digits = intPart + frac.substr(0, n);
    if (frac[n] >= '5') {
        int i = static_cast<int>(digits.size()) - 1;
        while (i >= 0) {
            if (digits[static_cast<size_t>(i)] == '9') {
                digits[static_cast<size_t>(i)] = '0';
                --i;
            } else {
                ++digits[static_cast<size_t>(i)];
                break;
            }
        }
        if (i < 0)
            digits.insert(digits.begin(), '1');
    }
    std::string whole = digits.substr(0, digits.size() - n);
    const std::string dec = digits.substr(digits.size() - n);
    const auto firstNonZero = whole.find_first_not_of('0');
    whole = firstNonZero == std::string::npos ? "0" : whole.substr(firstNonZero);
    const bool zero = whole == "0" && dec.find_first_not_of('0') == std::string::npos;
    QString result = QString::fromStdString(n > 0 ? whole + "," + dec : whole);
    if (negative && !zero)
        result.prepend(QLatin1Char('-'));
    return result;
}

QString geldText(double value)
{
    return std::isfinite(value) ? festText(value, 3) : QStringLiteral("0,000");
}

double geldWert(double value)
{
    QString t = geldText(value);
    t.replace(QLatin1Char(','), QLatin1Char('.'));
    return zahlLesen(t.toStdString()).value_or(0.0);
}

double aufrunden(double q)
{
    const double k = std::floor(q);
    return auf15Stellen(q) - k > 0 ? k + 1 : k;
}

std::optional<int> tageszeitSekunden(QStringView t)
{
    if (t.size() != 8 || t[2] != QLatin1Char(':') || t[5] != QLatin1Char(':'))
        return std::nullopt;
    int teil[3];
    for (int i = 0; i < 3; ++i) {
        const QChar a = t[i * 3], b = t[i * 3 + 1];
        if (a < QLatin1Char('0') || a > QLatin1Char('9') || b < QLatin1Char('0') || b > QLatin1Char('9'))
            return std::nullopt;
        teil[i] = (a.unicode() - '0') * 10 + (b.unicode() - '0');
    }
    if (teil[1] > 59 || teil[2] > 59 || teil[0] > 24 || (teil[0] == 24 && (teil[1] || teil[2])))
        return std::nullopt;
    return teil[0] * 3600 + teil[1] * 60 + teil[2];
}

QString tageszeitText(int sekunden)
{
    if (sekunden < 0)
        sekunden = 0;
    if (sekunden > 86400)
        sekunden = 86400;
    return QStringLiteral("%1:%2:%3")
        .arg(sekunden / 3600, 2, 10, QLatin1Char('0'))
        .arg((sekunden / 60) % 60, 2, 10, QLatin1Char('0'))
        .arg(sekunden % 60, 2, 10, QLatin1Char('0'));
}

} // namespace orve
