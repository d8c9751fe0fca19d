#include "catalogue.h"
#include "frmmain.h"
#include "rangecheck.h"

#include <QtTest>

#include <algorithm>
#include <limits>

using namespace brinevar;

namespace {
constexpr double kInf = std::numeric_limits<double>::infinity();

const RangeCheck &CheckOf(const char *field)
{
    return *Catalogue()[*FindSettingByField(field)].check;
}
} // namespace

class RangeCheckTest : public QObject {
    Q_OBJECT

private slots:
    void readings_data();
    void readings();
    void tinyNumbersKeepTheirSign();
    void passes_data();
    void passes();
    void everyLocaleSignIsJudgedAsTheNumberItIs();
};

void RangeCheckTest::readings_data()
{
    // clang-format off
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("locale");
    QTest::addColumn<bool>("numeric");
    QTest::addColumn<double>("leading");

    QTest::newRow("whole number") << "17" << "en_US" << true << 17.0;
    QTest::newRow("blanks around") << "  5 " << "en_US" << true << 5.0;
    QTest::newRow("tab before") << "\t5" << "en_US" << true << 5.0;
    QTest::newRow("blank inside") << "1 7" << "en_US" << false << 17.0;
    QTest::newRow("empty") << "" << "en_US" << false << 0.0;
    QTest::newRow("blanks only") << "   " << "en_US" << false << 0.0;
    QTest::newRow("letters") << "abc" << "en_US" << false << 0.0;
    QTest::newRow("number then letters") << "5abc" << "en_US" << false << 5.0;
    QTest::newRow("letters then number") << "x5" << "en_US" << false << 0.0;
    QTest::newRow("minus") << "-1" << "en_US" << true << -1.0;
    QTest::newRow("plus") << "+3" << "en_US" << true << 3.0;
    QTest::newRow("minus zero") << "-0" << "en_US" << true << 0.0;
    QTest::newRow("blank after sign") << "- 1" << "en_US" << false << -1.0;
    QTest::newRow("two signs") << "--1" << "en_US" << false << 0.0;
    QTest::newRow("sign only") << "-" << "en_US" << false << 0.0;
    QTest::newRow("sign after") << "1-" << "en_US" << false << 1.0;
    QTest::newRow("fraction") << "2.5" << "en_US" << true << 2.5;
    QTest::newRow("fraction 17.5") << "17.5" << "en_US" << true << 17.5;
    QTest::newRow("point first") << ".5" << "en_US" << true << 0.5;
    QTest::newRow("point last") << "5." << "en_US" << true << 5.0;
    QTest::newRow("point only") << "." << "en_US" << false << 0.0;
    QTest::newRow("two points") << "1.2.3" << "en_US" << false << 1.2;
    QTest::newRow("exponent") << "1e3" << "en_US" << true << 1000.0;
    QTest::newRow("capital signed exponent") << "1E+2" << "en_US" << true << 100.0;
    QTest::newRow("negative exponent") << "2.5e-1" << "en_US" << true << 0.25;
    QTest::newRow("exponent without digits") << "2e" << "en_US" << false << 2.0;
    QTest::newRow("exponent sign without digits") << "2e-" << "en_US" << false << 2.0;
    QTest::newRow("exponent without number") << "e5" << "en_US" << false << 0.0;
    QTest::newRow("D is no exponent") << "1d2" << "en_US" << false << 1.0;
    QTest::newRow("too large") << "1e400" << "en_US" << true << kInf;
    QTest::newRow("too large negative") << "-1e400" << "en_US" << true << -kInf;
    QTest::newRow("huge exponent") << "1e99999999999999999999" << "en_US" << true << kInf;
    QTest::newRow("long number") << QString(400, '9') << "en_US" << true << kInf;
    QTest::newRow("zero to any power") << "0e99999999999" << "en_US" << true << 0.0;
    QTest::newRow("leading zeros") << "000000000000000000000017" << "en_US" << true << 17.0;
    QTest::newRow("hexadecimal") << "0x10" << "en_US" << false << 0.0;
    QTest::newRow("basic hexadecimal") << "&H10" << "en_US" << false << 0.0;
    QTest::newRow("inf") << "inf" << "en_US" << false << 0.0;
    QTest::newRow("nan") << "nan" << "en_US" << false << 0.0;
    QTest::newRow("grouping") << "1,000" << "en_US" << false << 1.0;
    QTest::newRow("comma in English") << "2,5" << "en_US" << false << 2.0;
    QTest::newRow("comma in German") << "2,5" << "de_DE" << true << 2.0;
    QTest::newRow("17 comma 5 in German") << "17,5" << "de_DE" << true << 17.0;
    QTest::newRow("point in German") << "2.5" << "de_DE" << false << 2.5;
    QTest::newRow("German grouping") << "1.000" << "de_DE" << false << 1.0;
    QTest::newRow("German exponent") << "-1,5E2" << "de_DE" << true << -1.0;
    // clang-format on
}

void RangeCheckTest::readings()
{
    QFETCH(QString, text);
    QFETCH(QString, locale);
    QFETCH(bool, numeric);
    QFETCH(double, leading);
    QCOMPARE(IsNumeric(text.toStdString(), NumberFormatOf(QLocale(locale))), numeric);
    QCOMPARE(LeadingValue(text.toStdString()), leading);
}

void RangeCheckTest::tinyNumbersKeepTheirSign()
{
    const double tiny = LeadingValue("1e-400");
    QVERIFY(tiny > 0);
    QVERIFY(tiny < 1e-300);
    const double negative = LeadingValue(" - 0.000001e-399");
    QVERIFY(negative < 0);
    QVERIFY(negative > -1e-300);
}

void RangeCheckTest::passes_data()
{
    // clang-format off
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("locale");
    QTest::addColumn<bool>("passes");

    for (const char *terrain : {"Text7", "Text8"}) {
        auto row = [&](const char *name, const char *text, bool passes,
                       const char *locale = "en_US") {
            QTest::addRow("%s %s", terrain, name) << terrain << text << locale << passes;
        };
        row("0", "0", true);
        row("17", "17", true);
        row("2.5", "2.5", true);
        row("18", "18", false);
        row("17.5", "17.5", false);
        row("just above 17", "17.000000001", false);
        row("-1", "-1", false);
        row("minus zero", "-0", true);
        row("tiny negative", "-1e-400", false);
        row("tiny positive", "1e-400", true);
        row("empty", "", false);
        row("blanks around", " 5 ", true);
        row("letters", "abc", false);
        row("number then letters", "5abc", false);
        row("exponent", "1.7E1", true);
        row("exponent above", "1.8e1", false);
        row("1e400", "1e400", false);
        row("-1e400", "-1e400", false);
        row("German 17,5", "17,5", false, "de_DE");
        row("German 16,5", "16,5", true, "de_DE");
        row("German 2.5", "2.5", false, "de_DE");
    }
    QTest::newRow("Text12 0") << "Text12" << "0" << "en_US" << true;
    QTest::newRow("Text12 1") << "Text12" << "1" << "en_US" << true;
    QTest::newRow("Text12 0.5") << "Text12" << "0.5" << "en_US" << true;
    QTest::newRow("Text12 1.5") << "Text12" << "1.5" << "en_US" << false;
    QTest::newRow("Text12 2") << "Text12" << "2" << "en_US" << false;
    QTest::newRow("Text12 5") << "Text12" << "5" << "en_US" << false;
    QTest::newRow("Text12 -1") << "Text12" << "-1" << "en_US" << false;
    QTest::newRow("Text12 empty") << "Text12" << "" << "en_US" << false;
    // Locales whose minus is U+2212, which tanks.cfg cannot hold: the file
    // would not say the number judged, so even a value in range is refused.
    for (const char *locale : {"sv_SE", "nb_NO", "fi_FI"}) {
        QTest::addRow("%s Text7 minus 5", locale) << "Text7" << "\u22125" << locale << false;
        QTest::addRow("%s Text12 minus 1", locale) << "Text12" << "\u22121" << locale << false;
        QTest::addRow("%s Text7 minus 0", locale) << "Text7" << "\u22120" << locale << false;
        QTest::addRow("%s Text7 0,5", locale) << "Text7" << "0,5" << locale << true;
        QTest::addRow("%s Text7 17,5", locale) << "Text7" << "17,5" << locale << false;
        QTest::addRow("%s Text7 exponent minus", locale) << "Text7" << "1e\u22121" << locale << false;
        QTest::addRow("%s Text7 exponent hyphen", locale) << "Text7" << "1e-1" << locale << true;
    }
    // Arabic: the separator U+066B and the minus led by a direction mark.
    QTest::newRow("ar_EG Text7 1\u066b5") << "Text7" << "1\u066b5" << "ar_EG" << false;
    QTest::newRow("ar_EG Text7 1.5") << "Text7" << "1.5" << "ar_EG" << false;
    QTest::newRow("ar_EG Text7 mark minus 0") << "Text7" << "\u061c-0" << "ar_EG" << false;
    QTest::newRow("ar_EG Text7 2") << "Text7" << "2" << "ar_EG" << true;
    // clang-format on
}

void RangeCheckTest::passes()
{
    QFETCH(QString, field);
    QFETCH(QString, text);
    QFETCH(QString, locale);
    QFETCH(bool, passes);
    QCOMPARE(Passes(text.toStdString(), CheckOf(field.toLatin1()), NumberFormatOf(QLocale(locale))),
             passes);
}

void RangeCheckTest::everyLocaleSignIsJudgedAsTheNumberItIs()
{
    // Whatever sign or decimal separator a locale writes, the bounds judge
    // the number the numeric test read.
    const RangeCheck &terrain = CheckOf("Text7");
    QSet<QString> seen;
    for (const QLocale &locale : QLocale::matchingLocales(QLocale::AnyLanguage, QLocale::AnyScript,
                                                          QLocale::AnyTerritory)) {
        const NumberFormat format = NumberFormatOf(locale);
        const QString minus = locale.negativeSign(), plus = locale.positiveSign(),
                      point = locale.decimalPoint();
        if (seen.contains(minus + ' ' + plus + ' ' + point))
            continue;
        seen.insert(minus + ' ' + plus + ' ' + point);
        const std::pair<QString, bool> cases[] = {
            {minus + "5", false},       {minus + "0", true},        {plus + "17", true},
            {plus + "18", false},       {"16" + point + "5", true}, {"17" + point + "5", false},
            {"1E" + plus + "2", false}, {"1E" + minus + "1", true},
        };
        for (const auto &[text, inRange] : cases) {
            const std::string utf8 = text.toStdString();
            QVERIFY2(IsNumeric(utf8, format), qPrintable(locale.name() + ": " + text));
            // No locale's sign or separator beyond ASCII is one that
            // tanks.cfg can hold, and such a text is refused whatever it says.
            const bool passes = inRange && std::all_of(text.begin(), text.end(),
                                                       [](QChar c) { return c.unicode() < 0x80; });
            QVERIFY2(Passes(utf8, terrain, format) == passes,
                     qPrintable(locale.name() + ": " + text));
        }
    }
    qInfo("%lld kinds of sign and decimal separator among the locales", qsizetype(seen.size()));
}

QTEST_GUILESS_MAIN(RangeCheckTest)
#include "rangecheck_test.moc"
